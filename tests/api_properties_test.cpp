// Property function families: every accepted ID through its getter and setter, the IDs each
// function refuses with its own name in the message, the handle looked up before the ID, and the
// setters' rules (names, keys, NULL values).
#include <algorithm>
#include <map>
#include <set>

#include "api_fixtures.h"

namespace zavapi {
namespace {

enum class Kind {
  LogicalName,
  Session,
  DriverSession,
  HardwareAsset,
  SoftwareModule,
  PublishedAPI,
  PhysicalName,
  PhysicalRange,
  VirtualName,
  VirtualRange
};

class ApiProperties : public ApiTest {
 protected:
  // A new item of the kind in the fixture's store, with a name of its own.
  ViSession Make(Kind kind) {
    const std::string name = "Item" + std::to_string(++made_);
    const char* n = name.c_str();
    switch (kind) {
      case Kind::LogicalName:
        return CreateLogicalName(store_, n);
      case Kind::Session:
        return CreateSession(store_, n);
      case Kind::DriverSession:
        return CreateDriverSession(store_, n);
      case Kind::HardwareAsset:
        return CreateHardwareAsset(store_, n);
      case Kind::SoftwareModule:
        return CreateSoftwareModule(store_, n);
      case Kind::PublishedAPI:
        return CreatePublishedAPI(store_, n, "C");
      case Kind::PhysicalName:
        return Issue(
            ZavConfig_CreatePhysicalName,
            Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection, Make(Kind::SoftwareModule)), n,
            "Rc");
      case Kind::PhysicalRange:
        return Issue(
            ZavConfig_CreatePhysicalRange,
            Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection, Make(Kind::PhysicalName)), n);
      case Kind::VirtualName:
        return Issue(ZavConfig_CreateVirtualName,
                     Issue(ZavConfig_GetSessionVirtualNameCollection, Make(Kind::Session)), n,
                     "Ch");
      case Kind::VirtualRange:
        return Issue(ZavConfig_CreateVirtualRange,
                     Issue(ZavConfig_GetVirtualNameVirtualRangeCollection, Make(Kind::VirtualName)),
                     n);
    }
    return 0;
  }
  int made_ = 0;
};

// One getter and setter pair: the IDs each accepts, and IDs that both refuse (0, the highest
// ID + 1, IDs of other types).
template <class Getter, class Setter>
struct Row {
  std::string getName;
  Getter get;
  std::string setName;
  Setter set;
  Kind kind;
  std::vector<ViAttr> getIds, setIds, refused;
};
// clang-format off
#define ROW(K, Type, getIds, setIds, refused)                                            \
  {"ZavConfig_Get" #K "Property" #Type, ZavConfig_Get##K##Property##Type,                \
   "ZavConfig_Set" #K "Property" #Type, ZavConfig_Set##K##Property##Type, Kind::K,       \
   getIds, setIds, refused}
// clang-format on
using V = std::vector<ViAttr>;

TEST_F(ApiProperties, StringPropertiesRoundTripAndRefuseOtherIds) {
  const Row<StringGetter, StringSetter> rows[] = {
      ROW(LogicalName, ViString, V({1, 2}), V({1, 2}), V({0, 3})),
      ROW(Session, ViString, V({1, 2, 3}), V({1, 2}), V({0, 4, 10})),
      ROW(DriverSession, ViString, V({1, 2, 3, 10}), V({1, 2, 10}), V({0, 4, 5, 9, 11})),
      ROW(HardwareAsset, ViString, V({1, 2, 3}), V({1, 2, 3}), V({0, 4})),
      ROW(SoftwareModule, ViString, V({1, 2, 3, 4, 5, 6, 7, 8, 9}), V({1, 2, 3, 4, 5, 6, 7, 8, 9}),
          V({0, 10})),
      ROW(PublishedAPI, ViString, V({1, 2}), V({1, 2}), V({0, 3, 4, 5})),
      ROW(PhysicalName, ViString, V({1, 2}), V({1, 2}), V({0, 3})),
      ROW(PhysicalRange, ViString, V({1}), V({1}), V({0, 2, 3, 4})),
      ROW(VirtualName, ViString, V({1, 2}), V({1, 2}), V({0, 3})),
      ROW(VirtualRange, ViString, V({1}), V({1}), V({0, 2, 3, 4, 5})),
  };
  int unique = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.getName);
    const ViSession item = Make(r.kind);
    std::map<ViAttr, std::string> expected;
    for (ViAttr id : r.setIds) {
      // Distinct values, valid in every field (physical and virtual names included).
      expected[id] = "V" + std::to_string(id) + "u" + std::to_string(++unique);
      SetString(r.set, item, id, expected[id]);
    }
    if (r.kind == Kind::SoftwareModule) expected[3] = expected[7];  // one field, two IDs
    for (ViAttr id : r.getIds) EXPECT_EQ(GetString(r.get, item, id), expected[id]) << "ID " << id;
    std::vector<ViAttr> refusedBySetter = r.refused;
    for (ViAttr id : r.getIds)
      if (std::find(r.setIds.begin(), r.setIds.end(), id) == r.setIds.end())
        refusedBySetter.push_back(id);  // read-only
    for (ViAttr id : r.refused) ExpectBadId(r.get(item, id, 0, nullptr), r.getName);
    for (ViAttr id : refusedBySetter) ExpectBadId(r.set(item, id, "V"), r.setName);
    // The handle is looked up before the ID is examined.
    ExpectNoHandle(r.get(0, 0, 0, nullptr));
    ExpectNoHandle(r.set(kBogusHandle, 0, "V"));
  }
}

