// The store file component of POSIX systems: the master store from the registry file, and
// reading (with schema validation) and writing store documents with libxml2.
#pragma once

#include <string>

#include "persist/config_file.h"

class tConfigFilePosix : public iConfigFile {
 public:
  std::string GetMasterStoreLocation() override;
  void Deserialize(tZavConfigStore* store, std::string path) override;
  void Serialize(tZavConfigStore* store, std::string path) override;
};

namespace zav::persist {

// Looks for a document type declaration in the prolog of `document` (after an optional
// byte-order mark, the XML declaration, white space, comments and processing instructions).
// Returns its 1-based line, or 0 when the prolog has none.
int FindDoctypeLine(const std::string& document);

}  // namespace zav::persist
