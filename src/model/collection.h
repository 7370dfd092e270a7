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
#include <map>
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
  // Moves the item to a new key in its owner first, so a clash leaves the key as it was.
  void ChangeKey(const K& key) {
    if (key == key_) return;
    if (GetOwner()) OwnerCollection()->Rename(key_, key);
    key_ = key;
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
  const std::string& GetCollectionName() const { return name_; }
  const tLifeToken& Life() const { return life_; }

 protected:
  iConfigStoreCollection(tZavConfigStore* store, const std::string& name)
      : store_(store), name_(name) {}

 private:
  tZavConfigStore* store_;
  std::string name_;
  tLifeToken life_;
};

// The collection as the items it holds see it: a rename of an item goes through its owner.
template <class K>
class iKeyedCollection : public iConfigStoreCollection {
 public:
  using iConfigStoreCollection::iConfigStoreCollection;
  virtual void Rename(const K& oldKey, const K& newKey) = 0;
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

// Items under their keys and in the order they were entered; Holder is T* for collections that
// only point at their items and std::unique_ptr<T> for those that own them.
template <class K, class T, class Holder>
class tKeyedList {
 public:
  long Count() const { return static_cast<long>(order_.size()); }

  T* Find(const K& key) const {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : it->second;
  }
  // True when `item` is the one entered under its key.
  bool Holds(const T* item) const { return item && Find(item->GetKey()) == item; }

  T* ItemByIndex(long index) const {
    if (index < 1 || static_cast<unsigned long>(index) > order_.size())
      ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                    zav::Message("Search by index failed. Index ", index,
                                 " does not exist in the collection."));
    return zav::RawItem(order_[static_cast<size_t>(index - 1)]);
  }

  T* ItemByName(const K& key) const {
    T* item = Find(key);
    if (!item)
      ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                    zav::Message("Search by name failed. Item ", key,
                                 " does not exist in the collection."));
    return item;
  }

  // Moves the entry of oldKey to newKey; the item keeps its index.
  void Rename(const K& oldKey, const K& newKey) {
    auto old = index_.find(oldKey);
    if (old == index_.end())
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Rename operation failed. Item ", oldKey,
                                 " does not exist in the collection."));
    if (!index_.emplace(newKey, old->second).second)
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Rename operation failed. Item ", newKey,
                                 " already exists in the collection."));
    index_.erase(old);
  }

  // Enters the item under its key at the end of the order. A key that is taken fails and
  // leaves the list as it was (an owned item is then destroyed with `item`).
  T* Append(Holder item) {
    T* raw = zav::RawItem(item);
    const K& key = raw->GetKey();
    if (!index_.emplace(key, raw).second)
      ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                    zav::Message("Add failed. Item ", key, " already exists in the collection."));
    try {
      order_.push_back(std::move(item));
    } catch (...) {
      index_.erase(key);
      throw;
    }
    return raw;
  }

  // Takes out an item that Holds() and hands back its holder. Later items move down one index.
  Holder Erase(const T* item) {
    index_.erase(item->GetKey());
    for (auto it = order_.begin(); it != order_.end(); ++it) {
      if (zav::RawItem(*it) == item) {
        Holder holder = std::move(*it);
        order_.erase(it);
        return holder;
      }
    }
    return Holder();
  }

  // Empties the list and hands back every holder, in key order. Allocates nothing.
  std::vector<Holder> TakeAll() noexcept {
    std::vector<Holder> taken = std::move(order_);
    order_.clear();
    index_.clear();
    std::sort(taken.begin(), taken.end(), [](const Holder& a, const Holder& b) {
      return zav::RawItem(a)->GetKey() < zav::RawItem(b)->GetKey();
    });
    return taken;
  }

  template <class F>
  void ForEach(F f) const {
    for (const Holder& held : order_) f(zav::RawItem(held));
  }

 private:
  std::map<K, T*> index_;
  std::vector<Holder> order_;
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
  tZavCollection(tZavConfigStore* store, const std::string& name) : Base(store, name) {}
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

  void Rename(const K& oldKey, const K& newKey) {
    entries_.Rename(oldKey, newKey);
    Renamed(oldKey, newKey);
  }

  // Destroys every item in key order, with no hooks and no reference checks: for a store that
  // is emptied before it is read afresh.
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
  virtual void Renamed(const K& /*oldKey*/, const K& /*newKey*/) {}
  virtual void Cleared() {}

 private:
  void DisposeAll() noexcept {
    for (auto& item : entries_.TakeAll()) zav::DisposeItem(std::move(item));
  }

  tKeyedList<K, T, std::unique_ptr<T>> entries_;
};
