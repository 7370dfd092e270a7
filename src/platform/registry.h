// SPDX-License-Identifier: MIT
// The two configuration values of the library live in a small INI file instead of a system
// registry. It is read afresh on every look-up, so edits take effect without a restart.
#pragma once

#include <string>

namespace zav::platform {

// ZAV_REGISTRY when set and not empty, else the registry file of the install prefix.
std::string RegistryFilePath();

// The value `value` of the section named `key` (a backslash-separated key path such as
// Software\ZAV). Anything that keeps the value from being read -- a missing file, section or
// value, an unreadable file, a value of PATH_MAX characters or more -- gives "". Never throws.
std::string ReadRegistryString(const std::string& key, const std::string& value);

}  // namespace zav::platform
