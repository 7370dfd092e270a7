// SPDX-License-Identifier: MIT
#include "model/config_component.h"

iZavConfigComponent::iZavConfigComponent(const char* dataComponentCollectionName)
    : dataComponentCollectionName_(dataComponentCollectionName) {}

tZavCollection<iZavDataComponent>* iZavConfigComponent::GetDataComponents() const {
  return dataComponents_.Get([this] {
    return std::make_unique<tZavCollection<iZavDataComponent>>(OwnerStore(),
                                                                dataComponentCollectionName_);
  });
}

void iZavConfigComponent::SetOwner(iConfigStoreCollection* collection) {
  if (collection && dataComponents_.IfMade())
    dataComponents_.IfMade()->SetStore(collection->GetStore());
  iZavCollectionItem::SetOwner(collection);
}
