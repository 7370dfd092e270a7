// SPDX-License-Identifier: MIT
// Reading a store document into a store.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

class tZavConfigStore;

namespace zav::persist {

struct tStoreSchema;

// A document that is no store document: not well-formed XML, or a tree the store schema does
// not accept. Code and line follow libxml2's numbering of the same fault where it has one
// (1871 for a child out of place, 111 for a refused construct, ...).
class tDocumentFault : public std::runtime_error {
 public:
  tDocumentFault(int code, const std::string& description, int line)
      : std::runtime_error(description), code_(code), line_(line) {}
  int Code() const { return code_; }
  int Line() const { return line_; }
  // The description with its line: "text (line L)".
  std::string Description() const { return std::string(what()) + " (line " + std::to_string(line_) + ")"; }

 private:
  int code_;
  int line_;
};

// Fills up to `size` bytes of `buffer` with the next bytes of the document and returns how many
// it wrote, 0 at the end. Throws its own errors.
using tByteSource = std::function<size_t(char* buffer, size_t size)>;

// The most attributes (namespace declarations included) one start tag may carry, and the most
// namespace declarations in scope at once. No store element needs more than a handful; the
// limits keep libxml2's attribute and namespace checks, which grow with the square of these
// counts, cheap on hostile input.
constexpr int kMaxAttributesPerTag = 64;
constexpr int kMaxNamespacesInScope = 64;

// Reads the document from `source` into the store, which the caller has emptied, checking as it
// goes that the document is the tree the store schema describes. Items go through the model's
// own setters and adds, so their rules apply and abort the read with their own errors; what was
// read before such a failure stays in the store (the document is still read to its end first,
// so that a document the schema rejects is reported as such). A document that is refused for
// its form raises tDocumentFault and leaves the store empty with its Description as before:
// nothing of a rejected document remains. A compiled `schema` validates the document as well, on
// the same parse; its faults are reported like the reader's own.
void ReadConfigStore(tZavConfigStore* store, const tByteSource& source,
                     const tStoreSchema* schema = nullptr);

}  // namespace zav::persist
