// The store root: fresh state, name resolution, locations, reading and writing through a file
// component, and tearing down stores whose items reference each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "model_fixtures.h"
#include "test_support.h"

namespace {

using namespace zavtest;

// A file component without files: it records what it was asked and fails on demand. The test
// keeps the state while the store owns the component.
struct tFakeFileState {
  int masterCalls = 0;
  int failMasterCalls = 0;  // the first N look-ups fail
  std::string master = "/srv/zav/master.xml";
  Names reads, writes;
  bool failRead = false, failWrite = false;
};

class tFakeConfigFile : public iConfigFile {
 public:
  explicit tFakeConfigFile(std::shared_ptr<tFakeFileState> state) : state_(std::move(state)) {}
  std::string GetMasterStoreLocation() override {
    if (++state_->masterCalls <= state_->failMasterCalls)
      ThrowZavError(ZAVCONFIG_ERROR_MASTER_NOT_FOUND, "no master");
    return state_->master;
  }
  // Reads one session, then fails if asked to: a read that breaks off part-way.
  void Deserialize(tZavConfigStore* store, std::string path) override {
    state_->reads.push_back(path);
    AddSession(*store, "Read" + std::to_string(state_->reads.size()));
    if (state_->failRead) ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "Deserialize failed. x");
  }
  void Serialize(tZavConfigStore*, std::string path) override {
    state_->writes.push_back(path);
    if (state_->failWrite) ThrowZavError(ZAVCONFIG_ERROR_SERIALIZE_FAILED, "Serialize failed. x");
  }

 private:
  std::shared_ptr<tFakeFileState> state_;
};

long TotalCount(const tZavConfigStore& s) {
  return s.GetLogicalNames()->Count() + s.GetSessions()->Count() + s.GetDriverSessions()->Count() +
         s.GetHardwareAssets()->Count() + s.GetSoftwareModules()->Count() +
         s.GetPublishedAPIs()->Count();
}

class ModelStore : public ::testing::Test {
 protected:
  ModelStore() { store.SetConfigFile(std::make_unique<tFakeConfigFile>(file)); }
  std::shared_ptr<tFakeFileState> file = std::make_shared<tFakeFileState>();
  tZavConfigStore store;
};

TEST_F(ModelStore, FreshRootIsEmptyAndNotDeserialized) {
  tZavConfigStore fresh;
  EXPECT_EQ(fresh.GetDescription(),
            "The ZAV Configuration Server allows access to and modification of an ZAV "
            "configuration store.");
  EXPECT_EQ(fresh.GetActualLocation(), "");
  EXPECT_FALSE(fresh.IsDeserialized());
  EXPECT_EQ(TotalCount(fresh), 0);
  EXPECT_TRUE(fresh.GetPublishedAPIs()->IsGlobal());
}

