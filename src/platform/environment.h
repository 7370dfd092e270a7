// SPDX-License-Identifier: MIT
// Process environment variables.
#pragma once

#include <string>

namespace zav::platform {

// The variable's value; "" when it is not set.
std::string GetEnvironmentValue(const char* name);
// Sets the variable for the whole process, replacing any value it had.
void SetEnvironmentValue(const char* name, const std::string& value);

}  // namespace zav::platform
