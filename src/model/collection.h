// SPDX-License-Identifier: MIT
// Store items and keyed collections: ownership, counted references, look-up by key and by
// 1-based index, and renaming.
//
// Three kinds of collection exist and each is its own type: an owning collection (tZavCollection)
// holds its items by unique_ptr and deletes them; the driver-session view and a software module's
// list of published APIs only point at items another collection owns. Every one of them keeps its
// entries in a tKeyedList: a key index plus the order in which the items were added.
#pragma once

#include <algorithm>
#include <cstdint>
#include <locale>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/error.h"
#include "model/life.h"

class tZavConfigStore;
class iConfigStoreCollection;
template <class K>
class iKeyedCollection;
template <class K>
class iKeyedItem;

namespace zav {
// Builds prefix + value + suffix the way every collection message is built. Numbers come out as
// plain decimals whatever locale the host has made global.
template <class V>
std::string Message(const char* prefix, const V& value, const char* suffix) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << prefix << value << suffix;
  return out.str();
}
}  // namespace zav

// --- items -------------------------------------------------------------------------------

class iConfigStoreItem {
 public:
  iConfigStoreItem(const iConfigStoreItem&) = delete;
  iConfigStoreItem& operator=(const iConfigStoreItem&) = delete;
  virtual ~iConfigStoreItem() = default;

  bool IsOrphan() const { return owner_ == nullptr; }
  // True when the item is held by a collection of the same store as `collection`.
  bool IsInSameStore(const iConfigStoreCollection* collection) const;

  // The hooks of an owning collection's Add and Remove. ValidateAdd may refuse the collection
  // (an item reaches Add only through the unique_ptr that owned it, so never owned twice);
  // SetOwner records it (and lets an item hand the store on to its own collections); Detach
  // refuses while other items hold counted references to this one, else clears the owner.
  virtual void ValidateAdd(const iConfigStoreCollection* /*collection*/) {}
  virtual void SetOwner(iConfigStoreCollection* collection) { owner_ = collection; }
  void Detach();

  void IncrementRefCount() { ++refCount_; }
  void DecrementRefCount() { --refCount_; }
  int32_t GetRefCount() const { return refCount_; }
  iConfigStoreCollection* GetOwner() const { return owner_; }
  // The store of the owner collection, or null.
  tZavConfigStore* OwnerStore() const;
  const tLifeToken& Life() const { return life_; }

 protected:
  iConfigStoreItem() = default;

 private:
  iConfigStoreCollection* owner_ = nullptr;
  int32_t refCount_ = 0;
  tLifeToken life_;
};

template <class K>
class iKeyedItem : public iConfigStoreItem {
 public:
  const K& GetKey() const { return key_; }
  // Assigns without telling the owner: only for items in no collection, or for code that
  // re-keys the owner itself.
  void SetKey(const K& key) { key_ = key; }

 protected:
  // The owner of a K-keyed item is always a K-keyed collection: only its Add sets the owner.
  iKeyedCollection<K>* OwnerCollection() const {
    return static_cast<iKeyedCollection<K>*>(GetOwner());
  }
  // Takes the new key, then has the owner move the item to it; a clash puts the old key back,
  // so the item is left as it was. The owner and its hooks see the item under its new key.
  void ChangeKey(const K& key) {
    if (key == key_) return;
    K old = key;  // the one step that can fail, before anything changes
    std::swap(key_, old);
    if (!GetOwner()) return;
    try {
      OwnerCollection()->Rename(*this, old);
    } catch (...) {
      std::swap(key_, old);
      throw;
    }
  }

 private:
  K key_{};
};

class iZavCollectionItem : public iKeyedItem<std::string> {
 public:
  // The checked rename: the owner re-keys the item first, so a clash leaves the name as it was.
  void SetName(const std::string& name, bool rejectEmpty);
  const std::string& GetName() const { return GetKey(); }
};

// --- what every collection is ---------------------------------------------------------------

class iConfigStoreCollection {
 public:
  iConfigStoreCollection(const iConfigStoreCollection&) = delete;
  iConfigStoreCollection& operator=(const iConfigStoreCollection&) = delete;
  virtual ~iConfigStoreCollection() = default;

  tZavConfigStore* GetStore() const { return store_; }
  void SetStore(tZavConfigStore* store) { store_ = store; }
  // One of the fixed collection names ("" for most), compared by its text.
  const char* GetCollectionName() const { return name_; }
  const tLifeToken& Life() const { return life_; }

 protected:
  iConfigStoreCollection(tZavConfigStore* store, const char* name) : store_(store), name_(name) {}