TEST_F(ModelStore, ResolvesNamesThroughAtMostOneLogicalName) {
  tZavSession* plain = AddSession(store, "S1");
  AddSession(store, "Both");
  tZavDriverSession* d1 = AddDriverSession(store, "D1");
  tZavDriverSession* d2 = AddDriverSession(store, "D2");
  tZavDriverSession* d3 = AddDriverSession(store, "D3");
  AddLogicalName(store, "Both", d1);  // wins over the session called Both
  AddLogicalName(store, "L_plain", plain);
  AddLogicalName(store, "D2", plain);  // a plain session: the driver lookup goes on to D2
  AddLogicalName(store, "L_none", nullptr);
  AddLogicalName(store, "D3", nullptr);

  struct Case {
    const char* name;
    bool sessionFound;
    tZavSession* session;        // GetSession's answer when found
    tZavDriverSession* driver;   // GetDriverSession's answer; null: it fails
  };
  const Case cases[] = {
      {"Both", true, d1, d1},         {"S1", true, plain, nullptr},
      {"D1", true, d1, d1},           {"L_plain", true, plain, nullptr},
      {"D2", true, plain, d2},        {"L_none", true, nullptr, nullptr},
      {"D3", true, nullptr, d3},      {"s1", false, nullptr, nullptr},
      {"d1", false, nullptr, nullptr}, {"both", false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string quoted = std::string("The '") + c.name + "' logical name or ";
    if (c.sessionFound)
      EXPECT_EQ(store.GetSession(c.name), c.session);
    else
      EXPECT_ZAV_ERROR(store.GetSession(c.name), ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                       quoted + "session does not exist.");
    if (c.driver)
      EXPECT_EQ(store.GetDriverSession(c.name), c.driver);
    else
      EXPECT_ZAV_ERROR(store.GetDriverSession(c.name), ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                       quoted + "driver session does not exist.");
  }
}

TEST_F(ModelStore, ProcessDefaultLocationIsSharedByAllRoots) {
  ScopedEnv restore("ZAVCONFIGSERVERDEFAULT", nullptr);
  tZavConfigStore other;
  EXPECT_EQ(store.GetProcessDefaultLocation(), "");
  store.SetProcessDefaultLocation("stores/default.xml");
  EXPECT_EQ(other.GetProcessDefaultLocation(), "stores/default.xml");
  EXPECT_EQ(std::string(std::getenv("ZAVCONFIGSERVERDEFAULT")), "stores/default.xml");
  other.SetProcessDefaultLocation("");
  EXPECT_EQ(store.GetProcessDefaultLocation(), "");
}

TEST_F(ModelStore, MasterLocationIsAskedUntilFoundThenCached) {
  file->failMasterCalls = 1;
  EXPECT_ZAV_ERROR(store.GetMasterLocation(), ZAVCONFIG_ERROR_MASTER_NOT_FOUND, "no master");
  EXPECT_EQ(store.GetMasterLocation(), "/srv/zav/master.xml");
  file->master = "/elsewhere.xml";  // a later change of the platform value is not seen
  EXPECT_EQ(store.GetMasterLocation(), "/srv/zav/master.xml");
  EXPECT_EQ(file->masterCalls, 2);
}

TEST_F(ModelStore, DeserializeSucceedsOnceAndKeepsTheRelativeLocation) {
  AddSession(store, "Before");
  store.Deserialize("stores/a.xml");
  EXPECT_TRUE(store.IsDeserialized());
  EXPECT_EQ(store.GetActualLocation(), "stores/a.xml");
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read1"});  // emptied before reading

  EXPECT_ZAV_ERROR(store.Deserialize("stores/b.xml"), ZAVCONFIG_ERROR_ALREADY_DESERIALIZED,
                   "ZavConfig_Deserialize can only be called once per session.");
  EXPECT_EQ(file->reads, Names{"stores/a.xml"});
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read1"});
}

TEST_F(ModelStore, FailedDeserializeLeavesPartialContentAndAllowsAnotherTry) {
  AddSession(store, "Before");
  file->failRead = true;
  EXPECT_ZAV_ERROR(store.Deserialize("bad.xml"), ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                   "Deserialize failed. x");
  EXPECT_FALSE(store.IsDeserialized());
  EXPECT_EQ(store.GetActualLocation(), "");
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read1"});

  file->failRead = false;
  store.Deserialize("good.xml");
  EXPECT_TRUE(store.IsDeserialized());
  EXPECT_EQ(store.GetActualLocation(), "good.xml");
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read2"});  // the partial read was cleared
}

TEST_F(ModelStore, SerializeNeverTouchesLocationOrDeserializedFlag) {
  store.Serialize("out1.xml");
  file->failWrite = true;
  EXPECT_ZAV_ERROR(store.Serialize("out2.xml"), ZAVCONFIG_ERROR_SERIALIZE_FAILED,
                   "Serialize failed. x");
  EXPECT_EQ(store.GetActualLocation(), "");
  EXPECT_FALSE(store.IsDeserialized());
  store.Deserialize("in.xml");
  EXPECT_ZAV_ERROR(store.Serialize("out3.xml"), ZAVCONFIG_ERROR_SERIALIZE_FAILED,
                   "Serialize failed. x");
  file->failWrite = false;
  store.Serialize("out4.xml");
  EXPECT_EQ(store.GetActualLocation(), "in.xml");
  EXPECT_TRUE(store.IsDeserialized());
  EXPECT_EQ(file->writes, (Names{"out1.xml", "out2.xml", "out3.xml", "out4.xml"}));
}

// A published API that counts its deletions.
struct tCountedApi : tZavPublishedAPI {
  static int deleted;
  ~tCountedApi() override { ++deleted; }
};
int tCountedApi::deleted = 0;

// Fills a store whose items reference each other in every way the model allows.
void FillLinkedStore(tZavConfigStore& store) {
  tZavPublishedAPI* api1 = AddApi<tCountedApi>(store, "Dmm", "C");
  tZavPublishedAPI* api2 = AddApi<tCountedApi>(store, "Dmm", "COM");
  auto* asset = AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "Asset");
  auto* module = AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), "Module");
  module->GetPublishedAPIs()->AddReference(api1);
  module->GetPublishedAPIs()->AddReference(api2);
  AddComponent<tZavBoolean>(module->GetDataComponents(), "Req", "Required");
  tZavSession* driver = AddDriverSession(store, "Driver");
  tZavSession* plain = AddSession(store, "Plain");
  for (tZavSession* s : {driver, plain}) {
    s->SetHardwareAsset(asset);
    s->SetSoftwareModule(module, false);
    AddComponent<tZavAPIReference>(s->GetDataComponents(), "Api", "Optional")
        ->SetPublishedAPIReference(api2);
  }
  AddLogicalName(store, "L1", driver);
  AddLogicalName(store, "L2", plain);
  AddLogicalName(store, "L3", driver);
}

