// SPDX-License-Identifier: MIT
#include "model/session.h"

#include <vector>

#include "model/asset_module.h"

// --- sessions --------------------------------------------------------------------------

tZavSession::tZavSession(bool driverSession)
    : iZavConfigComponent(""), driverSession_(driverSession) {}

tZavCollection<tZavVirtualName>* tZavSession::GetVirtualNames() const {
  return virtualNames_.Get([] { return std::make_unique<tZavCollection<tZavVirtualName>>(nullptr, ""); });
}

void tZavSession::SetSoftwareModule(tZavSoftwareModule* module) {
  if (module) {
    if (!softwareModuleName_.empty()) DropModuleDataComponents();
    CopyModuleDataComponents(*module);
    softwareModuleName_ = module->GetName();
  } else {
    softwareModuleName_.clear();
    DropModuleDataComponents();
  }
  softwareModule_.Set(module);
}

void tZavSession::RelinkSoftwareModule(tZavSoftwareModule* module) {
  if (module) {
    DropModuleDataComponents();
    softwareModuleName_ = module->GetName();
  }
  softwareModule_.Set(module);
}

void tZavSession::LinkSoftwareModule(tZavSoftwareModule* module) {
  softwareModule_.Set(module);
  if (module) softwareModuleName_ = module->GetName();
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
  tZavCollection<iZavDataComponent>* source = module.GetDataComponents();
  tZavCollection<iZavDataComponent>* target = GetDataComponents();
  for (long i = 1; i <= source->Count(); ++i) {
    iZavDataComponent* component = source->ItemByIndex(i);
    if (CopiedToSessions(*component)) {
      CopyDataComponent(*component, *target);
    } else if (component->IsType(zav::kTypeStructure) &&
               component->GetName() == zav::kConfigurableInitialSettings) {
      std::unique_ptr<iZavDataComponent> copy = NewDataComponentLike(*component);
      CopyDataComponentProperties(*component, *copy);
      auto* members = static_cast<tZavStructure*>(component)->GetDataComponents();
      auto* copiedMembers = static_cast<tZavStructure*>(copy.get())->GetDataComponents();
      for (long m = 1; m <= members->Count(); ++m) {
        iZavDataComponent* member = members->ItemByIndex(m);
        if (CopiedToSessions(*member)) CopyDataComponent(*member, *copiedMembers);
      }
      if (copiedMembers->Count() > 0) target->Add(std::move(copy));
    }
  }
}

// --- the session collection and its driver-session view ----------------------------------

tZavDriverSession* tZavDriverSessionCollection::AddDriverSession(
    std::unique_ptr<tZavDriverSession> item) {
  return static_cast<tZavDriverSession*>(sessions_.Add(std::move(item)));
}

void tZavDriverSessionCollection::RemoveDriverSession(tZavDriverSession* item) {
  sessions_.Remove(item);
}

void tZavSessionCollection::Joined(tZavSession& session) {
  if (session.IsDriverSession())
    driverSessions_.entries_.Append(static_cast<tZavDriverSession*>(&session));
}

void tZavSessionCollection::Left(tZavSession& session) {
  if (session.IsDriverSession()) driverSessions_.entries_.Erase(static_cast<tZavDriverSession*>(&session));
}

void tZavSessionCollection::Renamed(const tZavSession& session, const std::string& oldKey) {
  // The sessions have just accepted the new name, so no driver session holds it either.
  if (session.IsDriverSession())
    driverSessions_.entries_.Rename(static_cast<const tZavDriverSession*>(&session), oldKey);
}

void tZavSessionCollection::Cleared() { driverSessions_.entries_.TakeAll(); }
