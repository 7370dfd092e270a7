// SPDX-License-Identifier: MIT
// Collection and item families over every kind, handles of one kind refused by every other kind,
// references between items, driver sessions reached as sessions, and module API references.
#include <tuple>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiItems : public ApiTest {};

// Each kind in a store of its own, through the kind's own functions: a wrong table or collection
// behind any of them fails here, and so does a table that takes handles of another kind.
TEST_F(ApiItems, EveryKindRunsItsFamily) {
  for (const Kind& k : kKinds) {
    SCOPED_TRACE(k.name);
    ViSession store = 0, out = 77, beta = 0, alpha = 0;
    AssertOk(ZavConfig_Initialize(&store));
    const ViSession coll = k.collection(store);
    ExpectOk(k.create(coll, "Beta", &beta));
    ExpectOk(k.create(coll, "Alpha", &alpha));
    EXPECT_EQ(Count(k.count, coll), 2);
    const ViSession again = Issue(k.byIndex, coll, 2);
    EXPECT_NE(again, alpha);
    EXPECT_EQ(Text(k.get, again, 1), "Alpha");
    if (k.byName) {
      EXPECT_EQ(Text(k.get, Issue(k.byName, coll, "Beta"), 1), "Beta");
      ExpectError(k.byName(coll, nullptr, &out), ZAVCONFIG_ERROR_NOT_FOUND,
                  "Search by name failed. Item  does not exist in the collection.");
    }
    ExpectError(k.create(0, "", &out), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
    ExpectError(k.create(coll, nullptr, &out), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
    ExpectNoHandle(k.create(kBogus, "Gamma", &out));
    ExpectNoHandle(k.byIndex(store, 1, &out));  // handles of other kinds are unknown
    ExpectNoHandle(k.get(coll, 1, 0, nullptr));
    EXPECT_EQ(out, 77u);
    ExpectNoHandle(k.destroy(kBogus, alpha));
    ExpectNoHandle(k.destroy(coll, kBogus));
    ExpectOk(k.destroy(coll, beta));
    ExpectError(ZavConfig_DisposeHandle(beta), ZAVCONFIG_ERROR_INVALID_HANDLE, kDisposeInvalid);
    EXPECT_EQ(Count(k.count, coll), 1);
    for (ViSession handle : {again, alpha, coll}) ExpectOk(ZavConfig_DisposeHandle(handle));
    ExpectOk(ZavConfig_Close(store));
  }
}

TEST_F(ApiItems, ReferencesIssueHandlesOfTheirTargetKind) {
  const ViSession session = Make(store_, kSession), driver = Make(store_, kDriver);
  const ViSession logical = Make(store_, kLogical), asset = Make(store_, kAsset);
  const ViSession module = Make(store_, kModule);
#define REF(item, Ref, target, Kind)                                                 \
  {item, target, ZavConfig_Get##Ref##Reference, ZavConfig_Set##Ref##Reference,       \
   ZavConfig_Get##Kind##PropertyViString}
  using Ref = std::tuple<ViSession, ViSession, HandleGetter, ViStatus (*)(ViSession, ViSession),
                         StringGetter>;
  const Ref refs[] = {REF(logical, LogicalNameSession, session, Session),
                      REF(logical, LogicalNameSession, driver, Session),
                      REF(session, SessionHardwareAsset, asset, HardwareAsset),
                      REF(driver, SessionHardwareAsset, asset, HardwareAsset),
                      REF(session, SessionSoftwareModule, module, SoftwareModule),
                      REF(driver, SessionSoftwareModule, module, SoftwareModule)};
  for (const auto& [item, target, get, set, name] : refs) {
    SCOPED_TRACE("reference to " + Text(name, target, 1));
    ViSession out = 77;
    ExpectOk(set(item, target));
    EXPECT_EQ(Text(name, Issue(get, item), 1), Text(name, target, 1));
    ExpectNoHandle(set(item, item == logical ? asset : logical));
    ExpectNoHandle(set(kBogus, 0));
    ExpectNoHandle(get(kBogus, &out));
    EXPECT_EQ(out, 0u);
    ExpectOk(set(item, 0));
    ExpectOk(get(item, &(out = 77)));
    EXPECT_EQ(out, 0u);
  }
}

// Driver sessions reached through session handles; a logical name owns no data components.
TEST_F(ApiItems, SessionFunctionsTakeDriverSessionHandles) {
  const ViSession sessions = kKinds[kSession].collection(store_), driver = Make(store_, kDriver);
  const ViSession asSession = Issue(ZavConfig_GetSessionItemByIndex, sessions, 1);
  ViSession out = 77;
  ExpectNoHandle(ZavConfig_DestroyDriverSession(kKinds[kDriver].collection(store_), asSession));
  Issue(CreateVirtual, Issue(ZavConfig_GetSessionVirtualNameCollection, driver), "In");
  EXPECT_EQ(Count(ZavConfig_GetVirtualNameCount,
                  Issue(ZavConfig_GetSessionVirtualNameCollection, asSession)), 1);
  for (ViSession owner : {driver, Make(store_, kAsset)})
    Issue(CreateString, Issue(ZavConfig_GetConfigComponentDataComponentCollection, owner), "C");
  EXPECT_EQ(Count(ZavConfig_GetDataComponentCount,
                  Issue(ZavConfig_GetConfigComponentDataComponentCollection, asSession)), 1);
  ExpectError(ZavConfig_GetConfigComponentDataComponentCollection(Make(store_, kLogical), &out),
              ZAVCONFIG_ERROR_INVALID_HANDLE,
              "ZavConfig_GetConfigComponentDataComponentCollection: ConfigComponentHandle is not a "
              "valid ConfigComponent handle.");
  EXPECT_EQ(out, 77u);
  ExpectOk(ZavConfig_DestroySession(sessions, driver));
  ExpectError(ZavConfig_DisposeHandle(driver), ZAVCONFIG_ERROR_INVALID_HANDLE, kDisposeInvalid);
}

TEST_F(ApiItems, ModulesListPublishedApisOfTheStore) {
  const ViSession api = Make(store_, kApi), module = Make(store_, kModule);
  const ViSession listed = Issue(ZavConfig_GetSoftwareModulePublishedAPICollection, module);
  ViSession out = 77;
  ExpectError(CreateApi(listed, "Other", &out), ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION,
              "Not a global collection");
  for (auto change : {ZavConfig_AddPublishedAPIReference, ZavConfig_RemovePublishedAPIReference}) {
    ExpectNoHandle(change(kBogus, api));
    ExpectNoHandle(change(listed, listed));
    ExpectOk(change(listed, api));
    EXPECT_EQ(Count(ZavConfig_GetPublishedAPICount, listed),
              change == ZavConfig_AddPublishedAPIReference ? 1 : 0);
  }
}

}  // namespace
}  // namespace zavapi
