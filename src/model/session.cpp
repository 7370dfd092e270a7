#include "model/session.h"

#include "model/asset_module.h"
#include "model/config_store.h"

// --- logical names ---------------------------------------------------------------------

tZavLogicalName::~tZavLogicalName() { session_.Set(nullptr); }

tZavSession* tZavLogicalName::GetSession() const { return session_.Get(); }

void tZavLogicalName::SetSession(tZavSession* session) { session_.Set(session); }

// --- sessions --------------------------------------------------------------------------

tZavSession::tZavSession() : tZavSession(false) {}

tZavSession::tZavSession(bool driverSession)
    : iZavConfigComponent(""),
      virtualNames_(std::make_unique<iZavCollectionBase<tZavVirtualName>>(nullptr, "")),
      driverSession_(driverSession) {}

tZavSession::~tZavSession() {
  virtualNames_.reset();
  hardwareAsset_.Set(nullptr);
  softwareModule_.Set(nullptr);
}

tZavHardwareAsset* tZavSession::GetHardwareAsset() const { return hardwareAsset_.Get(); }

void tZavSession::SetHardwareAsset(tZavHardwareAsset* asset) { hardwareAsset_.Set(asset); }

tZavSoftwareModule* tZavSession::GetSoftwareModule() const { return softwareModule_.Get(); }

void tZavSession::SetSoftwareModule(tZavSoftwareModule* module, bool relink) {
  if (module && !relink) {
    if (!softwareModuleName_.empty()) DropModuleDataComponents();
    CopyModuleDataComponents(module);
    softwareModuleName_ = module->GetName();
    softwareModule_.Set(module);
  } else if (module) {
    DropModuleDataComponents();
    softwareModuleName_ = module->GetName();
    softwareModule_.Set(module);
  } else if (!relink) {
    softwareModuleName_.clear();
    DropModuleDataComponents();
    softwareModule_.Set(nullptr);
  } else {
    softwareModule_.Set(nullptr);
  }
}

void tZavSession::LinkSoftwareModule(tZavSoftwareModule* module) {
  softwareModule_.Set(module);
  if (module) softwareModuleName_ = module->GetName();
}

namespace {
bool SuppliedByModule(const iZavDataComponent& component) {
  const std::string used = component.GetUsedInSession();
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
  iZavCollectionBase<iZavDataComponent>* components = GetDataComponents();
  bool removed = true;
  while (removed) {
    removed = false;
    for (long i = 1; i <= components->Count(); ++i) {
      iZavDataComponent* component = components->ItemByIndex(i);
      if (SuppliedByModule(*component)) {
        components->Remove(component);
        removed = true;
        break;
      }
    }
  }
}

void tZavSession::CopyModuleDataComponents(tZavSoftwareModule* module) {
  iZavCollectionBase<iZavDataComponent>* source = module->GetDataComponents();
  iZavCollectionBase<iZavDataComponent>* target = GetDataComponents();
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
      if (copiedMembers->Count() > 0) {
        target->Add(copy.get());
        copy.release();
      }
    }
  }
}

// --- driver sessions -------------------------------------------------------------------

void tZavDriverSession::Detach(iConfigStoreCollection* collection) {
  tZavSession::Detach(collection);
  if (tZavConfigStore* store = collection->GetStore())
    store->GetDriverSessions()->EraseDriverSession(this);
}

void tZavDriverSession::SetName(const std::string& name, bool rejectEmpty) {
  if (rejectEmpty && name.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, "Set failed. The name of the item cannot be empty.");
  if (name == GetKey()) return;
  if (iConfigStoreCollection* owner = GetOwner()) {
    OwnerCollection()->Rename(GetKey(), name);
    tZavConfigStore* store = owner->GetStore();
    if (store) {
      tZavDriverSessionCollection* view = store->GetDriverSessions();
      if (view->Find(GetKey()) == this) view->Rename(GetKey(), name);
    }
  }
  SetKey(name);
}

// --- the driver-session view -----------------------------------------------------------

void tZavDriverSessionCollection::AddDriverSession(tZavDriverSession* item) {
  sessions_->Add(item);
  InsertEntry(item);
}

void tZavDriverSessionCollection::RemoveDriverSession(tZavDriverSession* item) {
  sessions_->Remove(item);
}

void tZavDriverSessionCollection::EraseDriverSession(tZavDriverSession* driverSession) {
  auto it = Entries().find(driverSession->GetKey());
  if (it != Entries().end() && it->second == driverSession) EraseEntry(it, driverSession);
}
