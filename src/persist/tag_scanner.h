// SPDX-License-Identifier: MIT
// Counts the attributes of each start tag in the bytes of a document before libxml2 sees them:
// libxml2 compares every attribute of a tag with every other, so a tag with a huge number of
// them would hold the reader for minutes.
#pragma once

#include <cstddef>

namespace zav::persist {

// Works across chunk boundaries; comments, processing instructions and CDATA sections are
// stepped over, quoted values skipped whole. An attribute is counted by its "=", which appears
// once per attribute outside the quotes.
class tTagScanner {
 public:
  explicit tTagScanner(int maxAttributes) : maxAttributes_(maxAttributes) {}

  // The next bytes of the document. Returns the line (1-based) of a start tag with more than
  // the most attributes, or 0.
  int Scan(const char* data, size_t size);

 private:
  // Where the scan stands between chunks. Scan works on a copy in locals, which the compiler
  // keeps in registers, and stores it back when it returns.
  struct tState {
    enum { kText, kOpen, kBang, kUntil, kTag, kQuoted } mode = kText;
    int line = 1;
    int tagLine = 1;
    int attributes = 0;
    bool counting = false;
    int bang = 0;
    bool comment = false;
    char quote = '"';
    const char* terminator = "";
    int matched = 0;
  };

  const int maxAttributes_;
  tState state_;
};

}  // namespace zav::persist
