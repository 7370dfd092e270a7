// Helpers shared by the object model suites: an exact check of the library error, and builders
// that create, name and add items the way the C API does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "api/error.h"
#include "model/config_store.h"

namespace zavtest {

// Every message a caller reads back starts with this.
inline const std::string kApiPrefix = "ZAV Configuration Server C API: ";

// Checks that the statement throws the library error with exactly this code and text (the text
// without the API prefix).
#define EXPECT_ZAV_ERROR(statement, expectedCode, expectedText)                                  \
  do {                                                                                          \
    try {                                                                                       \
      statement;                                                                                \
      ADD_FAILURE() << "no error from: " #statement;                                            \
    } catch (const _zavconfig_error& zavError) {                                                \
      EXPECT_EQ(zavError.code(), static_cast<ViStatus>(expectedCode)) << #statement;            \
      EXPECT_EQ(std::string(zavError.what()), zavtest::kApiPrefix + (expectedText)) << #statement; \
    }                                                                                           \
  } while (0)

// Creates a T, names it while it is free, and adds it to the collection.
template <class T, class C>
T* AddNamed(C* collection, const std::string& name) {
  auto item = std::make_unique<T>();
  item->SetName(name, true);
  collection->Add(item.get());
  return item.release();
}

inline tZavSession* AddSession(tZavConfigStore& store, const std::string& name) {
  return AddNamed<tZavSession>(store.GetSessions(), name);
}

inline tZavDriverSession* AddDriverSession(tZavConfigStore& store, const std::string& name) {
  auto session = std::make_unique<tZavDriverSession>();
  session->SetName(name, true);
  store.GetDriverSessions()->AddDriverSession(session.get());
  return session.release();
}

inline tZavLogicalName* AddLogicalName(tZavConfigStore& store, const std::string& name,
                                       tZavSession* session) {
  tZavLogicalName* logicalName = AddNamed<tZavLogicalName>(store.GetLogicalNames(), name);
  logicalName->SetSession(session);
  return logicalName;
}

inline std::unique_ptr<tZavSoftwareModule> FreeModule(const std::string& name) {
  auto module = std::make_unique<tZavSoftwareModule>();
  module->SetName(name, true);
  return module;
}

template <class T = tZavPublishedAPI>
T* AddApi(tZavConfigStore& store, const std::string& name, const std::string& type,
          int32_t major = 1, int32_t minor = 0) {
  auto api = std::make_unique<T>();
  api->SetName(name);
  api->SetType(type);
  api->SetMajorVersion(major);
  api->SetMinorVersion(minor);
  store.GetPublishedAPIs()->AddToGlobal(api.get());
  return api.release();
}

// A data component of kind T, named, with its UsedInSession set while free, added to target.
template <class T, class C>
T* AddComponent(C* target, const std::string& name, const std::string& used = "None") {
  auto component = std::make_unique<T>();
  component->SetName(name, true);
  component->SetUsedInSession(used);
  target->Add(component.get());
  return component.release();
}

inline tZavPublishedAPIKey Key(const std::string& name, const std::string& type, int32_t major,
                               int32_t minor) {
  return tZavPublishedAPIKey{name, type, major, minor};
}

// The names of a collection's items in index order.
template <class C>
std::vector<std::string> NamesOf(C* collection) {
  std::vector<std::string> names;
  for (long i = 1; i <= collection->Count(); ++i)
    names.push_back(collection->ItemByIndex(i)->GetName());
  return names;
}
using Names = std::vector<std::string>;

}  // namespace zavtest
