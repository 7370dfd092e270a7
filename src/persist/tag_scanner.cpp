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
  const char* p = data;
  const char* end = data + size;
  while (p < end) {
    switch (state_) {
      case kText: {
        const char* lt = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        const char* stop = lt ? lt : end;
        Lines(p, stop);
        if (!lt) return 0;
        p = lt + 1;
        state_ = kOpen;
        tagLine_ = line_;
        break;
      }
      case kOpen:  // just after '<'
        if (*p == '!') {
          state_ = kBang, bang_ = 0, ++p;
        } else if (*p == '?') {
          Until("?>"), ++p;
        } else {
          state_ = kTag, counting_ = *p != '/', attributes_ = 0;
        }
        break;
      case kBang: {  // after "<!": a comment, a CDATA section or a declaration
        static const char kCdata[] = "[CDATA[";
        const char c = *p;
        if (bang_ == 0 && c == '-') {
          comment_ = true, bang_ = 1, ++p;
        } else if (comment_ && c == '-') {
          comment_ = false, Until("-->"), ++p;
        } else if (!comment_ && c == kCdata[bang_]) {
          ++p;
          if (++bang_ == 7) Until("]]>");
        } else {
          comment_ = false, state_ = kTag, counting_ = false;
        }
        break;
      }
      case kUntil: {
        const char c = *p++;
        if (c == '\n') ++line_;
        if (c == terminator_[matched_]) {
          if (terminator_[++matched_] == '\0') state_ = kText;
        } else if (!(matched_ == 2 && c == terminator_[1] && terminator_[0] == terminator_[1])) {
          // "--->" and "]]]>" still end on their last three characters.
          matched_ = c == terminator_[0] ? 1 : 0;
        }
        break;
      }
      case kTag: {
        // Names and white space inside a tag matter only for their line ends.
        while (p < end && !kTagStop[static_cast<unsigned char>(*p)]) ++p;
        if (p == end) break;
        const char c = *p++;
        if (c == '>') {
          state_ = kText;
        } else if (c == '"' || c == '\'') {
          quote_ = c, state_ = kQuoted;
        } else if (c == '=') {
          if (counting_ && ++attributes_ > maxAttributes_) return tagLine_;
        } else if (c == '\n') {
          ++line_;
        }
        break;
      }
      case kQuoted: {
        const char* q = static_cast<const char*>(std::memchr(p, quote_, static_cast<size_t>(end - p)));
        const char* stop = q ? q : end;
        Lines(p, stop);
        p = q ? q + 1 : end;
        if (q) state_ = kTag;
        break;
      }
    }
  }
  return 0;
}

void tTagScanner::Lines(const char* from, const char* to) {
  line_ += static_cast<int>(std::count(from, to, '\n'));
}

}  // namespace zav::persist