 private:
  tZavConfigStore* store_;
  const char* name_;
  tLifeToken life_;
};

// The collection as the items it holds see it: a rename of an item goes through its owner,
// which is told once the item already carries its new key.
template <class K>
class iKeyedCollection : public iConfigStoreCollection {
 public:
  using iConfigStoreCollection::iConfigStoreCollection;
  virtual void Rename(const iKeyedItem<K>& item, const K& oldKey) = 0;
};

// --- the entries of a collection ----------------------------------------------------------

namespace zav {
template <class T>
T* RawItem(T* item) {
  return item;
}
template <class T>
T* RawItem(const std::unique_ptr<T>& item) {
  return item.get();
}
}  // namespace zav

namespace zav {
// How many of the first slots of a list hold an item, kept as a Fenwick tree so that the slot
// of the n-th item is found, and a slot emptied, in logarithmic time.
class tFilledSlots {
 public:
  template <class Slots>
  void Build(const Slots& slots) {
    const size_t size = slots.size();
    tree_.assign(size + 1, 0);
    for (size_t i = 1; i <= size; ++i) {
      tree_[i] += slots[i - 1] ? 1 : 0;
      const size_t parent = i + (i & (~i + 1));
      if (parent <= size) tree_[parent] += tree_[i];
    }
  }
  size_t Size() const { return tree_.empty() ? 0 : tree_.size() - 1; }
  void Append(bool filled) {
    if (tree_.empty()) tree_.push_back(0);
    const size_t i = tree_.size();
    tree_.push_back(static_cast<uint32_t>((filled ? 1 : 0) + Prefix(i - 1) - Prefix(i - (i & (~i + 1)))));
  }
  void PopBack() { tree_.pop_back(); }
  void Clear(size_t slot) {
    for (size_t i = slot + 1; i < tree_.size(); i += i & (~i + 1)) --tree_[i];
  }
  // The slot of the rank-th filled slot (rank from 1).
  size_t SlotOf(size_t rank) const {
    size_t position = 0;
    size_t step = 1;
    while (step * 2 <= Size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (position + step <= Size() && tree_[position + step] < rank) {
        position += step;
        rank -= tree_[position];
      }
    }
    return position;
  }
  void Reset() noexcept { std::vector<uint32_t>().swap(tree_); }

 private:
  size_t Prefix(size_t i) const {
    size_t sum = 0;
    for (; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  std::vector<uint32_t> tree_;  // tree_[0] unused
};
}  // namespace zav

namespace zav {
// The key index of a list: items by key in one flat table with open addressing and linear
// probing. An entry holds the item, its slot in the list and its key's hash; the key itself is
// read from the item, so the index keeps no copy of it, and a look-up touches one entry and the
// item it finds. Entries are taken out by shifting the rest of their run back, so no marker of a
// removed entry is left to slow later look-ups. Nothing is allocated but the table itself, which
// doubles when it is three quarters full.
template <class K, class T>
class tKeyIndex {
 public:
  struct tEntry {
    T* item;  // null: a free entry
    uint32_t slot;
    uint32_t hash;
  };

  static uint32_t HashOf(const K& key) { return static_cast<uint32_t>(std::hash<K>{}(key)); }

  // The entry of the item whose key is `key`, passing over `except`; or null.
  tEntry* Find(const K& key, const T* except = nullptr) const {
    if (used_ == 0) return nullptr;
    const uint32_t hash = HashOf(key);
    return Probe(hash, [&](const tEntry& entry) {
      return entry.item != except && entry.hash == hash && entry.item->GetKey() == key;
    });
  }
  // The entry of this very item, found under `hash`; null if it is not entered there.
  tEntry* FindItem(const T* item, uint32_t hash) const {
    return Probe(hash, [&](const tEntry& entry) { return entry.item == item; });
  }

  bool Built() const { return table_ != nullptr; }

