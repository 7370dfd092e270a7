// SPDX-License-Identifier: MIT
// The store root and everything that lives in it: name resolution, the file component, sessions
// and the driver-session view, software modules and what sessions take over from them, published
// APIs and the counted references to them, and the rules of data components.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

// A file component without files: the first master look-up fails and each later one answers
// with a new text; a read adds a session before it may fail.
struct tFakeConfigFile : iStoreFile {
  int masterCalls = 0;
  bool fail = false;
  Names reads;
  std::string GetMasterStoreLocation() override {
    if (++masterCalls == 1) ThrowZavError(ZAVCONFIG_ERROR_MASTER_NOT_FOUND, "no master");
    return "/srv/master" + std::to_string(masterCalls);
  }
  void Deserialize(tZavConfigStore* store, std::string path) override {
    reads.push_back(path);
    AddNamed<tZavSession>(store->GetSessions(), "Read" + std::to_string(reads.size()));
    if (fail) ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "read failed");
  }
  void Serialize(tZavConfigStore*, std::string) override {}
};

class ModelStore : public ::testing::Test {
 protected:
  tFakeConfigFile* file = new tFakeConfigFile;
  tZavConfigStore store{std::unique_ptr<iStoreFile>(file)};
  tZavPublishedAPICollection* apis = store.GetPublishedAPIs();
  tZavSession* session = AddNamed<tZavSession>(store.GetSessions(), "S");
  tZavCollection<iZavDataComponent>* dc = session->GetDataComponents();
  tZavCollection<iZavDataComponent>* assetDc =
      AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "Asset")->GetDataComponents();
};
using ModelDataComponent = ModelStore;

TEST_F(ModelStore, ResolvesNamesThroughAtMostOneLogicalName) {
  for (const char* name : {"D1", "D2", "D3"}) AddDriverSession(store, name);
  const char* const links[][2] = {{"S", "D1"}, {"L_plain", "S"}, {"D2", "S"}, {"L_none", ""},
                                  {"D3", ""}};
  for (const auto& link : links)
    AddNamed<tZavLogicalName>(store.GetLogicalNames(), link[0])
        ->SetSession(store.GetSessions()->Find(link[1]));
  // A name, then the session and the driver session it leads to: "" for null, "!" for failure.
  const char* const cases[][3] = {
      {"S", "D1", "D1"},  {"D1", "D1", "D1"}, {"L_plain", "S", "!"}, {"D2", "S", "D2"},
      {"L_none", "", "!"}, {"D3", "", "D3"},   {"s", "!", "!"}};
  auto nameOf = [](tZavSession* s) { return s ? s->GetName() : std::string(); };
  for (const auto& c : cases) {
    for (int driver = 0; driver < 2; ++driver) {
      SCOPED_TRACE(std::string(c[0]) + (driver ? " as driver session" : " as session"));
      auto lookup = [&] { return driver ? store.GetDriverSession(c[0]) : store.GetSession(c[0]); };
      if (c[1 + driver] == std::string("!"))
        EXPECT_ZAV_ERROR(lookup(), SESSION_NOT_FOUND, std::string("The '") + c[0] +
                         "' logical name or " + (driver ? "driver session" : "session") +
                         " does not exist.");
      else
        EXPECT_EQ(nameOf(lookup()), c[1 + driver]);
    }
  }
}

TEST_F(ModelStore, FileComponentIsAskedForTheMasterOnceAndReadsOnlyOnce) {
  EXPECT_ZAV_ERROR(store.GetMasterLocation(), MASTER_NOT_FOUND, "no master");
  EXPECT_EQ(store.GetMasterLocation(), "/srv/master2");
  EXPECT_EQ(store.GetMasterLocation(), "/srv/master2");
  file->fail = true;
  EXPECT_ZAV_ERROR(store.Deserialize("bad.xml"), DESERIALIZE_FAILED, "read failed");
  EXPECT_EQ(store.GetActualLocation(), "");
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read1"});
  file->fail = false;
  store.Deserialize("stores/a.xml");
  EXPECT_EQ(NamesOf(store.GetSessions()), Names{"Read2"});
  store.Serialize("out.xml");
  EXPECT_EQ(store.GetActualLocation(), "stores/a.xml");
  EXPECT_ZAV_ERROR(store.Deserialize("b.xml"), ALREADY_DESERIALIZED,
                   "ZavConfig_Deserialize can only be called once per session.");
  EXPECT_EQ(file->reads, (Names{"bad.xml", "stores/a.xml"}));
}

