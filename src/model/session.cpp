// SPDX-License-Identifier: MIT
#include "model/session.h"

#include <vector>

#include "model/asset_module.h"

// --- sessions --------------------------------------------------------------------------

tZavSession::tZavSession(bool driverSession)
    : iZavConfigComponent(""), driverSession_(driverSession) {}

tZavSession::~tZavSession() {
  if (tZavSoftwareModule* module = softwareModule_.Get()) module->linkedSessions_.Remove(*this);
}

tZavCollection<tZavVirtualName>* tZavSession::GetVirtualNames() const {
  return virtualNames_.Get([] { return std::make_unique<tZavCollection<tZavVirtualName>>(nullptr, ""); });
}

void tZavSession::SetSoftwareModule(tZavSoftwareModule* module) {
  if (module) {
    if (!softwareModuleName_.empty()) DropModuleDataComponents();
    CopyModuleDataComponents(*module);
    SetModuleName(module->GetName());
  } else {
    SetModuleName(std::string());
    DropModuleDataComponents();
  }
  SetModuleLink(module);
}

void tZavSession::RelinkSoftwareModule(tZavSoftwareModule* module) {
  if (module) {
    DropModuleDataComponents();
    SetModuleName(module->GetName());
  }
  SetModuleLink(module);
}

void tZavSession::LinkSoftwareModule(tZavSoftwareModule* module) {
  SetModuleLink(module);
  if (module) SetModuleName(module->GetName());
}

// Both make room in the new list first, so that nothing changes unless everything does.
void tZavSession::SetModuleName(const std::string& name) {
  if (name == softwareModuleName_) return;
  std::string value = name;
  // Only the session collection holds sessions.
  auto* sessions = static_cast<tZavSessionCollection*>(GetOwner());
  if (sessions) sessions->byModuleName_.Reserve(value);
  softwareModuleName_.swap(value);
  if (sessions) {
    sessions->byModuleName_.Leave(*this, value);
    sessions->byModuleName_.Enter(*this, softwareModuleName_);
  }
}

void tZavSession::SetModuleLink(tZavSoftwareModule* module) {
  tZavSoftwareModule* old = softwareModule_.Get();
  if (module && module != old) module->linkedSessions_.Reserve();
  softwareModule_.Set(module);
  if (module == old) return;
  if (old) old->linkedSessions_.Remove(*this);
  if (module) module->linkedSessions_.Add(*this);
}

namespace {
bool SuppliedByModule(const iZavDataComponent& component) {
  const std::string& used = component.GetUsedInSession();
  return used == zav::kUsedRequired || used == zav::kUsedOptional ||
         (component.GetName() == zav::kConfigurableInitialSettings &&
          component.IsType(zav::kTypeStructure));
}

bool CopiedToSessions(const iZavDataComponent& component) {
  return !component.IsType(zav::kTypeStructure) &&
         component.GetUsedInSession() == zav::kUsedRequired;
}
}  // namespace

void tZavSession::DropModuleDataComponents() {
  // Whether a component is the module's does not depend on the others, so one pass finds them
  // all; they go in index order.
  tZavCollection<iZavDataComponent>* components = GetDataComponents();
  std::vector<iZavDataComponent*> supplied;
  components->ForEach([&](iZavDataComponent* component) {
    if (SuppliedByModule(*component)) supplied.push_back(component);
  });
  for (iZavDataComponent* component : supplied) components->Remove(component);
}

void tZavSession::CopyModuleDataComponents(const tZavSoftwareModule& module) {
  // Walked in index order; the module's components do not change while they are copied.
  tZavCollection<iZavDataComponent>* target = GetDataComponents();
  module.GetDataComponents()->ForEach([&](iZavDataComponent* component) {
    if (CopiedToSessions(*component)) {
      CopyDataComponent(*component, *target);
    } else if (component->IsType(zav::kTypeStructure) &&
               component->GetName() == zav::kConfigurableInitialSettings) {
      std::unique_ptr<iZavDataComponent> copy = NewDataComponentLike(*component);
      CopyDataComponentProperties(*component, *copy);
      auto* copiedMembers = static_cast<tZavStructure*>(copy.get())->GetDataComponents();
      static_cast<tZavStructure*>(component)->GetDataComponents()->ForEach(
          [&](iZavDataComponent* member) {
            if (CopiedToSessions(*member)) CopyDataComponent(*member, *copiedMembers);
          });
      if (copiedMembers->Count() > 0) target->Add(std::move(copy));
    }
  });
}

// --- the session collection, its driver-session view and its index of module names -------

namespace {
const tZavSessionList<false> kNoSessions;
}  // namespace

const tZavSessionList<false>& tZavSessionsByModuleName::Naming(const std::string& moduleName) const {
  auto it = byName_.find(moduleName);
  return it == byName_.end() ? kNoSessions : it->second;
}

void tZavSessionsByModuleName::Reserve(const std::string& moduleName) {
  if (moduleName.empty()) return;
  auto entry = byName_.try_emplace(moduleName);
  try {
    entry.first->second.Reserve();
  } catch (...) {
    if (entry.second) byName_.erase(entry.first);
    throw;
  }
}

void tZavSessionsByModuleName::Enter(tZavSession& session, const std::string& moduleName) {
  if (moduleName.empty()) return;
  Reserve(moduleName);
  byName_.find(moduleName)->second.Add(session);
}

void tZavSessionsByModuleName::Leave(tZavSession& session, const std::string& moduleName) noexcept {
  if (moduleName.empty()) return;
  auto it = byName_.find(moduleName);
  it->second.Remove(session);
  if (it->second.Size() == 0) byName_.erase(it);
}

tZavDriverSession* tZavDriverSessionCollection::AddDriverSession(
    std::unique_ptr<tZavDriverSession> item) {
  return static_cast<tZavDriverSession*>(sessions_.Add(std::move(item)));
}

void tZavDriverSessionCollection::RemoveDriverSession(tZavDriverSession* item) {
  sessions_.Remove(item);
}

void tZavSessionCollection::Joined(tZavSession& session) {
  byModuleName_.Enter(session, session.GetSoftwareModuleName());
  try {
    if (session.IsDriverSession())
      driverSessions_.entries_.Append(static_cast<tZavDriverSession*>(&session));
  } catch (...) {
    byModuleName_.Leave(session, session.GetSoftwareModuleName());
    throw;
  }
}

void tZavSessionCollection::Left(tZavSession& session) {
  byModuleName_.Leave(session, session.GetSoftwareModuleName());
  if (session.IsDriverSession()) driverSessions_.entries_.Erase(static_cast<tZavDriverSession*>(&session));
}

void tZavSessionCollection::Renamed(const tZavSession& session, const std::string& oldKey) noexcept {
  // The sessions have just accepted the new name, so no driver session holds it either.
  if (session.IsDriverSession())
    driverSessions_.entries_.FollowRename(static_cast<const tZavDriverSession*>(&session), oldKey);
}

void tZavSessionCollection::Cleared() {
  byModuleName_.Clear();
  driverSessions_.entries_.TakeAll();
}
