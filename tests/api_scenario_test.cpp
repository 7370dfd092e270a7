// What callers really do: a configuration utility builds and saves a store; a driver then opens
// a fresh store from that file, resolves its logical name and reads everything it needs.
#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiScenario : public ApiFileTest {};

ViSession AddComponent(ViSession collection, ViInt32 kind, const char* name, const char* used) {
  const ViSession component = CreateDataComponent(collection, kind, name);
  SetString(ZavConfig_SetDataComponentPropertyViString, component, 8, used);
  return component;
}

// Builds the store a configuration utility writes for one bench DMM.
void BuildBenchStore(ViSession store) {
  const ViSession dmmApi = CreatePublishedAPI(store, "ZavDmm", "C");
  ExpectOk(ZavConfig_SetPublishedAPIPropertyViInt32(dmmApi, 3, 1));
  CreatePublishedAPI(store, "ZavScope", "C");

  const ViSession module = CreateSoftwareModule(store, "SampleDmm");
  SetString(ZavConfig_SetSoftwareModulePropertyViString, module, 7, "/opt/zav/libdmm.so");
  SetString(ZavConfig_SetSoftwareModulePropertyViString, module, 8, "/opt/zav/lib64/libdmm.so");
  SetString(ZavConfig_SetSoftwareModulePropertyViString, module, 4, "SampleDmm");
  ExpectOk(ZavConfig_AddPublishedAPIReference(
      Issue(ZavConfig_GetSoftwareModulePublishedAPICollection, module), dmmApi));
  const ViSession channel = Issue(ZavConfig_CreatePhysicalName,
                                  Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection, module),
                                  "Channel", "Channels");
  const ViSession channels =
      Issue(ZavConfig_CreatePhysicalRange,
            Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection, channel), "CH");
  ExpectOk(ZavConfig_SetPhysicalRangePropertyViInt32(channels, 2, 1));
  ExpectOk(ZavConfig_SetPhysicalRangePropertyViInt32(channels, 3, 4));
  Issue(ZavConfig_CreatePhysicalName,
        Issue(ZavConfig_GetPhysicalNameChildPhysicalNameCollection, channel), "Sense", "Sense");

  // The driver's settings: what a session takes over and what it does not.
  const ViSession settings = DataComponentsOf(module);
  const ViSession timeout = AddComponent(settings, 2, "Timeout", "Required");
  ExpectOk(ZavConfig_SetDataComponentPropertyViInt32(timeout, 9, 5000));
  ExpectOk(ZavConfig_SetDataComponentPropertyViBoolean(timeout, 5, VI_TRUE));
  SetString(ZavConfig_SetDataComponentPropertyViString, timeout, 10, "ms");
  AddComponent(settings, 1, "AutoZero", "Optional");
  AddComponent(settings, 4, "Function", "None");
  const ViSession api = Issue(ZavConfig_CreateAPIReference, settings, "Interface", dmmApi);
  SetString(ZavConfig_SetDataComponentPropertyViString, api, 8, "Required");
  const ViSession initial =
      Issue(ZavConfig_CreateStructure, settings, "Configurable Initial Settings", 3, "Range");
  const ViSession initialMembers = Issue(ZavConfig_GetStructureDataComponentCollection, initial);
  const ViSession range = Issue(ZavConfig_GetDataComponentItemByName, initialMembers, "Range");
  SetString(ZavConfig_SetDataComponentPropertyViString, range, 8, "Required");
  ExpectOk(ZavConfig_SetDataComponentPropertyViReal64(range, 9, 10.0));
  AddComponent(initialMembers, 1, "Trigger", "Optional");
  const ViSession other = Issue(ZavConfig_CreateStructure, settings, "Other", 2, "X");
  SetString(ZavConfig_SetDataComponentPropertyViString,
            Issue(ZavConfig_GetDataComponentItemByIndex,
                  Issue(ZavConfig_GetStructureDataComponentCollection, other), 1),
            8, "Required");

  const ViSession asset = CreateHardwareAsset(store, "BenchDmm");
  SetString(ZavConfig_SetHardwareAssetPropertyViString, asset, 3, "TCPIP0::10.0.0.5::INSTR");
  AddComponent(DataComponentsOf(asset), 4, "Serial", "None");

  const ViSession session = CreateDriverSession(store, "DmmSession");
  ExpectOk(ZavConfig_SetDriverSessionPropertyViBoolean(session, 9, VI_TRUE));
  ExpectOk(ZavConfig_SetDriverSessionPropertyViBoolean(session, 4, VI_TRUE));
  SetString(ZavConfig_SetDriverSessionPropertyViString, session, 10, "Model=1000");
  const ViSession input =
      Issue(ZavConfig_CreateVirtualName, Issue(ZavConfig_GetSessionVirtualNameCollection, session),
            "Input", "Channel");
  const ViSession inputs =
      Issue(ZavConfig_CreateVirtualRange,
            Issue(ZavConfig_GetVirtualNameVirtualRangeCollection, input), "Input");
  for (const auto& [id, value] : {std::pair<ViAttr, ViInt32>{2, 0}, {3, 3}, {4, 1}})
    ExpectOk(ZavConfig_SetVirtualRangePropertyViInt32(inputs, id, value));
  ExpectOk(ZavConfig_SetSessionHardwareAssetReference(session, asset));

  // Linking the module copies its required settings into the session.
  const ViSession own = DataComponentsOf(session);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, own), 0);
  ExpectOk(ZavConfig_SetSessionSoftwareModuleReference(session, module));
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString, session, 3), "SampleDmm");
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, own), 3);

  ExpectOk(ZavConfig_SetLogicalNameSessionReference(CreateLogicalName(store, "MyDmm"), session));
}