Names deletedApis;

// Logs its key when deleted: what a collection deletes, and in which order.
struct tLoggedApi : tZavPublishedAPI {
  ~tLoggedApi() override {
    std::ostringstream text;
    text << GetKey();
    deletedApis.push_back(text.str());
  }
};

// Links a store's items to each other in every way the model allows, then destroys the store.
TEST_F(ModelStore, DestroyingALinkedStoreDeletesItsItems) {
  deletedApis.clear();
  {
    tZavConfigStore linked{NoStoreFile()};
    tZavPublishedAPI* api = AddApi<tLoggedApi>(linked, {"Dmm", "C", 1, 0});
    auto* asset = AddNamed<tZavHardwareAsset>(linked.GetHardwareAssets(), "Asset");
    auto* module = AddNamed<tZavSoftwareModule>(linked.GetSoftwareModules(), "Module");
    module->GetPublishedAPIs()->AddReference(api);
    tZavDriverSession* driver = AddDriverSession(linked, "D");
    driver->SetHardwareAsset(asset);
    driver->SetSoftwareModule(module);
    AddNamed<tZavAPIReference>(driver->GetDataComponents(), "Api")->SetPublishedAPIReference(api);
    AddNamed<tZavLogicalName>(linked.GetLogicalNames(), "L")->SetSession(driver);
  }
  EXPECT_EQ(deletedApis, Names{"(Dmm,C,1,0)"});
}

TEST_F(ModelStore, ReferencesIntoAnotherStoreReadNullOnceItIsGone) {
  auto other = std::make_unique<tZavConfigStore>(NoStoreFile());
  AddNamed<tZavLogicalName>(store.GetLogicalNames(), "L")
      ->SetSession(AddNamed<tZavSession>(other->GetSessions(), "R"));
  session->SetHardwareAsset(AddNamed<tZavHardwareAsset>(other->GetHardwareAssets(), "Asset"));
  auto* ref = AddNamed<tZavAPIReference>(dc, "Api");
  ref->SetPublishedAPIReference(AddApi(*other, {"Dmm", "C", 1, 0}));
  other.reset();
  EXPECT_EQ(store.GetSession("L"), nullptr);
  EXPECT_EQ(session->GetHardwareAsset(), nullptr);
  EXPECT_EQ(ref->GetPublishedAPIReference(), nullptr);

  // New items watched the same way take over the lives the old ones left: the references to the
  // old items stay null.
  tZavConfigStore again{NoStoreFile()};
  tZavSession* target = AddNamed<tZavSession>(again.GetSessions(), "R");
  AddNamed<tZavLogicalName>(again.GetLogicalNames(), "L")->SetSession(target);
  target->SetHardwareAsset(AddNamed<tZavHardwareAsset>(again.GetHardwareAssets(), "Asset"));
  auto* againRef = AddNamed<tZavAPIReference>(target->GetDataComponents(), "Api");
  againRef->SetPublishedAPIReference(AddApi(again, {"Dmm", "C", 1, 0}));
  ASSERT_EQ(again.GetSession("L"), target);
  ASSERT_NE(target->GetHardwareAsset(), nullptr);
  ASSERT_NE(againRef->GetPublishedAPIReference(), nullptr);
  EXPECT_EQ(store.GetSession("L"), nullptr);
  EXPECT_EQ(session->GetHardwareAsset(), nullptr);
  EXPECT_EQ(ref->GetPublishedAPIReference(), nullptr);
}

