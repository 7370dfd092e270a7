// SPDX-License-Identifier: MIT
#include "model/collection.h"

#include <vector>

bool iConfigStoreItem::IsInSameStore(const iConfigStoreCollection* collection) const {
  return owner_ != nullptr && collection != nullptr &&
         owner_->GetStore() == collection->GetStore();
}

tZavConfigStore* iConfigStoreItem::OwnerStore() const {
  return owner_ ? owner_->GetStore() : nullptr;
}

void iConfigStoreItem::Detach() {
  if (refCount_ > 0)
    ThrowZavError(ZAVCONFIG_ERROR_HAS_REFERENCES,
                  "Remove failed. Item has references from other items.");
  owner_ = nullptr;
}

void iZavCollectionItem::SetName(const std::string& name, bool rejectEmpty) {
  if (rejectEmpty && name.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, "Set failed. The name of the item cannot be empty.");
  ChangeKey(name);
}

namespace zav {

void DisposeItem(std::unique_ptr<iConfigStoreItem> item) noexcept {
  // The items whose destruction the outermost call on this thread still has to run, in the
  // order they were queued; nothing is allocated unless a destruction starts inside another.
  static thread_local std::vector<std::unique_ptr<iConfigStoreItem>>* pending = nullptr;
  if (!item) return;
  if (pending) {
    try {
      pending->push_back(std::move(item));
      return;
    } catch (...) {
      // No room to queue it: destroying it here only costs stack.
    }
    item.reset();
    return;
  }
  std::vector<std::unique_ptr<iConfigStoreItem>> queue;
  pending = &queue;
  item.reset();
  // Destroying an item may queue more; the index walks on into what they add.
  for (size_t next = 0; next < queue.size(); ++next) queue[next].reset();
  pending = nullptr;
}

}  // namespace zav
