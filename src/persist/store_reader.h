// Reading a store document into a store.
#pragma once

#include <cstdint>
#include <string>

#include "persist/xml_host.h"

class tZavConfigStore;

namespace zav::persist {

// Reads the document behind `reader` (fresh, not yet read, with `errors` installed on it) into
// the store, which the caller has emptied. Items go through the model's own setters and adds,
// so their rules apply and abort the read with their own errors; what was read before a
// failure stays in the store. A document that breaks the expected tree fails with
// ZAVCONFIG_ERROR_DESERIALIZE_FAILED; an error reported by libxml2 (parsing or validation)
// raises xml::tParseFailure, with the error kept in `errors`.
void ReadConfigStore(tZavConfigStore* store, xmlTextReaderPtr reader, xml::tErrorCollector& errors);

// Value decodings of the document. A boolean is false only for exactly "0".
bool ParseBoolean(const std::string& text);
// Leading white space, an optional sign and the digits up to the first non-digit; no digits
// give 0, and values beyond the 32-bit range give its limits.
int32_t ParseInteger(const std::string& text);
// The C library's decimal conversion in the "C" numeric conventions, whatever the process
// locale; text that is no number gives 0.0.
double ParseReal(const std::string& text);

}  // namespace zav::persist