TEST_F(ModelStore, DriverSessionViewStaysInStepWithTheSessionCollection) {
  tZavDriverSession* d1 = AddDriverSession(store, "D1");
  tZavDriverSession* d2 = AddDriverSession(store, "D2");
  tZavDriverSessionCollection* view = store.GetDriverSessions();
  EXPECT_EQ(NamesOf(view), (Names{"D1", "D2"}));
  d1->SetName("R", true);
  EXPECT_EQ(view->Find("R"), d1);
  EXPECT_ZAV_ERROR(d2->SetName("S", true), ALREADY_EXISTS,
                   "Rename operation failed. Item S already exists in the collection.");
  EXPECT_EQ(view->Find("D2"), d2);
  view->RemoveDriverSession(d1);
  EXPECT_EQ(NamesOf(store.GetSessions()), (Names{"S", "D2"}));
  AddNamed<tZavLogicalName>(store.GetLogicalNames(), "L")->SetSession(d2);
  EXPECT_ZAV_ERROR(store.GetSessions()->Remove(d2), HAS_REFERENCES, kHasReferences);
  EXPECT_EQ(NamesOf(view), Names{"D2"});
  store.GetLogicalNames()->Clear();
  store.GetSessions()->Remove(d2);
  EXPECT_EQ(view->Count(), 0);
}

// A module offering every sort of component a session may or may not take over.
std::unique_ptr<tZavSoftwareModule> RichModule() {
  auto module = Free<tZavSoftwareModule>("Dmm");
  auto* mdc = module->GetDataComponents();
  auto* req = AddNamed<tZavBoolean>(mdc, "Req", "Required");
  req->SetValue(true);
  req->SetReadOnly(true);
  AddNamed<tZavInteger>(mdc, "Opt", "Optional");
  AddNamed<tZavString>(mdc, "Lower", "required");
  AddNamed<tZavReal>(mdc, "Freq", "Required");
  AddNamed<tZavBoolean>(AddNamed<tZavStructure>(mdc, "Other", "Required")->GetDataComponents(),
                        "M", "Required");
  auto* cis = AddNamed<tZavStructure>(mdc, "Configurable Initial Settings", "optional");
  AddNamed<tZavInteger>(cis->GetDataComponents(), "Range", "Required")->SetReadOnly(true);
  AddNamed<tZavString>(cis->GetDataComponents(), "Skip", "Optional");
  auto* nested = AddNamed<tZavStructure>(cis->GetDataComponents(), "Nested", "Required");
  AddNamed<tZavBoolean>(nested->GetDataComponents(), "Deep", "Required");
  return module;
}

TEST_F(ModelStore, SetSoftwareModuleCopiesRequiredComponentsAndInitialSettings) {
  auto module = RichModule();
  session->SetSoftwareModule(module.get());
  ASSERT_EQ(NamesOf(dc), (Names{"Req", "Freq", "Configurable Initial Settings"}));
  EXPECT_TRUE(static_cast<tZavBoolean*>(dc->Find("Req"))->GetValue());
  EXPECT_FALSE(dc->Find("Req")->GetReadOnly());
  auto* cis = static_cast<tZavStructure*>(dc->ItemByIndex(3))->GetDataComponents();
  EXPECT_EQ(NamesOf(cis), Names{"Range"});
  EXPECT_FALSE(cis->ItemByIndex(1)->GetReadOnly());
  session->RelinkSoftwareModule(nullptr);
  EXPECT_EQ(session->GetSoftwareModule(), nullptr);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Dmm");
  EXPECT_EQ(dc->Count(), 3);
  session->SetSoftwareModule(nullptr);
  EXPECT_EQ(session->GetSoftwareModuleName(), "");
  EXPECT_EQ(dc->Count(), 0);
  // Initial settings without a required plain member give the session no such structure.
  auto bare = Free<tZavSoftwareModule>("Bare");
  auto* bareCis =
      AddNamed<tZavStructure>(bare->GetDataComponents(), "Configurable Initial Settings");
  AddNamed<tZavString>(bareCis->GetDataComponents(), "Skip", "Optional");
  session->SetSoftwareModule(bare.get());
  EXPECT_EQ(dc->Count(), 0);
}

TEST_F(ModelStore, SecondModuleDropsThenCopiesUntilANameClash) {
  auto old = Free<tZavSoftwareModule>("Old");
  AddNamed<tZavString>(old->GetDataComponents(), "FromOld", "Required");
  session->SetSoftwareModule(old.get());
  auto* mine = AddNamed<tZavReal>(dc, "Freq");
  EXPECT_ZAV_ERROR(session->SetSoftwareModule(RichModule().get()), ALREADY_EXISTS,
                   "Add failed. Item Freq already exists in the collection.");
  EXPECT_EQ(NamesOf(dc), (Names{"Freq", "Req"}));
  EXPECT_EQ(dc->Find("Freq"), mine);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Old");
  EXPECT_EQ(session->GetSoftwareModule(), old.get());
}

