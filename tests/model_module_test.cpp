// Hardware assets, software modules joining and leaving a store, and published APIs with the
// counted references that modules hold to them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

const char* const kHasReferences = "Remove failed. Item has references from other items.";

class ModelModule : public ::testing::Test {
 protected:
  tZavSoftwareModule* AddModule(const std::string& name) {
    return AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), name);
  }
  tZavConfigStore store;
};

TEST_F(ModelModule, AssetsAndModulesKeepTheirOwnCollectionsAndPaths) {
  auto* asset = AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "Asset");
  tZavSoftwareModule* module = AddModule("Module");
  EXPECT_EQ(asset->GetDataComponents()->GetCollectionName(), "ZavHardwareAsset");
  EXPECT_EQ(module->GetDataComponents()->GetCollectionName(), "");
  EXPECT_FALSE(module->GetPublishedAPIs()->IsGlobal());

  module->SetPlatformModulePath("dmm_32.so");
  module->SetModulePath64("dmm_64.so");
  EXPECT_EQ(module->GetModulePath(), "dmm_32.so");
  module->SetModulePath("");
  EXPECT_EQ(module->GetPlatformModulePath(), "");
  EXPECT_EQ(module->GetModulePath64(), "dmm_64.so");
}

TEST_F(ModelModule, AssetCannotBeRemovedWhileSessionsUseIt) {
  auto* asset = AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "Asset");
  tZavSession* s1 = AddSession(store, "S1");
  tZavDriverSession* s2 = AddDriverSession(store, "S2");
  s1->SetHardwareAsset(asset);
  s2->SetHardwareAsset(asset);
  EXPECT_ZAV_ERROR(store.GetHardwareAssets()->Remove(asset), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   kHasReferences);
  EXPECT_EQ(store.GetHardwareAssets()->Find("Asset"), asset);
  s1->SetHardwareAsset(nullptr);
  store.GetDriverSessions()->RemoveDriverSession(s2);  // a deleted session releases its asset
  EXPECT_EQ(asset->GetRefCount(), 0);
  store.GetHardwareAssets()->Remove(asset);
}

TEST_F(ModelModule, JoiningAndLeavingTheStoreRelinksSessionsByName) {
  tZavSession* s1 = AddSession(store, "S1");
  tZavSession* s2 = AddDriverSession(store, "S2");
  tZavSession* s3 = AddSession(store, "S3");
  {
    // Sessions that carry a module name while no such module is in the store.
    auto gone = FreeModule("Dmm");
    AddComponent<tZavString>(gone->GetDataComponents(), "Req", "Required");
    auto* cis = AddComponent<tZavStructure>(gone->GetDataComponents(),
                                            "Configurable Initial Settings", "None");
    AddComponent<tZavString>(cis->GetDataComponents(), "Member", "Required");
    s1->SetSoftwareModule(gone.get(), false);
    s2->SetSoftwareModule(gone.get(), false);
    s3->SetSoftwareModule(FreeModule("dmm").get(), false);
  }
  AddComponent<tZavString>(s1->GetDataComponents(), "Opt", "Optional");
  AddComponent<tZavString>(s1->GetDataComponents(), "Own", "None");
  AddComponent<tZavString>(s3->GetDataComponents(), "Opt", "Optional");
  EXPECT_EQ(s1->GetDataComponents()->Count(), 4);

  tZavSoftwareModule* module = AddModule("Dmm");
  AddComponent<tZavString>(module->GetDataComponents(), "New", "Required");
  EXPECT_EQ(s1->GetSoftwareModule(), module);
  EXPECT_EQ(s2->GetSoftwareModule(), module);
  EXPECT_EQ(NamesOf(s1->GetDataComponents()), Names{"Own"});  // dropped, nothing copied
  EXPECT_EQ(s2->GetDataComponents()->Count(), 0);
  EXPECT_EQ(s3->GetSoftwareModule(), nullptr);  // "dmm" differs in letter case
  EXPECT_EQ(NamesOf(s3->GetDataComponents()), Names{"Opt"});

  store.GetSoftwareModules()->Remove(module);
  for (tZavSession* s : {s1, s2}) {
    EXPECT_EQ(s->GetSoftwareModule(), nullptr);
    EXPECT_EQ(s->GetSoftwareModuleName(), "Dmm");
  }
  EXPECT_EQ(NamesOf(s1->GetDataComponents()), Names{"Own"});

  tZavSoftwareModule* again = AddModule("Dmm");
  EXPECT_EQ(s1->GetSoftwareModule(), again);
  again->SetName("Renamed", true);  // only the module's key changes
  EXPECT_EQ(store.GetSoftwareModules()->Find("Renamed"), again);
  EXPECT_EQ(s2->GetSoftwareModuleName(), "Dmm");
  EXPECT_EQ(s2->GetSoftwareModule(), again);
}

