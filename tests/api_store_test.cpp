// SPDX-License-Identifier: MIT
// Store-level functions beyond the property table: constants and version numbers, the process
// default location, sessions resolved by name, and store documents read and written.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiStore : public ApiTest {};
class ApiStoreFile : public ApiFileTest {};

std::string StoreText(ViSession store, ViAttr id) {
  return Text(ZavConfig_GetConfigStorePropertyViString, store, id);
}

TEST_F(ApiStore, PropertiesAndSessionsByName) {
  EXPECT_EQ(StoreText(store_, 1) + "|" + StoreText(store_, 4) + "|" + StoreText(store_, 6),
            "ZAV Configuration Server (32-bit C API)||2.0.0.0");
  ViInt32 major = 0, minor = 0;
  ExpectOk(ZavConfig_GetConfigStorePropertyViInt32(store_, 8, &major));
  ExpectOk(ZavConfig_GetConfigStorePropertyViInt32(store_, 9, &minor));
  EXPECT_EQ(major * 100 + minor, 122);
  ExpectError(ZavConfig_GetConfigStorePropertyViInt32(store_, 7, &major),
              ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
              "ZavConfig_GetConfigStorePropertyViInt32: Invalid value for PropertyID parameter.");
  ExpectNoHandle(ZavConfig_GetConfigStorePropertyViInt32(Make(store_, kLogical), 99, &major));
  zavtest::ScopedEnv unset("ZAVCONFIGSERVERDEFAULT", nullptr);
  EXPECT_EQ(StoreText(store_, 5), "");
  ExpectOk(ZavConfig_SetConfigStorePropertyViString(store_, 5, "/srv/zav/default.xml"));
  EXPECT_STREQ(std::getenv("ZAVCONFIGSERVERDEFAULT"), "/srv/zav/default.xml");
  // A logical name without a session yields handle 0; after a failure the output is 0 as well.
  Issue(ZavConfig_CreateLogicalName, kKinds[kLogical].collection(store_), "Unmapped");
  ViSession out = 77;
  ExpectOk(ZavConfig_GetSession(store_, "Unmapped", &out));
  EXPECT_EQ(out, 0u);
  ExpectError(ZavConfig_GetSession(store_, nullptr, &(out = 77)),
              ZAVCONFIG_ERROR_SESSION_NOT_FOUND, "The '' logical name or session does not exist.");
  EXPECT_EQ(out, 0u);
  ExpectNoHandle(ZavConfig_GetDriverSession(kBogus, "D1", &(out = 77)));
  EXPECT_EQ(out, 0u);
}

TEST_F(ApiStoreFile, StoreDocumentsThroughStoreHandles) {
  EXPECT_EQ(StoreText(store_, 3), master_);
  const std::string target = dir_.File("store.xml"), missing = dir_.File("missing.xml");
  ExpectOk(ZavConfig_Serialize(store_, target.c_str()));
  ViSession copy = 0;
  AssertOk(ZavConfig_Initialize(&copy));
  ExpectError(ZavConfig_Deserialize(copy, missing.c_str()), ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
              "Deserialize failed. File " + missing + " is not readable.");
  ExpectNoHandle(ZavConfig_Deserialize(kBogus, target.c_str()));
  ExpectOk(ZavConfig_Deserialize(copy, target.c_str()));
  EXPECT_EQ(StoreText(copy, 4), target);
  ExpectError(ZavConfig_Deserialize(copy, target.c_str()), ZAVCONFIG_ERROR_ALREADY_DESERIALIZED,
              "ZavConfig_Deserialize can only be called once per session.");
  ExpectOk(ZavConfig_Close(copy));
  ExpectOk(ZavConfig_Deserialize(store_, zavtest::TestDataFile("rich_store.xml").c_str()));
  const ViSession driver = Issue(ZavConfig_GetDriverSession, store_, "SampleDMM");
  EXPECT_EQ(Text(ZavConfig_GetDriverSessionPropertyViString, driver, 10), "Model=DMM1000");
  EXPECT_EQ(Text(ZavConfig_GetSoftwareModulePropertyViString,
                 Issue(ZavConfig_GetSessionSoftwareModuleReference, driver), 8),
            "/opt/zav/lib64/libsampledmm.so");
}

// Physical names and structures nested as deep as the functions let a caller build them go with
// their store, also when it is closed on a thread with a small stack.
TEST(ApiDepth, DeeplyNestedItemsCloseWithTheirStoreOnASmallStack) {
  ViSession store = 0;
  AssertOk(ZavConfig_Initialize(&store));
  ViSession names = ChildOf<ZavConfig_GetSoftwareModulePhysicalNameCollection, kModule>(store);
  ViSession members = SessionComponents(store);
  ViStatus failed = VI_SUCCESS;
  for (int depth = 0; depth < 100000 && failed == VI_SUCCESS; ++depth) {
    ViSession name = 0, structure = 0, outerNames = names, outerMembers = members;
    failed = ZavConfig_CreatePhysicalName(names, "N", "Rc", &name) |
             ZavConfig_GetPhysicalNameChildPhysicalNameCollection(name, &names) |
             ZavConfig_CreateStructure(members, "S", ZAVCONFIG_DATA_COMPONENT_BOOLEAN, "B",
                                       &structure) |
             ZavConfig_GetStructureDataComponentCollection(structure, &members);
    for (ViSession handle : {name, structure, outerNames, outerMembers})
      failed |= ZavConfig_DisposeHandle(handle);
  }
  ExpectOk(failed);
  zavtest::RunOnStackOf(256 * 1024, [store] { ExpectOk(ZavConfig_Close(store)); });
  ViInt32 count = 0;
  ExpectNoHandle(ZavConfig_GetPhysicalNameCount(names, &count));
}

long ResidentKb() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A long-running program that reads a large store once must not keep its size for good.
TEST(ApiMemory, ClosingALargeStoreGivesItsMemoryBack) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
  zavtest::TempDir dir;
  const std::string path = dir.File("large.xml");
  ASSERT_EQ(std::system((std::string(ZAV_MAKE_STORE) + " 100 " + path).c_str()), 0);
  zavtest::ScopedRegistry registry(path, zavtest::DataDir());
  ViSession store = 0;
  AssertOk(ZavConfig_Initialize(&store));
  const long before = ResidentKb();
  AssertOk(ZavConfig_Deserialize(store, path.c_str()));
  const long read = ResidentKb();
  AssertOk(ZavConfig_Close(store));
  const long after = ResidentKb();
  EXPECT_GT(read - before, 80 * 1024) << "the store was not held in memory";
  EXPECT_LT(after - before, 10 * 1024) << before << " kB before, " << read << " kB read, "
                                       << after << " kB after";
}

}  // namespace
}  // namespace zavapi
