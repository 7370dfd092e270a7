// SPDX-License-Identifier: MIT
// Published APIs: the one kind of item keyed by a composite key instead of a name. The store owns
// every published API in its global collection; a software module lists the APIs it implements in
// a collection of counted references. The C API reaches both kinds through one interface.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/collection.h"

class tZavPublishedAPIReferences;

struct tZavPublishedAPIKey {
  std::string Name;
  std::string Type;
  int32_t MajorVersion = 0;
  int32_t MinorVersion = 0;

  bool operator<(const tZavPublishedAPIKey& other) const;
  bool operator==(const tZavPublishedAPIKey& other) const {
    return MajorVersion == other.MajorVersion && MinorVersion == other.MinorVersion &&
           Name == other.Name && Type == other.Type;
  }
};

namespace std {
template <>
struct hash<tZavPublishedAPIKey> {
  size_t operator()(const tZavPublishedAPIKey& key) const {
    const std::hash<std::string> text;
    size_t hash = text(key.Name);
    for (size_t part : {text(key.Type), static_cast<size_t>(static_cast<uint32_t>(key.MajorVersion)),
                        static_cast<size_t>(static_cast<uint32_t>(key.MinorVersion))})
      hash = hash * 0x9E3779B97F4A7C15ull + part;
    return hash;
  }
};
}  // namespace std

// The text form used in messages: (Name,Type,Major,Minor).
std::ostream& operator<<(std::ostream& out, const tZavPublishedAPIKey& key);

class tZavPublishedAPI : public iKeyedItem<tZavPublishedAPIKey> {
 public:
  const std::string& GetName() const { return GetKey().Name; }
  const std::string& GetType() const { return GetKey().Type; }
  int32_t GetMajorVersion() const { return GetKey().MajorVersion; }
  int32_t GetMinorVersion() const { return GetKey().MinorVersion; }

  // Each setter re-keys the API in its owner first, so a clash leaves the field unchanged.
  void SetName(const std::string& name);
  void SetType(const std::string& type);
  void SetMajorVersion(int32_t version);
  void SetMinorVersion(int32_t version);

  // The modules' lists that hold this API, so that a key change reaches exactly those.
  const std::vector<tZavPublishedAPIReferences*>& ListedIn() const { return listedIn_; }

 private:
  friend class tZavPublishedAPIReferences;
  std::vector<tZavPublishedAPIReferences*> listedIn_;
};

// A published API collection as the C API sees it, whichever of the two kinds it is.
class iZavPublishedAPICollection : public iKeyedCollection<tZavPublishedAPIKey> {
 public:
  using iKeyedCollection<tZavPublishedAPIKey>::iKeyedCollection;

  virtual long Count() const = 0;
  virtual tZavPublishedAPI* Find(const tZavPublishedAPIKey& key) const = 0;
  virtual tZavPublishedAPI* ItemByIndex(const long& index) const = 0;
  // The add of the create function: only the store's own collection takes new APIs.
  virtual tZavPublishedAPI* AddToGlobal(std::unique_ptr<tZavPublishedAPI> api) = 0;
  virtual void Remove(tZavPublishedAPI* api) = 0;
  virtual void AddReference(tZavPublishedAPI* api) = 0;
  virtual void RemoveReference(tZavPublishedAPI* api) = 0;
};

// The store's own collection: it owns every published API of the store. Its Renamed hook is the
// one place where a key change reaches the software modules' lists.
class tZavPublishedAPICollection final
    : public tZavCollection<tZavPublishedAPI, tZavPublishedAPIKey, iZavPublishedAPICollection> {
 public:
  explicit tZavPublishedAPICollection(tZavConfigStore* store)
      : tZavCollection<tZavPublishedAPI, tZavPublishedAPIKey, iZavPublishedAPICollection>(store, "") {}

  tZavPublishedAPI* AddToGlobal(std::unique_ptr<tZavPublishedAPI> api) override {
    return Add(std::move(api));
  }
  // Every API of the store is in this collection already, so none can be added as a reference;
  // and none can be taken out as one, which would leave it owned by nothing.
  void AddReference(tZavPublishedAPI* api) override;
  void RemoveReference(tZavPublishedAPI* api) override;

 private:
  void Renamed(const tZavPublishedAPI& api, const tZavPublishedAPIKey& oldKey) noexcept override;
};

// A software module's list of the APIs it implements: counted references to items of its store's
// global collection. It owns nothing; it gets its store when the module joins one.
class tZavPublishedAPIReferences final : public iZavPublishedAPICollection {
 public:
  tZavPublishedAPIReferences() : iZavPublishedAPICollection(nullptr, "") {}
  // Releases the count of every API still listed.
  ~tZavPublishedAPIReferences() override;
  tZavPublishedAPIReferences(const tZavPublishedAPIReferences&) = delete;
  tZavPublishedAPIReferences& operator=(const tZavPublishedAPIReferences&) = delete;

  long Count() const override { return entries_.Count(); }
  tZavPublishedAPI* Find(const tZavPublishedAPIKey& key) const override { return entries_.Find(key); }
  tZavPublishedAPI* ItemByIndex(const long& index) const override {
    return entries_.ItemByIndex(index);
  }
  tZavPublishedAPI* AddToGlobal(std::unique_ptr<tZavPublishedAPI> api) override;
  // A listed API counts this list's own reference, so it can never be removed through a list.
  void Remove(tZavPublishedAPI* api) override;
  void AddReference(tZavPublishedAPI* api) override;
  void RemoveReference(tZavPublishedAPI* api) override;
  void Rename(const iKeyedItem<tZavPublishedAPIKey>& api, const tZavPublishedAPIKey& oldKey) override {
    entries_.Rename(static_cast<const tZavPublishedAPI*>(&api), oldKey);
  }
  // An API of the store's collection, which has accepted its new key, moves to it here too.
  void FollowRename(const tZavPublishedAPI& api, const tZavPublishedAPIKey& oldKey) noexcept {
    entries_.FollowRename(&api, oldKey);
  }

 private:
  void Unlist(tZavPublishedAPI& api);

  tKeyedList<tZavPublishedAPIKey, tZavPublishedAPI, tZavPublishedAPI*> entries_;
};
