// SPDX-License-Identifier: MIT
// What the library accepts silently but is almost surely a mistake in a store document.
#pragma once

#include <string>
#include <vector>

namespace zavtool {

struct Finding {
  int line;
  std::string message;
};

// Reads the document at path on its own (never the network, never a document type) and
// returns its findings in document order. The document should already have been read by the
// library; a file libxml2 cannot parse gives one finding.
std::vector<Finding> LintStoreDocument(const std::string& path);

// What is wrong with an I/O resource descriptor: "" for a VISA resource string (GPIB, TCPIP,
// USB, ASRL, PXI, VXI and GPIB-VXI in their documented forms, any letter case), otherwise a
// sentence that says so.
std::string VisaResourceProblem(const std::string& resource);

}  // namespace zavtool
