// SPDX-License-Identifier: MIT
// The store file component of POSIX systems: the master store from the registry file, and
// reading (checked against the store schema's tree) and writing store documents.
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

// The largest store file Deserialize reads (1 GiB); larger files are refused unread.
constexpr unsigned long long kMaxStoreFileSize = 1ull << 30;

}  // namespace zav::persist
