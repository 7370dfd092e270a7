#include "model/collection.h"

bool iConfigStoreItem::IsInSameStore(const iConfigStoreCollection* collection) const {
  return owner_ != nullptr && collection != nullptr &&
         owner_->GetStore() == collection->GetStore();
}

void iConfigStoreItem::ValidateAdd(iConfigStoreCollection* /*collection*/) {
  if (owner_)
    ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS, "Add failed. Item is owned by another collection.");
}

iConfigStoreItem* iConfigStoreItem::SetOwner(iConfigStoreCollection* collection) {
  owner_ = collection;
  return this;
}

void iConfigStoreItem::Detach(iConfigStoreCollection* /*collection*/) {
  if (refCount_ > 0)
    ThrowZavError(ZAVCONFIG_ERROR_HAS_REFERENCES,
                  "Remove failed. Item has references from other items.");
  owner_ = nullptr;
}

void iZavCollectionItem::SetName(const std::string& name, bool rejectEmpty) {
  if (rejectEmpty && name.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, "Set failed. The name of the item cannot be empty.");
  if (name == GetKey()) return;
  if (GetOwner()) OwnerCollection()->Rename(GetKey(), name);
  SetKey(name);
}
