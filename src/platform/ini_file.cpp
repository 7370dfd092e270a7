// SPDX-License-Identifier: MIT
#include "platform/ini_file.h"

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

std::vector<tIniLine> ParseIni(const std::string& text) {
  std::vector<tIniLine> lines;
  // Files saved by some editors start with a UTF-8 byte-order mark; it is not part of the first
  // line.
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::string section;
  bool inSection = false;
  int number = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    const size_t begin = pos;
    const size_t end = eol > begin && text[eol - 1] == '\r' ? eol - 1 : eol;
    // Trimming also drops the '\r' of CRLF line ends.
    const std::string line = Trim(text, begin, eol);
    pos = eol + 1;
    ++number;

    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    tIniLine entry;
    entry.number = number;
    entry.begin = begin;
    entry.end = end;
    if (line[0] == '[') {
      entry.isSection = true;
      entry.closed = line.size() > 1 && line.back() == ']';
      entry.key = Trim(line, 1, entry.closed ? line.size() - 1 : line.size());
      inSection = entry.closed;
      section = entry.closed ? entry.key : std::string();
      entry.section = section;
      entry.inSection = inSection;
      lines.push_back(std::move(entry));
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    entry.section = section;
    entry.inSection = inSection;
    entry.key = Trim(line, 0, equals);
    entry.value = Trim(line, equals + 1, line.size());
    lines.push_back(std::move(entry));
  }
  return lines;
}

const tIniLine* FindIniValue(const std::vector<tIniLine>& lines, const std::string& section,
                             const std::string& key) {
  const tIniLine* found = nullptr;
  for (const tIniLine& line : lines)
    if (!line.isSection && line.inSection && line.section == section && line.key == key)
      found = &line;
  return found;
}

bool LooksLikeText(const std::string& text) {
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') return false;
    if (u == 0x7F) return false;
  }
  return true;
}

}  // namespace zav::platform
