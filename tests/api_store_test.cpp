// Store-level functions: store properties, the master and process default locations, session
// resolution by name, the six collection getters, and reading and writing store documents.
#include <cstdlib>
#include <filesystem>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiStore : public ApiTest {};
class ApiStoreFile : public ApiFileTest {};

const std::string kDefaultDescription =
    "The ZAV Configuration Server allows access to and modification of an ZAV configuration "
    "store.";
const std::string kMasterMissing =
    "The Windows registry key for the master configuration store does not exist or the file "
    "cannot be found.";

std::string StoreText(ViSession store, ViAttr id) {
  return GetString(ZavConfig_GetConfigStorePropertyViString, store, id);
}
ViInt32 StoreInt(ViSession store, ViAttr id) {
  ViInt32 value = -1;
  ExpectOk(ZavConfig_GetConfigStorePropertyViInt32(store, id, &value));
  return value;
}

TEST_F(ApiStore, PropertyIds) {
  EXPECT_EQ(StoreText(store_, 1), "ZAV Configuration Server (32-bit C API)");
  EXPECT_EQ(StoreText(store_, 2), kDefaultDescription);
  EXPECT_EQ(StoreText(store_, 4), "");
  EXPECT_EQ(StoreText(store_, 6), "2.0.0.0");
  EXPECT_EQ(StoreText(store_, 7), "Zav Instruments");
  EXPECT_EQ(StoreInt(store_, 8), 1);
  EXPECT_EQ(StoreInt(store_, 9), 22);
  ViInt32 value = 0;
  for (ViAttr id : {0u, 8u, 9u, 10u})
    ExpectBadId(ZavConfig_GetConfigStorePropertyViString(store_, id, 0, nullptr),
                "ZavConfig_GetConfigStorePropertyViString");
  for (ViAttr id : {0u, 1u, 7u, 10u})
    ExpectBadId(ZavConfig_GetConfigStorePropertyViInt32(store_, id, &value),
                "ZavConfig_GetConfigStorePropertyViInt32");
  for (ViAttr id : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 10u})
    ExpectBadId(ZavConfig_SetConfigStorePropertyViString(store_, id, "x"),
                "ZavConfig_SetConfigStorePropertyViString");
  ExpectNullOutput(ZavConfig_GetConfigStorePropertyViInt32(store_, 8, nullptr));

  SetString(ZavConfig_SetConfigStorePropertyViString, store_, 2, "Bench store");
  EXPECT_EQ(StoreText(store_, 2), "Bench store");
  ExpectOk(ZavConfig_SetConfigStorePropertyViString(store_, 2, nullptr));
  EXPECT_EQ(StoreText(store_, 2), "");
  ExpectNoHandle(ZavConfig_GetConfigStorePropertyViInt32(LogicalNames(store_), 8, &value));
  ExpectNoHandle(ZavConfig_SetConfigStorePropertyViString(0, 99, "x"));
}

TEST_F(ApiStore, ProcessDefaultLocationIsSharedByTheProcess) {
  zavtest::ScopedEnv unset("ZAVCONFIGSERVERDEFAULT", nullptr);
  char text[8] = "junk";
  ExpectOk(ZavConfig_GetConfigStorePropertyViString(store_, 5, sizeof text, text));
  EXPECT_STREQ(text, "");
  ViSession other = 0;
  AssertOk(ZavConfig_Initialize(&other));
  SetString(ZavConfig_SetConfigStorePropertyViString, store_, 5, "/srv/zav/default.xml");
  EXPECT_EQ(StoreText(other, 5), "/srv/zav/default.xml");
  EXPECT_STREQ(std::getenv("ZAVCONFIGSERVERDEFAULT"), "/srv/zav/default.xml");
  {
    zavtest::ScopedEnv set("ZAVCONFIGSERVERDEFAULT", "/from/environment.xml");
    EXPECT_EQ(StoreText(other, 5), "/from/environment.xml");
  }
  ExpectOk(ZavConfig_Close(other));
}

TEST_F(ApiStore, MasterLocationIsReadOncePerStore) {
  zavtest::TempDir dir;
  const std::string first = dir.File("first.xml"), second = dir.File("second.xml");
  {
    zavtest::ScopedRegistry none("", zavtest::DataDir());
    ExpectError(ZavConfig_GetConfigStorePropertyViString(store_, 3, 0, nullptr),
                ZAVCONFIG_ERROR_MASTER_NOT_FOUND, kMasterMissing);
    // Writing a store needs the master location: nothing is created.
    ExpectError(ZavConfig_Serialize(store_, dir.File("sub/store.xml").c_str()),
                ZAVCONFIG_ERROR_MASTER_NOT_FOUND, kMasterMissing);
    EXPECT_FALSE(zavtest::FileExists(dir.File("sub")));
  }
  zavtest::ScopedRegistry registry(first, zavtest::DataDir());
  ExpectError(ZavConfig_GetConfigStorePropertyViString(store_, 3, 0, nullptr),
              ZAVCONFIG_ERROR_MASTER_NOT_FOUND, kMasterMissing);  // the file does not exist
  zavtest::WriteFile(first, "");
  zavtest::WriteFile(second, "");
  EXPECT_EQ(StoreText(store_, 3), first);  // failures cached nothing

  zavtest::ScopedRegistry changed(second, zavtest::DataDir());
  EXPECT_EQ(StoreText(store_, 3), first);  // an answer is kept for the store's life
  ViSession other = 0;
  AssertOk(ZavConfig_Initialize(&other));
  EXPECT_EQ(StoreText(other, 3), second);
  ExpectOk(ZavConfig_Close(other));
}

