// SPDX-License-Identifier: MIT
#include "api/frame.h"

#include <cstring>
#include <map>

#include "persist/config_file_posix.h"
#include "zavcshared.h"

namespace zav {

std::recursive_mutex& ApiLock() {
  static std::recursive_mutex lock;
  return lock;
}

ViStatus Report(const zav::Error& error) noexcept {
  ZavSession_SetError(0, error.code(), error.what());
  return error.code();
}

ViStatus ReportUnrecoverable() noexcept {
  try {
    return Report(zav::Error(ZAVCONFIG_ERROR_UNRECOVERABLE, "Unrecoverable system error."));
  } catch (...) {
    // Not even the message could be built: record the same text from a constant, which the
    // error library keeps (cut if need be) without allocating.
    ZavSession_SetError(0, ZAVCONFIG_ERROR_UNRECOVERABLE,
                        "ZAV Configuration Server C API: Unrecoverable system error.");
    return ZAVCONFIG_ERROR_UNRECOVERABLE;
  }
}

void ThrowInvalidPropertyID(const char* function) {
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
                std::string(function) + ": Invalid value for PropertyID parameter.");
}

ViStatus CopyStringOut(const std::string& value, ViInt32 bufferSize, ViChar buffer[]) {
  // Only a size of 0 promises that nothing is copied; any other size needs a buffer.
  if (bufferSize != 0) CheckOutputPointer(buffer);
  const size_t needed = value.size() + 1;
  if (bufferSize == 0) return static_cast<ViStatus>(needed);
  if (bufferSize < 0) {
    std::memcpy(buffer, value.c_str(), needed);
    return VI_SUCCESS;
  }
  std::strncpy(buffer, value.c_str(), static_cast<size_t>(bufferSize));
  if (needed > static_cast<size_t>(bufferSize)) {
    buffer[bufferSize - 1] = '\0';
    return static_cast<ViStatus>(needed);
  }
  return VI_SUCCESS;
}

namespace {
// The roots that store handles own, closed at the latest when the library is unloaded.
std::map<const tZavConfigStore*, std::unique_ptr<tZavConfigStore>>& OpenStores() {
  static std::map<const tZavConfigStore*, std::unique_ptr<tZavConfigStore>> stores;
  return stores;
}
}  // namespace

ViSession OpenStore() {
  auto store = std::make_unique<tZavConfigStore>(NewPlatformConfigFile());
  ViSession handle = Handles().store.NewHandle(store.get());
  try {
    OpenStores().emplace(store.get(), std::move(store));
  } catch (...) {
    Handles().store.Release(handle);
    throw;
  }
  return handle;
}

void CloseStore(ViSession handle) {
  tHandleTable<tZavConfigStore>& table = Handles().store;
  if (!table.Contains(handle))
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE,
                  "ZavConfig_Close: Invalid handle parameter value, or handle does not exist.");
  tZavConfigStore* store = table.Lookup(handle);
  OpenStores().erase(store);
  table.Release(handle);
}

}  // namespace zav
