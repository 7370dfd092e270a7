// SPDX-License-Identifier: MIT
// Keyed collections (index order against key order, renaming, adding, removing), and the rules
// for physical and virtual names.
#include <gtest/gtest.h>

#include <locale>
#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "model_fixtures.h"
#include "test_support.h"

namespace {

using namespace zavtest;

Names deleted;

// Logs its name when deleted, to show which items a collection deletes and in what order.
struct tRecordingItem : iZavCollectionItem {
  ~tRecordingItem() override { deleted.push_back(GetName()); }
};

class ModelCollection : public ::testing::Test {
 protected:
  ModelCollection() {
    deleted.clear();
    for (const char* name : {"b", "a", "c"}) AddNamed<tRecordingItem>(&items, name);
    a = items.Find("a");
  }
  tZavCollection<tRecordingItem> items{nullptr, ""};
  tRecordingItem* a;
};

TEST_F(ModelCollection, IndexFollowsInsertionWhileClearDeletesInKeyOrder) {
  EXPECT_EQ(NamesOf(&items), (Names{"b", "a", "c"}));
  for (long index : {0L, -1L, 4L})
    EXPECT_ZAV_ERROR(items.ItemByIndex(index), NOT_FOUND, "Search by index failed. Index " +
                     std::to_string(index) + " does not exist in the collection.");
  items.Clear();
  EXPECT_EQ(deleted, (Names{"a", "b", "c"}));
}

TEST_F(ModelCollection, RenameKeepsTheIndexAndAClashKeepsBothItems) {
  a->SetName("z", true);
  EXPECT_EQ(NamesOf(&items), (Names{"b", "z", "c"}));
  EXPECT_EQ(items.Find("a"), nullptr);
  EXPECT_ZAV_ERROR(a->SetName("c", true), ALREADY_EXISTS,
                   "Rename operation failed. Item c already exists in the collection.");
  EXPECT_ZAV_ERROR(a->SetName("", true), INVALID_VALUE, kEmptyName);
  EXPECT_EQ(NamesOf(&items), (Names{"b", "z", "c"}));
  EXPECT_EQ(items.Find("z"), a);
  EXPECT_EQ(items.Find("c"), items.ItemByIndex(3));
}

TEST_F(ModelCollection, FailedAddDestroysTheItemAndRemoveRefusesAnotherObjectOrAReferencedItem) {
  EXPECT_ZAV_ERROR(items.Add(nullptr), NULL_POINTER, "Add failed. Invalid (NULL) item pointer.");
  EXPECT_ZAV_ERROR(items.Add(Free<tRecordingItem>("a")), ALREADY_EXISTS,
                   "Add failed. Item a already exists in the collection.");
  EXPECT_EQ(deleted, Names{"a"});
  EXPECT_EQ(items.Find("a"), a);
  EXPECT_ZAV_ERROR(items.Remove(Free<tRecordingItem>("a").get()), NOT_FOUND,
                   "Remove failed. Item does not exist in the collection.");
  a->IncrementRefCount();
  EXPECT_ZAV_ERROR(items.Remove(a), HAS_REFERENCES, kHasReferences);
  EXPECT_EQ(a->GetOwner(), &items);
  a->DecrementRefCount();
  items.Remove(a);
  EXPECT_EQ(NamesOf(&items), (Names{"b", "c"}));
}

// Indexes follow the order of adding through any mix of adds, removals (which leave gaps that are
// later packed) and renames, checked against a plain list of the names.
TEST_F(ModelCollection, IndexesFollowTheOrderOfAddingThroughRemovalsAndRenames) {
  Names expected = NamesOf(&items);
  std::mt19937 random(7);
  for (int step = 0; step < 4000; ++step) {
    const size_t at = expected.empty() ? 0 : random() % expected.size();
    switch (expected.empty() ? 0 : random() % 4) {
      case 0:
      case 1:
        expected.push_back("n" + std::to_string(step));
        AddNamed<tRecordingItem>(&items, expected.back());
        break;
      case 2:
        ASSERT_EQ(items.ItemByIndex(static_cast<long>(at + 1))->GetName(), expected[at]);
        items.Remove(items.ItemByIndex(static_cast<long>(at + 1)));
        expected.erase(expected.begin() + static_cast<long>(at));
        break;
      default:
        expected[at] = "r" + std::to_string(step);
        items.ItemByIndex(static_cast<long>(at + 1))->SetName(expected[at], true);
    }
    if (step % 97 == 0) {
      ASSERT_EQ(NamesOf(&items), expected) << "after step " << step;
      for (const std::string& name : expected) ASSERT_EQ(items.Find(name)->GetName(), name);
      ASSERT_EQ(items.Find("n" + std::to_string(step - 1)) != nullptr,
                std::count(expected.begin(), expected.end(), "n" + std::to_string(step - 1)) == 1);
    }
  }
  // Emptying most of it packs the gaps away on the way.
  while (expected.size() > 3) {
    const size_t at = random() % expected.size();
    items.Remove(items.ItemByIndex(static_cast<long>(at + 1)));
    expected.erase(expected.begin() + static_cast<long>(at));
    if (expected.size() % 89 == 0) {
      ASSERT_EQ(NamesOf(&items), expected);
    }
  }
  AddNamed<tRecordingItem>(&items, "last");
  expected.push_back("last");
  EXPECT_EQ(NamesOf(&items), expected);
  for (const std::string& name : expected) EXPECT_EQ(items.Find(name)->GetName(), name);
}

// Physical and virtual names differ only in their message and their kind of range.
const char* Kind(tZavPhysicalName*) { return "physical name"; }
const char* Kind(tZavVirtualName*) { return "virtual name"; }
void AddRange(tZavPhysicalName* n) { AddNamed<tZavPhysicalRange>(n->GetPhysicalRanges(), "R"); }
void AddRange(tZavVirtualName* n) { AddNamed<tZavVirtualRange>(n->GetVirtualRanges(), "R"); }

template <class T>
void CheckNameRules() {
  tZavCollection<T> holder(nullptr, "");
  T* item = AddNamed<T>(&holder, "Orig");
  item->SetCheckedName("azAZ09!_");
  for (const char* bad : {"Ch 1", "Ch-1", "Ch.1", "Ch\xe9"})
    EXPECT_ZAV_ERROR(item->SetCheckedName(bad), INVALID_VALUE,
                     std::string("Set failed. The name of a ") + Kind(item) +
                         " item must consist of one or more of the following: 'a'-'z', "
                         "'A'-'Z', '0'-'9', '!', or '_'");
  EXPECT_ZAV_ERROR(item->SetCheckedName(""), INVALID_VALUE, kEmptyName);
  EXPECT_EQ(holder.Find("azAZ09!_"), item);
  AddRange(item);
  item->SetCheckedName("");
  EXPECT_EQ(holder.Find(""), item);
}

TEST(ModelNames, CharacterSetAndEmptyNameOnlyBesideARange) {
  CheckNameRules<tZavPhysicalName>();
  CheckNameRules<tZavVirtualName>();
}

TEST(ModelNameProperties, MapToMayBeEmptyOnlyBesideARangeAndRCNameNever) {
  tZavVirtualName virtualName;
  EXPECT_ZAV_ERROR(virtualName.SetMapTo(""), INVALID_VALUE,
                   "Set failed. The mapTo property of the item cannot be empty.");
  AddRange(&virtualName);
  virtualName.SetMapTo("");
  tZavPhysicalName physicalName;
  AddRange(&physicalName);
  EXPECT_ZAV_ERROR(physicalName.SetRCName(""), INVALID_VALUE,
                   "Set failed. The rcName property of the item cannot be empty.");
}

// Physical names and structures nest as deep as callers build them; removing or destroying them
// must not need a stack that deep, as on a host's worker thread.
TEST(ModelDepth, DeeplyNestedItemsAreDestroyedOnASmallStack) {
  constexpr int kDepth = 100000;
  tZavCollection<tZavPhysicalName> physical(nullptr, "");
  auto components = std::make_unique<tZavCollection<iZavDataComponent>>(nullptr, "");
  tZavCollection<tZavPhysicalName>* names = &physical;
  tZavCollection<iZavDataComponent>* members = components.get();
  for (int i = 0; i < kDepth; ++i) {
    names = AddNamed<tZavPhysicalName>(names, "N")->GetPhysicalNames();
    members = AddNamed<tZavStructure>(members, "S")->GetDataComponents();
  }
  zavtest::RunOnStackOf(256 * 1024, [&] {
    physical.Remove(physical.ItemByIndex(1));
    components.reset();
  });
  EXPECT_EQ(physical.Count(), 0);
}

// Groups digits by threes with a dot, as de_DE does.
struct tDotGrouping : std::numpunct<char> {
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

// Puts a digit-grouping locale in place as the global one, and the old one back afterwards.
class tGroupingLocale {
 public:
  tGroupingLocale() : old_(std::locale::global(Grouping())) {}
  ~tGroupingLocale() { std::locale::global(old_); }

 private:
  static std::locale Grouping() {
    try {
      return std::locale("de_DE.UTF-8");
    } catch (const std::runtime_error&) {
      return std::locale(std::locale::classic(), new tDotGrouping);
    }
  }
  std::locale old_;
};

TEST(ModelMessages, NumbersArePlainDecimalsWhateverTheGlobalLocale) {
  tGroupingLocale grouping;
  std::ostringstream probe;
  probe << 1234567;
  ASSERT_EQ(probe.str(), "1.234.567") << "the global locale should group digits";
  tZavCollection<tZavPhysicalRange> ranges(nullptr, "");
  EXPECT_ZAV_ERROR(ranges.ItemByIndex(1234567), NOT_FOUND,
                   "Search by index failed. Index 1234567 does not exist in the collection.");
  tZavConfigStore store{NoStoreFile()};
  AddApi(store, {"Dmm", "C", 1000, -2000});
  EXPECT_ZAV_ERROR(AddApi(store, {"Dmm", "C", 1000, -2000}), ALREADY_EXISTS,
                   "Add failed. Item (Dmm,C,1000,-2000) already exists in the collection.");
}

}  // namespace
