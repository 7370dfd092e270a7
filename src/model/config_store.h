// SPDX-License-Identifier: MIT
// The root of one in-memory configuration store: its six collections, its properties, name
// resolution, and reading and writing it through the file component.
#pragma once

#include <memory>
#include <string>

#include "model/asset_module.h"
#include "model/collection.h"
#include "model/published_api.h"
#include "model/session.h"
#include "model/store_file.h"

class tZavConfigStore {
 public:
  // The store reads and writes its documents through `file`, which must not be null.
  explicit tZavConfigStore(std::unique_ptr<iStoreFile> file);
  tZavConfigStore(const tZavConfigStore&) = delete;
  tZavConfigStore& operator=(const tZavConfigStore&) = delete;

  std::string GetName() const;
  std::string GetVendor() const;
  std::string GetRevision() const;
  long GetSpecificationMajorVersion() const { return 1; }
  long GetSpecificationMinorVersion() const { return 22; }
  const std::string& GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  // Asks the file component once; a failed look-up is asked again next time.
  std::string GetMasterLocation();
  std::string GetProcessDefaultLocation() const;
  void SetProcessDefaultLocation(const std::string& value);
  const std::string& GetActualLocation() const { return actualLocation_; }

  tZavCollection<tZavLogicalName>* GetLogicalNames() { return &logicalNames_; }
  tZavSessionCollection* GetSessions() { return &sessions_; }
  tZavDriverSessionCollection* GetDriverSessions() { return sessions_.GetDriverSessions(); }
  tZavCollection<tZavHardwareAsset>* GetHardwareAssets() { return &hardwareAssets_; }
  tZavSoftwareModuleCollection* GetSoftwareModules() { return &softwareModules_; }
  tZavPublishedAPICollection* GetPublishedAPIs() { return &publishedAPIs_; }

  // A logical name of that name leads to its session (null when it has none); otherwise the
  // session of that name.
  tZavSession* GetSession(const std::string& name);
  tZavDriverSession* GetDriverSession(const std::string& name);

  void Deserialize(const std::string& location);
  void Serialize(const std::string& location);
  // Destroys every item, as before a store is read afresh.
  void ClearAll();

  const tLifeToken& Life() const { return life_; }

 private:
  std::string actualLocation_;
  std::string description_;
  std::string masterLocation_;
  bool deserialized_ = false;
  std::unique_ptr<iStoreFile> storeFile_;
  // Declared in the order of their dependencies and so destroyed in the reverse: the modules'
  // lists release their counts on published APIs that still live.
  tZavPublishedAPICollection publishedAPIs_{this};
  tZavCollection<tZavHardwareAsset> hardwareAssets_{this, ""};
  tZavSessionCollection sessions_{this};
  tZavSoftwareModuleCollection softwareModules_{this, sessions_};
  tZavCollection<tZavLogicalName> logicalNames_{this, ""};
  tLifeToken life_;
};
