// Data component functions: the collections of configuration components and structures,
// creating each kind, the typed property functions with their ID and kind checks, API references
// and the UsedInSession rules of hardware assets.
#include <functional>
#include <set>

#include "api_fixtures.h"

namespace zavapi {
namespace {

const std::string kUsedInSession = "ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION property.";
const std::string kOnlyNone =
    " Data component items in a hardware asset's datacomponent collection can only have the "
    "value 'None'";

enum class Dc { Boolean, Integer, Real, String, Structure, APIReference };

class ApiDataComponent : public ApiTest {
 protected:
  void SetUp() override {
    ApiTest::SetUp();
    api_ = CreatePublishedAPI(store_, "Dmm", "C");
    components_ = DataComponentsOf(CreateSession(store_, "Owner"));
  }
  ViSession Make(Dc kind, const std::string& name) {
    const char* n = name.c_str();
    if (kind == Dc::Structure) return Issue(ZavConfig_CreateStructure, components_, n, 1, "M");
    if (kind == Dc::APIReference) return Issue(ZavConfig_CreateAPIReference, components_, n, api_);
    return CreateDataComponent(components_, static_cast<ViInt32>(kind) + 1, n);
  }
  static std::string Text(ViSession component, ViAttr id) {
    return GetString(ZavConfig_GetDataComponentPropertyViString, component, id);
  }
  ViSession api_ = 0;
  ViSession components_ = 0;  // the data components of a session
};

TEST_F(ApiDataComponent, CollectionsOfConfigurationComponents) {
  const ViSession driver = CreateDriverSession(store_, "Dev");
  const ViSession asSession = Issue(ZavConfig_GetSessionItemByName, Sessions(store_), "Dev");
  for (ViSession owner : {CreateHardwareAsset(store_, "Hw"), driver, asSession,
                          CreateSession(store_, "S"), CreateSoftwareModule(store_, "Drv")})
    CreateDataComponent(DataComponentsOf(owner), 1, ("B" + std::to_string(owner)).c_str());
  // The session handle and the driver session handle reached the same collection.
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, DataComponentsOf(driver)), 2);
  ViSession out = 77;
  ExpectError(
      ZavConfig_GetConfigComponentDataComponentCollection(CreateLogicalName(store_, "L"), &out),
      ZAVCONFIG_ERROR_INVALID_HANDLE,
      "ZavConfig_GetConfigComponentDataComponentCollection: ConfigComponentHandle is not a valid "
      "ConfigComponent handle.");
  EXPECT_EQ(out, 77u);
}

TEST_F(ApiDataComponent, CreateEachKind) {
  const char* types[] = {"Boolean", "Integer", "Real", "String", "Structure", "APIReference"};
  for (int kind = 0; kind < 6; ++kind) {
    const ViSession component = Make(static_cast<Dc>(kind), types[kind]);
    EXPECT_EQ(Text(component, 7), types[kind]);
    EXPECT_EQ(Text(component, 8), kind == 5 ? "Optional" : "None");
  }
  ViSession out = 77;
  for (ViInt32 bad : {0, 5, 6, -1})
    ExpectError(ZavConfig_CreateDataComponent(components_, bad, "X", &out),
                ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                "ZavConfig_CreateDataComponent: Invalid value for DataComponentType parameter.");
  // The kind, then the name, then the collection handle.
  ExpectError(ZavConfig_CreateDataComponent(0, 2, "", &out), ZAVCONFIG_ERROR_INVALID_VALUE,
              kEmptyName);
  ExpectError(ZavConfig_CreateDataComponent(components_, 2, "Real", &out),
              ZAVCONFIG_ERROR_ALREADY_EXISTS,
              "Add failed. Item Real already exists in the collection.");
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, components_), 6);
}

TEST_F(ApiDataComponent, StructuresKeepAtLeastOneMember) {
  const ViSession structure = Issue(ZavConfig_CreateStructure, components_, "Settings", 2, "Count");
  const ViSession members = Issue(ZavConfig_GetStructureDataComponentCollection, structure);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, members), 1);
  const ViSession first = Issue(ZavConfig_GetDataComponentItemByIndex, members, 1);
  EXPECT_EQ(Text(first, 1), "Count");
  EXPECT_EQ(Text(first, 7), "Integer");
  ExpectError(ZavConfig_DestroyDataComponent(members, first), ZAVCONFIG_ERROR_INVALID_VALUE,
              "Remove failed. An ZavStructure data component must contain at least one item.");
  CreateDataComponent(members, 4, "Mode");
  ExpectOk(ZavConfig_DestroyDataComponent(members, first));
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, members), 1);

  ViSession out = 77;
  for (ViInt32 bad : {0, 5})
    ExpectError(ZavConfig_CreateStructure(components_, "Other", bad, "M", &out),
                ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                "ZavConfig_CreateStructure: Invalid value for NewDataComponentType parameter.");
  ExpectError(ZavConfig_CreateStructure(components_, "Other", 1, "", &out),
              ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  ExpectError(ZavConfig_GetStructureDataComponentCollection(Make(Dc::String, "Str"), &out),
              ZAVCONFIG_ERROR_INVALID_HANDLE,
              "ZavConfig_GetStructureDataComponentCollection: DataComponentHandle parameter is "
              "not a valid ZavStructure datacomponent.");
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, components_), 2);
}

