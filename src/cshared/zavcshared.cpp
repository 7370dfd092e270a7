// SPDX-License-Identifier: MIT
// The shared error library: one last-error record per thread.
//
// Every record lives in thread-local storage, so threads never see each other's errors and the
// three functions need no lock: a thread only ever touches its own record.
#include "zavcshared.h"
#include "zavconfig.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A text that cannot be stored whole (its copy failed to allocate) is kept cut to what this
// fixed buffer holds, so a record never pairs a new code with an old text.
struct tErrorRecord {
  ViStatus code = 0;
  std::string text;
  char cut[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
  bool isCut = false;

  const char* Text() const { return isCut ? cut : text.c_str(); }
  size_t Length() const { return isCut ? std::strlen(cut) : text.size(); }
};

tErrorRecord& ThisThreadRecord() {
  thread_local tErrorRecord record;
  return record;
}

}  // namespace

extern "C" {

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_SetError(ViSession /*Vi*/, ViStatus ErrorCode,
                                                           ViConstString ErrorDescription) {
  tErrorRecord& record = ThisThreadRecord();
  const char* text = ErrorDescription ? ErrorDescription : "";
  record.code = ErrorCode;
  try {
    record.text = text;
    record.isCut = false;
    return VI_SUCCESS;
  } catch (...) {
    std::strncpy(record.cut, text, sizeof record.cut - 1);
    record.cut[sizeof record.cut - 1] = '\0';
    record.isCut = true;
    return ZAVCONFIG_ERROR_UNRECOVERABLE;
  }
}

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_GetError(ViSession /*Vi*/, ViStatus* ErrorCode,
                                                           ViInt32 BufferSize,
                                                           ViChar ErrorDescription[]) {
  const tErrorRecord& record = ThisThreadRecord();
  if (ErrorCode) *ErrorCode = record.code;

  const char* text = record.Text();
  const size_t length = record.Length();
  const ViInt32 needed = static_cast<ViInt32>(length + 1);
  if (BufferSize == 0 && !ErrorDescription) return needed;
  if (!ErrorDescription) return ZAVCONFIG_ERROR_NULL_POINTER;
  if (BufferSize < 0) {
    std::memcpy(ErrorDescription, text, length + 1);
    return VI_SUCCESS;
  }
  // A caller that passes a buffer without a size promises the documented fixed size.
  const bool fixedSize = BufferSize == 0;
  if (fixedSize) BufferSize = ZAVCONFIG_ERROR_DESCRIPTION_SIZE;
  // As strncpy with BufferSize as the limit, the last byte always NUL.
  const size_t copied = std::min(length, static_cast<size_t>(BufferSize) - 1);
  std::memcpy(ErrorDescription, text, copied);
  std::memset(ErrorDescription + copied, 0, static_cast<size_t>(BufferSize) - copied);
  return fixedSize || needed <= BufferSize ? VI_SUCCESS : needed;
}

ZAVCSHARED_API ViStatus ZAVCONFIG_FUNC ZavSession_ClearError(ViSession /*Vi*/) {
  tErrorRecord& record = ThisThreadRecord();
  record.code = 0;
  record.text.clear();
  record.text.shrink_to_fit();
  record.isCut = false;
  return VI_SUCCESS;
}

}  // extern "C"
