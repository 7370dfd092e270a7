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
  virtual ~tZavConfigStore();

  static const char* GetDefaultDescription();
  std::string GetName() const;
  std::string GetVendor() const;
  std::string GetRevision() const;
  long GetSpecificationMajorVersion() const { return 1; }
  long GetSpecificationMinorVersion() const { return 22; }
  std::string GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  // Asks the file component once; a failed look-up is asked again next time.
  std::string GetMasterLocation();
  std::string GetProcessDefaultLocation() const;
  void SetProcessDefaultLocation(const std::string& value);
  std::string GetActualLocation() const { return actualLocation_; }
  bool IsDeserialized() const { return deserialized_; }

  iZavCollectionBase<tZavLogicalName>* GetLogicalNames() const { return logicalNames_.get(); }
  iZavCollectionBase<tZavSession>* GetSessions() const { return sessions_.get(); }
  tZavDriverSessionCollection* GetDriverSessions() const { return driverSessions_.get(); }
  iZavCollectionBase<tZavHardwareAsset>* GetHardwareAssets() const { return hardwareAssets_.get(); }
  iZavCollectionBase<tZavSoftwareModule>* GetSoftwareModules() const { return softwareModules_.get(); }
  tZavPublishedAPICollection* GetPublishedAPIs() const { return publishedAPIs_.get(); }

  // A logical name of that name leads to its session (null when it has none); otherwise the
  // session of that name.
  tZavSession* GetSession(const std::string& name) const;
  tZavDriverSession* GetDriverSession(const std::string& name) const;

  void Deserialize(const std::string& location);
  void Serialize(const std::string& location);
  void ClearAll();

  const tLifeToken& Life() const { return life_; }

 private:
  std::string actualLocation_;
  std::string description_;
  std::string masterLocation_;
  bool deserialized_ = false;
  std::unique_ptr<iZavCollectionBase<tZavHardwareAsset>> hardwareAssets_;
  std::unique_ptr<iZavCollectionBase<tZavLogicalName>> logicalNames_;
  std::unique_ptr<iZavCollectionBase<tZavSession>> sessions_;
  std::unique_ptr<tZavDriverSessionCollection> driverSessions_;
  std::unique_ptr<tZavPublishedAPICollection> publishedAPIs_;
  std::unique_ptr<iZavCollectionBase<tZavSoftwareModule>> softwareModules_;
  std::unique_ptr<iStoreFile> storeFile_;
  tLifeToken life_;
};
