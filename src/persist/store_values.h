// SPDX-License-Identifier: MIT
// The decodings of a store document's values: how the text of a boolean, integer or real element
// becomes the value an item is given.
#pragma once

#include <cstdint>
#include <string>

namespace zav::persist {

// A boolean is false only for exactly "0".
bool ParseBoolean(const std::string& text);
// Leading white space, an optional sign and the digits up to the first non-digit; no digits
// give 0, and values beyond the 32-bit range give its limits.
int32_t ParseInteger(const std::string& text);
// The C library's decimal conversion in the "C" numeric conventions, whatever the process
// locale; text that is no number gives 0.0.
double ParseReal(const std::string& text);

}  // namespace zav::persist
