// Shared helpers of the C API suites: a fixture that opens a store, checks of returned status
// codes against the calling thread's error record, and small builders that assert success.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"
#include "zavconfig.h"
#include "zavcshared.h"

namespace zavapi {

// Every recorded message starts with this prefix.
inline const std::string kPrefix = "ZAV Configuration Server C API: ";
inline const std::string kNoHandle = "ZavConfiguration Server: Handle does not exist.";
inline const std::string kNullOutput =
    "ZavConfiguration Server C API: NULL pointer for output parameter";
inline const std::string kEmptyName = "Set failed. The name of the item cannot be empty.";
inline const std::string kBadId = ": Invalid value for PropertyID parameter.";
constexpr ViSession kBogusHandle = 0xFFFFFFF0u;  // never issued: handles count up from 1

using StringGetter = ViStatus (*)(ViSession, ViAttr, ViInt32, ViChar[]);
using StringSetter = ViStatus (*)(ViSession, ViAttr, ViConstString);
using CountGetter = ViStatus (*)(ViSession, ViInt32*);
using HandleGetter = ViStatus (*)(ViSession, ViSession*);

inline std::string Hex(ViStatus status) {
  std::ostringstream out;
  out << "0x" << std::hex << std::uppercase << static_cast<std::uint32_t>(status);
  return out.str();
}

// The calling thread's recorded message, read whole, and its code.
inline std::string LastErrorText() {
  std::vector<ViChar> text(16384, '\0');
  ZavSession_GetError(0, nullptr, static_cast<ViInt32>(text.size()), text.data());
  return text.data();
}
inline ViStatus LastErrorCode() {
  ViStatus code = 0;
  ZavSession_GetError(0, &code, 0, nullptr);
  return code;
}

inline ::testing::AssertionResult CheckStatus(const char* expr, const char*, ViStatus got,
                                              ViStatus want) {
  if (got == want) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << expr << " returned " << Hex(got) << ", expected "
                                       << Hex(want) << " (recorded: \"" << LastErrorText() << "\")";
}

// Checks the returned code, the recorded code and the recorded message, then clears the record
// so that the next check sees only what the next call records.
inline ::testing::AssertionResult CheckError(const char* expr, const char* codeExpr, const char*,
                                             ViStatus got, ViStatus want, const std::string& text) {
  ::testing::AssertionResult result = CheckStatus(expr, codeExpr, got, want);
  if (!result) return result;
  const ViStatus recorded = LastErrorCode();
  const std::string message = LastErrorText();
  ZavSession_ClearError(0);
  if (recorded != want)
    return ::testing::AssertionFailure()
           << expr << ": recorded code " << Hex(recorded) << ", expected " << Hex(want);
  if (message != kPrefix + text)
    return ::testing::AssertionFailure()
           << expr << ": recorded \"" << message << "\"\n expected \"" << kPrefix + text << "\"";
  return ::testing::AssertionSuccess();
}

}  // namespace zavapi

// Macros, so that a failure names the call site and the expression.
#define ExpectStatus(status, code) EXPECT_PRED_FORMAT2(::zavapi::CheckStatus, status, code)
#define ExpectOk(status) ExpectStatus(status, VI_SUCCESS)
#define AssertOk(status) ASSERT_PRED_FORMAT2(::zavapi::CheckStatus, status, VI_SUCCESS)
#define ExpectError(status, code, text) \
  EXPECT_PRED_FORMAT3(::zavapi::CheckError, status, code, text)
#define ExpectNoHandle(status) \
  ExpectError(status, ZAVCONFIG_ERROR_INVALID_HANDLE, ::zavapi::kNoHandle)
#define ExpectNullOutput(status) \
  ExpectError(status, ZAVCONFIG_ERROR_NULL_POINTER, ::zavapi::kNullOutput)
#define ExpectBadId(status, function) \
  ExpectError(status, ZAVCONFIG_ERROR_INVALID_PROPERTY_ID, std::string(function) + ::zavapi::kBadId)

