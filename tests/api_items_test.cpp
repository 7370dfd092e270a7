// Collection and item families: count, item by index and by name, create and destroy over every
// kind of collection, references between items, driver sessions seen as sessions, and the
// published API reference lists of software modules.
#include <functional>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiItems : public ApiTest {};

const std::string kReferenced = "Remove failed. Item has references from other items.";
const std::string kDisposeInvalid =
    "ZavConfig_DisposeHandle: Invalid handle parameter value, or handle does not exist.";

struct Family {
  const char* kind;
  std::function<ViSession(ViSession store)> collection;  // a new collection of the kind
  std::function<ViStatus(ViSession, ViConstString, ViSession*)> create;
  CountGetter count;
  ViStatus (*byIndex)(ViSession, ViInt32, ViSession*);
  ViStatus (*byName)(ViSession, ViConstString, ViSession*);  // null: no lookup by name alone
  ViStatus (*destroy)(ViSession, ViSession);
  StringGetter get;  // ID 1 is the name of every kind
};
// clang-format off
#define FAMILY(K, collection, create, byName)                                              \
  Family{#K, collection, create, ZavConfig_Get##K##Count, ZavConfig_Get##K##ItemByIndex,  \
         byName, ZavConfig_Destroy##K, ZavConfig_Get##K##PropertyViString}
// clang-format on

ViSession PhysicalNamesOfNewModule(ViSession store) {
  return Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection,
               CreateSoftwareModule(store, "Owner"));
}
ViSession VirtualNamesOfNewSession(ViSession store) {
  return Issue(ZavConfig_GetSessionVirtualNameCollection, CreateSession(store, "Owner"));
}
ViStatus CreatePhysicalName(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreatePhysicalName(c, n, "Rc", out);
}

const Family kFamilies[] = {
    FAMILY(LogicalName, LogicalNames, ZavConfig_CreateLogicalName,
           ZavConfig_GetLogicalNameItemByName),
    FAMILY(Session, Sessions, ZavConfig_CreateSession, ZavConfig_GetSessionItemByName),
    FAMILY(DriverSession, DriverSessions, ZavConfig_CreateDriverSession,
           ZavConfig_GetDriverSessionItemByName),
    FAMILY(HardwareAsset, HardwareAssets, ZavConfig_CreateHardwareAsset,
           ZavConfig_GetHardwareAssetItemByName),
    FAMILY(SoftwareModule, SoftwareModules, ZavConfig_CreateSoftwareModule,
           ZavConfig_GetSoftwareModuleItemByName),
    FAMILY(
        PublishedAPI, PublishedAPIs,
        [](ViSession c, ViConstString n, ViSession* out) {
          return ZavConfig_CreatePublishedAPI(c, n, "T", out);
        },
        nullptr),
    FAMILY(PhysicalName, PhysicalNamesOfNewModule, CreatePhysicalName,
           ZavConfig_GetPhysicalNameItemByName),
    FAMILY(
        PhysicalName,  // the children of a physical name
        [](ViSession store) {
          return Issue(ZavConfig_GetPhysicalNameChildPhysicalNameCollection,
                       Issue(CreatePhysicalName, PhysicalNamesOfNewModule(store), "Parent"));
        },
        CreatePhysicalName, ZavConfig_GetPhysicalNameItemByName),
    FAMILY(
        PhysicalRange,
        [](ViSession store) {
          return Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection,
                       Issue(CreatePhysicalName, PhysicalNamesOfNewModule(store), "Ch"));
        },
        ZavConfig_CreatePhysicalRange, nullptr),
    FAMILY(
        VirtualName, VirtualNamesOfNewSession,
        [](ViSession c, ViConstString n, ViSession* out) {
          return ZavConfig_CreateVirtualName(c, n, "Ch", out);
        },
        ZavConfig_GetVirtualNameItemByName),
    FAMILY(
        VirtualRange,
        [](ViSession store) {
          return Issue(
              ZavConfig_GetVirtualNameVirtualRangeCollection,
              Issue(ZavConfig_CreateVirtualName, VirtualNamesOfNewSession(store), "In", "Ch"));
        },
        ZavConfig_CreateVirtualRange, nullptr),
    FAMILY(
        DataComponent,
        [](ViSession store) { return DataComponentsOf(CreateSession(store, "Owner")); },
        [](ViSession c, ViConstString n, ViSession* out) {
          return ZavConfig_CreateDataComponent(c, ZAVCONFIG_DATA_COMPONENT_STRING, n, out);
        },
        ZavConfig_GetDataComponentItemByName),
};

