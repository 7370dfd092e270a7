// SPDX-License-Identifier: MIT
// The frame every exported function runs in: store handles, disposal, handles of objects that are
// gone, output pointers checked first, the ViString output convention and the error record.
#include <cstring>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiFrame : public ApiTest {};

const std::string kCloseInvalid =
    "ZavConfig_Close: Invalid handle parameter value, or handle does not exist.";
constexpr ViStatus kInvalidHandle = ZAVCONFIG_ERROR_INVALID_HANDLE;

TEST_F(ApiFrame, StoreHandlesAndHandlesOfObjectsThatAreGone) {
  const ViSession names = kKinds[kLogical].collection(store_);
  const ViSession first = Issue(ZavConfig_CreateLogicalName, names, "Old");
  const ViSession second = Issue(ZavConfig_GetLogicalNameItemByName, names, "Old");
  ViSession other = 0, out = 5;
  ExpectError(ZavConfig_Close(names), kInvalidHandle, kCloseInvalid);
  ExpectError(ZavConfig_DisposeHandle(0), kInvalidHandle,
              "ZavConfig_DisposeHandle: NULL handle parameter value.");
  ExpectError(ZavConfig_DisposeHandle(store_), kInvalidHandle, kDisposeInvalid);
  ExpectOk(ZavConfig_DestroyLogicalName(names, first));
  ExpectNoHandle(ZavConfig_GetLogicalNameSessionReference(second, &out));
  AssertOk(ZavConfig_Initialize(&other));
  const ViSession otherNames = kKinds[kLogical].collection(other);
  ExpectOk(ZavConfig_Close(other));
  ExpectError(ZavConfig_Close(other), kInvalidHandle, kCloseInvalid);
  ExpectNoHandle(ZavConfig_CreateLogicalName(otherNames, "Late", &out));
  for (ViSession handle : {second, otherNames}) ExpectOk(ZavConfig_DisposeHandle(handle));
}

ViStatus (*const kNullOutputCalls[])() = {
    [] { return ZavConfig_Initialize(nullptr); },
    [] { return ZavConfig_GetLogicalNameCount(kBogus, nullptr); },
    [] { return ZavConfig_GetSessionItemByIndex(kBogus, 1, nullptr); },
    [] { return ZavConfig_GetHardwareAssetItemByName(kBogus, "x", nullptr); },
    [] { return ZavConfig_CreateSoftwareModule(kBogus, "", nullptr); },
    [] { return ZavConfig_GetSessionHardwareAssetReference(kBogus, nullptr); },
    [] { return ZavConfig_GetVirtualNameVirtualRangeCollection(kBogus, nullptr); },
    [] { return ZavConfig_GetConfigStoreSessionCollection(kBogus, nullptr); },
    [] { return ZavConfig_GetSession(kBogus, "x", nullptr); },
    [] { return ZavConfig_GetDriverSession(kBogus, "x", nullptr); },
    [] { return ZavConfig_GetConfigStorePropertyViInt32(kBogus, 99, nullptr); },
    [] { return ZavConfig_GetDriverSessionPropertyViBoolean(kBogus, 99, nullptr); },
    [] { return ZavConfig_GetConfigComponentDataComponentCollection(kBogus, nullptr); },
    [] { return ZavConfig_CreateDataComponent(kBogus, 99, "", nullptr); },
};

// A NULL output pointer is reported before any handle is looked up; a string output follows
// the caller's buffer size.
TEST_F(ApiFrame, OutputPointersAndStrings) {
  for (size_t i = 0; i < std::size(kNullOutputCalls); ++i) {
    SCOPED_TRACE("call " + std::to_string(i));
    ExpectNullOutput(kNullOutputCalls[i]());
  }
  const ViSession name = Make(store_, kLogical);
  ExpectOk(ZavConfig_SetLogicalNamePropertyViString(name, 2, "ABCDEFGH"));
  char buffer[16];
  auto get = [&](ViInt32 size, ViChar* out, size_t shown) {
    std::memset(buffer, '#', sizeof buffer);
    const ViStatus status = ZavConfig_GetLogicalNamePropertyViString(name, 2, size, out);
    return std::to_string(status) + ":" + std::string(buffer, shown);
  };
  EXPECT_EQ(get(0, nullptr, 1), "9:#");
  EXPECT_EQ(get(0, buffer, 1), "9:#");
  EXPECT_EQ(get(5, buffer, 6), std::string("9:ABCD\0#", 8));
  EXPECT_EQ(get(9, buffer, 10), std::string("0:ABCDEFGH\0#", 12));
  EXPECT_EQ(get(12, buffer, 13), std::string("0:ABCDEFGH\0\0\0\0#", 15));
  EXPECT_EQ(get(-1, buffer, 10), std::string("0:ABCDEFGH\0#", 12));
  ExpectNullOutput(ZavConfig_GetLogicalNamePropertyViString(name, 2, 3, nullptr));
  ExpectNullOutput(ZavConfig_GetLogicalNamePropertyViString(name, 2, -1, nullptr));
}

// GetError hands over at most 255 bytes and keeps the record; successful calls keep it too.
TEST_F(ApiFrame, ErrorRecordIsKeptUntilCleared) {
  ViStatus code = 1;
  ViSession out = 0;
  char text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = {};
  const std::string longName(400, 'n');
  ZavConfig_GetLogicalNameItemByName(kKinds[kLogical].collection(store_), longName.c_str(), &out);
  const std::string full = LastErrorText();
  Make(store_, kLogical);
  ExpectOk(ZavConfig_GetError(&code, text));
  EXPECT_EQ(code, ZAVCONFIG_ERROR_NOT_FOUND);
  EXPECT_EQ(text, full.substr(0, sizeof text - 1));
  ExpectOk(ZavConfig_ClearError());
  EXPECT_EQ(LastErrorText(), "");
}

}  // namespace
}  // namespace zavapi