TEST_F(ApiProperties, IntegerPropertiesRoundTripAndRefuseOtherIds) {
  using Getter = ViStatus (*)(ViSession, ViAttr, ViInt32*);
  using Setter = ViStatus (*)(ViSession, ViAttr, ViInt32);
  const Row<Getter, Setter> rows[] = {
      ROW(PublishedAPI, ViInt32, V({3, 4}), V({3, 4}), V({0, 1, 2, 5})),
      ROW(PhysicalRange, ViInt32, V({2, 3}), V({2, 3}), V({0, 1, 4})),
      ROW(VirtualRange, ViInt32, V({2, 3, 4}), V({2, 3, 4}), V({0, 1, 5})),
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.getName);
    const ViSession item = Make(r.kind);
    ViInt32 value = 0;
    for (ViAttr id : r.setIds) ExpectOk(r.set(item, id, -100 - static_cast<ViInt32>(id)));
    for (ViAttr id : r.getIds) {
      ExpectOk(r.get(item, id, &value));
      EXPECT_EQ(value, -100 - static_cast<ViInt32>(id)) << "ID " << id;
    }
    for (ViAttr id : r.refused) {
      ExpectBadId(r.get(item, id, &value), r.getName);
      ExpectBadId(r.set(item, id, 1), r.setName);
    }
    ExpectNoHandle(r.get(0, 0, &value));
    ExpectNoHandle(r.set(0, 0, 1));
    ExpectNullOutput(r.get(0, 0, nullptr));  // the output pointer comes first
  }
}

TEST_F(ApiProperties, DriverSessionBooleans) {
  const ViSession driver = Make(Kind::DriverSession);
  ViBoolean value = 7;
  for (ViAttr id = 4; id <= 9; ++id) {  // a new driver session has every option off
    ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(driver, id, &value));
    EXPECT_EQ(value, VI_FALSE) << "ID " << id;
  }
  // Each ID has a field of its own; any non-zero value is stored as true.
  for (ViAttr id = 4; id <= 9; ++id)
    ExpectOk(ZavConfig_SetDriverSessionPropertyViBoolean(driver, id, id % 2 ? 2 : 0));
  for (ViAttr id = 4; id <= 9; ++id) {
    ExpectOk(ZavConfig_GetDriverSessionPropertyViBoolean(driver, id, &value));
    EXPECT_EQ(value, id % 2 ? VI_TRUE : VI_FALSE) << "ID " << id;
  }
  for (ViAttr id : {0u, 1u, 2u, 3u, 10u}) {
    ExpectBadId(ZavConfig_GetDriverSessionPropertyViBoolean(driver, id, &value),
                "ZavConfig_GetDriverSessionPropertyViBoolean");
    ExpectBadId(ZavConfig_SetDriverSessionPropertyViBoolean(driver, id, 1),
                "ZavConfig_SetDriverSessionPropertyViBoolean");
  }
  ExpectNullOutput(ZavConfig_GetDriverSessionPropertyViBoolean(0, 0, nullptr));
  ExpectNoHandle(ZavConfig_SetDriverSessionPropertyViBoolean(0, 0, 1));
}

TEST_F(ApiProperties, SessionFunctionsTakeDriverSessionHandlesButNotTheReverse) {
  const ViSession driver = CreateDriverSession(store_, "Dev");
  const ViSession plain = CreateSession(store_, "Plain");
  SetString(ZavConfig_SetSessionPropertyViString, driver, 2, "via session");
  EXPECT_EQ(GetString(ZavConfig_GetDriverSessionPropertyViString, driver, 2), "via session");
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString, driver, 1), "Dev");
  ViBoolean value = 0;
  for (ViSession session :
       {plain, Issue(ZavConfig_GetSessionItemByName, Sessions(store_), "Dev")}) {
    ExpectNoHandle(ZavConfig_GetDriverSessionPropertyViString(session, 1, 0, nullptr));
    ExpectNoHandle(ZavConfig_GetDriverSessionPropertyViBoolean(session, 9, &value));
  }
  // ID 3 follows the software module reference.
  ExpectOk(ZavConfig_SetSessionSoftwareModuleReference(plain, CreateSoftwareModule(store_, "Drv")));
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString, plain, 3), "Drv");
  ExpectOk(ZavConfig_SetSessionSoftwareModuleReference(plain, 0));
  EXPECT_EQ(GetString(ZavConfig_GetSessionPropertyViString, plain, 3), "");
}

