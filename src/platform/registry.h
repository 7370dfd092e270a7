// SPDX-License-Identifier: MIT
// The two configuration values of the library live in a small INI file instead of a system
// registry. It is read afresh on every look-up, so edits take effect without a restart.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ini_file.h"

namespace zav::platform {

// A registry holds two short values; a file larger than this is not one and is not read.
constexpr size_t kMaxRegistrySize = 1 << 20;

// Where a registry file comes from, in the order they are looked at.
enum class tRegistrySource {
  kEnvironment,  // $ZAV_REGISTRY, when set and not empty
  kUser,         // $XDG_CONFIG_HOME/zav/registry.ini, when that file exists
  kSystem,       // <sysconfdir>/zav/registry.ini of the install prefix
};

struct tRegistryCandidate {
  tRegistrySource source;
  std::string path;  // "" when the source names no file (variable unset, no home directory)
  bool applies;      // the source is taken when it is the first that applies
};

// The registry search: every candidate in order, and which one is read. Only one file is
// read; values are never merged across files.
struct tRegistrySearch {
  std::vector<tRegistryCandidate> candidates;
  size_t chosen = 0;
  const tRegistryCandidate& Chosen() const { return candidates[chosen]; }
};
tRegistrySearch SearchRegistry();

// The path of the registry the library reads now.
std::string RegistryFilePath();
// $XDG_CONFIG_HOME/zav/registry.ini, or $HOME/.config/zav/registry.ini when XDG_CONFIG_HOME is
// unset or not absolute; "" when HOME is not absolute either.
std::string UserRegistryPath();
// <sysconfdir>/zav/registry.ini of the prefix the library was configured for.
std::string SystemRegistryPath();

enum class tRegistryState { kRead, kMissing, kUnreadable, kNotRegular, kTooLarge };

// A registry file as the library sees it: read whole only when it is a regular file of at most
// kMaxRegistrySize bytes, without waiting on a FIFO or a device.
struct tRegistryFile {
  tRegistryState state = tRegistryState::kMissing;
  int error = 0;      // the system error of kUnreadable
  std::string text;   // the content, when kRead
};
tRegistryFile ReadRegistryFile(const std::string& path);

// The value `value` of the section named `key` (a backslash-separated key path such as
// Software\ZAV) in the registry the library reads now. Anything that keeps the value from
// being read -- a missing file, section or value, an unreadable file, a value of PATH_MAX
// characters or more -- gives "". Throws only std::bad_alloc.
std::string ReadRegistryString(const std::string& key, const std::string& value);

// The same rule on a registry already parsed: "" for a missing value or one that cannot be a
// path.
std::string RegistryValue(const std::vector<tIniLine>& lines, const std::string& key,
                          const std::string& value);

}  // namespace zav::platform
