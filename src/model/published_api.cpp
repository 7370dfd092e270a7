// SPDX-License-Identifier: MIT
#include "model/published_api.h"


bool tZavPublishedAPIKey::operator<(const tZavPublishedAPIKey& other) const {
  if (int order = Name.compare(other.Name)) return order < 0;
  if (int order = Type.compare(other.Type)) return order < 0;
  if (MajorVersion != other.MajorVersion) return MajorVersion < other.MajorVersion;
  return MinorVersion < other.MinorVersion;
}

std::ostream& operator<<(std::ostream& out, const tZavPublishedAPIKey& key) {
  return out << '(' << key.Name << ',' << key.Type << ',' << key.MajorVersion << ','
             << key.MinorVersion << ')';
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

namespace {
// References stay within one store: the API must be held by a collection of the list's store.
// A list whose module is in no store has none, so it takes no reference.
bool SameStore(const tZavPublishedAPI& api, const iZavPublishedAPICollection& list) {
  return list.GetStore() != nullptr && api.IsInSameStore(&list);
}

void CheckAddable(const tZavPublishedAPI* api, const iZavPublishedAPICollection& list) {
  if (!api) ThrowZavError(ZAVCONFIG_ERROR_NULL_POINTER, "Add failed. Invalid (NULL) item pointer.");
  if (!SameStore(*api, list))
    ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                  zav::Message("Add failed. ", api->GetKey(),
                               " is already added to another configuration store."));
}

void CheckRemovable(const tZavPublishedAPI* api, const iZavPublishedAPICollection& list) {
  if (!api || !SameStore(*api, list))
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                  zav::Message("Remove failed. ", api ? api->GetKey() : tZavPublishedAPIKey(),
                               " is not added to this configuration store."));
}

[[noreturn]] void ThrowNotInCollection() {
  ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND, "Remove failed. Item does not exist in the collection.");
}
}  // namespace

// --- the store's collection ----------------------------------------------------------------

void tZavPublishedAPICollection::AddReference(tZavPublishedAPI* api) {
  CheckAddable(api, *this);
  ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                zav::Message("Add failed. Item ", api->GetKey(), " already exists in the collection."));
}

void tZavPublishedAPICollection::RemoveReference(tZavPublishedAPI* api) {
  CheckRemovable(api, *this);
  ThrowNotInCollection();
}

void tZavPublishedAPICollection::Renamed(const tZavPublishedAPI& api,
                                         const tZavPublishedAPIKey& oldKey) noexcept {
  // The modules that list the API list it under its key too, and follow so that their references
  // can still be found and removed. This collection has just accepted the new key, so no other
  // API of the store holds it and these renames cannot clash.
  for (tZavPublishedAPIReferences* list : api.ListedIn()) list->FollowRename(api, oldKey);
}

// --- a module's list -----------------------------------------------------------------------

tZavPublishedAPIReferences::~tZavPublishedAPIReferences() {
  entries_.ForEach([this](tZavPublishedAPI* api) {
    Unlist(*api);
    api->DecrementRefCount();
  });
}

void tZavPublishedAPIReferences::Unlist(tZavPublishedAPI& api) {
  auto& lists = api.listedIn_;
  for (auto it = lists.begin(); it != lists.end(); ++it) {
    if (*it == this) {
      *it = lists.back();
      lists.pop_back();
      return;
    }
  }
}

tZavPublishedAPI* tZavPublishedAPIReferences::AddToGlobal(std::unique_ptr<tZavPublishedAPI>) {
  ThrowZavError(ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION, "Not a global collection");
}

void tZavPublishedAPIReferences::Remove(tZavPublishedAPI* api) {
  if (!entries_.Holds(api)) ThrowNotInCollection();
  ThrowZavError(ZAVCONFIG_ERROR_HAS_REFERENCES,
                "Remove failed. Item has references from other items.");
}

void tZavPublishedAPIReferences::AddReference(tZavPublishedAPI* api) {
  CheckAddable(api, *this);
  entries_.Append(api);
  try {
    api->listedIn_.push_back(this);
  } catch (...) {
    entries_.Erase(api);
    throw;
  }
  api->IncrementRefCount();
}

void tZavPublishedAPIReferences::RemoveReference(tZavPublishedAPI* api) {
  CheckRemovable(api, *this);
  if (!entries_.Holds(api)) ThrowNotInCollection();
  entries_.Erase(api);
  Unlist(*api);
  api->DecrementRefCount();
}
