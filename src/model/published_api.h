// Published APIs: the one kind of item keyed by a composite key instead of a name. The store owns
// every published API in its global collection; a software module lists the APIs it implements in
// a collection of counted references.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "model/collection.h"

struct tZavPublishedAPIKey {
  std::string Name;
  std::string Type;
  int32_t MajorVersion = 0;
  int32_t MinorVersion = 0;

  bool operator<(const tZavPublishedAPIKey& other) const;
  bool operator==(const tZavPublishedAPIKey& other) const {
    return !(*this < other) && !(other < *this);
  }
};

// The text form used in messages: (Name,Type,Major,Minor).
std::ostream& operator<<(std::ostream& out, const tZavPublishedAPIKey& key);

class tZavPublishedAPI : public iKeyedItem<tZavPublishedAPIKey> {
 public:
  std::string GetName() const { return GetKey().Name; }
  std::string GetType() const { return GetKey().Type; }
  int32_t GetMajorVersion() const { return GetKey().MajorVersion; }
  int32_t GetMinorVersion() const { return GetKey().MinorVersion; }

  // Each setter re-keys the API in its owner first, so a clash leaves the field unchanged.
  void SetName(const std::string& name);
  void SetType(const std::string& type);
  void SetMajorVersion(int32_t version);
  void SetMinorVersion(int32_t version);

 private:
  void ChangeKey(const tZavPublishedAPIKey& key);
};

class tZavPublishedAPICollection : public iKeyedCollection<tZavPublishedAPIKey> {
 public:
  tZavPublishedAPICollection(tZavConfigStore* store, const std::string& name)
      : iKeyedCollection<tZavPublishedAPIKey>(store, name) {}
  // A module's list only releases its references; the global collection deletes its APIs.
  ~tZavPublishedAPICollection() override;

  void Clear() override;
  tZavPublishedAPI* Find(const tZavPublishedAPIKey& key) const override {
    return static_cast<tZavPublishedAPI*>(iKeyedCollection::Find(key));
  }
  tZavPublishedAPI* ItemByIndex(const long& index) override {
    return static_cast<tZavPublishedAPI*>(iKeyedCollection::ItemByIndex(index));
  }
  tZavPublishedAPI* ItemByName(const tZavPublishedAPIKey& key) override {
    return static_cast<tZavPublishedAPI*>(iKeyedCollection::ItemByName(key));
  }
  // The add of the create function: only the store's own collection takes new APIs.
  virtual void AddToGlobal(tZavPublishedAPI* api);

  // True for the store's own collection, never for a software module's list.
  bool IsGlobal() const;
  void AddReference(tZavPublishedAPI* api);
  void RemoveReference(tZavPublishedAPI* api);
};
