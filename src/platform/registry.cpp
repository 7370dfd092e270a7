// SPDX-License-Identifier: MIT
#include "platform/registry.h"

#include <cerrno>
#include <climits>
#include <new>

#include <unistd.h>

#include "platform/environment.h"
#include "platform/install_dirs.h"
#include "platform/paths.h"

namespace zav::platform {

namespace {

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

}  // namespace

std::string UserRegistryPath() {
  const std::string config = GetEnvironmentValue("XDG_CONFIG_HOME");
  if (IsAbsolute(config)) return config + "/zav/registry.ini";
  // A relative XDG_CONFIG_HOME is invalid by the base directory rules and is ignored; a home
  // that is not absolute would make the registry depend on the current directory.
  const std::string home = GetEnvironmentValue("HOME");
  if (IsAbsolute(home)) return home + "/.config/zav/registry.ini";
  return "";
}

std::string SystemRegistryPath() { return std::string(InstallSysconfDir()) + "/zav/registry.ini"; }

tRegistrySearch SearchRegistry() {
  tRegistrySearch search;
  const std::string environment = GetEnvironmentValue("ZAV_REGISTRY");
  search.candidates.push_back({tRegistrySource::kEnvironment, environment, !environment.empty()});
  const std::string user = UserRegistryPath();
  search.candidates.push_back(
      {tRegistrySource::kUser, user, !user.empty() && access(user.c_str(), F_OK) == 0});
  // The system registry is the last resort, read (or found missing) when nothing else applies.
  search.candidates.push_back({tRegistrySource::kSystem, SystemRegistryPath(), true});
  while (!search.candidates[search.chosen].applies) ++search.chosen;
  return search;
}

std::string RegistryFilePath() { return SearchRegistry().Chosen().path; }

tRegistryFile ReadRegistryFile(const std::string& path) {
  tRegistryFile file;
  tFileDescriptor fd;
  switch (OpenRegularFile(path, kMaxRegistrySize, fd)) {
    case tOpenResult::kOpen:
      break;
    case tOpenResult::kUnreadable:
      file.error = errno;
      file.state = file.error == ENOENT || file.error == ENOTDIR ? tRegistryState::kMissing
                                                                 : tRegistryState::kUnreadable;
      return file;
    case tOpenResult::kNotRegular:
      file.state = tRegistryState::kNotRegular;
      return file;
    case tOpenResult::kTooLarge:
      file.state = tRegistryState::kTooLarge;
      return file;
  }
  if (!ReadOpenFile(fd, file.text, kMaxRegistrySize)) {
    // A read error, or a file that grew past the limit while it was read.
    file.error = errno;
    file.state = file.error == EFBIG ? tRegistryState::kTooLarge : tRegistryState::kUnreadable;
    file.text.clear();
    return file;
  }
  file.state = tRegistryState::kRead;
  return file;
}

std::string RegistryValue(const std::vector<tIniLine>& lines, const std::string& key,
                          const std::string& value) {
  const tIniLine* line = FindIniValue(lines, key, value);
  // A value that cannot be a path on this system is treated as absent, not cut short.
  if (!line || line->value.size() >= static_cast<size_t>(PATH_MAX)) return "";
  return line->value;
}

std::string ReadRegistryString(const std::string& key, const std::string& value) {
  try {
    const tRegistryFile file = ReadRegistryFile(RegistryFilePath());
    if (file.state != tRegistryState::kRead) return "";
    return RegistryValue(ParseIni(file.text), key, value);
  } catch (const std::bad_alloc&) {
    // Running out of memory is not a missing value: the caller must not report a registry
    // mistake the user cannot find.
    throw;
  } catch (...) {
    return "";
  }
}

}  // namespace zav::platform
