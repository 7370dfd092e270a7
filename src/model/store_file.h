// SPDX-License-Identifier: MIT
// The store's port to its file: where the master store lives, and reading and writing a store
// document at a path. The model only calls it; the API layer hands each new store the platform's
// implementation, and tests hand it fakes.
#pragma once

#include <string>

class tZavConfigStore;

class iStoreFile {
 public:
  virtual ~iStoreFile() = default;
  virtual std::string GetMasterStoreLocation() = 0;
  virtual void Deserialize(tZavConfigStore* store, std::string path) = 0;
  virtual void Serialize(tZavConfigStore* store, std::string path) = 0;
};