  // Makes room for one more entry; the only step that can fail, and it changes nothing then.
  void Reserve() {
    if ((used_ + 1) * 4 <= Capacity() * 3) return;
    const size_t oldCapacity = Capacity();
    const size_t capacity = oldCapacity == 0 ? 8 : oldCapacity * 2;
    tTable table(new tEntry[capacity]());
    std::swap(table_, table);
    mask_ = capacity - 1;
    for (size_t i = 0; i < oldCapacity; ++i)
      if (table[i].item) Place(table[i]);
  }
  // Enters an item whose key is not entered yet; Reserve() must have made room.
  void Insert(T* item, uint32_t hash, size_t slot) {
    Place(tEntry{item, static_cast<uint32_t>(slot), hash});
    ++used_;
  }
  void Erase(tEntry* entry) {
    size_t hole = static_cast<size_t>(entry - table_.get());
    // Entries of the run after the hole move back into it unless that would put them before
    // the place their hash starts them at.
    for (size_t i = (hole + 1) & mask_; table_[i].item; i = (i + 1) & mask_) {
      const size_t home = table_[i].hash & mask_;
      if (((i - home) & mask_) >= ((i - hole) & mask_)) {
        table_[hole] = table_[i];
        hole = i;
      }
    }
    table_[hole] = tEntry{};
    --used_;
  }
  void Clear() noexcept {
    table_.reset();
    mask_ = 0;
    used_ = 0;
  }

 private:
  using tTable = std::unique_ptr<tEntry[]>;

  size_t Capacity() const { return table_ ? mask_ + 1 : 0; }
  // Walks the run of entries that starts where `hash` places an entry, up to the first free one.
  template <class Match>
  tEntry* Probe(uint32_t hash, Match match) const {
    if (used_ == 0) return nullptr;
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      tEntry& entry = table_[i];
      if (!entry.item) return nullptr;
      if (match(entry)) return &entry;
    }
  }
  void Place(const tEntry& entry) {
    size_t i = entry.hash & mask_;
    while (table_[i].item) i = (i + 1) & mask_;
    table_[i] = entry;
  }

  tTable table_;
  size_t mask_ = 0;
  size_t used_ = 0;
};
}  // namespace zav

// Items under their keys and in the order they were entered; Holder is T* for collections that
// only point at their items and std::unique_ptr<T> for those that own them.
//
// Items sit in slots in the order they were entered. Most lists are short (the settings of a
// session, the ranges of a name): up to kScanned items are found by looking at each, and a
// list that grows beyond that gets a key index mapping each key to its item and slot. In an
// indexed list, taking an item out leaves an empty slot behind, so nothing moves and the index
// stays valid; a tree of counts over the slots (built at the first such gap) turns a 1-based
// index into its slot in logarithmic time, and the slots are packed again once half of them are
// empty. Every operation thus costs the same per item however many items the list holds.
template <class K, class T, class Holder>
class tKeyedList {
 public:
  long Count() const { return static_cast<long>(slots_.size() - empty_); }

  T* Find(const K& key) const {
    const size_t slot = SlotOfKey(key);
    return slot == kNone ? nullptr : zav::RawItem(slots_[slot]);
  }
  // True when `item` is the one entered under its key.
  bool Holds(const T* item) const { return item && Find(item->GetKey()) == item; }

  T* ItemByIndex(long index) const {
    if (index < 1 || index > Count())
      ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                    zav::Message("Search by index failed. Index ", index,
                                 " does not exist in the collection."));
    const size_t rank = static_cast<size_t>(index);
    return zav::RawItem(slots_[empty_ == 0 ? rank - 1 : filled_.SlotOf(rank)]);
  }