TEST_F(ModelStore, ModulesJoiningAndLeavingTheStoreRelinkSessionsByName) {
  tZavSession* driver = AddDriverSession(store, "D");
  tZavSession* other = AddNamed<tZavSession>(store.GetSessions(), "Other");
  session->SetSoftwareModule(RichModule().get());
  driver->SetSoftwareModule(RichModule().get());
  other->SetSoftwareModule(Free<tZavSoftwareModule>("dmm").get());
  AddNamed<tZavString>(dc, "Own");
  tZavSoftwareModule* module = store.GetSoftwareModules()->Add(RichModule());
  EXPECT_EQ(session->GetSoftwareModule(), module);
  EXPECT_EQ(driver->GetSoftwareModule(), module);
  EXPECT_EQ(NamesOf(dc), Names{"Own"});
  EXPECT_EQ(other->GetSoftwareModule(), nullptr);
  module->SetName("Renamed", true);
  module->IncrementRefCount();
  EXPECT_ZAV_ERROR(store.GetSoftwareModules()->Remove(module), HAS_REFERENCES, kHasReferences);
  EXPECT_EQ(driver->GetSoftwareModule(), nullptr);
  EXPECT_EQ(driver->GetSoftwareModuleName(), "Dmm");
  module->DecrementRefCount();
}

// The sessions a module finds on joining and leaving follow every way a session's module name and
// link change; a session destroyed or cleared on the way is never reached again.
TEST_F(ModelStore, ModuleJoiningAndLeavingReachesExactlyItsSessions) {
  auto* modules = store.GetSoftwareModules();
  auto* sessions = store.GetSessions();
  tZavSoftwareModule* a = AddNamed<tZavSoftwareModule>(modules, "A");
  tZavSoftwareModule* b = AddNamed<tZavSoftwareModule>(modules, "B");
  tZavSession* stays = AddDriverSession(store, "Stays");
  tZavSession* moved = AddNamed<tZavSession>(sessions, "Moved");
  tZavSession* dropped = AddNamed<tZavSession>(sessions, "Dropped");
  for (tZavSession* s : {stays, moved, dropped, session}) s->SetSoftwareModule(a);
  moved->SetSoftwareModule(b);
  dropped->SetSoftwareModule(nullptr);
  stays->SetName("Renamed", true);
  sessions->Remove(session);  // destroyed while linked
  // Named "A" before joining, through a module that is gone by then.
  auto joining = Free<tZavSession>("Joined");
  joining->SetSoftwareModule(Free<tZavSoftwareModule>("A").get());
  sessions->Add(std::move(joining));
  // Of another store: this store's modules never reach it.
  tZavConfigStore other{NoStoreFile()};
  tZavSession* foreign = AddNamed<tZavSession>(other.GetSessions(), "Foreign");
  foreign->SetSoftwareModule(a);
  auto linkedTo = [&](tZavSoftwareModule* module) {
    Names linked;
    sessions->ForEach([&](tZavSession* s) {
      if (s->GetSoftwareModule() == module) linked.push_back(s->GetName());
    });
    return linked;
  };

  a->SetName("A2", true);  // its sessions keep the name "A" and the link
  a->IncrementRefCount();
  EXPECT_ZAV_ERROR(modules->Remove(a), HAS_REFERENCES, kHasReferences);
  a->DecrementRefCount();
  EXPECT_EQ(linkedTo(nullptr), (Names{"Renamed", "Dropped", "Joined"}));
  EXPECT_EQ(foreign->GetSoftwareModule(), a);
  modules->Remove(a);
  AddNamed<tZavSession>(sessions, "Absent")->SetSoftwareModule(Free<tZavSoftwareModule>("A").get());
  sessions->Remove(sessions->Find("Absent"));  // destroyed while no module "A" is in the store
  EXPECT_EQ(linkedTo(AddNamed<tZavSoftwareModule>(modules, "A2")), Names{});
  tZavSoftwareModule* again = AddNamed<tZavSoftwareModule>(modules, "A");
  EXPECT_EQ(linkedTo(again), (Names{"Renamed", "Joined"}));
  EXPECT_EQ(linkedTo(b), Names{"Moved"});
  EXPECT_EQ(dropped->GetSoftwareModuleName(), "");
  EXPECT_EQ(foreign->GetSoftwareModule(), nullptr);

  // A module leaving after the sessions were cleared, and one joining after that, reach none.
  sessions->Clear();
  modules->Remove(again);
  tZavSession* fresh = AddNamed<tZavSession>(sessions, "Fresh");
  AddNamed<tZavSoftwareModule>(modules, "A");
  fresh->SetSoftwareModule(b);
  modules->Remove(b);
  EXPECT_EQ(linkedTo(nullptr), Names{"Fresh"});
  EXPECT_EQ(linkedTo(AddNamed<tZavSoftwareModule>(modules, "B")), Names{"Fresh"});
}

