// SPDX-License-Identifier: MIT
// Logical names, sessions and driver sessions; the store's session collection and its view of the
// driver sessions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/config_component.h"
#include "model/names.h"

class tZavHardwareAsset;
class tZavSoftwareModule;
class tZavSession;
class tZavDriverSession;
class tZavSessionCollection;

class tZavLogicalName : public iZavCollectionItem {
 public:
  const std::string& GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  tZavSession* GetSession() const { return session_.Get(); }
  // Any session or none; nothing is checked.
  void SetSession(tZavSession* session) { session_.Set(session); }

 private:
  std::string description_;
  tCountedRef<tZavSession> session_;
};

class tZavSession : public iZavConfigComponent {
 public:
  tZavSession() : tZavSession(false) {}
  // Leaves the list of sessions linked to its module.
  ~tZavSession() override;

  const std::string& GetSoftwareModuleName() const { return softwareModuleName_; }
  tZavHardwareAsset* GetHardwareAsset() const { return hardwareAsset_.Get(); }
  void SetHardwareAsset(tZavHardwareAsset* asset) { hardwareAsset_.Set(asset); }
  tZavSoftwareModule* GetSoftwareModule() const { return softwareModule_.Get(); }
  // The caller picks a module (or none): the session drops the settings it took over from its
  // old module and takes over the required settings of the new one.
  void SetSoftwareModule(tZavSoftwareModule* module);
  // The module of that name joins the store (module given) or leaves it (null): only the link,
  // and on joining the name and the settings taken over, change.
  void RelinkSoftwareModule(tZavSoftwareModule* module);
  // The reader's link: sets the link and name, touches no data component.
  void LinkSoftwareModule(tZavSoftwareModule* module);
  tZavCollection<tZavVirtualName>* GetVirtualNames() const;
  bool IsDriverSession() const { return driverSession_; }

 protected:
  explicit tZavSession(bool driverSession);

 private:
  void DropModuleDataComponents();
  void CopyModuleDataComponents(const tZavSoftwareModule& module);
  // The only writers of the module name and link: they keep the session collection's index of
  // module names and the module's list of linked sessions in step. A failure changes nothing.
  void SetModuleName(const std::string& name);
  void SetModuleLink(tZavSoftwareModule* module);

  template <bool Link>
  friend class tZavSessionList;

  std::string softwareModuleName_;
  tCountedRef<tZavHardwareAsset> hardwareAsset_;
  tLocalCollection<tZavCollection<tZavVirtualName>> virtualNames_;
  tLinkRef<tZavSoftwareModule> softwareModule_;
  // The session's places in the two lists it can be in: its collection's list of the sessions
  // naming its module, and its module's list of linked sessions.
  uint32_t nameSlot_ = 0;
  uint32_t linkSlot_ = 0;
  const bool driverSession_;
};

// Sessions in no particular order, each of which knows its own place in the list, so that it
// leaves in constant time and the list costs one pointer per session. A session is in at most one
// list of each kind: by module name (Link false) and by module link (Link true).
template <bool Link>
class tZavSessionList {
 public:
  size_t Size() const { return sessions_.size(); }
  tZavSession* operator[](size_t i) const { return sessions_[i]; }
  std::vector<tZavSession*>::const_iterator begin() const { return sessions_.begin(); }
  std::vector<tZavSession*>::const_iterator end() const { return sessions_.end(); }

  // Makes room for one more session, so that the next Add cannot fail.
  void Reserve() {
    if (sessions_.size() == sessions_.capacity()) sessions_.reserve(sessions_.size() * 2 + 1);
  }
  // After Reserve.
  void Add(tZavSession& session) noexcept {
    SlotOf(session) = static_cast<uint32_t>(sessions_.size());
    sessions_.push_back(&session);
  }
  // A session in the list: the last one takes its place.
  void Remove(tZavSession& session) noexcept {
    const uint32_t slot = SlotOf(session);
    tZavSession* last = sessions_.back();
    sessions_[slot] = last;
    SlotOf(*last) = slot;
    sessions_.pop_back();
  }

