// SPDX-License-Identifier: MIT
#include "platform/registry.h"

#include <climits>
#include <new>

#include "platform/environment.h"
#include "platform/paths.h"

#ifndef ZAV_SYSCONFDIR
#define ZAV_SYSCONFDIR "/usr/local/etc"
#endif

namespace zav::platform {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text, size_t begin, size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::string RegistryFilePath() {
  std::string path = GetEnvironmentValue("ZAV_REGISTRY");
  if (!path.empty()) return path;
  return ZAV_SYSCONFDIR "/zav/registry.ini";
}

std::string ReadRegistryString(const std::string& key, const std::string& value) {
  try {
    std::string text;
    // A registry holds two short values; anything near this size is not one.
    constexpr size_t kMaxRegistrySize = 1 << 20;
    if (!ReadWholeFile(RegistryFilePath(), text, kMaxRegistrySize)) return "";
    // Files saved by some editors start with a UTF-8 byte-order mark; it is not part of the
    // first line.
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;

    bool inSection = false;
    bool found = false;
    std::string result;
    while (pos < text.size()) {
      size_t eol = text.find('\n', pos);
      if (eol == std::string::npos) eol = text.size();
      // Trimming also drops the '\r' of CRLF line ends.
      std::string line = Trim(text, pos, eol);
      pos = eol + 1;

      if (line.empty() || line[0] == ';' || line[0] == '#') continue;
      if (line[0] == '[') {
        inSection = line.back() == ']' && Trim(line, 1, line.size() - 1) == key;
        continue;
      }
      if (!inSection) continue;
      size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      if (Trim(line, 0, equals) != value) continue;
      // The last occurrence wins, as a later line overrides an earlier one.
      result = Trim(line, equals + 1, line.size());
      found = true;
    }
    // A value that cannot be a path on this system is treated as absent, not cut short.
    if (!found || result.size() >= static_cast<size_t>(PATH_MAX)) return "";
    return result;
  } catch (const std::bad_alloc&) {
    // Running out of memory is not a missing value: the caller must not report a registry
    // mistake the user cannot find.
    throw;
  } catch (...) {
    return "";
  }
}

}  // namespace zav::platform