TEST_F(ModelStore, ApiKeysOrderByNameTypeThenSignedVersions) {
  deletedApis.clear();
  const tZavPublishedAPIKey keys[] = {{"B", "A", 0, 0},  {"A", "Z", 1, 0},  {"A", "Z", 1, -1},
                                      {"A", "Z", -3, 7}, {"A", "B", 9, 9}, {"a", "A", 0, 0}};
  for (const tZavPublishedAPIKey& key : keys) AddApi<tLoggedApi>(store, key);
  apis->Clear();
  EXPECT_EQ(deletedApis, (Names{"(A,B,9,9)", "(A,Z,-3,7)", "(A,Z,1,-1)", "(A,Z,1,0)",
                                "(B,A,0,0)", "(a,A,0,0)"}));
}

TEST_F(ModelStore, ModuleListsHoldCountedReferencesAndFollowReKeys) {
  tZavPublishedAPI* v1 = AddApi(store, {"Dmm", "C", 1, 0});
  tZavPublishedAPI* api = AddApi(store, {"Dmm", "C", 2, 0});
  auto* list = AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), "M1")->GetPublishedAPIs();
  auto* m2 = AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), "M2");
  list->AddReference(api);
  EXPECT_ZAV_ERROR(list->AddReference(api), ALREADY_EXISTS,
                   "Add failed. Item (Dmm,C,2,0) already exists in the collection.");
  m2->GetPublishedAPIs()->AddReference(api);
  EXPECT_EQ(api->GetRefCount(), 2);
  EXPECT_ZAV_ERROR(apis->Remove(api), HAS_REFERENCES, kHasReferences);
  store.GetSoftwareModules()->Remove(m2);
  EXPECT_EQ(api->GetRefCount(), 1);
  EXPECT_ZAV_ERROR(api->SetMajorVersion(1), ALREADY_EXISTS,
                   "Rename operation failed. Item (Dmm,C,1,0) already exists in the collection.");
  EXPECT_EQ(api->GetMajorVersion(), 2);
  EXPECT_EQ(apis->Find({"Dmm", "C", 1, 0}), v1);
  api->SetType("COM");
  EXPECT_EQ(apis->Find({"Dmm", "COM", 2, 0}), api);
  EXPECT_EQ(apis->Find({"Dmm", "C", 2, 0}), nullptr);
  list->RemoveReference(api);
  EXPECT_EQ(api->GetRefCount(), 0);
  // The store's own collection lists no references: a remove there changes nothing.
  EXPECT_ZAV_ERROR(apis->RemoveReference(api), NOT_FOUND,
                   "Remove failed. Item does not exist in the collection.");
  EXPECT_EQ(apis->Find({"Dmm", "COM", 2, 0}), api);
}

TEST_F(ModelStore, ApiReferencesStayWithinOneStore) {
  tZavConfigStore otherStore{NoStoreFile()};
  tZavPublishedAPI* local = AddApi(store, {"Dmm", "C", 1, 0});
  auto* list = AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), "M")->GetPublishedAPIs();
  const std::string added = " is already added to another configuration store.";
  EXPECT_ZAV_ERROR(Free<tZavSoftwareModule>("Free")->GetPublishedAPIs()->AddReference(local),
                   ALREADY_EXISTS, "Add failed. (Dmm,C,1,0)" + added);
  EXPECT_ZAV_ERROR(list->AddReference(AddApi(otherStore, {"X", "C", 2, 1})), ALREADY_EXISTS,
                   "Add failed. (X,C,2,1)" + added);
}

