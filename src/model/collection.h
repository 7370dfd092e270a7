// Store items and keyed collections: ownership, counted references, lookup by key and by
// 1-based index, and renaming. Every entity and every collection of a store derives from here.
#pragma once

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/error.h"
#include "model/life.h"

class tZavConfigStore;
class iConfigStoreCollection;
template <class K>
class iKeyedCollection;

// --- items -------------------------------------------------------------------------------

class iConfigStoreItem {
 public:
  iConfigStoreItem() = default;
  iConfigStoreItem(const iConfigStoreItem&) = delete;
  iConfigStoreItem& operator=(const iConfigStoreItem&) = delete;
  // An item is always taken out of its collection (or the collection is cleared) before it is
  // deleted, so the destructor leaves the owner alone.
  virtual ~iConfigStoreItem() = default;

  virtual bool IsOrphan() const { return owner_ == nullptr; }
  virtual bool IsInSameStore(const iConfigStoreCollection* collection) const;
  virtual void ValidateAdd(iConfigStoreCollection* collection);
  virtual iConfigStoreItem* SetOwner(iConfigStoreCollection* collection);
  virtual void Detach(iConfigStoreCollection* collection);

  void IncrementRefCount() { ++refCount_; }
  void DecrementRefCount() { --refCount_; }
  int32_t GetRefCount() const { return refCount_; }
  iConfigStoreCollection* GetOwner() const { return owner_; }
  const tLifeToken& Life() const { return life_; }

 private:
  iConfigStoreCollection* owner_ = nullptr;
  int32_t refCount_ = 0;
  tLifeToken life_;
};

template <class K>
class iKeyedItem : public iConfigStoreItem {
 public:
  virtual const K& GetKey() const { return key_; }
  // Assigns without telling the owner: only for items in no collection, or for code that
  // re-keys the owner itself.
  virtual void SetKey(const K& key) { key_ = key; }

 protected:
  // The owner of a K-keyed item is always a K-keyed collection: only its Add sets the owner.
  iKeyedCollection<K>* OwnerCollection() const {
    return static_cast<iKeyedCollection<K>*>(GetOwner());
  }

 private:
  K key_{};
};

class iZavCollectionItem : public iKeyedItem<std::string> {
 public:
  // The checked rename: the owner re-keys the item first, so a clash leaves the name as it was.
  virtual void SetName(const std::string& name, bool rejectEmpty);
  const std::string& GetName() const { return GetKey(); }
};

// --- collections -------------------------------------------------------------------------

class iConfigStoreCollection {
 public:
  iConfigStoreCollection(tZavConfigStore* store, const std::string& name)
      : store_(store), name_(name) {}
  iConfigStoreCollection(const iConfigStoreCollection&) = delete;
  iConfigStoreCollection& operator=(const iConfigStoreCollection&) = delete;
  virtual ~iConfigStoreCollection() = default;

  tZavConfigStore* GetStore() const { return store_; }
  void SetStore(tZavConfigStore* store) { store_ = store; }
  std::string GetCollectionName() const { return name_; }
  void SetCollectionName(const std::string& name) { name_ = name; }
  // Compares without copying; the data component rules test the name on every set.
  bool HasCollectionName(const char* name) const { return name_ == name; }
  const tLifeToken& Life() const { return life_; }

 private:
  tZavConfigStore* store_;
  std::string name_;
  tLifeToken life_;
};

template <class K>
class iKeyedCollection : public iConfigStoreCollection {
 public:
  using Item = iKeyedItem<K>;

  iKeyedCollection(tZavConfigStore* store, const std::string& name)
      : iConfigStoreCollection(store, name) {}
  // Deletes what is still held through this class's own Clear: a subclass that owns nothing
  // has emptied itself in its own destructor before this runs.
  ~iKeyedCollection() override {
    try {
      iKeyedCollection::Clear();
    } catch (...) {
    }
  }

  virtual void Clear();
  virtual long Count() const { return static_cast<long>(index_.size()); }
  virtual Item* Find(const K& key) const;
  virtual Item* ItemByIndex(const long& index);
  virtual Item* ItemByName(const K& key);
  virtual void Rename(const K& oldKey, const K& newKey);
  virtual void Add(Item* item);
  virtual void Remove(Item* item);

