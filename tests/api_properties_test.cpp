// SPDX-License-Identifier: MIT
// Property functions: every accepted ID round-trips through a field of its own, every other ID is
// refused in the function's own name, the handle is looked up before the ID. Then the data
// component functions: the kinds they need, and creation before the collection is looked up.
#include <map>
#include <set>
#include <tuple>
#include <type_traits>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiProperties : public ApiTest {};

// Every property function seen through text: values are written from and read into strings.
ViStatus ReadAs(StringGetter f, ViSession h, ViAttr id, std::string* value) {
  char buffer[64] = "";
  const ViStatus status = f(h, id, sizeof buffer, buffer);
  *value = buffer;
  return status;
}
template <class T>
ViStatus ReadAs(ViStatus (*f)(ViSession, ViAttr, T*), ViSession h, ViAttr id, std::string* value) {
  T typed{};
  const ViStatus status = f(h, id, &typed);
  *value = std::to_string(static_cast<long long>(typed));
  return status;
}
template <class T>
ViStatus WriteAs(ViStatus (*f)(ViSession, ViAttr, T), ViSession h, ViAttr id,
                 const std::string& v) {
  if constexpr (std::is_same_v<T, ViConstString>) return f(h, id, v.c_str());
  else return f(h, id, static_cast<T>(std::stod(v)));
}

// What a row works on: the store, an item of a kind, or a data component (kDc + kind number,
// then 5 for a structure and 6 for an API reference).
constexpr int kDc = 100;
ViSession MakeFor(ViSession store, int what) {
  const ViSession components = what > kDc ? SessionComponents(store) : 0;
  if (what < kDc) return Make(store, what);
  if (what == kDc + 5) return Issue(ZavConfig_CreateStructure, components, "C", 1, "M");
  if (what == kDc + 6)
    return Issue(ZavConfig_CreateAPIReference, components, "C", Make(store, kApi));
  return Issue(ZavConfig_CreateDataComponent, components, what - kDc, "C");
}

