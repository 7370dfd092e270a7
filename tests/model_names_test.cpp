// Physical and virtual names and their ranges: the name character set, empty names beside
// ranges, MapTo and RCName.
#include <gtest/gtest.h>

#include <string>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

const char* const kEmptyName = "Set failed. The name of the item cannot be empty.";
std::string CharsetText(const char* kind) {
  return std::string("Set failed. The name of a ") + kind +
         " item must consist of one or more of the following: 'a'-'z', 'A'-'Z', '0'-'9', '!', "
         "or '_'";
}

// Both name kinds behave alike apart from their message and their range type.
template <class T>
struct NameKind;
template <>
struct NameKind<tZavPhysicalName> {
  static constexpr const char* kText = "physical name";
  static iZavCollection* AddRange(tZavPhysicalName& n) {
    AddNamed<tZavPhysicalRange>(n.GetPhysicalRanges(), "R");
    return n.GetPhysicalRanges();
  }
};
template <>
struct NameKind<tZavVirtualName> {
  static constexpr const char* kText = "virtual name";
  static iZavCollection* AddRange(tZavVirtualName& n) {
    AddNamed<tZavVirtualRange>(n.GetVirtualRanges(), "R");
    return n.GetVirtualRanges();
  }
};

template <class T>
class ModelNames : public ::testing::Test {
 protected:
  // A name held by a collection, so that a refused rename must leave its entry alone too.
  T* Held(const std::string& name) {
    auto item = std::make_unique<T>();
    item->SetCheckedName(name);
    holder.Add(item.get());
    return item.release();
  }
  iZavCollectionBase<T> holder{nullptr, ""};
};

using NameTypes = ::testing::Types<tZavPhysicalName, tZavVirtualName>;
TYPED_TEST_SUITE(ModelNames, NameTypes);

TYPED_TEST(ModelNames, CharacterSetIsEnforcedWithTheKindsMessage) {
  TypeParam* item = this->Held("Orig");
  item->SetCheckedName("Ch_1!");
  EXPECT_EQ(this->holder.Find("Ch_1!"), item);
  for (const char* bad : {"Ch 1", "Ch-1", "Ch.1", "Ch,1", "Ch\xe9", "\x80"}) {
    EXPECT_ZAV_ERROR(item->SetCheckedName(bad), ZAVCONFIG_ERROR_INVALID_VALUE,
                     CharsetText(NameKind<TypeParam>::kText));
    EXPECT_EQ(item->GetName(), "Ch_1!");
    EXPECT_EQ(this->holder.Find("Ch_1!"), item);
  }
  this->Held("Other");
  EXPECT_ZAV_ERROR(item->SetCheckedName("Other"), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Rename operation failed. Item Other already exists in the collection.");
  EXPECT_EQ(item->GetName(), "Ch_1!");
}

TYPED_TEST(ModelNames, EmptyNameOnlyBesideARange) {
  TypeParam fresh;
  EXPECT_ZAV_ERROR(fresh.SetCheckedName(""), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  TypeParam* item = this->Held("Named");
  EXPECT_ZAV_ERROR(item->SetCheckedName(""), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  iZavCollection* ranges = NameKind<TypeParam>::AddRange(*item);
  item->SetCheckedName("");
  EXPECT_EQ(item->GetName(), "");
  EXPECT_EQ(this->holder.Find(""), item);
  ranges->Remove(ranges->ItemByIndex(1));  // nothing re-tests the name
  EXPECT_EQ(item->GetName(), "");
}

TEST(ModelNamesRanges, RangeNamesMustNotBeEmptyAndValuesAreUnchecked) {
  tZavVirtualRange range;
  EXPECT_ZAV_ERROR(range.SetName("", true), ZAVCONFIG_ERROR_INVALID_VALUE, kEmptyName);
  range.SetMin(5);
  range.SetMax(2);
  range.SetStartingPhysicalIndex(-1);
  EXPECT_EQ(range.GetMin(), 5);
  EXPECT_EQ(range.GetMax(), 2);
  EXPECT_EQ(range.GetStartingPhysicalIndex(), -1);
}

TEST(ModelNamesProperties, MapToAndRCNameRules) {
  tZavVirtualName virtualName;
  EXPECT_ZAV_ERROR(virtualName.SetMapTo(""), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The mapTo property of the item cannot be empty.");
  virtualName.SetMapTo("Ch 1-2.x");  // not held to the name character set
  NameKind<tZavVirtualName>::AddRange(virtualName);
  virtualName.SetMapTo("");
  EXPECT_EQ(virtualName.GetMapTo(), "");

  tZavPhysicalName physicalName;
  NameKind<tZavPhysicalName>::AddRange(physicalName);
  physicalName.SetRCName("Chan nel-1");
  EXPECT_ZAV_ERROR(physicalName.SetRCName(""), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The rcName property of the item cannot be empty.");
  EXPECT_EQ(physicalName.GetRCName(), "Chan nel-1");
}

}  // namespace