TEST_F(ApiStore, SessionResolution) {
  const ViSession plain = CreateSession(store_, "S1");
  const ViSession driver = CreateDriverSession(store_, "D1");
  CreateSession(store_, "Both");
  for (auto [name, session] : {std::pair<const char*, ViSession>{"ToDriver", driver},
                               {"ToPlain", plain},
                               {"Unmapped", 0},
                               {"Both", plain}}) {
    const ViSession logical = CreateLogicalName(store_, name);
    if (session != 0) {
      ExpectOk(ZavConfig_SetLogicalNameSessionReference(logical, session));
    }
  }
  auto resolve = [this](bool asDriver, const char* name) -> std::string {
    if (asDriver)
      return GetString(ZavConfig_GetDriverSessionPropertyViString,
                       Issue(ZavConfig_GetDriverSession, store_, name), 1);
    return GetString(ZavConfig_GetSessionPropertyViString,
                     Issue(ZavConfig_GetSession, store_, name), 1);
  };
  EXPECT_EQ(resolve(false, "S1"), "S1");
  EXPECT_EQ(resolve(false, "D1"), "D1");
  EXPECT_EQ(resolve(false, "ToDriver"), "D1");
  EXPECT_EQ(resolve(false, "ToPlain"), "S1");
  EXPECT_EQ(resolve(false, "Both"), "S1");  // the logical name wins over the session
  EXPECT_EQ(resolve(true, "D1"), "D1");
  EXPECT_EQ(resolve(true, "ToDriver"), "D1");
  // A driver session found by GetSession is issued as a session handle.
  ExpectNoHandle(ZavConfig_GetDriverSessionPropertyViString(
      Issue(ZavConfig_GetSession, store_, "ToDriver"), 1, 0, nullptr));
  // A logical name without a session resolves to no session: success with handle 0.
  ViSession out = 77;
  ExpectOk(ZavConfig_GetSession(store_, "Unmapped", &out));
  EXPECT_EQ(out, 0u);

  for (auto [asDriver, name] : {std::pair<bool, const char*>{false, "s1"},
                                {false, "Nobody"},
                                {true, "S1"},
                                {true, "ToPlain"},
                                {true, "Unmapped"},
                                {true, "d1"}}) {
    SCOPED_TRACE(name);
    out = 77;
    ExpectError(asDriver ? ZavConfig_GetDriverSession(store_, name, &out)
                         : ZavConfig_GetSession(store_, name, &out),
                ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                std::string("The '") + name + "' logical name or " +
                    (asDriver ? "driver session" : "session") + " does not exist.");
    EXPECT_EQ(out, 0u);
  }
  out = 77;
  ExpectNoHandle(ZavConfig_GetSession(LogicalNames(store_), "S1", &out));
  EXPECT_EQ(out, 0u);
  out = 77;
  ExpectNoHandle(ZavConfig_GetDriverSession(0, "D1", &out));
  EXPECT_EQ(out, 0u);
}

TEST_F(ApiStore, CollectionGettersIssueFreshHandles) {
  const std::pair<HandleGetter, CountGetter> rows[] = {
      {ZavConfig_GetConfigStoreLogicalNameCollection, ZavConfig_GetLogicalNameCount},
      {ZavConfig_GetConfigStoreSessionCollection, ZavConfig_GetSessionCount},
      {ZavConfig_GetConfigStoreDriverSessionCollection, ZavConfig_GetDriverSessionCount},
      {ZavConfig_GetConfigStoreHardwareAssetCollection, ZavConfig_GetHardwareAssetCount},
      {ZavConfig_GetConfigStoreSoftwareModuleCollection, ZavConfig_GetSoftwareModuleCount},
      {ZavConfig_GetConfigStorePublishedAPICollection, ZavConfig_GetPublishedAPICount}};
  for (const auto& [get, count] : rows) {
    const ViSession a = Issue(get, store_), b = Issue(get, store_);
    EXPECT_NE(a, b);
    EXPECT_EQ(CountOf(count, a), 0);
    EXPECT_EQ(CountOf(count, b), 0);
    ViSession out = 77;
    ExpectNoHandle(get(a, &out));
    EXPECT_EQ(out, 77u);
    ExpectNullOutput(get(store_, nullptr));
  }
}