// The UsedInSession message; a hardware asset's component gets the longer one.
std::string InvalidUsed(const char* verb, const std::string& value, bool inAsset) {
  return std::string(verb) + " failed. Invalid value '" + value + "' for the "
         "ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION property." +
         (inAsset ? " Data component items in a hardware asset's datacomponent collection can "
                    "only have the value 'None'" : "");
}

TEST_F(ModelDataComponent, UsedInSessionTakesThreeValuesInAnyLetterCase) {
  auto* c = AddNamed<tZavInteger>(dc, "C");
  for (const char* good : {"required", "OPTIONAL", "nONE", "Required"}) {
    c->SetUsedInSession(good);
    EXPECT_EQ(c->GetUsedInSession(), good);
  }
  for (const char* bad : {"", "Maybe", "Non", "Nonee"})
    EXPECT_ZAV_ERROR(c->SetUsedInSession(bad), INVALID_VALUE, InvalidUsed("Set", bad, false));
  EXPECT_EQ(c->GetUsedInSession(), "Required");
}

TEST_F(ModelDataComponent, HardwareAssetComponentsTakeOnlyNoneUnlikeTheirStructureMembers) {
  auto* plain = AddNamed<tZavString>(assetDc, "Plain", "none");
  for (const char* bad : {"Optional", "Bogus"})
    EXPECT_ZAV_ERROR(plain->SetUsedInSession(bad), INVALID_VALUE, InvalidUsed("Set", bad, true));
  auto required = Free<tZavReal>("Req");
  required->SetUsedInSession("Required");
  EXPECT_ZAV_ERROR(assetDc->Add(std::move(required)), INVALID_DATA_COMPONENT,
                   InvalidUsed("Add", "Required", true));
  auto* members = AddNamed<tZavStructure>(assetDc, "Struct")->GetDataComponents();
  AddNamed<tZavString>(members, "Member", "Optional")->SetUsedInSession("Required");
}

// The asset would take "None"; an API reference refuses exactly that spelling itself.
TEST_F(ModelDataComponent, ApiReferenceRefusesExactlyNone) {
  auto* ref = AddNamed<tZavAPIReference>(assetDc, "Ref", "none");
  EXPECT_ZAV_ERROR(ref->SetUsedInSession("None"), INVALID_VALUE,
                   "Set failed. The UsedInSession property of published API reference item "
                   "cannot be set to 'None'.");
}

TEST_F(ModelDataComponent, StructureNeverLosesItsLastMemberThroughRemove) {
  auto* members = AddNamed<tZavStructure>(dc, "St")->GetDataComponents();
  auto* first = AddNamed<tZavBoolean>(members, "First");
  EXPECT_ZAV_ERROR(members->Remove(first), INVALID_VALUE,
                   "Remove failed. An ZavStructure data component must contain at least one item.");
  AddNamed<tZavInteger>(members, "Second");
  members->Remove(first);
  EXPECT_EQ(NamesOf(members), Names{"Second"});
}

TEST_F(ModelDataComponent, ApiReferenceMovesItsCountAndRefusesNullOnceOwned) {
  tZavPublishedAPI* a = AddApi(store, {"A", "C", 1, 0});
  tZavPublishedAPI* b = AddApi(store, {"B", "C", 1, 0});
  auto ref = Free<tZavAPIReference>("Ref");
  ref->SetPublishedAPIReference(nullptr);
  ref->SetPublishedAPIReference(a);
  auto* held = static_cast<tZavAPIReference*>(
      AddNamed<tZavStructure>(dc, "St")->GetDataComponents()->Add(std::move(ref)));
  EXPECT_ZAV_ERROR(held->SetPublishedAPIReference(nullptr), INVALID_VALUE,
                   "Set failed. The published API reference cannot be set to NULL.");
  EXPECT_EQ(a->GetRefCount(), 1);
  held->SetPublishedAPIReference(b);
  EXPECT_EQ(a->GetRefCount(), 0);
  EXPECT_EQ(b->GetRefCount(), 1);
  store.GetSessions()->Remove(session);
  EXPECT_EQ(b->GetRefCount(), 0);
}

}  // namespace
