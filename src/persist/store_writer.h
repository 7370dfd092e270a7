// SPDX-License-Identifier: MIT
// Writing a whole store as a store document.
#pragma once

#include <string>

class tZavConfigStore;

namespace zav::persist {

// Writes the store into `out` as an indented UTF-8 document (no declaration, no byte-order
// mark, one element per line, a final newline). Nothing outside `out` is touched, so a failure
// leaves every file as it was. Fails with ZAVCONFIG_ERROR_SERIALIZE_FAILED when a string cannot
// be carried by XML 1.0 or the writer fails, and with the master-location errors when the store
// has to look up its master location for the document.
void WriteConfigStore(tZavConfigStore* store, std::string& out);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF). `xmlChars` is then set to whether every character is one XML 1.0 can carry.
bool CheckXmlText(const std::string& text, bool& xmlChars);

}  // namespace zav::persist
