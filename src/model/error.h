// SPDX-License-Identifier: MIT
// The one exception type inside the library. Model code reports every failure by throwing it;
// the exported functions turn it into a status code and an error record. (The C++ interface of
// zavconfig.hpp has its own zav::Error, which callers catch; this one never leaves the library.)
#pragma once

#include <stdexcept>
#include <string>

#include "zavconfig.h"

namespace zav {

class tZavError : public std::runtime_error {
 public:
  // The stored message always carries the API prefix, so every text a caller reads back names
  // the library that produced it.
  tZavError(ViStatus code, const std::string& text)
      : std::runtime_error(Prefix() + text), code_(code) {}

  ViStatus code() const noexcept { return code_; }

  static const std::string& Prefix() {
    static const std::string prefix = "ZAV Configuration Server C API: ";
    return prefix;
  }

 private:
  ViStatus code_;
};

}  // namespace zav

// Throws the library error; a function so that call sites stay one line.
[[noreturn]] inline void ThrowZavError(ViStatus code, const std::string& text) {
  throw zav::tZavError(code, text);
}
