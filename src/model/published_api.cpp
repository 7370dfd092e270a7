#include "model/published_api.h"

#include "model/asset_module.h"
#include "model/config_store.h"

bool tZavPublishedAPIKey::operator<(const tZavPublishedAPIKey& other) const {
  if (Name != other.Name) return Name < other.Name;
  if (Type != other.Type) return Type < other.Type;
  if (MajorVersion != other.MajorVersion) return MajorVersion < other.MajorVersion;
  return MinorVersion < other.MinorVersion;
}

std::ostream& operator<<(std::ostream& out, const tZavPublishedAPIKey& key) {
  return out << '(' << key.Name << ',' << key.Type << ',' << key.MajorVersion << ','
             << key.MinorVersion << ')';
}

void tZavPublishedAPI::ChangeKey(const tZavPublishedAPIKey& key) {
  if (key == GetKey()) return;
  if (GetOwner()) {
    OwnerCollection()->Rename(GetKey(), key);
    // The software modules of the store list this API under its key too; they follow, so that
    // their references can still be found and removed. The global collection has just accepted
    // the new key, so no other API of the store holds it and these renames cannot clash.
    tZavConfigStore* store = GetOwner()->GetStore();
    auto* global = static_cast<tZavPublishedAPICollection*>(GetOwner());
    if (store && global->IsGlobal()) {
      iZavCollectionBase<tZavSoftwareModule>* modules = store->GetSoftwareModules();
      for (long i = 1; i <= modules->Count(); ++i) {
        tZavPublishedAPICollection* list = modules->ItemByIndex(i)->GetPublishedAPIs();
        if (list->Find(GetKey()) == this) list->Rename(GetKey(), key);
      }
    }
  }
  SetKey(key);
}

void tZavPublishedAPI::SetName(const std::string& name) {
  if (name.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, "Set failed. The name of the item cannot be empty.");
  tZavPublishedAPIKey key = GetKey();
  key.Name = name;
  ChangeKey(key);
}

void tZavPublishedAPI::SetType(const std::string& type) {
  if (type.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The type property of the item cannot be empty.");
  tZavPublishedAPIKey key = GetKey();
  key.Type = type;
  ChangeKey(key);
}

void tZavPublishedAPI::SetMajorVersion(int32_t version) {
  tZavPublishedAPIKey key = GetKey();
  key.MajorVersion = version;
  ChangeKey(key);
}

void tZavPublishedAPI::SetMinorVersion(int32_t version) {
  tZavPublishedAPIKey key = GetKey();
  key.MinorVersion = version;
  ChangeKey(key);
}

bool tZavPublishedAPICollection::IsGlobal() const {
  return GetStore() != nullptr && GetStore()->GetPublishedAPIs() == this;
}

tZavPublishedAPICollection::~tZavPublishedAPICollection() {
  if (!IsGlobal()) {
    for (auto& entry : Entries()) entry.second->DecrementRefCount();
    ForgetAll();
  }
}

void tZavPublishedAPICollection::Clear() {
  if (IsGlobal()) iKeyedCollection::Clear();
}

void tZavPublishedAPICollection::AddToGlobal(tZavPublishedAPI* api) {
  if (!IsGlobal()) ThrowZavError(ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION, "Not a global collection");
  Add(api);
}

void tZavPublishedAPICollection::AddReference(tZavPublishedAPI* api) {
  // The store of the global collection is always set, so an API in no collection, or a list whose
  // module is in no store, fails the test.
  if (!api || !api->IsInSameStore(this) || GetStore() == nullptr)
    ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                  zav::Message("Add failed. ", api ? api->GetKey() : tZavPublishedAPIKey(),
                               " is already added to another configuration store."));
  InsertEntry(api);
  api->IncrementRefCount();
}

void tZavPublishedAPICollection::RemoveReference(tZavPublishedAPI* api) {
  if (!api || !api->IsInSameStore(this) || GetStore() == nullptr)
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                  zav::Message("Remove failed. ", api ? api->GetKey() : tZavPublishedAPIKey(),
                               " is not added to this configuration store."));
  auto it = Entries().find(api->GetKey());
  // The global collection owns its APIs and lists no references: erasing one there would lose it.
  if (IsGlobal() || it == Entries().end() || it->second != api)
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND, "Remove failed. Item does not exist in the collection.");
  api->DecrementRefCount();
  EraseEntry(it, api);
}
