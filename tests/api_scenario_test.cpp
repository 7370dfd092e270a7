// SPDX-License-Identifier: MIT
// What callers do: a configuration utility builds and saves a store; a driver then opens a fresh
// store from that file, resolves its logical name and reads what it needs.
#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiScenario : public ApiFileTest {};

void BuildBenchStore(ViSession store) {
  const ViSession api = Issue(CreateApi, kKinds[kApi].collection(store), "ZavDmm");
  const ViSession module =
      Issue(ZavConfig_CreateSoftwareModule, kKinds[kModule].collection(store), "SampleDmm");
  ExpectOk(ZavConfig_SetSoftwareModulePropertyViString(module, 7, "/opt/zav/libdmm.so"));
  const ViSession settings = Issue(ZavConfig_GetConfigComponentDataComponentCollection, module);
  const ViSession timeout = Issue(ZavConfig_CreateDataComponent, settings, 2, "Timeout");
  const ViSession reference = Issue(ZavConfig_CreateAPIReference, settings, "Interface", api);
  for (ViSession required : {timeout, reference})
    ExpectOk(ZavConfig_SetDataComponentPropertyViString(required, 8, "Required"));
  ExpectOk(ZavConfig_SetDataComponentPropertyViInt32(timeout, 9, 5000));
  const ViSession asset =
      Issue(ZavConfig_CreateHardwareAsset, kKinds[kAsset].collection(store), "BenchDmm");
  ExpectOk(ZavConfig_SetHardwareAssetPropertyViString(asset, 3, "TCPIP0::10.0.0.5::INSTR"));
  const ViSession session =
      Issue(ZavConfig_CreateDriverSession, kKinds[kDriver].collection(store), "DmmSession");
  ExpectOk(ZavConfig_SetDriverSessionPropertyViString(session, 10, "Model=1000"));
  ExpectOk(ZavConfig_SetSessionHardwareAssetReference(session, asset));
  ExpectOk(ZavConfig_SetSessionSoftwareModuleReference(session, module));
  ExpectOk(ZavConfig_SetLogicalNameSessionReference(
      Issue(ZavConfig_CreateLogicalName, kKinds[kLogical].collection(store), "MyDmm"), session));
}

TEST_F(ApiScenario, UtilityWritesTheStoreAndADriverReadsIt) {
  BuildBenchStore(store_);
  const std::string location = dir_.File("stores/bench.xml");
  AssertOk(ZavConfig_Serialize(store_, location.c_str()));
  ViSession store = 0;
  AssertOk(ZavConfig_Initialize(&store));
  AssertOk(ZavConfig_Deserialize(store, location.c_str()));
  const ViSession session = Issue(ZavConfig_GetDriverSession, store, "MyDmm");
  EXPECT_EQ(Text(ZavConfig_GetDriverSessionPropertyViString, session, 10), "Model=1000");
  EXPECT_EQ(Text(ZavConfig_GetSoftwareModulePropertyViString,
                 Issue(ZavConfig_GetSessionSoftwareModuleReference, session), 3),
            "/opt/zav/libdmm.so");
  EXPECT_EQ(Text(ZavConfig_GetHardwareAssetPropertyViString,
                 Issue(ZavConfig_GetSessionHardwareAssetReference, session), 3),
            "TCPIP0::10.0.0.5::INSTR");
  // The session took over the settings its module requires.
  const ViSession settings = Issue(ZavConfig_GetConfigComponentDataComponentCollection, session);
  EXPECT_EQ(Count(ZavConfig_GetDataComponentCount, settings), 2);
  ViInt32 timeout = 0;
  ExpectOk(ZavConfig_GetDataComponentPropertyViInt32(
      Issue(ZavConfig_GetDataComponentItemByName, settings, "Timeout"), 9, &timeout));
  EXPECT_EQ(timeout, 5000);
  EXPECT_EQ(Text(ZavConfig_GetPublishedAPIPropertyViString,
                 Issue(ZavConfig_GetAPIReferencePublishedAPIReference,
                       Issue(ZavConfig_GetDataComponentItemByName, settings, "Interface")), 1),
            "ZavDmm");
  ExpectOk(ZavConfig_Close(store));
}

}  // namespace
}  // namespace zavapi
