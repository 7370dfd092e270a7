// SPDX-License-Identifier: MIT
// Helpers shared by the object model suites: an exact check of the library error, and builders
// that create, name and add items the way the C API does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "model/error.h"
#include "model/config_store.h"

// The statement must throw the error ZAVCONFIG_ERROR_<status> with exactly this text after the
// prefix that every message starts with.
#define EXPECT_ZAV_ERROR(statement, status, text)                                            \
  do {                                                                                       \
    try {                                                                                    \
      statement;                                                                             \
      ADD_FAILURE() << "no error from: " #statement;                                         \
    } catch (const zav::tZavError& e) {                                                    \
      EXPECT_EQ(e.code(), static_cast<ViStatus>(ZAVCONFIG_ERROR_##status)) << #statement;    \
      EXPECT_EQ(e.what(), "ZAV Configuration Server C API: " + std::string(text))            \
          << #statement;                                                                     \
    }                                                                                        \
  } while (0)

namespace zavtest {

// The file component of stores whose tests never read or write one.
struct tNoStoreFile : iStoreFile {
  std::string GetMasterStoreLocation() override { return std::string(); }
  void Deserialize(tZavConfigStore*, std::string) override {}
  void Serialize(tZavConfigStore*, std::string) override {}
};
inline std::unique_ptr<iStoreFile> NoStoreFile() { return std::make_unique<tNoStoreFile>(); }

// "" when the call succeeds, else the failure's code and message.
template <class Call>
std::string FailureOf(Call call) {
  try {
    call();
  } catch (const zav::tZavError& e) {
    return std::to_string(e.code()) + " " + (e.what() + zav::tZavError::Prefix().size());
  }
  return "";
}

using Names = std::vector<std::string>;
inline const char* const kHasReferences = "Remove failed. Item has references from other items.";
inline const char* const kEmptyName = "Set failed. The name of the item cannot be empty.";

// A new T in no collection, named.
template <class T>
std::unique_ptr<T> Free(const std::string& name) {
  auto item = std::make_unique<T>();
  item->SetName(name, true);
  return item;
}

// A new T, named and given UsedInSession (when one is given) while free, then added.
template <class T, class C>
T* AddNamed(C* collection, const std::string& name, const char* used = nullptr) {
  auto item = Free<T>(name);
  if constexpr (std::is_base_of_v<iZavDataComponent, T>) {
    if (used) item->SetUsedInSession(used);
  }
  return static_cast<T*>(collection->Add(std::move(item)));
}

inline tZavDriverSession* AddDriverSession(tZavConfigStore& store, const std::string& name) {
  return store.GetDriverSessions()->AddDriverSession(Free<tZavDriverSession>(name));
}

template <class T = tZavPublishedAPI>
T* AddApi(tZavConfigStore& store, const tZavPublishedAPIKey& key) {
  auto api = std::make_unique<T>();
  api->SetKey(key);
  return static_cast<T*>(store.GetPublishedAPIs()->AddToGlobal(std::move(api)));
}

// The names of a collection's items in index order.
template <class C>
Names NamesOf(C* collection) {
  Names names;
  for (long i = 1; i <= collection->Count(); ++i)
    names.push_back(collection->ItemByIndex(i)->GetName());
  return names;
}

}  // namespace zavtest