// Runs in two fresh stores of its own, so that no family meets another's names.
void CheckFamily(const Family& f) {
  ViSession store = 0, otherStore = 0;
  AssertOk(ZavConfig_Initialize(&store));
  AssertOk(ZavConfig_Initialize(&otherStore));
  const ViSession coll = f.collection(store);
  const ViSession foreign = f.collection(otherStore);  // the same kind, elsewhere
  const bool apiKey = std::string(f.kind) == "PublishedAPI";
  auto nameAt = [&](ViInt32 index) { return GetString(f.get, Issue(f.byIndex, coll, index), 1); };
  EXPECT_EQ(CountOf(f.count, coll), 0);
  ViSession beta = 0, alpha = 0, lower = 0;
  ExpectOk(f.create(coll, "Beta", &beta));
  ExpectOk(f.create(coll, "Alpha", &alpha));
  ExpectOk(f.create(coll, "alpha", &lower));  // differs by letter case only
  EXPECT_EQ(CountOf(f.count, coll), 3);
  EXPECT_EQ(nameAt(1), "Beta");  // insertion order, not key order
  EXPECT_EQ(nameAt(3), "alpha");
  ViSession out = 77;
  for (ViInt32 bad : {0, -1, 4})
    ExpectError(f.byIndex(coll, bad, &out), ZAVCONFIG_ERROR_NOT_FOUND,
                "Search by index failed. Index " + std::to_string(bad) +
                    " does not exist in the collection.");
  if (f.byName) {
    const ViSession found = Issue(f.byName, coll, "Alpha");
    EXPECT_NE(found, alpha);
    EXPECT_EQ(GetString(f.get, found, 1), "Alpha");
    ExpectError(f.byName(coll, "ALPHA", &out), ZAVCONFIG_ERROR_NOT_FOUND,
                "Search by name failed. Item ALPHA does not exist in the collection.");
    ExpectError(f.byName(coll, nullptr, &out), ZAVCONFIG_ERROR_NOT_FOUND,
                "Search by name failed. Item  does not exist in the collection.");
  }
  // The new item is named before the collection handle is looked up.
  ExpectError(f.create(0, "", &out), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  ExpectError(f.create(coll, nullptr, &out), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  ExpectError(f.create(coll, "Alpha", &out), ZAVCONFIG_ERROR_ALREADY_EXISTS,
              std::string("Add failed. Item ") + (apiKey ? "(Alpha,T,0,0)" : "Alpha") +
                  " already exists in the collection.");
  ExpectNoHandle(f.create(kBogusHandle, "Gamma", &out));
  ExpectNullOutput(f.create(coll, "Gamma", nullptr));
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(f.count, coll), 3);

  ExpectError(f.destroy(foreign, alpha), ZAVCONFIG_ERROR_NOT_FOUND,
              "Remove failed. Item does not exist in the collection.");
  ExpectNoHandle(f.destroy(kBogusHandle, alpha));
  ExpectNoHandle(f.destroy(coll, kBogusHandle));
  // Destroy removes the item, releases the handle passed, and later items move up.
  ExpectOk(f.destroy(coll, beta));
  ExpectError(ZavConfig_DisposeHandle(beta), ZAVCONFIG_ERROR_INVALID_HANDLE, kDisposeInvalid);
  EXPECT_EQ(CountOf(f.count, coll), 2);
  EXPECT_EQ(nameAt(1), "Alpha");
  EXPECT_EQ(GetString(f.get, alpha, 1), "Alpha");
  ExpectOk(ZavConfig_Close(otherStore));
  ExpectOk(ZavConfig_Close(store));
}

TEST_F(ApiItems, CollectionFamiliesBehaveAlike) {
  for (const Family& family : kFamilies) {
    SCOPED_TRACE(family.kind);
    CheckFamily(family);
  }
}

TEST_F(ApiItems, ReferencedItemsCannotBeDestroyed) {
  const ViSession sessions = Sessions(store_), assets = HardwareAssets(store_);
  const ViSession apis = PublishedAPIs(store_);
  const ViSession session = Issue(ZavConfig_CreateSession, sessions, "S");
  const ViSession logical = CreateLogicalName(store_, "L");
  ExpectOk(ZavConfig_SetLogicalNameSessionReference(logical, session));
  ExpectError(ZavConfig_DestroySession(sessions, session), ZAVCONFIG_ERROR_HAS_REFERENCES,
              kReferenced);
  ExpectOk(ZavConfig_SetLogicalNameSessionReference(logical, 0));
  const ViSession asset = Issue(ZavConfig_CreateHardwareAsset, assets, "Hw");
  ExpectOk(ZavConfig_SetSessionHardwareAssetReference(session, asset));
  ExpectError(ZavConfig_DestroyHardwareAsset(assets, asset), ZAVCONFIG_ERROR_HAS_REFERENCES,
              kReferenced);
  const ViSession api = Issue(ZavConfig_CreatePublishedAPI, apis, "Api", "C");
  Issue(ZavConfig_CreateAPIReference, DataComponentsOf(session), "Ref", api);
  ExpectError(ZavConfig_DestroyPublishedAPI(apis, api), ZAVCONFIG_ERROR_HAS_REFERENCES,
              kReferenced);
  // Destroying the session releases what it referred to.
  ExpectOk(ZavConfig_DestroySession(sessions, session));
  ExpectOk(ZavConfig_DestroyHardwareAsset(assets, asset));
  ExpectOk(ZavConfig_DestroyPublishedAPI(apis, api));
}

TEST_F(ApiItems, ReferenceGettersAndSetters) {
  const ViSession session = CreateSession(store_, "S"), driver = CreateDriverSession(store_, "D");
  const ViSession logical = CreateLogicalName(store_, "L"),
                  asset = CreateHardwareAsset(store_, "Hw");
  const ViSession module = CreateSoftwareModule(store_, "Drv");
  struct Ref {
    ViSession item;
    HandleGetter get;
    ViStatus (*set)(ViSession, ViSession);
    ViSession target;
    StringGetter targetName;  // through the kind of handle the getter issues
    const char* expected;
  };
  const Ref refs[] = {
      {logical, ZavConfig_GetLogicalNameSessionReference, ZavConfig_SetLogicalNameSessionReference,
       session, ZavConfig_GetSessionPropertyViString, "S"},
      {logical, ZavConfig_GetLogicalNameSessionReference, ZavConfig_SetLogicalNameSessionReference,
       driver, ZavConfig_GetSessionPropertyViString, "D"},
      {session, ZavConfig_GetSessionHardwareAssetReference,
       ZavConfig_SetSessionHardwareAssetReference, asset,
       ZavConfig_GetHardwareAssetPropertyViString, "Hw"},
      {driver, ZavConfig_GetSessionHardwareAssetReference,
       ZavConfig_SetSessionHardwareAssetReference, asset,
       ZavConfig_GetHardwareAssetPropertyViString, "Hw"},
      {session, ZavConfig_GetSessionSoftwareModuleReference,
       ZavConfig_SetSessionSoftwareModuleReference, module,
       ZavConfig_GetSoftwareModulePropertyViString, "Drv"},
      {driver, ZavConfig_GetSessionSoftwareModuleReference,
       ZavConfig_SetSessionSoftwareModuleReference, module,
       ZavConfig_GetSoftwareModulePropertyViString, "Drv"},
  };
  for (const Ref& r : refs) {
    SCOPED_TRACE(std::string("reference to ") + r.expected);
    ViSession out = 77;
    ExpectOk(r.get(r.item, &out));
    EXPECT_EQ(out, 0u);  // empty: success and handle 0
    ExpectOk(r.set(r.item, r.target));
    EXPECT_EQ(GetString(r.targetName, Issue(r.get, r.item), 1), r.expected);
    // Failures leave the reference alone; a getter's output is 0 after a failure.
    ExpectNoHandle(r.set(r.item, kBogusHandle));
    ExpectNoHandle(r.set(r.item, r.item == logical ? asset : logical));
    ExpectNoHandle(r.set(kBogusHandle, r.target));
    ExpectNoHandle(r.get(kBogusHandle, &out));
    EXPECT_EQ(out, 0u);
    ExpectNullOutput(r.get(r.item, nullptr));
    EXPECT_EQ(GetString(r.targetName, Issue(r.get, r.item), 1), r.expected);
    ExpectOk(r.set(r.item, 0));
    out = 77;
    ExpectOk(r.get(r.item, &out));
    EXPECT_EQ(out, 0u);
  }
  // A logical name's driver session comes back as a session handle.
  ExpectOk(ZavConfig_SetLogicalNameSessionReference(logical, driver));
  ExpectNoHandle(ZavConfig_GetDriverSessionPropertyViString(
      Issue(ZavConfig_GetLogicalNameSessionReference, logical), 1, 0, nullptr));
  // The module reference sets the module name; removing the module unlinks but keeps the name.
  ExpectOk(ZavConfig_SetSessionSoftwareModuleReference(session, module));
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString, session, 3), "Drv");
  ExpectOk(ZavConfig_DestroySoftwareModule(SoftwareModules(store_), module));
  ViSession out = 77;
  ExpectOk(ZavConfig_GetSessionSoftwareModuleReference(session, &out));
  EXPECT_EQ(out, 0u);
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString, session, 3), "Drv");
}

