#include "model/config_component.h"

iZavConfigComponent::iZavConfigComponent(const std::string& dataComponentCollectionName)
    : dataComponents_(std::make_unique<iZavCollectionBase<iZavDataComponent>>(
          nullptr, dataComponentCollectionName)) {}

iZavConfigComponent::~iZavConfigComponent() { dataComponents_.reset(); }

iConfigStoreItem* iZavConfigComponent::SetOwner(iConfigStoreCollection* collection) {
  dataComponents_->SetStore(collection ? collection->GetStore() : nullptr);
  return iZavCollectionItem::SetOwner(collection);
}