// A published API that logs its key when deleted, to observe the collection's key order.
struct tLoggedApi : tZavPublishedAPI {
  static Names& Log() {
    static Names log;
    return log;
  }
  ~tLoggedApi() override {
    std::ostringstream text;
    text << GetKey();
    Log().push_back(text.str());
  }
};

TEST_F(ModelModule, ApiKeysOrderByNameTypeThenVersions) {
  tLoggedApi::Log().clear();
  AddApi<tLoggedApi>(store, "B", "A", 0, 0);
  AddApi<tLoggedApi>(store, "A", "Z", 1, 0);
  AddApi<tLoggedApi>(store, "A", "Z", 1, -1);
  AddApi<tLoggedApi>(store, "A", "Z", -3, 7);
  AddApi<tLoggedApi>(store, "A", "B", 9, 9);
  AddApi<tLoggedApi>(store, "a", "A", 0, 0);
  tZavPublishedAPICollection* apis = store.GetPublishedAPIs();
  EXPECT_EQ(apis->ItemByIndex(1)->GetName(), "B");  // indexes follow insertion
  apis->Clear();
  EXPECT_EQ(tLoggedApi::Log(), (Names{"(A,B,9,9)", "(A,Z,-3,7)", "(A,Z,1,-1)", "(A,Z,1,0)",
                                      "(B,A,0,0)", "(a,A,0,0)"}));
}

