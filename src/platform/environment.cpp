// SPDX-License-Identifier: MIT
#include "platform/environment.h"

#include <cstdlib>

namespace zav::platform {

std::string GetEnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

void SetEnvironmentValue(const char* name, const std::string& value) {
  setenv(name, value.c_str(), 1);
}

}  // namespace zav::platform
