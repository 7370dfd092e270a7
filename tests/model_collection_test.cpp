// Keyed collections: ownership, lookup by key and by index, renaming, removal and deletion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

// An item that logs its name when deleted, to show which items a collection deletes and when.
class tRecordingItem : public iZavCollectionItem {
 public:
  explicit tRecordingItem(Names* log = nullptr) : log_(log) {}
  ~tRecordingItem() override {
    if (log_) log_->push_back(GetName());
  }

 private:
  Names* log_;
};

class ModelCollection : public ::testing::Test {
 protected:
  tRecordingItem* Add(const std::string& name) {
    auto item = std::make_unique<tRecordingItem>(&deleted);
    item->SetName(name, true);
    items.Add(item.get());
    return item.release();
  }

  Names deleted;  // declared first: it outlives the collection
  iZavCollectionBase<tRecordingItem> items{nullptr, ""};
};

TEST_F(ModelCollection, IndexFollowsInsertionWhileClearDeletesInKeyOrder) {
  Add("b");
  Add("a");
  Add("c");
  EXPECT_EQ(NamesOf(&items), (Names{"b", "a", "c"}));
  items.Clear();
  EXPECT_EQ(deleted, (Names{"a", "b", "c"}));
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.Find("a"), nullptr);
}

TEST_F(ModelCollection, KeysAreCaseSensitive) {
  tRecordingItem* lower = Add("dmm");
  tRecordingItem* upper = Add("DMM");
  EXPECT_EQ(items.ItemByName("dmm"), lower);
  EXPECT_EQ(items.ItemByName("DMM"), upper);
  EXPECT_EQ(items.Find("Dmm"), nullptr);
  EXPECT_ZAV_ERROR(items.ItemByName("Dmm"), ZAVCONFIG_ERROR_NOT_FOUND,
                   "Search by name failed. Item Dmm does not exist in the collection.");
}

TEST_F(ModelCollection, ItemByIndexOutsideOneToCountFails) {
  EXPECT_ZAV_ERROR(items.ItemByIndex(1), ZAVCONFIG_ERROR_NOT_FOUND,
                   "Search by index failed. Index 1 does not exist in the collection.");
  for (const char* name : {"a", "b", "c"}) Add(name);
  for (long index : {0L, -1L, 4L, -2147483647L - 1}) {
    EXPECT_ZAV_ERROR(items.ItemByIndex(index), ZAVCONFIG_ERROR_NOT_FOUND,
                     "Search by index failed. Index " + std::to_string(index) +
                         " does not exist in the collection.");
  }
  EXPECT_EQ(items.ItemByIndex(3)->GetName(), "c");
}

TEST_F(ModelCollection, RemoveDeletesTheItemAndShiftsLaterIndexes) {
  for (const char* name : {"v", "w", "x", "y", "z"}) Add(name);
  items.Remove(items.ItemByIndex(2));
  EXPECT_EQ(deleted, Names{"w"});
  EXPECT_EQ(NamesOf(&items), (Names{"v", "x", "y", "z"}));
  EXPECT_EQ(items.Find("w"), nullptr);
}

TEST_F(ModelCollection, RenameKeepsIndexAndRefusesClashes) {
  Add("a");
  tRecordingItem* b = Add("b");
  Add("c");
  b->SetName("z", true);
  EXPECT_EQ(NamesOf(&items), (Names{"a", "z", "c"}));
  EXPECT_EQ(items.Find("b"), nullptr);
  EXPECT_EQ(items.ItemByName("z"), b);

  EXPECT_ZAV_ERROR(b->SetName("c", true), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Rename operation failed. Item c already exists in the collection.");
  EXPECT_EQ(b->GetName(), "z");
  EXPECT_EQ(items.Find("z"), b);
  EXPECT_EQ(items.Find("c")->GetName(), "c");
  b->SetName("z", true);  // the current name: nothing to do, nothing to fail
  EXPECT_EQ(items.Count(), 3);

  EXPECT_ZAV_ERROR(items.Rename("q", "r"), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Rename operation failed. Item q does not exist in the collection.");

  tRecordingItem free;
  free.SetName("free", true);
  EXPECT_ZAV_ERROR(free.SetName("", true), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The name of the item cannot be empty.");
  EXPECT_EQ(free.GetName(), "free");
}

TEST_F(ModelCollection, AddRefusesNullOwnedAndDuplicateItems) {
  tRecordingItem* a = Add("a");
  EXPECT_ZAV_ERROR(items.Add(nullptr), ZAVCONFIG_ERROR_NULL_POINTER,
                   "Add failed. Invalid (NULL) item pointer.");
  // Already in this very collection: the ownership test comes before the key test.
  EXPECT_ZAV_ERROR(items.Add(a), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item is owned by another collection.");
  iZavCollectionBase<tRecordingItem> other(nullptr, "");
  EXPECT_ZAV_ERROR(other.Add(a), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item is owned by another collection.");
  EXPECT_EQ(other.Count(), 0);

  tRecordingItem twin;
  twin.SetName("a", true);
  EXPECT_ZAV_ERROR(items.Add(&twin), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item a already exists in the collection.");
  EXPECT_TRUE(twin.IsOrphan());
  EXPECT_EQ(NamesOf(&items), Names{"a"});
  EXPECT_EQ(items.Find("a"), a);
  EXPECT_EQ(a->GetOwner(), &items);
}

TEST_F(ModelCollection, RemoveRefusesStrangersAndReferencedItems) {
  tRecordingItem* a = Add("a");
  tRecordingItem impostor;  // same key, another object
  impostor.SetName("a", true);
  tRecordingItem stranger;
  stranger.SetName("s", true);
  for (tRecordingItem* wrong : {&impostor, &stranger}) {
    EXPECT_ZAV_ERROR(items.Remove(wrong), ZAVCONFIG_ERROR_NOT_FOUND,
                     "Remove failed. Item does not exist in the collection.");
  }
  EXPECT_EQ(items.Find("a"), a);

  a->IncrementRefCount();
  EXPECT_ZAV_ERROR(items.Remove(a), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   "Remove failed. Item has references from other items.");
  EXPECT_EQ(items.Find("a"), a);
  EXPECT_EQ(items.ItemByIndex(1), a);
  EXPECT_EQ(a->GetOwner(), &items);
  EXPECT_TRUE(deleted.empty());

  a->DecrementRefCount();
  items.Remove(a);
  EXPECT_EQ(deleted, Names{"a"});
}

TEST_F(ModelCollection, DestructorDeletesReferencedItems) {
  Names log;
  {
    iZavCollectionBase<tRecordingItem> scoped(nullptr, "");
    auto item = std::make_unique<tRecordingItem>(&log);
    item->SetName("held", true);
    item->IncrementRefCount();
    scoped.Add(item.release());
  }
  EXPECT_EQ(log, Names{"held"});
}

}  // namespace
