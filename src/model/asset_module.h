// Hardware assets (instruments) and software modules (drivers).
#pragma once

#include <memory>
#include <string>

#include "model/config_component.h"
#include "model/names.h"
#include "model/published_api.h"

class tZavHardwareAsset : public iZavConfigComponent {
 public:
  tZavHardwareAsset() : iZavConfigComponent(zav::kHardwareAssetCollectionName) {}
  std::string GetIOResourceDescriptor() const { return ioResourceDescriptor_; }
  void SetIOResourceDescriptor(const std::string& value) { ioResourceDescriptor_ = value; }

 private:
  std::string ioResourceDescriptor_;
};

class tZavSoftwareModule : public iZavConfigComponent {
 public:
  tZavSoftwareModule();
  ~tZavSoftwareModule() override;

  // Joining a store links the sessions that name this module; leaving it unlinks them.
  iConfigStoreItem* SetOwner(iConfigStoreCollection* collection) override;
  void Detach(iConfigStoreCollection* collection) override;

  std::string GetAssemblyQualifiedClassName() const { return assemblyQualifiedClassName_; }
  void SetAssemblyQualifiedClassName(const std::string& v) { assemblyQualifiedClassName_ = v; }
  std::string GetModulePath() const { return modulePath_; }
  void SetModulePath(const std::string& v) { modulePath_ = v; }
  std::string GetModulePath64() const { return modulePath64_; }
  void SetModulePath64(const std::string& v) { modulePath64_ = v; }
  std::string GetPrefix() const { return prefix_; }
  void SetPrefix(const std::string& v) { prefix_ = v; }
  std::string GetProgID() const { return progID_; }
  void SetProgID(const std::string& v) { progID_ = v; }
  std::string GetSupportedInstrumentModels() const { return supportedInstrumentModels_; }
  void SetSupportedInstrumentModels(const std::string& v) { supportedInstrumentModels_ = v; }
  // The module path of the platform the library runs on; this build keeps it in ModulePath.
  std::string GetPlatformModulePath() const { return GetModulePath(); }
  void SetPlatformModulePath(const std::string& v) { SetModulePath(v); }

  iZavCollectionBase<tZavPhysicalName>* GetPhysicalNames() const { return physicalNames_.get(); }
  tZavPublishedAPICollection* GetPublishedAPIs() const { return publishedAPIs_.get(); }

 private:
  std::string assemblyQualifiedClassName_;
  std::string modulePath_;
  std::string modulePath64_;
  std::string prefix_;
  std::string progID_;
  std::string supportedInstrumentModels_;
  std::unique_ptr<iZavCollectionBase<tZavPhysicalName>> physicalNames_;
  std::unique_ptr<tZavPublishedAPICollection> publishedAPIs_;
};
