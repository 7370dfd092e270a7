// SPDX-License-Identifier: MIT
// The INI text of the registry, parsed one way for everyone: the library's look-ups and the
// utility's line-by-line view (which points at the line of a mistake and edits lines in place)
// must never disagree about what a line means.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zav::platform {

// One line that means something: a section header or a "name=value" line. Blank lines,
// comments (';' or '#' first) and lines without '=' are left out.
struct tIniLine {
  int number = 0;          // from 1; a byte-order mark does not count as a line
  bool isSection = false;  // a "[...]" line
  // A header that ends with ']' opens its section; one that does not opens none, and the
  // lines under it belong to no section until the next good header.
  bool closed = false;
  // The section a name=value line stands in, when inSection; for a header, the section it
  // opens (when closed).
  std::string section;
  bool inSection = false;
  std::string key;    // the trimmed name; for a header, the trimmed text between the brackets
  std::string value;  // trimmed
  // Where the line's text lies in the parsed text: [begin, end), end before "\r\n" or "\n".
  size_t begin = 0, end = 0;
};

std::vector<tIniLine> ParseIni(const std::string& text);

// The line that gives `key` its value in `section`: the last one, as a later line overrides an
// earlier one. Null when there is none. Section and key names are compared exactly.
const tIniLine* FindIniValue(const std::vector<tIniLine>& lines, const std::string& section,
                             const std::string& key);

// True when the text is one a person could have written: no NUL byte, no other control
// character than tab, CR, LF, VT and FF.
bool LooksLikeText(const std::string& text);

}  // namespace zav::platform
