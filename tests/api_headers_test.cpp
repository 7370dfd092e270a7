// The public headers as the binary interface: widths of the types, the documented status code
// values and the numbering of the property IDs, in C++ and in a C99 unit.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <type_traits>

#include "zavconfig.h"
#include "zavcshared.h"
#include "zavtypes.h"

extern "C" int zav_header_c99_check(void);

namespace {

static_assert(std::is_same<ViStatus, std::int32_t>::value, "ViStatus is signed 32-bit");
static_assert(std::is_same<ViInt32, std::int32_t>::value, "ViInt32 is signed 32-bit");
static_assert(std::is_same<ViUInt32, std::uint32_t>::value, "ViUInt32 is unsigned 32-bit");
static_assert(std::is_same<ViSession, std::uint32_t>::value, "ViSession is unsigned 32-bit");
static_assert(std::is_same<ViAttr, std::uint32_t>::value, "ViAttr is unsigned 32-bit");
static_assert(std::is_same<ViBoolean, std::uint16_t>::value, "ViBoolean is unsigned 16-bit");
static_assert(std::is_same<ViReal64, double>::value, "ViReal64 is double");
static_assert(std::is_same<ViConstString, const char*>::value, "ViConstString");
static_assert(std::is_same<decltype(ZAVCONFIG_ERROR_INVALID_HANDLE), ViStatus>::value,
              "status codes have the type ViStatus");
static_assert(ZAVCONFIG_ERROR_UNRECOVERABLE < 0, "status codes are negative");

TEST(ApiHeaders, CompileAsC99WithTheSameLayout) {
  EXPECT_EQ(zav_header_c99_check(), 1);
}

TEST(ApiHeaders, TypeWidthsAndSignedness) {
  EXPECT_EQ(sizeof(ViStatus), 4u);
  EXPECT_EQ(sizeof(ViSession), 4u);
  EXPECT_EQ(sizeof(ViAttr), 4u);
  EXPECT_EQ(sizeof(ViBoolean), 2u);
  EXPECT_EQ(sizeof(ViReal64), 8u);
  EXPECT_LT(static_cast<ViStatus>(-1), 0);
  EXPECT_GT(static_cast<ViSession>(-1), 0u);
  EXPECT_EQ(static_cast<ViBoolean>(VI_TRUE), 1);
  EXPECT_EQ(VI_FALSE, 0);
  EXPECT_EQ(VI_SUCCESS, 0);
  EXPECT_EQ(ZAVCONFIG_ERROR_DESCRIPTION_SIZE, 256);
}

TEST(ApiHeaders, StatusCodesHaveTheirDocumentedValues) {
  struct Code {
    const char* name;
    ViStatus value;
    std::uint32_t documented;
  };
  const Code codes[] = {
      {"UNRECOVERABLE", ZAVCONFIG_ERROR_UNRECOVERABLE, 0xBFFA0000u},
      {"INVALID_VALUE", ZAVCONFIG_ERROR_INVALID_VALUE, 0xBFFA0010u},
      {"NULL_POINTER", ZAVCONFIG_ERROR_NULL_POINTER, 0xBFFA0058u},
      {"DESERIALIZE_FAILED", ZAVCONFIG_ERROR_DESERIALIZE_FAILED, 0xBFFA1200u},
      {"ALREADY_DESERIALIZED", ZAVCONFIG_ERROR_ALREADY_DESERIALIZED, 0xBFFA1201u},
      {"SERIALIZE_FAILED", ZAVCONFIG_ERROR_SERIALIZE_FAILED, 0xBFFA1202u},
      {"SESSION_NOT_FOUND", ZAVCONFIG_ERROR_SESSION_NOT_FOUND, 0xBFFA1203u},
      {"NOT_IN_GLOBAL_COLLECTION", ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION, 0xBFFA1204u},
      {"ALREADY_EXISTS", ZAVCONFIG_ERROR_ALREADY_EXISTS, 0xBFFA1205u},
      {"MASTER_NOT_FOUND", ZAVCONFIG_ERROR_MASTER_NOT_FOUND, 0xBFFA1206u},
      {"NOT_FOUND", ZAVCONFIG_ERROR_NOT_FOUND, 0xBFFA1207u},
      {"INVALID_DATA_COMPONENT", ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT, 0xBFFA1208u},
      {"HAS_REFERENCES", ZAVCONFIG_ERROR_HAS_REFERENCES, 0xBFFA1209u},
      {"INVALID_HANDLE", ZAVCONFIG_ERROR_INVALID_HANDLE, 0xBFFA1220u},
      {"INVALID_PROPERTY_ID", ZAVCONFIG_ERROR_INVALID_PROPERTY_ID, 0xBFFA1221u},
      {"MASTER_REGISTRY_MISMATCH", ZAVCONFIG_ERROR_MASTER_REGISTRY_MISMATCH, 0xBFFA1223u},
  };
  std::set<ViStatus> seen;
  for (const Code& code : codes) {
    SCOPED_TRACE(code.name);
    EXPECT_EQ(static_cast<std::uint32_t>(code.value), code.documented);
    EXPECT_LT(code.value, 0);
    EXPECT_TRUE(seen.insert(code.value).second);
  }
}

TEST(ApiHeaders, PropertyIdsFollowTheNumberingOfEachKind) {
  // Name is 1 and description 2 wherever an item has them.
  const ViAttr names[] = {ZAVCONFIG_VAL_LOGICAL_NAME_NAME,   ZAVCONFIG_VAL_SESSION_NAME,
                          ZAVCONFIG_VAL_HARDWARE_ASSET_NAME, ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME,
                          ZAVCONFIG_VAL_PUBLISHED_API_NAME,  ZAVCONFIG_VAL_PHYSICAL_NAME_NAME,
                          ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME, ZAVCONFIG_VAL_VIRTUAL_NAME_NAME,
                          ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME,  ZAVCONFIG_VAL_DATA_COMPONENT_NAME};
  for (ViAttr id : names) EXPECT_EQ(id, 1u);
  const ViAttr descriptions[] = {
      ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION,    ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION,
      ZAVCONFIG_VAL_SESSION_DESCRIPTION,         ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION,
      ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION, ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION};
  for (ViAttr id : descriptions) EXPECT_EQ(id, 2u);

  // Driver session flags follow the three session IDs they share; the setup string closes.
  const ViAttr flags[] = {ZAVCONFIG_VAL_DRIVER_SESSION_CACHE,
                          ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK,
                          ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS,
                          ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK,
                          ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS,
                          ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE,
                          ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP};
  for (ViAttr i = 0; i < 7; ++i)
    EXPECT_EQ(flags[i], ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME + 1 + i);

  EXPECT_EQ(ZAVCONFIG_VAL_CONFIG_STORE_VENDOR, 7u);
  EXPECT_EQ(ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION, 9u);
  EXPECT_EQ(ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR, 3u);
  EXPECT_EQ(ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH, 3u);
  EXPECT_EQ(ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH, 7u);
  EXPECT_EQ(ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME, 9u);
  EXPECT_EQ(ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION, 4u);
  EXPECT_EQ(ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME, 2u);
  EXPECT_EQ(ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX, 3u);
  EXPECT_EQ(ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO, 2u);
  EXPECT_EQ(ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX, 4u);
  EXPECT_EQ(ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY, 5u);
  EXPECT_EQ(ZAVCONFIG_VAL_DATA_COMPONENT_TYPE, 7u);
  EXPECT_EQ(ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, 9u);
  EXPECT_EQ(ZAVCONFIG_VAL_DATA_COMPONENT_UNITS, 10u);

  const int kinds[] = {ZAVCONFIG_DATA_COMPONENT_BOOLEAN, ZAVCONFIG_DATA_COMPONENT_INTEGER,
                       ZAVCONFIG_DATA_COMPONENT_REAL, ZAVCONFIG_DATA_COMPONENT_STRING};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(kinds[i], i + 1);
}

}  // namespace