TEST_F(ApiItems, DriverSessionsBelongToBothCollections) {
  const ViSession sessions = Sessions(store_), drivers = DriverSessions(store_);
  const ViSession driver = Issue(ZavConfig_CreateDriverSession, drivers, "Dev");
  const ViSession plain = Issue(ZavConfig_CreateSession, sessions, "Plain");
  EXPECT_EQ(CountOf(ZavConfig_GetSessionCount, sessions), 2);
  EXPECT_EQ(CountOf(ZavConfig_GetDriverSessionCount, drivers), 1);
  const ViSession asSession = Issue(ZavConfig_GetSessionItemByName, sessions, "Dev");
  ViSession out = 77;
  ExpectError(ZavConfig_GetDriverSessionItemByName(drivers, "Plain", &out),
              ZAVCONFIG_ERROR_NOT_FOUND,
              "Search by name failed. Item Plain does not exist in the collection.");
  ExpectNoHandle(ZavConfig_DestroyDriverSession(drivers, plain));
  // Both handles reach the same driver session wherever a session is accepted.
  ExpectOk(ZavConfig_SetSessionHardwareAssetReference(driver, CreateHardwareAsset(store_, "Hw")));
  EXPECT_EQ(GetString(ZavConfig_GetHardwareAssetPropertyViString,
                      Issue(ZavConfig_GetSessionHardwareAssetReference, asSession), 1),
            "Hw");
  Issue(ZavConfig_CreateVirtualName, Issue(ZavConfig_GetSessionVirtualNameCollection, driver), "In",
        "Ch");
  EXPECT_EQ(CountOf(ZavConfig_GetVirtualNameCount,
                    Issue(ZavConfig_GetSessionVirtualNameCollection, asSession)),
            1);
  // Renaming through the session handle renames in both collections and keeps the index.
  SetString(ZavConfig_SetSessionPropertyViString, asSession, 1, "Dev2");
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString,
                      Issue(ZavConfig_GetDriverSessionItemByIndex, drivers, 1), 1),
            "Dev2");
  Issue(ZavConfig_GetDriverSessionItemByName, drivers, "Dev2");
  // DestroySession takes a driver session handle and removes it from both collections.
  ExpectOk(ZavConfig_DestroySession(sessions, driver));
  ExpectError(ZavConfig_DisposeHandle(driver), ZAVCONFIG_ERROR_INVALID_HANDLE, kDisposeInvalid);
  EXPECT_EQ(CountOf(ZavConfig_GetSessionCount, sessions), 1);
  EXPECT_EQ(CountOf(ZavConfig_GetDriverSessionCount, drivers), 0);
  ExpectNoHandle(ZavConfig_GetSessionPropertyViString(asSession, 1, 0, nullptr));
}

