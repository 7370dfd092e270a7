// SPDX-License-Identifier: MIT
#include "api/frame.h"

#include <malloc.h>
#include <pthread.h>

#include <cstring>
#include <map>
#include <new>

#include "persist/config_file_posix.h"
#include "zavcshared.h"

namespace zav {

std::recursive_mutex& ApiLock() {
  // A process that forks while another thread is inside the library would give the child a
  // lock held by a thread the child does not have. The fork handlers take the lock before the
  // fork, so that no call is under way when the process is copied, and give the child a fresh
  // one (the child's thread has a new id, which the copied lock does not know as its owner).
  static std::recursive_mutex* const lock = [] {
    static std::recursive_mutex mutex;
    pthread_atfork([] { ApiLock().lock(); }, [] { ApiLock().unlock(); },
                   [] { new (&ApiLock()) std::recursive_mutex(); });
    return &mutex;
  }();
  return *lock;
}

namespace {
// Made while the library is loaded, before any thread can call in: a fork during the lock's
// first-use initialisation would leave the child waiting on that initialisation for ever.
[[maybe_unused]] const bool kApiLockMade = (ApiLock(), true);
}  // namespace

ViStatus Report(const zav::tZavError& error) noexcept {
  ZavSession_SetError(0, error.code(), error.what());
  return error.code();
}

ViStatus ReportUnrecoverable() noexcept {
  try {
    return Report(zav::tZavError(ZAVCONFIG_ERROR_UNRECOVERABLE, "Unrecoverable system error."));
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
// A large store is many small blocks, and the allocator keeps the memory they leave behind for
// later use, so a long-running program that read a large store once would keep its size in
// memory for good. Once a few megabytes lie free, they go back to the system.
void GiveBackFreedMemory() noexcept {
#ifdef __GLIBC__
  constexpr size_t kWorthGivingBack = size_t{4} << 20;
  if (mallinfo2().fordblks >= kWorthGivingBack) malloc_trim(0);
#endif
}

// The roots that store handles own, closed at the latest when the library is unloaded: then
// under the API lock too, since another thread may still be inside a call while the process
// exits, and the model has no locks of its own.
struct tOpenStores {
  std::map<const tZavConfigStore*, std::unique_ptr<tZavConfigStore>> byRoot;
  ~tOpenStores() {
    std::lock_guard<std::recursive_mutex> guard(ApiLock());
    byRoot.clear();
  }
};

std::map<const tZavConfigStore*, std::unique_ptr<tZavConfigStore>>& OpenStores() {
  static tOpenStores stores;
  return stores.byRoot;
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
  GiveBackFreedMemory();
}

}  // namespace zav
