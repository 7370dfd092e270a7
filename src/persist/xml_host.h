// SPDX-License-Identifier: MIT
// The library's host for libxml2: its one-time initialisation. The store reader drives
// libxml2's push parser itself; nothing else of the library calls into libxml2.
#pragma once

namespace zav::xml {

// Initialises the parser once per process, from whichever thread comes first.
void InitParser();

}  // namespace zav::xml