TEST_F(ModelStore, ClearAllAndDestructionDeleteLinkedItems) {
  tCountedApi::deleted = 0;
  FillLinkedStore(store);
  EXPECT_EQ(store.GetPublishedAPIs()->Find(Key("Dmm", "COM", 1, 0))->GetRefCount(), 3);
  store.ClearAll();
  EXPECT_EQ(tCountedApi::deleted, 2);
  EXPECT_EQ(TotalCount(store), 0);
  FillLinkedStore(store);  // the root stays usable

  tCountedApi::deleted = 0;
  { tZavConfigStore scoped; FillLinkedStore(scoped); }
  EXPECT_EQ(tCountedApi::deleted, 2);  // destroying a root deletes its published APIs
}

TEST_F(ModelStore, ReferencesIntoAnotherStoreReadNullOnceItIsGone) {
  auto a = std::make_unique<tZavConfigStore>();
  auto b = std::make_unique<tZavConfigStore>();
  tZavSession* remoteSession = AddSession(*b, "Remote");
  auto* remoteAsset = AddNamed<tZavHardwareAsset>(b->GetHardwareAssets(), "RemoteAsset");
  tZavPublishedAPI* remoteApi = AddApi(*b, "Dmm", "C");
  tZavLogicalName* logical = AddLogicalName(*a, "L", remoteSession);
  tZavSession* local = AddSession(*a, "Local");
  local->SetHardwareAsset(remoteAsset);
  auto* ref = AddComponent<tZavAPIReference>(local->GetDataComponents(), "Api", "Optional");
  ref->SetPublishedAPIReference(remoteApi);
  EXPECT_EQ(a->GetSession("L"), remoteSession);

  b.reset();
  EXPECT_EQ(a->GetSession("L"), nullptr);
  EXPECT_EQ(local->GetHardwareAsset(), nullptr);
  EXPECT_EQ(ref->GetPublishedAPIReference(), nullptr);
  logical->SetSession(nullptr);
  local->GetDataComponents()->Remove(ref);
  a.reset();
}

}  // namespace