TEST_F(ApiScenario, UtilityWritesTheStoreAndADriverReadsIt) {
  BuildBenchStore(store_);
  const std::string location = dir_.File("stores/bench.xml");
  AssertOk(ZavConfig_Serialize(store_, location.c_str()));

  // The driver's side, in a store of its own; every handle it takes is disposed at the end.
  std::vector<ViSession> handles;
  auto keep = [&handles](ViSession handle) {
    handles.push_back(handle);
    return handle;
  };
  ViSession store = 0;
  AssertOk(ZavConfig_Initialize(&store));
  AssertOk(ZavConfig_Deserialize(store, location.c_str()));
  const ViSession session = keep(Issue(ZavConfig_GetDriverSession, store, "MyDmm"));
  ViBoolean flag = 0;
  ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(session, 9, &flag));
  EXPECT_EQ(flag, VI_TRUE);
  ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(session, 4, &flag));
  EXPECT_EQ(flag, VI_TRUE);
  ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(session, 7, &flag));
  EXPECT_EQ(flag, VI_FALSE);
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString, session, 10), "Model=1000");

  const ViSession module = keep(Issue(ZavConfig_GetSessionSoftwareModuleReference, session));
  EXPECT_EQ(GetString(ZavConfig_GetSoftwareModulePropertyViString, module, 3),
            "/opt/zav/libdmm.so");
  EXPECT_EQ(GetString(ZavConfig_GetSoftwareModulePropertyViString, module, 8),
            "/opt/zav/lib64/libdmm.so");
  const ViSession implemented =
      keep(Issue(ZavConfig_GetSoftwareModulePublishedAPICollection, module));
  EXPECT_EQ(CountOf(ZavConfig_GetPublishedAPICount, implemented), 1);
  const ViSession physNames =
      keep(Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection, module));
  const ViSession channel = keep(Issue(ZavConfig_GetPhysicalNameItemByName, physNames, "Channel"));
  EXPECT_EQ(GetString(ZavConfig_GetPhysicalNamePropertyViString, channel, 2), "Channels");
  const ViSession children =
      keep(Issue(ZavConfig_GetPhysicalNameChildPhysicalNameCollection, channel));
  keep(Issue(ZavConfig_GetPhysicalNameItemByName, children, "Sense"));
  const ViSession channelRange =
      keep(Issue(ZavConfig_GetPhysicalRangeItemByIndex,
                 keep(Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection, channel)), 1));
  ViInt32 number = 0;
  ExpectOk(ZavConfig_GetPhysicalRangePropertyViInt32(channelRange, 3, &number));
  EXPECT_EQ(number, 4);

  const ViSession asset = keep(Issue(ZavConfig_GetSessionHardwareAssetReference, session));
  EXPECT_EQ(GetString(ZavConfig_GetHardwareAssetPropertyViString, asset, 3),
            "TCPIP0::10.0.0.5::INSTR");

  const ViSession virtNames = keep(Issue(ZavConfig_GetSessionVirtualNameCollection, session));
  const ViSession input = keep(Issue(ZavConfig_GetVirtualNameItemByName, virtNames, "Input"));
  EXPECT_EQ(GetString(ZavConfig_GetVirtualNamePropertyViString, input, 2), "Channel");
  const ViSession inputRange =
      keep(Issue(ZavConfig_GetVirtualRangeItemByIndex,
                 keep(Issue(ZavConfig_GetVirtualNameVirtualRangeCollection, input)), 1));
  ExpectOk(ZavConfig_GetVirtualRangePropertyViInt32(inputRange, 4, &number));
  EXPECT_EQ(number, 1);

  // The settings the session took over from its module: required ones only, never read-only.
  const ViSession settings = keep(DataComponentsOf(session));
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, settings), 3);
  ViSession out = 0;
  for (const char* absent : {"AutoZero", "Function", "Other"}) {
    EXPECT_EQ(ZavConfig_GetDataComponentItemByName(settings, absent, &out),
              ZAVCONFIG_ERROR_NOT_FOUND)
        << absent;
  }
  const ViSession timeout = keep(Issue(ZavConfig_GetDataComponentItemByName, settings, "Timeout"));
  ExpectOk(ZavConfig_GetDataComponentPropertyViInt32(timeout, 9, &number));
  EXPECT_EQ(number, 5000);
  EXPECT_EQ(GetString(ZavConfig_GetDataComponentPropertyViString, timeout, 10), "ms");
  ExpectOk(ZavConfig_GetDataComponentPropertyViBoolean(timeout, 5, &flag));
  EXPECT_EQ(flag, VI_FALSE);
  const ViSession api = keep(Issue(ZavConfig_GetDataComponentItemByName, settings, "Interface"));
  const ViSession referenced = keep(Issue(ZavConfig_GetAPIReferencePublishedAPIReference, api));
  EXPECT_EQ(GetString(ZavConfig_GetPublishedAPIPropertyViString, referenced, 1), "ZavDmm");
  const ViSession initial =
      keep(Issue(ZavConfig_GetDataComponentItemByName, settings, "Configurable Initial Settings"));
  const ViSession initialMembers =
      keep(Issue(ZavConfig_GetStructureDataComponentCollection, initial));
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, initialMembers), 1);
  const ViSession range =
      keep(Issue(ZavConfig_GetDataComponentItemByName, initialMembers, "Range"));
  ViReal64 real = 0;
  ExpectOk(ZavConfig_GetDataComponentPropertyViReal64(range, 9, &real));
  EXPECT_EQ(real, 10.0);

  for (ViSession handle : handles) ExpectOk(ZavConfig_DisposeHandle(handle));
  ExpectOk(ZavConfig_Close(store));
}

}  // namespace
}  // namespace zavapi
