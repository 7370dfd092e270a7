// SPDX-License-Identifier: MIT
// The frame every exported function runs in: the API lock, output checks, string output, and the
// two catch clauses that turn every failure into a status code and an error record.
#pragma once

#include <mutex>
#include <string>

#include "model/error.h"
#include "api/handles.h"

namespace zav {

std::recursive_mutex& ApiLock();

// Records the failure in the error library and returns its code.
ViStatus Report(const zav::tZavError& error) noexcept;
ViStatus ReportUnrecoverable() noexcept;

// Runs body under the API lock; body returns the status of a successful call.
template <class Body>
ViStatus ApiCall(Body&& body) noexcept {
  std::lock_guard<std::recursive_mutex> guard(ApiLock());
  try {
    return body();
  } catch (const zav::tZavError& error) {
    return Report(error);
  } catch (...) {
    return ReportUnrecoverable();
  }
}

template <class P>
void CheckOutputPointer(P* pointer) {
  if (!pointer)
    ThrowZavError(ZAVCONFIG_ERROR_NULL_POINTER,
                  "ZavConfiguration Server C API: NULL pointer for output parameter");
}

// Input strings: NULL reads as the empty string.
inline std::string InputString(ViConstString value) { return value ? value : ""; }

// The output convention of every ViString getter: 0 when the caller has the whole value, the
// size needed (length + 1) when it was cut or not copied. A NULL buffer with any size but 0
// fails with ZAVCONFIG_ERROR_NULL_POINTER.
ViStatus CopyStringOut(const std::string& value, ViInt32 bufferSize, ViChar buffer[]);

// Stores owned by their store handles.
ViSession OpenStore();
void CloseStore(ViSession handle);

}  // namespace zav