  T* ItemByName(const K& key) const {
    T* item = Find(key);
    if (!item)
      ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                    zav::Message("Search by name failed. Item ", key,
                                 " does not exist in the collection."));
    return item;
  }

  // Moves an item that was entered under oldKey to the key it now carries; the item keeps its
  // index. Fails, changing nothing, when another item holds the new key.
  void Rename(const T* item, const K& oldKey) {
    CheckRename(item, oldKey);
    FollowRename(item, oldKey);
  }
  // The failing half of Rename: whether the item is entered under oldKey and its new key free.
  void CheckRename(const T* item, const K& oldKey) const {
    const bool entered = index_.Built() ? index_.FindItem(item, Index::HashOf(oldKey)) != nullptr
                                        : SlotOfItem(item) != kNone;
    if (!entered)
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Rename operation failed. Item ", oldKey,
                                 " does not exist in the collection."));
    if (SlotOfKey(item->GetKey(), item) != kNone)
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Rename operation failed. Item ", item->GetKey(),
                                 " already exists in the collection."));
  }
  // The other half, which cannot fail: for a rename CheckRename (of this list, or of a list that
  // holds the same items and more) has accepted. Allocates nothing.
  void FollowRename(const T* item, const K& oldKey) noexcept {
    if (!index_.Built()) return;  // a short list finds items by their keys as they are
    auto* entry = index_.FindItem(item, Index::HashOf(oldKey));
    T* const renamed = entry->item;
    const size_t slot = entry->slot;
    index_.Erase(entry);
    index_.Insert(renamed, Index::HashOf(renamed->GetKey()), slot);
  }

  // Enters the item under its key at the end of the order. A key that is taken fails and
  // leaves the list as it was (an owned item is then destroyed with `item`).
  T* Append(Holder item) {
    T* raw = zav::RawItem(item);
    if (Find(raw->GetKey()))
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Add failed. Item ", raw->GetKey(),
                                 " already exists in the collection."));
    const bool indexed = index_.Built() || slots_.size() >= kScanned;
    if (indexed && !index_.Built()) BuildIndex();
    if (indexed) index_.Reserve();
    if (empty_ > 0) filled_.Append(true);
    try {
      if (slots_.size() == slots_.capacity()) slots_.reserve(std::max<size_t>(4, slots_.size() * 2));
      slots_.push_back(std::move(item));
    } catch (...) {
      if (empty_ > 0) filled_.PopBack();
      throw;
    }
    if (indexed) index_.Insert(raw, Index::HashOf(raw->GetKey()), slots_.size() - 1);
    return raw;
  }

  // Takes out an item that Holds() and hands back its holder. Later items move down one index.
  Holder Erase(const T* item) {
    if (!index_.Built()) {
      // A short list without gaps: the later items move up.
      const auto at = slots_.begin() + static_cast<std::ptrdiff_t>(SlotOfItem(item));
      Holder holder = std::move(*at);
      slots_.erase(at);
      return holder;
    }
    auto* entry = index_.Find(item->GetKey());
    const size_t slot = entry->slot;
    const bool last = slot + 1 == slots_.size();
    if (!last && empty_ == 0) filled_.Build(slots_);  // the first gap: count from here on
    index_.Erase(entry);
    Holder holder = std::move(slots_[slot]);
    slots_[slot] = Holder();
    if (last) {
      DropTrailingSlots();
    } else {
      filled_.Clear(slot);
      ++empty_;
      if (empty_ > slots_.size() / 2) Pack();
    }
    return holder;
  }

  // Empties the list and hands back every holder, in key order.
  std::vector<Holder> TakeAll() noexcept {
    std::vector<Holder> taken = std::move(slots_);
    slots_.clear();
    index_.Clear();
    filled_.Reset();
    empty_ = 0;
    taken.erase(std::remove(taken.begin(), taken.end(), Holder()), taken.end());
    std::sort(taken.begin(), taken.end(), [](const Holder& a, const Holder& b) {
      return zav::RawItem(a)->GetKey() < zav::RawItem(b)->GetKey();
    });
    return taken;
  }

  template <class F>
  void ForEach(F f) const {
    for (const Holder& held : slots_)
      if (held) f(zav::RawItem(held));
  }

 private:
  using Index = zav::tKeyIndex<K, T>;
  static constexpr size_t kScanned = 8;
  static constexpr size_t kNone = SIZE_MAX;

  // The slot of the item whose key is `key`, passing over `except`; kNone when there is none.
  size_t SlotOfKey(const K& key, const T* except = nullptr) const {
    if (index_.Built()) {
      auto* entry = index_.Find(key, except);
      return entry ? entry->slot : kNone;
    }
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      const T* item = zav::RawItem(slots_[slot]);
      if (item != except && item->GetKey() == key) return slot;
    }
    return kNone;
  }
  // In a list without an index: the slot of this very item, or kNone.
  size_t SlotOfItem(const T* item) const {
    for (size_t slot = 0; slot < slots_.size(); ++slot)
      if (zav::RawItem(slots_[slot]) == item) return slot;
    return kNone;
  }

  // Indexes the items of a list that is about to outgrow looking at each; built aside, so that
  // a failure leaves the list as it was.
  void BuildIndex() {
    Index built;
    for (size_t slot = 0; slot < slots_.size(); ++slot) {
      T* item = zav::RawItem(slots_[slot]);
      built.Reserve();
      built.Insert(item, Index::HashOf(item->GetKey()), slot);
    }
    index_ = std::move(built);
  }

  void DropTrailingSlots() {
    slots_.pop_back();
    if (empty_ > 0) filled_.PopBack();
    while (!slots_.empty() && !slots_.back()) {
      slots_.pop_back();
      filled_.PopBack();
      --empty_;
    }
    if (empty_ == 0) filled_.Reset();
  }

  // Closes the gaps; the slots of later items change, so their index entries follow.
  void Pack() {
    size_t to = 0;
    for (size_t from = 0; from < slots_.size(); ++from) {
      if (!slots_[from]) continue;
      if (to != from) {
        slots_[to] = std::move(slots_[from]);
        const T* moved = zav::RawItem(slots_[to]);
        index_.FindItem(moved, Index::HashOf(moved->GetKey()))->slot = static_cast<uint32_t>(to);
      }
      ++to;
    }
    slots_.resize(to);
    filled_.Reset();
    empty_ = 0;
  }

  Index index_;  // built once the list outgrows kScanned items
  std::vector<Holder> slots_;
  zav::tFilledSlots filled_;  // kept only while some slot is empty
  size_t empty_ = 0;
};