TEST_F(ApiDataComponent, ApiReferences) {
  ViSession out = 77;
  ExpectNoHandle(ZavConfig_CreateAPIReference(components_, "R", 0, &out));
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, components_), 0);

  const ViSession reference = Make(Dc::APIReference, "R");
  SetString(ZavConfig_SetDataComponentPropertyViString, reference, 9, "abc");
  EXPECT_EQ(Text(reference, 9), "abc");  // its Value, not the published API
  auto referencedName = [&] {
    return GetString(ZavConfig_GetPublishedAPIPropertyViString,
                     Issue(ZavConfig_GetAPIReferencePublishedAPIReference, reference), 1);
  };
  EXPECT_EQ(referencedName(), "Dmm");
  const ViSession scope = CreatePublishedAPI(store_, "Scope", "C");
  ExpectOk(ZavConfig_SetAPIReferencePublishedAPIReference(reference, scope));
  EXPECT_EQ(referencedName(), "Scope");
  ExpectError(ZavConfig_SetAPIReferencePublishedAPIReference(reference, 0),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. The published API reference cannot be set to NULL.");
  ExpectNoHandle(ZavConfig_SetAPIReferencePublishedAPIReference(reference, components_));
  EXPECT_EQ(referencedName(), "Scope");
  // The reference moved: the first API can go, the second cannot.
  ExpectOk(ZavConfig_DestroyPublishedAPI(PublishedAPIs(store_), api_));
  ExpectError(ZavConfig_DestroyPublishedAPI(PublishedAPIs(store_), scope),
              ZAVCONFIG_ERROR_HAS_REFERENCES,
              "Remove failed. Item has references from other items.");

  const std::string notReference =
      ": ApiReferenceHandle parameter is not a valid ZavAPIReference datacomponent.";
  const ViSession plain = Make(Dc::String, "Plain");
  ExpectError(ZavConfig_GetAPIReferencePublishedAPIReference(plain, &out),
              ZAVCONFIG_ERROR_INVALID_HANDLE,
              "ZavConfig_GetAPIReferencePublishedAPIReference" + notReference);
  ExpectError(ZavConfig_SetAPIReferencePublishedAPIReference(plain, scope),
              ZAVCONFIG_ERROR_INVALID_HANDLE,
              "ZavConfig_SetAPIReferencePublishedAPIReference" + notReference);
  ExpectError(ZavConfig_SetDataComponentPropertyViString(reference, 8, "None"),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. The UsedInSession property of published API reference item cannot be "
              "set to 'None'.");
}