TEST_F(ModelModule, ApiKeyFieldsAreCheckedAndReKeyTheOwner) {
  tZavPublishedAPICollection* apis = store.GetPublishedAPIs();
  tZavPublishedAPI* v1 = AddApi(store, "Dmm", "C", 1, 0);
  tZavPublishedAPI* v2 = AddApi(store, "Dmm", "C", 2, 0);
  EXPECT_ZAV_ERROR(v1->SetName(""), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The name of the item cannot be empty.");
  EXPECT_ZAV_ERROR(v1->SetType(""), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The type property of the item cannot be empty.");
  EXPECT_ZAV_ERROR(v2->SetMajorVersion(1), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Rename operation failed. Item (Dmm,C,1,0) already exists in the collection.");
  EXPECT_EQ(v2->GetMajorVersion(), 2);
  EXPECT_EQ(apis->Find(Key("Dmm", "C", 2, 0)), v2);

  v2->SetType("COM");
  v2->SetMinorVersion(-5);
  EXPECT_EQ(apis->ItemByName(Key("Dmm", "COM", 2, -5)), v2);
  EXPECT_EQ(apis->Find(Key("Dmm", "C", 2, 0)), nullptr);

  tZavPublishedAPI dup;
  EXPECT_ZAV_ERROR(apis->ItemByName(dup.GetKey()), ZAVCONFIG_ERROR_NOT_FOUND,
                   "Search by name failed. Item (,,0,0) does not exist in the collection.");
  dup.SetName("Dmm");
  dup.SetType("C");
  dup.SetMajorVersion(1);
  EXPECT_ZAV_ERROR(apis->AddToGlobal(&dup), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item (Dmm,C,1,0) already exists in the collection.");
  EXPECT_EQ(apis->Count(), 2);
}

TEST_F(ModelModule, ModuleListsHoldCountedReferencesOnly) {
  tZavPublishedAPI* api = AddApi(store, "Dmm", "C");
  tZavPublishedAPI* other = AddApi(store, "Scope", "C");
  tZavPublishedAPICollection* list = AddModule("M")->GetPublishedAPIs();
  tZavPublishedAPI fresh;
  EXPECT_ZAV_ERROR(list->AddToGlobal(&fresh), ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION,
                   "Not a global collection");

  list->AddReference(api);
  EXPECT_ZAV_ERROR(list->AddReference(api), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item (Dmm,C,1,0) already exists in the collection.");
  EXPECT_EQ(api->GetRefCount(), 1);
  EXPECT_EQ(api->GetOwner(), store.GetPublishedAPIs());
  EXPECT_ZAV_ERROR(store.GetPublishedAPIs()->Remove(api), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   kHasReferences);
  EXPECT_ZAV_ERROR(list->Remove(api), ZAVCONFIG_ERROR_HAS_REFERENCES, kHasReferences);
  EXPECT_ZAV_ERROR(list->RemoveReference(other), ZAVCONFIG_ERROR_NOT_FOUND,
                   "Remove failed. Item does not exist in the collection.");
  EXPECT_EQ(other->GetRefCount(), 0);

  list->RemoveReference(api);
  EXPECT_EQ(api->GetRefCount(), 0);
  EXPECT_EQ(list->Count(), 0);
  store.GetPublishedAPIs()->Remove(api);
}

TEST_F(ModelModule, ReferencesStayWithinOneStore) {
  tZavConfigStore otherStore;
  tZavPublishedAPI* foreign = AddApi(otherStore, "Dmm", "C");
  tZavPublishedAPICollection* list = AddModule("M")->GetPublishedAPIs();
  const std::string addText = " is already added to another configuration store.";
  EXPECT_ZAV_ERROR(list->AddReference(foreign), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. (Dmm,C,1,0)" + addText);
  EXPECT_ZAV_ERROR(list->RemoveReference(foreign), ZAVCONFIG_ERROR_NOT_FOUND,
                   "Remove failed. (Dmm,C,1,0) is not added to this configuration store.");
  EXPECT_EQ(foreign->GetRefCount(), 0);

  tZavPublishedAPI* local = AddApi(store, "Dmm", "C");
  EXPECT_ZAV_ERROR(FreeModule("Free")->GetPublishedAPIs()->AddReference(local),
                   ZAVCONFIG_ERROR_ALREADY_EXISTS, "Add failed. (Dmm,C,1,0)" + addText);
  tZavPublishedAPI unowned;
  EXPECT_ZAV_ERROR(list->AddReference(&unowned), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. (,,0,0)" + addText);
  EXPECT_EQ(local->GetRefCount(), 0);
  EXPECT_EQ(list->Count(), 0);
}

TEST_F(ModelModule, ModulesReleaseTheirApisAndFollowReKeys) {
  tZavPublishedAPI* a = AddApi(store, "A", "C");
  tZavPublishedAPI* b = AddApi(store, "B", "C");
  tZavSoftwareModule* m1 = AddModule("M1");
  tZavSoftwareModule* m2 = AddModule("M2");
  m1->GetPublishedAPIs()->AddReference(a);
  m1->GetPublishedAPIs()->AddReference(b);
  m2->GetPublishedAPIs()->AddReference(b);
  store.GetSoftwareModules()->Remove(m1);
  EXPECT_EQ(a->GetRefCount(), 0);
  EXPECT_EQ(b->GetRefCount(), 1);
  store.GetPublishedAPIs()->Remove(a);

  // The module lists follow a key change, so the reference can still be removed.
  b->SetName("B2");
  b->SetMajorVersion(3);
  EXPECT_EQ(m2->GetPublishedAPIs()->ItemByName(Key("B2", "C", 3, 0)), b);
  EXPECT_EQ(m2->GetPublishedAPIs()->Find(Key("B", "C", 1, 0)), nullptr);
  m2->GetPublishedAPIs()->RemoveReference(b);
  EXPECT_EQ(b->GetRefCount(), 0);
  store.GetPublishedAPIs()->Remove(b);
}

}  // namespace
