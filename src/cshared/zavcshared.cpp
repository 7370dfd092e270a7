// The shared error library: one last-error record per thread.
//
// Every record lives in thread-local storage, so threads never see each other's errors and the
// three functions need no lock: a thread only ever touches its own record.
#include "zavcshared.h"
#include "zavconfig.h"

#include <cstring>
#include <string>

namespace {

struct tErrorRecord {
  ViStatus code = 0;
  std::string text;
};

tErrorRecord& ThisThreadRecord() {
  thread_local tErrorRecord record;
  return record;
}

}  // namespace

extern "C" {

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_SetError(ViSession /*Vi*/, ViStatus ErrorCode,
                                                           ViConstString ErrorDescription) {
  try {
    tErrorRecord& record = ThisThreadRecord();
    record.code = ErrorCode;
    record.text = ErrorDescription ? ErrorDescription : "";
    return VI_SUCCESS;
  } catch (...) {
    return ZAVCONFIG_ERROR_UNRECOVERABLE;
  }
}

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_GetError(ViSession /*Vi*/, ViStatus* ErrorCode,
                                                           ViInt32 BufferSize,
                                                           ViChar ErrorDescription[]) {
  const tErrorRecord& record = ThisThreadRecord();
  if (ErrorCode) *ErrorCode = record.code;

  const std::string& text = record.text;
  const ViInt32 needed = static_cast<ViInt32>(text.size() + 1);
  if (BufferSize < 0) {
    if (ErrorDescription) std::memcpy(ErrorDescription, text.c_str(), text.size() + 1);
    return VI_SUCCESS;
  }
  if (BufferSize == 0) {
    if (!ErrorDescription) return needed;
    // A caller that passes a buffer without a size promises the documented fixed size.
    BufferSize = ZAVCONFIG_ERROR_DESCRIPTION_SIZE;
    std::strncpy(ErrorDescription, text.c_str(), BufferSize);
    ErrorDescription[BufferSize - 1] = '\0';
    return VI_SUCCESS;
  }
  if (!ErrorDescription) return ZAVCONFIG_ERROR_NULL_POINTER;
  std::strncpy(ErrorDescription, text.c_str(), BufferSize);
  if (needed > BufferSize) {
    ErrorDescription[BufferSize - 1] = '\0';
    return needed;
  }
  return VI_SUCCESS;
}

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_ClearError(ViSession /*Vi*/) {
  tErrorRecord& record = ThisThreadRecord();
  record.code = 0;
  record.text.clear();
  record.text.shrink_to_fit();
  return VI_SUCCESS;
}

}  // extern "C"