  // Enters an item under its key and appends it to the order list, without ownership hooks.
  void InsertEntry(Item* item);

 protected:
  using Index = std::map<K, Item*>;
  void EraseEntry(typename Index::iterator position, Item* item);
  // Forgets every entry without deleting anything (views and reference lists).
  void ForgetAll() {
    index_.clear();
    order_.clear();
  }
  const Index& Entries() const { return index_; }
  Index& Entries() { return index_; }

 private:
  Index index_;
  std::vector<Item*> order_;
};

class iZavCollection : public iKeyedCollection<std::string> {
 public:
  iZavCollection(tZavConfigStore* store, const std::string& name)
      : iKeyedCollection<std::string>(store, name) {}
};

// The typed collection: the same behaviour, with typed results.
template <class T>
class iZavCollectionBase : public iZavCollection {
 public:
  iZavCollectionBase(tZavConfigStore* store, const std::string& name)
      : iZavCollection(store, name) {}

  T* Find(const std::string& key) const override {
    return static_cast<T*>(iZavCollection::Find(key));
  }
  T* ItemByIndex(const long& index) override {
    return static_cast<T*>(iZavCollection::ItemByIndex(index));
  }
  T* ItemByName(const std::string& key) override {
    return static_cast<T*>(iZavCollection::ItemByName(key));
  }
};

// --- template definitions ----------------------------------------------------------------

namespace zav {
// Builds prefix + value + suffix the way every collection message is built.
template <class V>
std::string Message(const char* prefix, const V& value, const char* suffix) {
  std::ostringstream out;
  out << prefix << value << suffix;
  return out.str();
}
}  // namespace zav

template <class K>
void iKeyedCollection<K>::Clear() {
  for (auto& entry : index_) delete entry.second;
  index_.clear();
  order_.clear();
}

template <class K>
typename iKeyedCollection<K>::Item* iKeyedCollection<K>::Find(const K& key) const {
  auto it = index_.find(key);
  return it == index_.end() ? nullptr : it->second;
}

template <class K>
typename iKeyedCollection<K>::Item* iKeyedCollection<K>::ItemByIndex(const long& index) {
  if (index < 1 || static_cast<unsigned long>(index) > order_.size())
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                  zav::Message("Search by index failed. Index ", index,
                               " does not exist in the collection."));
  return order_[static_cast<size_t>(index - 1)];
}

template <class K>
typename iKeyedCollection<K>::Item* iKeyedCollection<K>::ItemByName(const K& key) {
  Item* item = Find(key);
  if (!item)
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND,
                  zav::Message("Search by name failed. Item ", key,
                               " does not exist in the collection."));
  return item;
}

template <class K>
void iKeyedCollection<K>::Rename(const K& oldKey, const K& newKey) {
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

template <class K>
void iKeyedCollection<K>::InsertEntry(Item* item) {
  const K& key = item->GetKey();
  if (!index_.emplace(key, item).second)
    ThrowZavError(ZAVCONFIG_ERROR_ALREADY_EXISTS,
                  zav::Message("Add failed. Item ", key, " already exists in the collection."));
  try {
    order_.push_back(item);
  } catch (...) {
    index_.erase(key);
    throw;
  }
}

template <class K>
void iKeyedCollection<K>::EraseEntry(typename Index::iterator position, Item* item) {
  index_.erase(position);
  for (auto it = order_.begin(); it != order_.end(); ++it) {
    if (*it == item) {
      order_.erase(it);
      break;
    }
  }
}

template <class K>
void iKeyedCollection<K>::Add(Item* item) {
  if (!item) ThrowZavError(ZAVCONFIG_ERROR_NULL_POINTER, "Add failed. Invalid (NULL) item pointer.");
  item->ValidateAdd(this);
  InsertEntry(item);
  item->SetOwner(this);
}

template <class K>
void iKeyedCollection<K>::Remove(Item* item) {
  auto it = item ? index_.find(item->GetKey()) : index_.end();
  if (it == index_.end() || it->second != item)
    ThrowZavError(ZAVCONFIG_ERROR_NOT_FOUND, "Remove failed. Item does not exist in the collection.");
  item->Detach(this);
  EraseEntry(it, item);
  delete item;
}