TEST_F(ApiDataComponent, TypedPropertyFunctionsCheckIdThenKind) {
  ViBoolean b = 0;
  ViInt32 i = 0;
  ViReal64 r = 0;
  char text[64];
  struct Fn {  // one typed property function and the IDs it accepts
    const char* name;
    std::function<ViStatus(ViSession, ViAttr)> call;
    std::set<ViAttr> ids;
  };
  const Fn fns[] = {
      {"ZavConfig_GetDataComponentPropertyViBoolean",
       [&](ViSession h, ViAttr id) {
         return ZavConfig_GetDataComponentPropertyViBoolean(h, id, &b);
       },
       {5, 9}},
      {"ZavConfig_SetDataComponentPropertyViBoolean",
       [](ViSession h, ViAttr id) { return ZavConfig_SetDataComponentPropertyViBoolean(h, id, 1); },
       {5, 9}},
      {"ZavConfig_GetDataComponentPropertyViInt32",
       [&](ViSession h, ViAttr id) { return ZavConfig_GetDataComponentPropertyViInt32(h, id, &i); },
       {3, 9}},
      {"ZavConfig_SetDataComponentPropertyViInt32",
       [](ViSession h, ViAttr id) { return ZavConfig_SetDataComponentPropertyViInt32(h, id, -3); },
       {3, 9}},
      {"ZavConfig_GetDataComponentPropertyViReal64",
       [&](ViSession h, ViAttr id) {
         return ZavConfig_GetDataComponentPropertyViReal64(h, id, &r);
       },
       {9}},
      {"ZavConfig_SetDataComponentPropertyViReal64",
       [](ViSession h, ViAttr id) {
         return ZavConfig_SetDataComponentPropertyViReal64(h, id, 1.5);
       },
       {9}},
      {"ZavConfig_GetDataComponentPropertyViString",
       [&](ViSession h, ViAttr id) {
         return ZavConfig_GetDataComponentPropertyViString(h, id, sizeof text, text);
       },
       {1, 2, 4, 6, 7, 8, 9, 10}},
      {"ZavConfig_SetDataComponentPropertyViString",
       [](ViSession h, ViAttr id) {  // a fresh name per component; a value every kind takes
         const std::string value = id == 8 ? "Required" : "N" + std::to_string(h);
         return ZavConfig_SetDataComponentPropertyViString(h, id, value.c_str());
       },
       {1, 2, 4, 6, 8, 9, 10}},
  };
  // IDs 9 and 10 by kind, with the message for every other kind.
  struct KindRule {
    int fn;
    ViAttr id;
    std::set<Dc> kinds;
    std::string message;
  };
  auto notOf = [&fns](int fn, const std::string& type) {
    return std::string(fns[fn].name) + ": DataComponentHandle parameter is not " + type;
  };
  const std::string setter = "ZavConfig_SetDataComponentPropertyViString (ZAVCONFIG_VAL_";
  const KindRule rules[] = {
      {0, 9, {Dc::Boolean}, notOf(0, "of type ZavBoolean.")},
      {1, 9, {Dc::Boolean}, notOf(1, "of type ZavBoolean.")},
      {2, 9, {Dc::Integer}, notOf(2, "of type ZavInteger.")},
      {3, 9, {Dc::Integer}, notOf(3, "of type ZavInteger.")},
      {4, 9, {Dc::Real}, notOf(4, "of type ZavReal.")},
      {5, 9, {Dc::Real}, notOf(5, "of type ZavReal.")},
      {6,
       9,
       {Dc::String, Dc::APIReference},
       "ZavConfiguration Server: " + notOf(6, "a valid ZavString type")},
      {6, 10, {Dc::Real, Dc::Integer}, notOf(6, "of type ZavString.")},
      {7,
       9,
       {Dc::String, Dc::APIReference},
       setter +
           "DATA_COMPONENT_VALUE): DataComponentHandle parameter is not of type ZavAPIReference."},
      {7,
       10,
       {Dc::Real, Dc::Integer},
       setter + "DATA_COMPONENT_UNITS): DataComponentHandle parameter is not of type ZavReal or "
                "ZavInteger."},
  };
  for (int kind = 0; kind < 6; ++kind) {
    const ViSession component = Make(static_cast<Dc>(kind), "C" + std::to_string(kind));
    SCOPED_TRACE("component " + Text(component, 7));
    for (const Fn& fn : fns) {
      for (ViAttr id = 0; id <= 11; ++id) {
        SCOPED_TRACE(std::string(fn.name) + " ID " + std::to_string(id));
        if (fn.ids.count(id) == 0) {
          ExpectBadId(fn.call(component, id), fn.name);  // whatever the kind
        } else if (id != 9 && id != 10) {
          ExpectOk(fn.call(component, id));  // every kind has these
        }
      }
    }
    for (const KindRule& rule : rules) {
      SCOPED_TRACE(std::string(fns[rule.fn].name) + " ID " + std::to_string(rule.id));
      if (rule.kinds.count(static_cast<Dc>(kind))) {
        ExpectOk(fns[rule.fn].call(component, rule.id));
      } else {
        ExpectError(fns[rule.fn].call(component, rule.id), ZAVCONFIG_ERROR_INVALID_HANDLE,
                    rule.message);
      }
    }
  }
  ExpectNoHandle(fns[2].call(0, 99));
  ExpectNullOutput(ZavConfig_GetDataComponentPropertyViBoolean(0, 99, nullptr));
}