TEST_F(ApiProperties, NamesAndKeysStayUnique) {
  const ViSession one = CreateLogicalName(store_, "One"), two = CreateLogicalName(store_, "Two");
  ExpectError(ZavConfig_SetLogicalNamePropertyViString(two, 1, "One"),
              ZAVCONFIG_ERROR_ALREADY_EXISTS,
              "Rename operation failed. Item One already exists in the collection.");
  EXPECT_EQ(GetString(ZavConfig_GetLogicalNamePropertyViString, two, 1), "Two");
  ExpectOk(ZavConfig_SetLogicalNamePropertyViString(one, 1, "One"));  // its own name: no clash

  const ViSession newer = CreatePublishedAPI(store_, "Dmm", "C");
  ExpectOk(ZavConfig_SetPublishedAPIPropertyViInt32(newer, 3, 1));
  const ViSession older = CreatePublishedAPI(store_, "Dmm", "C");
  ExpectError(ZavConfig_SetPublishedAPIPropertyViInt32(older, 3, 1), ZAVCONFIG_ERROR_ALREADY_EXISTS,
              "Rename operation failed. Item (Dmm,C,1,0) already exists in the collection.");
  ViInt32 major = -1;
  ExpectOk(ZavConfig_GetPublishedAPIPropertyViInt32(older, 3, &major));
  EXPECT_EQ(major, 0);
  ExpectOk(ZavConfig_SetPublishedAPIPropertyViInt32(newer, 4, 5));  // frees (Dmm,C,1,0)
  ExpectOk(ZavConfig_SetPublishedAPIPropertyViInt32(older, 3, 1));
}

TEST_F(ApiProperties, NullValueIsTakenAsEmpty) {
  const std::string rcEmpty = "Set failed. The rcName property of the item cannot be empty.";
  const std::string mapToEmpty = "Set failed. The mapTo property of the item cannot be empty.";
  const std::string typeEmpty = "Set failed. The type property of the item cannot be empty.";
  struct NullRow {
    StringSetter set;
    StringGetter get;
    Kind kind;
    ViAttr id;
    std::string message;  // empty: accepted, the value becomes ""
  };
  const NullRow rows[] = {
      {ZavConfig_SetLogicalNamePropertyViString, ZavConfig_GetLogicalNamePropertyViString,
       Kind::LogicalName, 2, ""},
      {ZavConfig_SetLogicalNamePropertyViString, ZavConfig_GetLogicalNamePropertyViString,
       Kind::LogicalName, 1, kEmptyName},
      {ZavConfig_SetSessionPropertyViString, ZavConfig_GetSessionPropertyViString, Kind::Session, 2,
       ""},
      {ZavConfig_SetDriverSessionPropertyViString, ZavConfig_GetDriverSessionPropertyViString,
       Kind::DriverSession, 10, ""},
      {ZavConfig_SetHardwareAssetPropertyViString, ZavConfig_GetHardwareAssetPropertyViString,
       Kind::HardwareAsset, 3, ""},
      {ZavConfig_SetSoftwareModulePropertyViString, ZavConfig_GetSoftwareModulePropertyViString,
       Kind::SoftwareModule, 5, ""},
      {ZavConfig_SetSoftwareModulePropertyViString, ZavConfig_GetSoftwareModulePropertyViString,
       Kind::SoftwareModule, 1, kEmptyName},
      {ZavConfig_SetPublishedAPIPropertyViString, ZavConfig_GetPublishedAPIPropertyViString,
       Kind::PublishedAPI, 2, typeEmpty},
      {ZavConfig_SetPhysicalNamePropertyViString, ZavConfig_GetPhysicalNamePropertyViString,
       Kind::PhysicalName, 2, rcEmpty},
      {ZavConfig_SetPhysicalRangePropertyViString, ZavConfig_GetPhysicalRangePropertyViString,
       Kind::PhysicalRange, 1, kEmptyName},
      {ZavConfig_SetVirtualNamePropertyViString, ZavConfig_GetVirtualNamePropertyViString,
       Kind::VirtualName, 2, mapToEmpty},
      {ZavConfig_SetVirtualRangePropertyViString, ZavConfig_GetVirtualRangePropertyViString,
       Kind::VirtualRange, 1, kEmptyName},
  };
  for (const NullRow& r : rows) {
    SCOPED_TRACE(std::to_string(static_cast<int>(r.kind)) + " ID " + std::to_string(r.id));
    const ViSession item = Make(r.kind);
    SetString(r.set, item, r.id, "Before");
    if (r.message.empty()) {
      ExpectOk(r.set(item, r.id, nullptr));
    } else {
      ExpectError(r.set(item, r.id, nullptr), ZAVCONFIG_ERROR_INVALID_VALUE, r.message);
    }
    EXPECT_EQ(GetString(r.get, item, r.id), r.message.empty() ? "" : "Before");
  }
}

}  // namespace
}  // namespace zavapi
