// SPDX-License-Identifier: MIT
#include "text.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace zavtool {

std::optional<bool> ParseBoolean(const std::string& text) {
  std::string word = Lower(text);
  for (const char* t : {"on", "true", "yes", "1"})
    if (word == t) return true;
  for (const char* f : {"off", "false", "no", "0"})
    if (word == f) return false;
  return std::nullopt;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Closest(const std::string& text, const std::vector<std::string>& candidates) {
  std::string best;
  size_t bestDistance = 0;
  for (const std::string& candidate : candidates) {
    size_t d = EditDistance(Lower(text), Lower(candidate));
    if (best.empty() || d < bestDistance) best = candidate, bestDistance = d;
  }
  // A third of the longer name, at least one edit: "Timout" finds "Timeout", "X" finds nothing.
  size_t longer = std::max(text.size(), best.size());
  return !best.empty() && bestDistance <= std::max<size_t>(1, longer / 3) ? best : std::string();
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string Join(const std::vector<std::string>& items, const std::string& separator) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) text += (i ? separator : "") + items[i];
  return text;
}

std::string ShellWord(const std::string& text) {
  bool plain = !text.empty();
  for (char c : text)
    if (c == 0 || (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("-_./:=@,+", c)))
      plain = false;
  if (plain) return text;
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
    parts.push_back(path.substr(start, slash - start));
  parts.push_back(path.substr(start));
  return parts;
}

}  // namespace zavtool
