// SPDX-License-Identifier: MIT
#include "persist/tag_scanner.h"

#include <algorithm>
#include <cstring>

namespace zav::persist {

namespace {

// The bytes that change the scanner's state inside a tag.
struct tTagStops {
  bool stop[256] = {};
  constexpr tTagStops() {
    stop[static_cast<unsigned char>('>')] = stop[static_cast<unsigned char>('"')] = true;
    stop[static_cast<unsigned char>('\'')] = stop[static_cast<unsigned char>('=')] = true;
    stop[static_cast<unsigned char>('\n')] = true;
  }
  bool operator[](unsigned char c) const { return stop[c]; }
};
constexpr tTagStops kTagStop{};

}  // namespace

int tTagScanner::Scan(const char* data, size_t size) {
  tState s = state_;
  auto lines = [&s](const char* from, const char* to) {
    s.line += static_cast<int>(std::count(from, to, '\n'));
  };
  auto until = [&s](const char* terminator) {
    s.mode = tState::kUntil, s.terminator = terminator, s.matched = 0;
  };
  const char* p = data;
  const char* end = data + size;
  while (p < end) {
    switch (s.mode) {
      case tState::kText: {
        const char* lt = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        const char* stop = lt ? lt : end;
        lines(p, stop);
        if (!lt) {
          p = end;
          break;
        }
        p = lt + 1;
        s.mode = tState::kOpen;
        s.tagLine = s.line;
        break;
      }
      case tState::kOpen:  // just after '<'
        if (*p == '!') {
          s.mode = tState::kBang, s.bang = 0, ++p;
        } else if (*p == '?') {
          until("?>"), ++p;
        } else {
          s.mode = tState::kTag, s.counting = *p != '/', s.attributes = 0;
        }
        break;
      case tState::kBang: {  // after "<!": a comment, a CDATA section or a declaration
        static const char kCdata[] = "[CDATA[";
        const char c = *p;
        if (s.bang == 0 && c == '-') {
          s.comment = true, s.bang = 1, ++p;
        } else if (s.comment && c == '-') {
          s.comment = false, until("-->"), ++p;
        } else if (!s.comment && c == kCdata[s.bang]) {
          ++p;
          if (++s.bang == 7) until("]]>");
        } else {
          s.comment = false, s.mode = tState::kTag, s.counting = false;
        }
        break;
      }
      case tState::kUntil: {
        const char c = *p++;
        if (c == '\n') ++s.line;
        if (c == s.terminator[s.matched]) {
          if (s.terminator[++s.matched] == '\0') s.mode = tState::kText;
        } else if (!(s.matched == 2 && c == s.terminator[1] && s.terminator[0] == s.terminator[1])) {
          // "--->" and "]]]>" still end on their last three characters.
          s.matched = c == s.terminator[0] ? 1 : 0;
        }
        break;
      }
      case tState::kTag: {
        // Names and white space inside a tag matter only for their line ends.
        while (p < end && !kTagStop[static_cast<unsigned char>(*p)]) ++p;
        if (p == end) break;
        const char c = *p++;
        if (c == '>') {
          s.mode = tState::kText;
        } else if (c == '"' || c == '\'') {
          s.quote = c, s.mode = tState::kQuoted;
        } else if (c == '=') {
          if (s.counting && ++s.attributes > maxAttributes_) {
            state_ = s;
            return s.tagLine;
          }
        } else if (c == '\n') {
          ++s.line;
        }
        break;
      }
      case tState::kQuoted: {
        const char* q = static_cast<const char*>(std::memchr(p, s.quote, static_cast<size_t>(end - p)));
        const char* stop = q ? q : end;
        lines(p, stop);
        p = q ? q + 1 : end;
        if (q) s.mode = tState::kTag;
        break;
      }
    }
  }
  state_ = s;
  return 0;
}

}  // namespace zav::persist
