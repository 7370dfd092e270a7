#include "model/config_component.h"

iZavConfigComponent::iZavConfigComponent(const char* dataComponentCollectionName)
    : dataComponents_(std::make_unique<tZavCollection<iZavDataComponent>>(
          nullptr, dataComponentCollectionName)) {}

void iZavConfigComponent::SetOwner(iConfigStoreCollection* collection) {
  if (collection) dataComponents_->SetStore(collection->GetStore());
  iZavCollectionItem::SetOwner(collection);
}