namespace zavapi {

// Calls a function whose last parameter receives a handle; expects success and a handle.
template <class Fn, class... Args>
ViSession Issue(Fn fn, Args... args) {
  ViSession handle = 0;
  EXPECT_EQ(fn(args..., &handle), VI_SUCCESS) << LastErrorText();
  EXPECT_NE(handle, 0u);
  return handle;
}

inline ViInt32 CountOf(CountGetter count, ViSession collection) {
  ViInt32 n = -1;
  EXPECT_EQ(count(collection, &n), VI_SUCCESS) << LastErrorText();
  return n;
}

// Reads a whole ViString value: asks for the size, then reads into a buffer of that size.
inline std::string GetString(StringGetter get, ViSession handle, ViAttr id) {
  const ViStatus needed = get(handle, id, 0, nullptr);
  if (needed <= 0) {
    ADD_FAILURE() << "size query of ID " << id << " returned " << Hex(needed) << ": "
                  << LastErrorText();
    return "<failed>";
  }
  std::vector<ViChar> buffer(static_cast<size_t>(needed), 'x');
  EXPECT_EQ(get(handle, id, needed, buffer.data()), VI_SUCCESS) << LastErrorText();
  EXPECT_EQ(buffer.back(), '\0');
  return std::string(buffer.data());
}

inline void SetString(StringSetter set, ViSession handle, ViAttr id, const std::string& value) {
  EXPECT_EQ(set(handle, id, value.c_str()), VI_SUCCESS) << "ID " << id << ": " << LastErrorText();
}

// --- builders: each call issues fresh handles ----------------------------------------------
#define ZAV_STORE_COLLECTION(Name, Getter) \
  inline ViSession Name(ViSession store) { return Issue(Getter, store); }
ZAV_STORE_COLLECTION(LogicalNames, ZavConfig_GetConfigStoreLogicalNameCollection)
ZAV_STORE_COLLECTION(Sessions, ZavConfig_GetConfigStoreSessionCollection)
ZAV_STORE_COLLECTION(DriverSessions, ZavConfig_GetConfigStoreDriverSessionCollection)
ZAV_STORE_COLLECTION(HardwareAssets, ZavConfig_GetConfigStoreHardwareAssetCollection)
ZAV_STORE_COLLECTION(SoftwareModules, ZavConfig_GetConfigStoreSoftwareModuleCollection)
ZAV_STORE_COLLECTION(PublishedAPIs, ZavConfig_GetConfigStorePublishedAPICollection)
#define ZAV_CREATE_IN_STORE(Kind, Collection)                        \
  inline ViSession Create##Kind(ViSession store, const char* name) { \
    return Issue(ZavConfig_Create##Kind, Collection(store), name);   \
  }
ZAV_CREATE_IN_STORE(LogicalName, LogicalNames)
ZAV_CREATE_IN_STORE(Session, Sessions)
ZAV_CREATE_IN_STORE(DriverSession, DriverSessions)
ZAV_CREATE_IN_STORE(HardwareAsset, HardwareAssets)
ZAV_CREATE_IN_STORE(SoftwareModule, SoftwareModules)
inline ViSession CreatePublishedAPI(ViSession store, const char* name, const char* type) {
  return Issue(ZavConfig_CreatePublishedAPI, PublishedAPIs(store), name, type);
}
inline ViSession DataComponentsOf(ViSession configComponent) {
  return Issue(ZavConfig_GetConfigComponentDataComponentCollection, configComponent);
}
inline ViSession CreateDataComponent(ViSession collection, ViInt32 kind, const char* name) {
  return Issue(ZavConfig_CreateDataComponent, collection, kind, name);
}

// Opens a store for every test and closes it afterwards; the error record starts clear.
class ApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZavSession_ClearError(0);
    ASSERT_EQ(ZavConfig_Initialize(&store_), VI_SUCCESS) << LastErrorText();
  }
  void TearDown() override {
    if (store_ != 0) {
      EXPECT_EQ(ZavConfig_Close(store_), VI_SUCCESS) << LastErrorText();
    }
    ZavSession_ClearError(0);
  }
  ViSession store_ = 0;
};

// The registry of an installation: an existing master store and the repository's schema.
class ApiFileTest : public ApiTest {
 protected:
  static std::string Touch(const std::string& path) {
    zavtest::WriteFile(path, "");
    return path;
  }
  zavtest::TempDir dir_;
  zavtest::ScopedRegistry registry_{Touch(dir_.File("master.xml")), zavtest::DataDir()};
};

}  // namespace zavapi