TEST_F(ApiStoreFile, SerializeThenDeserializeIntoAnotherStore) {
  // The items themselves travel in the scenario suite; here the store and its locations.
  SetString(ZavConfig_SetConfigStorePropertyViString, store_, 2, "Bench <store> & more");
  const ViSession driver = CreateDriverSession(store_, "Dev");
  ExpectOk(ZavConfig_SetLogicalNameSessionReference(CreateLogicalName(store_, "MyDmm"), driver));
  CreateSession(store_, "Plain");
  const std::string target = dir_.File("saved/store.xml");  // the parent is created
  ExpectOk(ZavConfig_Serialize(store_, target.c_str()));
  ASSERT_TRUE(zavtest::FileExists(target));
  EXPECT_EQ(StoreText(store_, 4), "");  // writing does not set the actual location

  ViSession copy = 0;
  AssertOk(ZavConfig_Initialize(&copy));
  ExpectOk(ZavConfig_Deserialize(copy, target.c_str()));
  EXPECT_EQ(StoreText(copy, 4), target);
  EXPECT_EQ(StoreText(copy, 2), "Bench <store> & more");
  EXPECT_EQ(CountOf(ZavConfig_GetSessionCount, Sessions(copy)), 2);
  EXPECT_EQ(CountOf(ZavConfig_GetDriverSessionCount, DriverSessions(copy)), 1);
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString,
                      Issue(ZavConfig_GetDriverSession, copy, "MyDmm"), 1),
            "Dev");
  // A store is read once in its life; it can be written again.
  ExpectError(ZavConfig_Deserialize(copy, target.c_str()), ZAVCONFIG_ERROR_ALREADY_DESERIALIZED,
              "ZavConfig_Deserialize can only be called once per session.");
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, LogicalNames(copy)), 1);
  ExpectOk(ZavConfig_Serialize(copy, dir_.File("again.xml").c_str()));
  std::string expected = zavtest::ReadFile(target);  // all the same but the location read from
  const std::string unread = "<ActualLocation/>";
  ASSERT_NE(expected.find(unread), std::string::npos);
  expected.replace(expected.find(unread), unread.size(),
                   "<ActualLocation>" + target + "</ActualLocation>");
  EXPECT_EQ(zavtest::ReadFile(dir_.File("again.xml")), expected);
  ExpectOk(ZavConfig_Close(copy));
}

TEST_F(ApiStoreFile, FailedDeserializeAllowsAnotherAttempt) {
  ExpectOk(ZavConfig_Serialize(store_, dir_.File("good.xml").c_str()));
  struct WorkIn {  // relative locations are resolved against the current directory
    std::filesystem::path previous = std::filesystem::current_path();
    explicit WorkIn(const std::string& dir) { std::filesystem::current_path(dir); }
    ~WorkIn() { std::filesystem::current_path(previous); }
  } workIn(dir_.path());
  const std::string cwd = std::filesystem::current_path().string();

  ViSession copy = 0;
  AssertOk(ZavConfig_Initialize(&copy));
  CreateLogicalName(copy, "Before");
  ExpectError(ZavConfig_Deserialize(copy, "missing.xml"), ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
              "Deserialize failed. File " + cwd + "/missing.xml is not readable.");
  EXPECT_EQ(StoreText(copy, 4), "");
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, LogicalNames(copy)), 0);  // emptied first
  ExpectOk(ZavConfig_Deserialize(copy, "good.xml"));
  EXPECT_EQ(StoreText(copy, 4), "good.xml");  // as given, not made absolute
  EXPECT_EQ(StoreText(copy, 2), kDefaultDescription);
  ExpectOk(ZavConfig_Close(copy));
}

TEST_F(ApiStoreFile, RichStoreDocumentResolvesItsLogicalNames) {
  ExpectOk(ZavConfig_Deserialize(store_, zavtest::TestDataFile("rich_store.xml").c_str()));
  EXPECT_EQ(StoreText(store_, 2), "Store with every kind of item & reference <rich>");
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, LogicalNames(store_)), 3);
  EXPECT_EQ(CountOf(ZavConfig_GetPublishedAPICount, PublishedAPIs(store_)), 2);
  const ViSession driver = Issue(ZavConfig_GetDriverSession, store_, "SampleDMM");
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString, driver, 1), "SampleDmmSession");
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString, driver, 10), "Model=DMM1000");
  ViBoolean cache = 0, simulate = 1;
  ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(driver, 4, &cache));
  ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(driver, 9, &simulate));
  EXPECT_EQ(cache, VI_TRUE);
  EXPECT_EQ(simulate, VI_FALSE);
  EXPECT_EQ(GetString(ZavConfig_GetSoftwareModulePropertyViString,
                      Issue(ZavConfig_GetSessionSoftwareModuleReference, driver), 8),
            "/opt/zav/lib64/libsampledmm.so");
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString,
                      Issue(ZavConfig_GetSession, store_, "PlainName"), 1),
            "PlainSession");
  ViSession out = 77;
  ExpectOk(ZavConfig_GetSession(store_, "Unmapped", &out));
  EXPECT_EQ(out, 0u);
  ExpectError(ZavConfig_GetDriverSession(store_, "PlainName", &out),
              ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
              "The 'PlainName' logical name or driver session does not exist.");
}

}  // namespace
}  // namespace zavapi
