// SPDX-License-Identifier: MIT
// The public headers as the binary interface: type widths, status code values and property IDs.
#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>
#include <utility>

#include "zavconfig.h"
#include "zavcshared.h"
#include "zavtypes.h"

extern "C" int zav_header_c99_check(void);

namespace {

static_assert(std::is_same<ViStatus, std::int32_t>::value, "ViStatus");
static_assert(std::is_same<ViInt32, std::int32_t>::value, "ViInt32");
static_assert(std::is_same<ViUInt32, std::uint32_t>::value, "ViUInt32");
static_assert(std::is_same<ViSession, std::uint32_t>::value, "ViSession");
static_assert(std::is_same<ViAttr, std::uint32_t>::value, "ViAttr");
static_assert(std::is_same<ViBoolean, std::uint16_t>::value, "ViBoolean");
static_assert(std::is_same<ViReal64, double>::value, "ViReal64");
static_assert(std::is_same<decltype(ZAVCONFIG_ERROR_INVALID_HANDLE), ViStatus>::value, "codes");

TEST(ApiHeaders, VersionIsTheProjectVersion) {
  EXPECT_EQ(ZAVCONFIG_VERSION_MAJOR, ZAV_TEST_VERSION_MAJOR);
  EXPECT_EQ(ZAVCONFIG_VERSION_MINOR, ZAV_TEST_VERSION_MINOR);
  EXPECT_EQ(ZAVCONFIG_VERSION_PATCH, ZAV_TEST_VERSION_PATCH);
}

TEST(ApiHeaders, C99UnitSeesTheSameValues) { EXPECT_EQ(zav_header_c99_check(), 1); }

TEST(ApiHeaders, StatusCodesAndPropertyIds) {
  const std::pair<ViStatus, std::uint32_t> codes[] = {
      {ZAVCONFIG_ERROR_UNRECOVERABLE, 0xBFFA0000u}, {ZAVCONFIG_ERROR_INVALID_VALUE, 0xBFFA0010u},
      {ZAVCONFIG_ERROR_NULL_POINTER, 0xBFFA0058u}, {ZAVCONFIG_ERROR_DESERIALIZE_FAILED, 0xBFFA1200u},
      {ZAVCONFIG_ERROR_ALREADY_DESERIALIZED, 0xBFFA1201u}, {ZAVCONFIG_ERROR_SERIALIZE_FAILED, 0xBFFA1202u},
      {ZAVCONFIG_ERROR_SESSION_NOT_FOUND, 0xBFFA1203u}, {ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION, 0xBFFA1204u},
      {ZAVCONFIG_ERROR_ALREADY_EXISTS, 0xBFFA1205u}, {ZAVCONFIG_ERROR_MASTER_NOT_FOUND, 0xBFFA1206u},
      {ZAVCONFIG_ERROR_NOT_FOUND, 0xBFFA1207u}, {ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT, 0xBFFA1208u},
      {ZAVCONFIG_ERROR_HAS_REFERENCES, 0xBFFA1209u}, {ZAVCONFIG_ERROR_INVALID_HANDLE, 0xBFFA1220u},
      {ZAVCONFIG_ERROR_INVALID_PROPERTY_ID, 0xBFFA1221u},
      {ZAVCONFIG_ERROR_MASTER_REGISTRY_MISMATCH, 0xBFFA1223u}};
  for (const auto& [code, documented] : codes) EXPECT_EQ(static_cast<std::uint32_t>(code), documented);
  const std::pair<ViAttr, ViAttr> ids[] = {
      {ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION, 2}, {ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION, 9},
      {ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, 4}, {ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64, 8},
      {ZAVCONFIG_VAL_DATA_COMPONENT_UNITS, 10}, {ZAVCONFIG_DATA_COMPONENT_STRING, 4}};
  for (const auto& [id, documented] : ids) EXPECT_EQ(id, documented);
}

}  // namespace