// A collection an item holds of its own, made when it is first asked for: most items never hold
// anything in most of their collections, and pay for none of them.
template <class C>
class tLocalCollection {
 public:
  template <class Make>
  C* Get(Make make) const {
    if (!made_) made_ = make();
    return made_.get();
  }
  C* IfMade() const { return made_.get(); }

 private:
  mutable std::unique_ptr<C> made_;
};

// --- owning collections -------------------------------------------------------------------

namespace zav {
// Destroys an item. Items own collections of items, nested as deep as callers build them, so a
// destruction that starts inside another one is queued and run by the outermost one: the stack
// stays flat whatever the depth.
void DisposeItem(std::unique_ptr<iConfigStoreItem> item) noexcept;
}  // namespace zav

// A collection that owns its items. Base is the interface it is seen through: iKeyedCollection
// for most, the published API interface for the store's published APIs, whose virtual Count,
// Find, ItemByIndex and Remove the same-named members below then implement. (None of them is
// marked override, since whether it overrides depends on Base.)
template <class T, class K = std::string, class Base = iKeyedCollection<K>>
class tZavCollection : public Base {
 public:
  tZavCollection(tZavConfigStore* store, const char* name) : Base(store, name) {}
  ~tZavCollection() { DisposeAll(); }

  long Count() const { return entries_.Count(); }
  T* Find(const K& key) const { return entries_.Find(key); }
  T* ItemByIndex(const long& index) const { return entries_.ItemByIndex(index); }
  T* ItemByName(const K& key) const { return entries_.ItemByName(key); }

  // Takes the item over; on any failure it is destroyed and the collection is as it was.
  T* Add(std::unique_ptr<T> item) {
    if (!item) ThrowZavError(ZAVCONFIG_ERROR_NULL_POINTER, "Add failed. Invalid (NULL) item pointer.");
    item->ValidateAdd(this);
    T* added = entries_.Append(std::move(item));
    added->SetOwner(this);
    try {
      Joined(*added);
    } catch (...) {
      added->SetOwner(nullptr);
      zav::DisposeItem(entries_.Erase(added));
      throw;
    }
    return added;
  }

  // Takes the item out and destroys it; an item other items still reference stays.
  virtual void Remove(T* item) {
    if (!entries_.Holds(item))
      ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND, "Remove failed. Item does not exist in the collection.");
    Leaving(*item);
    item->Detach();
    Left(*item);
    zav::DisposeItem(entries_.Erase(item));
  }

  // Everything that can refuse the rename runs before anything changes; the index and the
  // hooks then follow the new key without a way to fail.
  void Rename(const iKeyedItem<K>& item, const K& oldKey) {
    const T& renamed = static_cast<const T&>(item);
    entries_.CheckRename(&renamed, oldKey);
    entries_.FollowRename(&renamed, oldKey);
    Renamed(renamed, oldKey);
  }

  // Destroys every item in key order, without the per-item hooks and reference checks of Remove
  // (the Cleared hook lets the collection drop what it keeps about them): for a store that is
  // emptied before it is read afresh.
  void Clear() {
    Cleared();
    DisposeAll();
  }

  template <class F>
  void ForEach(F f) const {
    entries_.ForEach(f);
  }

 protected:
  // What a kind of collection adds to its Add, Remove and Rename; the defaults add nothing.
  virtual void Joined(T& /*item*/) {}
  virtual void Leaving(T& /*item*/) {}  // before the reference check, which may still refuse
  virtual void Left(T& /*item*/) {}     // after it, while the item still lives
  // After the index has moved the item, which has its new key: a hook cannot refuse any more.
  // The lists it keeps in step hold items of this collection only, so the check this
  // collection made covers them, and they follow with FollowRename.
  virtual void Renamed(const T& /*item*/, const K& /*oldKey*/) noexcept {}
  virtual void Cleared() {}

 private:
  void DisposeAll() noexcept {
    for (auto& item : entries_.TakeAll()) zav::DisposeItem(std::move(item));
  }

  tKeyedList<K, T, std::unique_ptr<T>> entries_;
};