TEST_F(ApiItems, PublishedApiReferencesOfAModule) {
  const ViSession apis = PublishedAPIs(store_);
  const ViSession api = Issue(ZavConfig_CreatePublishedAPI, apis, "Dmm", "C");
  ExpectOk(ZavConfig_SetPublishedAPIPropertyViInt32(api, 3, 1));
  const ViSession module = CreateSoftwareModule(store_, "Drv");
  const ViSession listed = Issue(ZavConfig_GetSoftwareModulePublishedAPICollection, module);
  ViSession out = 77;
  ExpectError(ZavConfig_CreatePublishedAPI(listed, "Other", "C", &out),
              ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION, "Not a global collection");
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetPublishedAPICount, apis), 1);

  ExpectOk(ZavConfig_AddPublishedAPIReference(listed, api));
  ExpectError(ZavConfig_AddPublishedAPIReference(listed, api), ZAVCONFIG_ERROR_ALREADY_EXISTS,
              "Add failed. Item (Dmm,C,1,0) already exists in the collection.");
  EXPECT_EQ(GetString(ZavConfig_GetPublishedAPIPropertyViString,
                      Issue(ZavConfig_GetPublishedAPIItemByIndex, listed, 1), 1),
            "Dmm");
  EXPECT_EQ(CountOf(ZavConfig_GetPublishedAPICount, listed), 1);
  ExpectError(ZavConfig_DestroyPublishedAPI(apis, api), ZAVCONFIG_ERROR_HAS_REFERENCES,
              kReferenced);
  ExpectNoHandle(ZavConfig_AddPublishedAPIReference(kBogusHandle, api));
  ExpectNoHandle(ZavConfig_AddPublishedAPIReference(listed, module));
  ExpectOk(ZavConfig_RemovePublishedAPIReference(listed, api));
  ExpectError(ZavConfig_RemovePublishedAPIReference(listed, api), ZAVCONFIG_ERROR_NOT_FOUND,
              "Remove failed. Item does not exist in the collection.");
  EXPECT_EQ(CountOf(ZavConfig_GetPublishedAPICount, listed), 0);

  ViSession other = 0;
  AssertOk(ZavConfig_Initialize(&other));
  const ViSession foreign = CreatePublishedAPI(other, "Scope", "C");
  ExpectError(ZavConfig_AddPublishedAPIReference(listed, foreign), ZAVCONFIG_ERROR_ALREADY_EXISTS,
              "Add failed. (Scope,C,0,0) is already added to another configuration store.");
  ExpectError(ZavConfig_RemovePublishedAPIReference(listed, foreign), ZAVCONFIG_ERROR_NOT_FOUND,
              "Remove failed. (Scope,C,0,0) is not added to this configuration store.");
  ExpectOk(ZavConfig_Close(other));
  ExpectOk(ZavConfig_DestroyPublishedAPI(apis, api));
}

