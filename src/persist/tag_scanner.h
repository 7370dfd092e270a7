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
  void Lines(const char* from, const char* to);
  void Until(const char* terminator) { state_ = kUntil, terminator_ = terminator, matched_ = 0; }

  const int maxAttributes_;
  enum { kText, kOpen, kBang, kUntil, kTag, kQuoted } state_ = kText;
  int line_ = 1;
  int tagLine_ = 1;
  int attributes_ = 0;
  bool counting_ = false;
  int bang_ = 0;
  bool comment_ = false;
  char quote_ = '"';
  const char* terminator_ = "";
  int matched_ = 0;
};

}  // namespace zav::persist