// One getter and setter pair; byKind: IDs accepted but exercised elsewhere (they need another
// kind of component, the registry or the process environment).
struct Row {
  std::string get, set;
  ViStatus (*read)(ViSession, ViAttr, std::string*);
  ViStatus (*write)(ViSession, ViAttr, const std::string&);
  bool boolean;
  int what;
  std::set<ViAttr> getIds, setIds, byKind = {};
};
#define IDS(...) std::set<ViAttr>{__VA_ARGS__}
#define BOTH(...) IDS(__VA_ARGS__), IDS(__VA_ARGS__)
#define ROW(K, T, what, ...)                                                                \
  Row {                                                                                     \
    "ZavConfig_Get" #K "Property" #T, "ZavConfig_Set" #K "Property" #T,                     \
        [](ViSession h, ViAttr id, std::string* v) {                                        \
          return ReadAs(ZavConfig_Get##K##Property##T, h, id, v);                           \
        },                                                                                  \
        [](ViSession h, ViAttr id, const std::string& v) {                                  \
          return WriteAs(ZavConfig_Set##K##Property##T, h, id, v);                          \
        },                                                                                  \
        std::is_same_v<T, ViBoolean>, what, __VA_ARGS__                                      \
  }
#define DC_STRINGS IDS(1, 2, 4, 6, 7, 8, 9, 10), IDS(1, 2, 4, 6, 8, 9, 10)
const Row kRows[] = {
    ROW(ConfigStore, ViString, kStore, IDS(1, 2, 3, 4, 5, 6, 7), IDS(2, 5), IDS(3, 5)),
    ROW(LogicalName, ViString, kLogical, BOTH(1, 2)),
    ROW(Session, ViString, kSession, IDS(1, 2, 3), IDS(1, 2)),
    ROW(DriverSession, ViString, kDriver, IDS(1, 2, 3, 10), IDS(1, 2, 10)),
    ROW(DriverSession, ViBoolean, kDriver, BOTH(4, 5, 6, 7, 8, 9)),
    ROW(HardwareAsset, ViString, kAsset, BOTH(1, 2, 3)),
    ROW(SoftwareModule, ViString, kModule, BOTH(1, 2, 3, 4, 5, 6, 7, 8, 9)),
    ROW(PublishedAPI, ViString, kApi, BOTH(1, 2)),
    ROW(PublishedAPI, ViInt32, kApi, BOTH(3, 4)),
    ROW(PhysicalName, ViString, kPhysical, BOTH(1, 2)),
    ROW(PhysicalRange, ViString, kPhysicalRange, BOTH(1)),
    ROW(PhysicalRange, ViInt32, kPhysicalRange, BOTH(2, 3)),
    ROW(VirtualName, ViString, kVirtual, BOTH(1, 2)),
    ROW(VirtualRange, ViString, kVirtualRange, BOTH(1)),
    ROW(VirtualRange, ViInt32, kVirtualRange, BOTH(2, 3, 4)),
    ROW(DataComponent, ViBoolean, kDc + 1, BOTH(5, 9)),
    ROW(DataComponent, ViInt32, kDc + 2, BOTH(3, 9)),
    ROW(DataComponent, ViReal64, kDc + 3, BOTH(9)),
    ROW(DataComponent, ViString, kDc + 2, DC_STRINGS, IDS(9)),
    ROW(DataComponent, ViString, kDc + 3, DC_STRINGS, IDS(9)),
    ROW(DataComponent, ViString, kDc + 4, DC_STRINGS, IDS(10)),
    ROW(DataComponent, ViString, kDc + 6, DC_STRINGS, IDS(10)),
};
void ExpectRefused(ViStatus status, const std::string& function) {
  ExpectError(status, ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
              function + ": Invalid value for PropertyID parameter.");
}

// Over three passes every field of a row gets values of its own (a boolean field a bit pattern of
// its own), so a getter or setter that reaches another field shows. Numbers suit every type.
std::string Value(const Row& row, size_t r, ViAttr id, int position, int pass) {
  if (row.boolean) return (position >> pass) & 1 ? "1" : "0";
  if (id == 8 && row.what > kDc) return pass == 1 ? "Optional" : pass ? "required" : "Required";
  return std::to_string(r * 100 + id * 10 + pass);
}

TEST_F(ApiProperties, AcceptedIdsRoundTripAndOthersAreRefused) {
  for (size_t r = 0; r < std::size(kRows); ++r) {
    const Row& row = kRows[r];
    SCOPED_TRACE(row.get + ", row " + std::to_string(r));
    const ViSession item = MakeFor(store_, row.what);
    std::string value;
    for (int pass = 0; pass < 3; ++pass) {
      std::map<ViAttr, std::string> written;
      int position = 0;
      for (ViAttr id : row.setIds) {
        if (row.byKind.count(id)) continue;
        written[id] = Value(row, r, id, ++position, pass);
        ExpectOk(row.write(item, id, row.boolean && written[id] == "1" ? "2" : written[id]));
      }
      for (ViAttr id : row.getIds) {
        if (row.byKind.count(id)) continue;
        ExpectOk(row.read(item, id, &value));
        const ViAttr field = row.what == kModule && id == 3 ? 7 : id;  // one field, two IDs
        if (written.count(field)) {
          EXPECT_EQ(value, written[field]) << "ID " << id;
        }
      }
    }
    for (ViAttr id = 0; id <= 11; ++id) {
      if (!row.getIds.count(id)) ExpectRefused(row.read(item, id, &value), row.get);
      if (!row.setIds.count(id)) ExpectRefused(row.write(item, id, "1"), row.set);
    }
    ExpectNoHandle(row.read(kBogus, 99, &value));
    ExpectNoHandle(row.write(kBogus, 99, "1"));
  }
  const ViSession name = Make(store_, kLogical);
  ExpectOk(ZavConfig_SetLogicalNamePropertyViString(name, 2, nullptr));
  EXPECT_EQ(Text(ZavConfig_GetLogicalNamePropertyViString, name, 2), "");
}

// The kind a data component function needs: each refuses every other kind in words of its own.
TEST_F(ApiProperties, DataComponentFunctionsCheckTheKind) {
  constexpr ViStatus kWrongKind = ZAVCONFIG_ERROR_INVALID_HANDLE;
  const std::string is = ": DataComponentHandle parameter is not ", g = kRows[18].get + is;
  const std::string s = "ZavConfig_SetDataComponentPropertyViString (ZAVCONFIG_VAL_DATA_COMPONENT_";
  const std::string ref =
      ": ApiReferenceHandle parameter is not a valid ZavAPIReference datacomponent.";
  // The function pair's row in kRows, the ID, the kinds it takes (1 Boolean, 2 Integer, 3 Real,
  // 4 String, 5 Structure, 6 APIReference), and the two messages for any other kind.
  const std::tuple<size_t, ViAttr, std::set<int>, std::string, std::string> checks[] = {
      {15, 9, {1}, kRows[15].get + is + "of type ZavBoolean.",
       kRows[15].set + is + "of type ZavBoolean."},
      {16, 9, {2}, kRows[16].get + is + "of type ZavInteger.",
       kRows[16].set + is + "of type ZavInteger."},
      {17, 9, {3}, kRows[17].get + is + "of type ZavReal.",
       kRows[17].set + is + "of type ZavReal."},
      {18, 9, {4, 6}, "ZavConfiguration Server: " + g + "a valid ZavString type",
       s + "VALUE)" + is + "of type ZavAPIReference."},
      {18, 10, {2, 3}, g + "of type ZavString.",
       s + "UNITS)" + is + "of type ZavReal or ZavInteger."}};
  std::string value;
  for (int kind = 1; kind <= 6; ++kind) {
    const ViSession h = MakeFor(store_, kDc + kind);
    for (const auto& [row, id, kinds, getMessage, setMessage] : checks) {
      if (kinds.count(kind)) continue;  // the property table covers these
      SCOPED_TRACE("kind " + std::to_string(kind) + ", ID " + std::to_string(id));
      ExpectError(kRows[row].read(h, id, &value), kWrongKind, getMessage);
      ExpectError(kRows[row].write(h, id, "1"), kWrongKind, setMessage);
    }
  }
  const ViSession flag = MakeFor(store_, kDc + 1);
  ViSession out = 77;
  ExpectError(ZavConfig_GetStructureDataComponentCollection(flag, &out), kWrongKind,
              "ZavConfig_GetStructureDataComponentCollection" + is +
                  "a valid ZavStructure datacomponent.");
  ExpectError(ZavConfig_GetAPIReferencePublishedAPIReference(flag, &out), kWrongKind,
              "ZavConfig_GetAPIReferencePublishedAPIReference" + ref);
  ExpectNoHandle(ZavConfig_GetAPIReferencePublishedAPIReference(kBogus, &out));
  EXPECT_EQ(out, 77u) << "only the item reference getters write 0 when they fail";
  ExpectError(ZavConfig_SetAPIReferencePublishedAPIReference(flag, Make(store_, kApi)), kWrongKind,
              "ZavConfig_SetAPIReferencePublishedAPIReference" + ref);
  ExpectRefused(ZavConfig_SetDataComponentPropertyViReal64(flag, 5, 1.0), kRows[17].set);
}

// The kind is checked first, then the names are set, then the collection is looked up.
TEST_F(ApiProperties, DataComponentsAreBuiltBeforeTheCollectionIsLookedUp) {
  constexpr ViStatus kBadKind = ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT;
  constexpr ViStatus kBad = ZAVCONFIG_ERROR_INVALID_VALUE;
  ViSession out = 77;
  ExpectError(ZavConfig_CreateDataComponent(0, 5, "", &out), kBadKind,
              "ZavConfig_CreateDataComponent: Invalid value for DataComponentType parameter.");
  ExpectError(ZavConfig_CreateStructure(0, "S", 0, "", &out), kBadKind,
              "ZavConfig_CreateStructure: Invalid value for NewDataComponentType parameter.");
  ExpectError(ZavConfig_CreateDataComponent(0, 2, "", &out), kBad, kEmptyName);
  ExpectError(ZavConfig_CreateStructure(0, "", 9, "M", &out), kBad, kEmptyName);
  ExpectError(ZavConfig_CreateStructure(0, "S", 1, "", &out), kBad, kEmptyName);
  ExpectNoHandle(ZavConfig_CreateAPIReference(SessionComponents(store_), "R", 0, &out));
  EXPECT_EQ(out, 77u);
  const ViSession members =
      Issue(ZavConfig_GetStructureDataComponentCollection, MakeFor(store_, kDc + 5));
  const ViSession member = Issue(ZavConfig_GetDataComponentItemByName, members, "M");
  EXPECT_EQ(Text(ZavConfig_GetDataComponentPropertyViString, member, 7), "Boolean");
  const ViSession reference = MakeFor(store_, kDc + 6), api = Make(store_, kApi);
  ExpectOk(ZavConfig_SetAPIReferencePublishedAPIReference(reference, api));
  EXPECT_EQ(Text(ZavConfig_GetPublishedAPIPropertyViString,
                 Issue(ZavConfig_GetAPIReferencePublishedAPIReference, reference), 1),
            Text(ZavConfig_GetPublishedAPIPropertyViString, api, 1));
  ExpectError(ZavConfig_SetAPIReferencePublishedAPIReference(reference, 0), kBad,
              "Set failed. The published API reference cannot be set to NULL.");
  ExpectNoHandle(ZavConfig_SetAPIReferencePublishedAPIReference(reference, member));
}

}  // namespace
}  // namespace zavapi
