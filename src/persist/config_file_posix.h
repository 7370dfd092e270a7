// The store file component of POSIX systems: the master store from the registry file, and
// reading (with schema validation) and writing store documents with libxml2.
#pragma once

#include <memory>
#include <string>

#include "model/store_file.h"

class tConfigFilePosix : public iStoreFile {
 public:
  std::string GetMasterStoreLocation() override;
  void Deserialize(tZavConfigStore* store, std::string path) override;
  void Serialize(tZavConfigStore* store, std::string path) override;
};

// The file component of this platform, for a new store.
std::unique_ptr<iStoreFile> NewPlatformConfigFile();

namespace zav::persist {

// Looks for a document type declaration in the prolog of `document` (after an optional
// byte-order mark, the XML declaration, white space, comments and processing instructions).
// Returns its 1-based line, or 0 when the prolog has none.
int FindDoctypeLine(const std::string& document);

}  // namespace zav::persist