 private:
  static uint32_t& SlotOf(tZavSession& session) {
    if constexpr (Link) return session.linkSlot_;
    else return session.nameSlot_;
  }

  std::vector<tZavSession*> sessions_;
};

class tZavDriverSession : public tZavSession {
 public:
  tZavDriverSession() : tZavSession(true) {}

  bool GetCache() const { return cache_; }
  void SetCache(bool value) { cache_ = value; }
  const std::string& GetDriverSetup() const { return driverSetup_; }
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
  std::string driverSetup_;
  bool cache_ = false;
  bool interchangeCheck_ = false;
  bool queryInstrStatus_ = false;
  bool rangeCheck_ = false;
  bool recordCoercions_ = false;
  bool simulate_ = false;
};

// The store's driver sessions, in the order they were added. It owns nothing: the session
// collection owns them and keeps this view in step.
class tZavDriverSessionCollection final : public iConfigStoreCollection {
 public:
  tZavDriverSessionCollection(tZavConfigStore* store, tZavSessionCollection& sessions)
      : iConfigStoreCollection(store, ""), sessions_(sessions) {}

  long Count() const { return entries_.Count(); }
  tZavDriverSession* Find(const std::string& key) const { return entries_.Find(key); }
  tZavDriverSession* ItemByIndex(const long& index) const { return entries_.ItemByIndex(index); }
  tZavDriverSession* ItemByName(const std::string& key) const { return entries_.ItemByName(key); }
  template <class F>
  void ForEach(F f) const {
    entries_.ForEach(f);
  }

  // The driver session joins, or leaves, the session collection and so this view.
  tZavDriverSession* AddDriverSession(std::unique_ptr<tZavDriverSession> item);
  void RemoveDriverSession(tZavDriverSession* item);

 private:
  friend class tZavSessionCollection;
  tZavSessionCollection& sessions_;
  tKeyedList<std::string, tZavDriverSession, tZavDriverSession*> entries_;
};

// Sessions under the name of the software module they name. Sessions that name none ("") are not
// kept, so that they cost nothing here.
class tZavSessionsByModuleName {
 public:
  // Those that name `moduleName`, which must not be "".
  const tZavSessionList<false>& Naming(const std::string& moduleName) const;
  // Makes room for one more session under `moduleName`, so that the next Enter of that name
  // cannot fail; a failure leaves the index as it was.
  void Reserve(const std::string& moduleName);
  // Enters a session that is not in the index under `moduleName` (unless ""); a failure leaves
  // the index as it was.
  void Enter(tZavSession& session, const std::string& moduleName);
  // Takes the session out; it must be in the index under `moduleName`, or that must be "".
  void Leave(tZavSession& session, const std::string& moduleName) noexcept;
  void Clear() noexcept { byName_.clear(); }

 private:
  std::unordered_map<std::string, tZavSessionList<false>> byName_;
};

// The store's sessions, plain and driver sessions together. Its hooks are the one place that
// keeps the driver-session view and the index of module names in step: a session is in the view
// exactly while it is a driver session held here, under its current name, and in the index while
// it is held here, under its module name.
class tZavSessionCollection final : public tZavCollection<tZavSession> {
 public:
  explicit tZavSessionCollection(tZavConfigStore* store)
      : tZavCollection<tZavSession>(store, ""), driverSessions_(store, *this) {}

  tZavDriverSessionCollection* GetDriverSessions() { return &driverSessions_; }
  // The sessions held here that name the module `moduleName`, which must not be "".
  const tZavSessionList<false>& NamingModule(const std::string& moduleName) const {
    return byModuleName_.Naming(moduleName);
  }

 private:
  friend class tZavSession;  // moves its own entry in the index when its module name changes
  void Joined(tZavSession& session) override;
  void Left(tZavSession& session) override;
  void Renamed(const tZavSession& session, const std::string& oldKey) noexcept override;
  void Cleared() override;

  tZavDriverSessionCollection driverSessions_;
  tZavSessionsByModuleName byModuleName_;
};
