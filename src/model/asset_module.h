// SPDX-License-Identifier: MIT
// Hardware assets (instruments) and software modules (drivers).
#pragma once

#include <memory>
#include <string>

#include "model/config_component.h"
#include "model/names.h"
#include "model/published_api.h"
#include "model/session.h"

class tZavHardwareAsset : public iZavConfigComponent {
 public:
  tZavHardwareAsset() : iZavConfigComponent(zav::kHardwareAssetCollectionName) {}
  const std::string& GetIOResourceDescriptor() const { return ioResourceDescriptor_; }
  void SetIOResourceDescriptor(const std::string& value) { ioResourceDescriptor_ = value; }

 private:
  std::string ioResourceDescriptor_;
};

class tZavSoftwareModule : public iZavConfigComponent {
 public:
  tZavSoftwareModule() : iZavConfigComponent("") {}

  // Hands the new owner's store on to the list of published APIs as well.
  void SetOwner(iConfigStoreCollection* collection) override;

  const std::string& GetAssemblyQualifiedClassName() const { return assemblyQualifiedClassName_; }
  void SetAssemblyQualifiedClassName(const std::string& v) { assemblyQualifiedClassName_ = v; }
  const std::string& GetModulePath() const { return modulePath_; }
  void SetModulePath(const std::string& v) { modulePath_ = v; }
  const std::string& GetModulePath64() const { return modulePath64_; }
  void SetModulePath64(const std::string& v) { modulePath64_ = v; }
  const std::string& GetPrefix() const { return prefix_; }
  void SetPrefix(const std::string& v) { prefix_ = v; }
  const std::string& GetProgID() const { return progID_; }
  void SetProgID(const std::string& v) { progID_ = v; }
  const std::string& GetSupportedInstrumentModels() const { return supportedInstrumentModels_; }
  void SetSupportedInstrumentModels(const std::string& v) { supportedInstrumentModels_ = v; }
  // The module path of the platform the library runs on; this build keeps it in ModulePath.
  std::string GetPlatformModulePath() const { return GetModulePath(); }
  void SetPlatformModulePath(const std::string& v) { SetModulePath(v); }

  tZavCollection<tZavPhysicalName>* GetPhysicalNames() const;
  tZavPublishedAPIReferences* GetPublishedAPIs() const;

  // The sessions linked to this module, in any store or none; each session keeps itself in or
  // out of it as its link changes and when it dies.
  const tZavSessionList<true>& LinkedSessions() const { return linkedSessions_; }

 private:
  friend class tZavSession;
  std::string assemblyQualifiedClassName_;
  std::string modulePath_;
  std::string modulePath64_;
  std::string prefix_;
  std::string progID_;
  std::string supportedInstrumentModels_;
  tLocalCollection<tZavCollection<tZavPhysicalName>> physicalNames_;
  tLocalCollection<tZavPublishedAPIReferences> publishedAPIs_;
  tZavSessionList<true> linkedSessions_;
};

// The store's software modules. Its hooks are the one place that links sessions to modules: a
// module joining the store links the sessions that name it, one leaving unlinks those linked to
// it (even when the reference check then keeps it in the store). Both find exactly those sessions,
// through the session collection's index of module names and the module's own list of links, so
// neither looks at the store's other sessions.
class tZavSoftwareModuleCollection final : public tZavCollection<tZavSoftwareModule> {
 public:
  tZavSoftwareModuleCollection(tZavConfigStore* store, const tZavSessionCollection& sessions)
      : tZavCollection<tZavSoftwareModule>(store, ""), sessions_(sessions) {}

 private:
  void Joined(tZavSoftwareModule& module) override;
  void Leaving(tZavSoftwareModule& module) override;

  const tZavSessionCollection& sessions_;
};