TEST_F(ApiItems, PhysicalAndVirtualNameRules) {
  const std::string charset =
      " must consist of one or more of the following: 'a'-'z', 'A'-'Z', '0'-'9', '!', or '_'";
  const ViSession physNames = PhysicalNamesOfNewModule(store_);
  ViSession out = 77;
  for (const char* bad : {"Ch 1", "Ch-1", "Ch.1", "Ch\xC3\xA9"})
    ExpectError(ZavConfig_CreatePhysicalName(physNames, bad, "Rc", &out),
                ZAVCONFIG_ERROR_INVALID_VALUE,
                "Set failed. The name of a physical name item" + charset);
  ExpectError(ZavConfig_CreatePhysicalName(physNames, "Ch", nullptr, &out),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. The rcName property of the item cannot be empty.");
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetPhysicalNameCount, physNames), 0);
  Issue(ZavConfig_CreatePhysicalName, physNames, "Ch_1!", "Ch");
  const ViSession virtNames = VirtualNamesOfNewSession(store_);
  ExpectError(ZavConfig_CreateVirtualName(virtNames, "In put", "Ch", &out),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. The name of a virtual name item" + charset);
  ExpectError(ZavConfig_CreateVirtualName(virtNames, "Input", "", &out),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. The mapTo property of the item cannot be empty.");
  EXPECT_EQ(CountOf(ZavConfig_GetVirtualNameCount, virtNames), 0);
}

}  // namespace
}  // namespace zavapi
