// The store's file component: where the master store lives, and reading and writing a store
// document at a path.
#pragma once

#include <memory>
#include <string>

class tZavConfigStore;

class iConfigFile {
 public:
  virtual ~iConfigFile() = default;
  virtual std::string GetMasterStoreLocation() = 0;
  virtual void Deserialize(tZavConfigStore* store, std::string path) = 0;
  virtual void Serialize(tZavConfigStore* store, std::string path) = 0;
};

// The file component of this platform.
std::unique_ptr<iConfigFile> NewPlatformConfigFile();
