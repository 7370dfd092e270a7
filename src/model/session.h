// Logical names, sessions, driver sessions, and the store's view of its driver sessions.
#pragma once

#include <memory>
#include <string>

#include "model/config_component.h"
#include "model/names.h"

class tZavHardwareAsset;
class tZavSoftwareModule;
class tZavSession;

class tZavLogicalName : public iZavCollectionItem {
 public:
  ~tZavLogicalName() override;
  std::string GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  tZavSession* GetSession() const;
  // Any session or none; nothing is checked.
  void SetSession(tZavSession* session);

 private:
  std::string description_;
  tCountedRef<tZavSession> session_;
};

class tZavSession : public iZavConfigComponent {
 public:
  tZavSession();
  ~tZavSession() override;

  std::string GetSoftwareModuleName() const { return softwareModuleName_; }
  tZavHardwareAsset* GetHardwareAsset() const;
  void SetHardwareAsset(tZavHardwareAsset* asset);
  tZavSoftwareModule* GetSoftwareModule() const;
  // relink false: the caller picks a module, and the session takes over its required settings.
  // relink true: the module joins or leaves the store; only the link (and name) change.
  void SetSoftwareModule(tZavSoftwareModule* module, bool relink);
  // The reader's link: sets the link and name, touches no data component.
  void LinkSoftwareModule(tZavSoftwareModule* module);
  iZavCollectionBase<tZavVirtualName>* GetVirtualNames() const { return virtualNames_.get(); }
  bool IsDriverSession() const { return driverSession_; }

  void DropModuleDataComponents();
  void CopyModuleDataComponents(tZavSoftwareModule* module);

 protected:
  explicit tZavSession(bool driverSession);

 private:
  std::string softwareModuleName_;
  tCountedRef<tZavHardwareAsset> hardwareAsset_;
  std::unique_ptr<iZavCollectionBase<tZavVirtualName>> virtualNames_;
  tLinkRef<tZavSoftwareModule> softwareModule_;
  const bool driverSession_;
};

class tZavDriverSession : public tZavSession {
 public:
  tZavDriverSession() : tZavSession(true) {}

  // Leaves the driver-session view as well as the session collection.
  void Detach(iConfigStoreCollection* collection) override;
  // Keeps the view entry in step with the session collection's.
  void SetName(const std::string& name, bool rejectEmpty) override;

  bool GetCache() const { return cache_; }
  void SetCache(bool value) { cache_ = value; }
  std::string GetDriverSetup() const { return driverSetup_; }
  void SetDriverSetup(const std::string& value) { driverSetup_ = value; }
  bool GetInterchangeCheck() const { return interchangeCheck_; }
  void SetInterchangeCheck(bool value) { interchangeCheck_ = value; }
  bool GetQueryInstrStatus() const { return queryInstrStatus_; }
  void SetQueryInstrStatus(bool value) { queryInstrStatus_ = value; }
  bool GetRangeCheck() const { return rangeCheck_; }
  void SetRangeCheck(bool value) { rangeCheck_ = value; }
  bool GetRecordCoercions() const { return recordCoercions_; }
  void SetRecordCoercions(bool value) { recordCoercions_ = value; }
  bool GetSimulate() const { return simulate_; }
  void SetSimulate(bool value) { simulate_ = value; }

 private:
  // A new driver session starts with every option off.
  bool cache_ = false;
  std::string driverSetup_;
  bool interchangeCheck_ = false;
  bool queryInstrStatus_ = false;
  bool rangeCheck_ = false;
  bool recordCoercions_ = false;
  bool simulate_ = false;
};

// The store's driver sessions, in the order they were added. The session collection owns them;
// this view only indexes them.
class tZavDriverSessionCollection : public iZavCollection {
 public:
  tZavDriverSessionCollection(tZavConfigStore* store, iZavCollectionBase<tZavSession>* sessions)
      : iZavCollection(store, ""), sessions_(sessions) {}
  ~tZavDriverSessionCollection() override { ForgetAll(); }

  void Clear() override { ForgetAll(); }
  tZavDriverSession* Find(const std::string& key) const override {
    return static_cast<tZavDriverSession*>(iZavCollection::Find(key));
  }
  tZavDriverSession* ItemByIndex(const long& index) override {
    return static_cast<tZavDriverSession*>(iZavCollection::ItemByIndex(index));
  }
  tZavDriverSession* ItemByName(const std::string& key) override {
    return static_cast<tZavDriverSession*>(iZavCollection::ItemByName(key));
  }
  virtual void AddDriverSession(tZavDriverSession* item);
  virtual void RemoveDriverSession(tZavDriverSession* item);
  void EraseDriverSession(tZavDriverSession* driverSession);

 private:
  iZavCollectionBase<tZavSession>* sessions_;
};
