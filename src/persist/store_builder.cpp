// SPDX-License-Identifier: MIT
#include "persist/store_builder.h"

namespace zav::persist {

void tStoreBuilder::Begin(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner) {
  const tElement& element = ElementOf(kind);
  iConfigStoreItem* made = element.make(item.owned);
  item.item = element.joinsFirst ? add(*this, owner, item.owned) : made;
}

void tStoreBuilder::End(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner) {
  const tElement& element = ElementOf(kind);
  if (element.finish) element.finish(item);
  iConfigStoreItem* added = element.joinsFirst ? item.item : add(*this, owner, item.owned);
  ids_.Register(item.id, added, kind);
}

void tStoreBuilder::Finish() {
  if (hasDescription_) store_->SetDescription(description_);
  if (modelError_) std::rethrow_exception(modelError_);
}

void KeepStoreDescription(tStoreBuilder& builder, tOpenItem&, std::string& text) { builder.KeepDescription(text); }

void AddPublishedAPIReference(tZavSoftwareModule* module, tZavPublishedAPI* api) {
  module->GetPublishedAPIs()->AddReference(api);
}

iConfigStoreItem* AddPublishedAPI(tStoreBuilder& builder, tOpenItem&, std::unique_ptr<iConfigStoreItem>& owned) {
  return builder.Store()->GetPublishedAPIs()->AddToGlobal(HandOver<tZavPublishedAPI>(owned));
}

}  // namespace zav::persist