TEST_F(ApiDataComponent, ValuesAndCommonPropertiesRoundTrip) {
  const ViSession flag = Make(Dc::Boolean, "Flag"), count = Make(Dc::Integer, "Count");
  const ViSession gain = Make(Dc::Real, "Gain"), mode = Make(Dc::String, "Mode");
  ViBoolean b = 7, readOnly = 7;
  ViInt32 i = 7, help = 7;
  ViReal64 r = 7;
  ExpectOk(ZavConfig_GetDataComponentPropertyViBoolean(flag, 9, &b));
  ExpectOk(ZavConfig_GetDataComponentPropertyViInt32(count, 9, &i));
  ExpectOk(ZavConfig_GetDataComponentPropertyViReal64(gain, 9, &r));
  EXPECT_EQ(b, VI_FALSE);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(r, 0.0);
  EXPECT_EQ(Text(mode, 9), "");

  ExpectOk(ZavConfig_SetDataComponentPropertyViBoolean(flag, 9, 2));
  ExpectOk(ZavConfig_SetDataComponentPropertyViBoolean(flag, 5, 2));
  ExpectOk(ZavConfig_SetDataComponentPropertyViInt32(count, 9, -2147483647 - 1));
  ExpectOk(ZavConfig_SetDataComponentPropertyViInt32(count, 3, -1));
  ExpectOk(ZavConfig_SetDataComponentPropertyViReal64(gain, 9, 2.5e-7));
  ExpectOk(ZavConfig_GetDataComponentPropertyViBoolean(flag, 9, &b));
  ExpectOk(ZavConfig_GetDataComponentPropertyViBoolean(flag, 5, &readOnly));
  ExpectOk(ZavConfig_GetDataComponentPropertyViInt32(count, 9, &i));
  ExpectOk(ZavConfig_GetDataComponentPropertyViInt32(count, 3, &help));
  ExpectOk(ZavConfig_GetDataComponentPropertyViReal64(gain, 9, &r));
  EXPECT_EQ(b, VI_TRUE);
  EXPECT_EQ(readOnly, VI_TRUE);
  EXPECT_EQ(i, -2147483647 - 1);
  EXPECT_EQ(help, -1);
  EXPECT_EQ(r, 2.5e-7);

  const std::pair<ViSession, ViAttr> strings[] = {{count, 10}, {gain, 10}, {mode, 9},
                                                  {mode, 2},   {mode, 4},  {mode, 6}};
  for (const auto& [component, id] : strings)
    SetString(ZavConfig_SetDataComponentPropertyViString, component, id,
              "text " + std::to_string(component) + "/" + std::to_string(id));
  for (const auto& [component, id] : strings)
    EXPECT_EQ(Text(component, id), "text " + std::to_string(component) + "/" + std::to_string(id));
  ExpectOk(ZavConfig_SetDataComponentPropertyViString(mode, 9, nullptr));
  EXPECT_EQ(Text(mode, 9), "");
  SetString(ZavConfig_SetDataComponentPropertyViString, mode, 1, "Renamed");
  Issue(ZavConfig_GetDataComponentItemByName, components_, "Renamed");
  // UsedInSession: three values in any letter case, stored as given.
  SetString(ZavConfig_SetDataComponentPropertyViString, mode, 8, "required");
  EXPECT_EQ(Text(mode, 8), "required");
  ExpectError(ZavConfig_SetDataComponentPropertyViString(mode, 8, "Sometimes"),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. Invalid value 'Sometimes' for the " + kUsedInSession);
  EXPECT_EQ(Text(mode, 8), "required");
}

TEST_F(ApiDataComponent, HardwareAssetComponentsAreNotUsedInSessions) {
  const ViSession collection = DataComponentsOf(CreateHardwareAsset(store_, "Hw"));
  const ViSession serial = CreateDataComponent(collection, 4, "SN");
  ExpectError(ZavConfig_SetDataComponentPropertyViString(serial, 8, "Optional"),
              ZAVCONFIG_ERROR_INVALID_VALUE,
              "Set failed. Invalid value 'Optional' for the " + kUsedInSession + kOnlyNone);
  SetString(ZavConfig_SetDataComponentPropertyViString, serial, 8, "NONE");
  EXPECT_EQ(Text(serial, 8), "NONE");
  // A new API reference is "Optional": it cannot join a hardware asset.
  ViSession out = 77;
  ExpectError(ZavConfig_CreateAPIReference(collection, "R", api_, &out),
              ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
              "Add failed. Invalid value 'Optional' for the " + kUsedInSession + kOnlyNone);
  EXPECT_EQ(out, 77u);
  EXPECT_EQ(CountOf(ZavConfig_GetDataComponentCount, collection), 1);
  // Only the asset's own components are restricted, not the members of a structure in it.
  const ViSession structure = Issue(ZavConfig_CreateStructure, collection, "St", 1, "M");
  const ViSession member =
      Issue(ZavConfig_GetDataComponentItemByIndex,
            Issue(ZavConfig_GetStructureDataComponentCollection, structure), 1);
  SetString(ZavConfig_SetDataComponentPropertyViString, member, 8, "Optional");
  EXPECT_EQ(Text(member, 8), "Optional");
}

}  // namespace
}  // namespace zavapi
