// SPDX-License-Identifier: MIT
// Shared helpers of the C API suites: status checks against the calling thread's error record,
// calls that must issue a handle, one row per kind of collection, and fixtures opening a store.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"
#include "zavconfig.h"
#include "zavcshared.h"

namespace zavapi {

inline const std::string kPrefix = "ZAV Configuration Server C API: ";
inline const std::string kNoHandle = "ZavConfiguration Server: Handle does not exist.";
inline const std::string kEmptyName = "Set failed. The name of the item cannot be empty.";
inline const std::string kDisposeInvalid =
    "ZavConfig_DisposeHandle: Invalid handle parameter value, or handle does not exist.";
constexpr ViSession kBogus = 0xFFFFFFF0u;  // never issued: handles count up from 1

using StringGetter = ViStatus (*)(ViSession, ViAttr, ViInt32, ViChar[]);
using CountGetter = ViStatus (*)(ViSession, ViInt32*);
using HandleGetter = ViStatus (*)(ViSession, ViSession*);
using Creator = ViStatus (*)(ViSession, ViConstString, ViSession*);

inline std::string LastErrorText() {
  std::vector<ViChar> text(4096, '\0');
  ZavSession_GetError(0, nullptr, static_cast<ViInt32>(text.size()), text.data());
  return text.data();
}

// The returned code, the recorded code and the recorded message; the record is then cleared so
// that the next check sees only what the next call records.
inline ::testing::AssertionResult CheckError(const char* expr, const char*, const char*,
                                             ViStatus got, ViStatus want, const std::string& text) {
  ViStatus recorded = 0;
  ZavSession_GetError(0, &recorded, 0, nullptr);
  const std::string message = LastErrorText(), expected = kPrefix + text;
  ZavSession_ClearError(0);
  if (got == want && recorded == want && message == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << expr << " gave " << got << "/" << recorded << " \""
                                       << message << "\", not " << want << " \"" << expected;
}

#define ExpectOk(status) EXPECT_EQ(status, VI_SUCCESS) << ::zavapi::LastErrorText()
#define AssertOk(status) ASSERT_EQ(status, VI_SUCCESS) << ::zavapi::LastErrorText()
#define ExpectError(status, code, text) \
  EXPECT_PRED_FORMAT3(::zavapi::CheckError, status, code, text)
#define ExpectNoHandle(status) \
  ExpectError(status, ZAVCONFIG_ERROR_INVALID_HANDLE, ::zavapi::kNoHandle)
#define ExpectNullOutput(status)                      \
  ExpectError(status, ZAVCONFIG_ERROR_NULL_POINTER, \
              "ZavConfiguration Server C API: NULL pointer for output parameter")

// Calls fn with a trailing output handle; expects success and a handle.
template <class Fn, class... Args>
ViSession Issue(Fn fn, Args... args) {
  ViSession handle = 0;
  ExpectOk(fn(args..., &handle));
  EXPECT_NE(handle, 0u);
  return handle;
}

inline ViInt32 Count(CountGetter count, ViSession collection) {
  ViInt32 n = -1;
  ExpectOk(count(collection, &n));
  return n;
}

// A whole ViString value: the size first, then a buffer of that size.
inline std::string Text(StringGetter get, ViSession handle, ViAttr id) {
  std::vector<ViChar> buffer(static_cast<size_t>(std::max(get(handle, id, 0, nullptr), 1)), '\0');
  ExpectOk(get(handle, id, static_cast<ViInt32>(buffer.size()), buffer.data()));
  return buffer.data();
}

enum KindIndex { kStore = -1, kLogical, kSession, kDriver, kAsset, kModule, kApi, kPhysical,
                 kChildPhysical, kPhysicalRange, kVirtual, kVirtualRange, kComponent };
// A new item of the kind in the store, with a name of its own; kStore: the store itself.
inline ViSession Make(ViSession store, int kind);

// The child collection of a new item of the parent kind, or a collection of the store.
template <HandleGetter get, int parent>
ViSession ChildOf(ViSession store) {
  return Issue(get, Make(store, parent));
}
inline ViStatus CreatePhysical(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreatePhysicalName(c, n, "Rc", out);
}
inline ViStatus CreateVirtual(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreateVirtualName(c, n, "Ch", out);
}
inline ViStatus CreateApi(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreatePublishedAPI(c, n, "T", out);
}
inline ViStatus CreateString(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreateDataComponent(c, ZAVCONFIG_DATA_COMPONENT_STRING, n, out);
}
constexpr auto SessionComponents =
    ChildOf<ZavConfig_GetConfigComponentDataComponentCollection, kSession>;

// One kind of collection and item with its family functions (byName null: no lookup by name).
struct Kind {
  const char* name;
  ViSession (*collection)(ViSession store);
  Creator create;
  CountGetter count;
  ViStatus (*byIndex)(ViSession, ViInt32, ViSession*);
  Creator byName;
  ViStatus (*destroy)(ViSession, ViSession);
  StringGetter get;  // ID 1 is the name of every kind
};
#define ZAV_KIND(K, collection, create, byName)                                            \
  Kind {                                                                                   \
    #K, collection, create, ZavConfig_Get##K##Count, ZavConfig_Get##K##ItemByIndex, byName, \
        ZavConfig_Destroy##K, ZavConfig_Get##K##PropertyViString                           \
  }
#define ZAV_STORE_KIND(K)                                                                     \
  ZAV_KIND(K, (ChildOf<ZavConfig_GetConfigStore##K##Collection, kStore>), ZavConfig_Create##K, \
           ZavConfig_Get##K##ItemByName)
inline const Kind kKinds[] = {
    ZAV_STORE_KIND(LogicalName), ZAV_STORE_KIND(Session), ZAV_STORE_KIND(DriverSession),
    ZAV_STORE_KIND(HardwareAsset), ZAV_STORE_KIND(SoftwareModule),
    ZAV_KIND(PublishedAPI, (ChildOf<ZavConfig_GetConfigStorePublishedAPICollection, kStore>),
             CreateApi, nullptr),
    ZAV_KIND(PhysicalName, (ChildOf<ZavConfig_GetSoftwareModulePhysicalNameCollection, kModule>),
             CreatePhysical, ZavConfig_GetPhysicalNameItemByName),
    ZAV_KIND(PhysicalName,
             (ChildOf<ZavConfig_GetPhysicalNameChildPhysicalNameCollection, kPhysical>),
             CreatePhysical, ZavConfig_GetPhysicalNameItemByName),
    ZAV_KIND(PhysicalRange, (ChildOf<ZavConfig_GetPhysicalNamePhysicalRangeCollection, kPhysical>),
             ZavConfig_CreatePhysicalRange, nullptr),
    ZAV_KIND(VirtualName, (ChildOf<ZavConfig_GetSessionVirtualNameCollection, kSession>),
             CreateVirtual, ZavConfig_GetVirtualNameItemByName),
    ZAV_KIND(VirtualRange, (ChildOf<ZavConfig_GetVirtualNameVirtualRangeCollection, kVirtual>),
             ZavConfig_CreateVirtualRange, nullptr),
    ZAV_KIND(DataComponent, SessionComponents, CreateString, ZavConfig_GetDataComponentItemByName),
};
inline ViSession Make(ViSession store, int kind) {
  static int made = 0;
  if (kind == kStore) return store;
  return Issue(kKinds[kind].create, kKinds[kind].collection(store), std::to_string(++made).c_str());
}

class ApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZavSession_ClearError(0);
    AssertOk(ZavConfig_Initialize(&store_));
  }
  void TearDown() override { ExpectOk(ZavConfig_Close(store_)); }
  ViSession store_ = 0;
};

// An installation's registry: an existing master store and the repository's schema.
class ApiFileTest : public ApiTest {
 protected:
  zavtest::TempDir dir_;
  const std::string master_ = dir_.File("master.xml");
  zavtest::ScopedRegistry registry_{(zavtest::WriteFile(master_, ""), master_), zavtest::DataDir()};
};

}  // namespace zavapi
