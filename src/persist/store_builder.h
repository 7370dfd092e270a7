// SPDX-License-Identifier: MIT
// Making a store's items from the elements of its document. Items go through the model's own
// setters and adds, so its rules apply to a document as they do to any caller. The pieces the
// document model's tables are made of are here too: each particle of a text or reference child
// carries one of the setters below, each list of items an adder, each item element a maker, so
// that each downcast from the builder's open items to the model's classes is written once, in
// ItemOf, HandOver and tStoreBuilder::Resolve.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "model/config_store.h"
#include "model/error.h"
#include "persist/document_model.h"
#include "persist/id_table.h"
#include "persist/store_values.h"

namespace zav::persist {

// An element the builder has begun. For an item element, the item it builds; the other
// elements have none.
struct tOpenItem {
  iConfigStoreItem* item = nullptr;
  std::unique_ptr<iConfigStoreItem> owned;  // until its collection takes it
  std::string id;
  std::string heldName;  // a physical or virtual name: set once its lists are read
};

class tStoreBuilder {
 public:
  explicit tStoreBuilder(tZavConfigStore* store) : store_(store) {}

  // An item element's start and end. `add` is the adder of the list the item is in, `owner`
  // the element holding that list. The id is the element's, in `item`.
  void BeginItem(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner) {
    Build([&] { Begin(kind, item, add, owner); });
  }
  void EndItem(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner) {
    Build([&] { End(kind, item, add, owner); });
  }
  // Gives a text child's text or a reference child's idref to `owner`; `text` may be taken.
  void Set(tSetter set, tOpenItem& owner, std::string& text) {
    Build([&] { set(*this, owner, text); });
  }
  // Once the document is known to be a store document: gives the store its Description and
  // raises the first model rule that refused a value.
  void Finish();

  // For the setters and adders.
  tZavConfigStore* Store() const { return store_; }
  // The store's Description is set only when the whole document has been read, so that a
  // refused document leaves the store's own.
  void KeepDescription(std::string& text) {
    description_.swap(text);
    hasDescription_ = true;
  }
  // The item registered under `idref` when it is of one of the `Accepted` kinds, else null.
  template <class T, tElementKind... Accepted>
  T* Resolve(const std::string& idref) const {
    const tIdTable::tEntry entry = ids_.Resolve(idref);
    return entry.item && ((entry.kind == Accepted) || ...) ? static_cast<T*>(entry.item) : nullptr;
  }

 private:
  // A model rule that refuses a value stops the building, but not the read: the rest of the
  // document is still checked, because a document the schema refuses is reported as such.
  template <class Step>
  void Build(Step step) {
    if (!building_) return;
    try {
      step();
    } catch (const zav::tZavError&) {
      modelError_ = std::current_exception();
      building_ = false;
    }
  }
  void Begin(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner);
  void End(tElementKind kind, tOpenItem& item, tAdder add, tOpenItem& owner);

  tZavConfigStore* store_;
  tIdTable ids_;
  bool building_ = true;
  std::string description_;
  bool hasDescription_ = false;
  std::exception_ptr modelError_;
};

// --- the pieces of the document model's tables ------------------------------------------------

// The item an open element builds, as what it is.
template <class T>
T* ItemOf(const tOpenItem& open) {
  static_assert(std::is_base_of_v<iConfigStoreItem, T>);
  return static_cast<T*>(open.item);
}

// The element's own item, owned by the element until its collection takes it.
template <class T>
iConfigStoreItem* Make(std::unique_ptr<iConfigStoreItem>& owned) {
  auto item = std::make_unique<T>();
  T* made = item.get();
  owned = std::move(item);
  return made;
}

// Hands the element's item to a collection's add, which owns it from then on, also when the add
// refuses it (and destroys it).
template <class T>
std::unique_ptr<T> HandOver(std::unique_ptr<iConfigStoreItem>& owned) {
  return std::unique_ptr<T>(static_cast<T*>(owned.release()));
}

// Text children: the setter `Set` of the owner's item T (a member or a function taking a T*)
// is given the text as it is, or decoded as a boolean, an integer or a real.
template <class T, auto Set>
void Text(tStoreBuilder&, tOpenItem& owner, std::string& text) {
  std::invoke(Set, ItemOf<T>(owner), text);
}
template <class T, auto Set>
void Boolean(tStoreBuilder&, tOpenItem& owner, std::string& text) {
  std::invoke(Set, ItemOf<T>(owner), ParseBoolean(text));
}
template <class T, auto Set>
void Integer(tStoreBuilder&, tOpenItem& owner, std::string& text) {
  std::invoke(Set, ItemOf<T>(owner), ParseInteger(text));
}
template <class T, auto Set>
void Real(tStoreBuilder&, tOpenItem& owner, std::string& text) {
  std::invoke(Set, ItemOf<T>(owner), ParseReal(text));
}

// The item type a reference setter takes.
template <class Setter>
struct tTargetOf;
template <class C, class A>
struct tTargetOf<void (C::*)(A*)> {
  using type = A;
};
template <class C, class A>
struct tTargetOf<void (*)(C*, A*)> {
  using type = A;
};

// Reference children: the idref resolves to an item read earlier, of one of the `Accepted`
// kinds; any other idref gives the setter null, for the model to refuse or accept.
template <class T, auto Set, tElementKind... Accepted>
void Reference(tStoreBuilder& builder, tOpenItem& owner, std::string& idref) {
  using tTarget = typename tTargetOf<decltype(Set)>::type;
  std::invoke(Set, ItemOf<T>(owner), builder.template Resolve<tTarget, Accepted...>(idref));
}

// The name of an item in a collection; an empty name is refused.
inline void SetItemName(iZavCollectionItem* item, const std::string& name) { item->SetName(name, true); }

// Physical and virtual names are checked against their lists, so their name is held until
// those are read, then set.
inline void HoldName(tStoreBuilder&, tOpenItem& owner, std::string& text) { owner.heldName.swap(text); }
template <class T>
void SetHeldName(tOpenItem& item) {
  ItemOf<T>(item)->SetCheckedName(item.heldName);
}

void KeepStoreDescription(tStoreBuilder& builder, tOpenItem& owner, std::string& text);
void AddPublishedAPIReference(tZavSoftwareModule* module, tZavPublishedAPI* api);

// The type of the items of a collection.
template <class T, class K, class Base>
T CollectionItemType(tZavCollection<T, K, Base>*);

// Adds to the collection `Collection` of the owner, T, of the list: an item or the store.
template <class T, auto Collection>
iConfigStoreItem* AddTo(tStoreBuilder& builder, tOpenItem& owner, std::unique_ptr<iConfigStoreItem>& owned) {
  T* holder;
  if constexpr (std::is_same_v<T, tZavConfigStore>)
    holder = builder.Store();
  else
    holder = ItemOf<T>(owner);
  auto* collection = std::invoke(Collection, holder);
  return collection->Add(HandOver<decltype(CollectionItemType(collection))>(owned));
}
// The store's published APIs, which are the global ones.
iConfigStoreItem* AddPublishedAPI(tStoreBuilder& builder, tOpenItem& owner, std::unique_ptr<iConfigStoreItem>& owned);

}  // namespace zav::persist
