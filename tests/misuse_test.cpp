// SPDX-License-Identifier: MIT
// Misuse that must end in a status: an error text that cannot be stored, the handle counter at
// the end of its 32 bits, and handles kept after their object is gone. Built apart from the other
// suites, since it replaces operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <memory>
#include <string>
#include <vector>

#include "api/handles.h"
#include "model_fixtures.h"
#include "zavcshared.h"

namespace {
thread_local bool failAllocations = false;
}  // namespace

// None of them inlined: GCC would otherwise pair the malloc and free inside them with the new
// and delete of the callers and warn of a mismatch.
[[gnu::noinline]] void* operator new(size_t size) {
  void* block = failAllocations ? nullptr : std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept { std::free(block); }

namespace {

std::string RecordedText(ViStatus& code) {
  char text[1024];
  ZavSession_GetError(0, &code, sizeof text, text);
  return text;
}

TEST(Misuse, ATextThatCannotBeStoredIsCutNotPairedWithTheOldOne) {
  ZavSession_SetError(0, -1, "old text");
  const std::string longText(1000, 'n');
  failAllocations = true;
  const ViStatus status = ZavSession_SetError(0, -2, longText.c_str());
  failAllocations = false;
  EXPECT_EQ(status, ZAVCONFIG_ERROR_UNRECOVERABLE);
  ViStatus code = 0;
  EXPECT_EQ(RecordedText(code), longText.substr(0, ZAVCONFIG_ERROR_DESCRIPTION_SIZE - 1));
  EXPECT_EQ(code, -2);
  EXPECT_EQ(ZavSession_GetError(0, nullptr, 0, nullptr), ZAVCONFIG_ERROR_DESCRIPTION_SIZE);

  EXPECT_EQ(ZavSession_SetError(0, -3, "stored whole"), VI_SUCCESS);
  EXPECT_EQ(RecordedText(code), "stored whole");
  EXPECT_EQ(code, -3);
}

TEST(Misuse, HandleValuesWrapAroundPastEveryHeldValue) {
  tZavConfigStore store(zavtest::NoStoreFile());
  tHandleTable<tZavConfigStore> stores, others;
  HandleCounter() = tHandleCounter(1);
  const ViSession one = stores.NewHandle(&store), two = others.NewHandle(&store);
  ASSERT_EQ(one, 1u);
  ASSERT_EQ(two, 2u);
  HandleCounter() = tHandleCounter(0xFFFFFFFEu);
  const ViSession last = stores.NewHandle(&store);
  EXPECT_EQ(last, 0xFFFFFFFEu);
  EXPECT_EQ(others.NewHandle(&store), 0xFFFFFFFFu);
  // 0 is never issued; 1 and 2 are still held, by tables of different kinds.
  EXPECT_EQ(stores.NewHandle(&store), 3u);
  stores.Release(last);
  stores.Release(one);
  // A released value comes back only when the count reaches it again.
  EXPECT_EQ(others.NewHandle(&store), 4u);
  HandleCounter() = tHandleCounter(0xFFFFFFFDu);
  EXPECT_EQ(stores.NewHandle(&store), 0xFFFFFFFDu);
  EXPECT_EQ(stores.NewHandle(&store), 0xFFFFFFFEu);
  EXPECT_EQ(stores.NewHandle(&store), 1u);
  EXPECT_EQ(stores.Lookup(1), &store);
  for (ViSession held : {1u, 3u, 0xFFFFFFFDu, 0xFFFFFFFEu}) stores.Release(held);
  for (ViSession held : {2u, 4u, 0xFFFFFFFFu}) others.Release(held);
}

// Held values that share their low bits: the counter passes over a value whose cell is taken,
// and the table does not shrink to where two held values would share a cell.
TEST(Misuse, HeldValuesSharingLowBitsKeepTheirOwnCells) {
  tZavConfigStore store(zavtest::NoStoreFile());
  tHandleTable<tZavConfigStore> table;
  HandleCounter() = tHandleCounter(0x100001);
  std::vector<ViSession> handles;
  for (int i = 0; i < 12; ++i) handles.push_back(table.NewHandle(&store));  // 32 cells now
  HandleCounter() = tHandleCounter(0x100001 + 32);  // the cells of the twelve, then a free one
  const ViSession twin = table.NewHandle(&store);
  EXPECT_EQ(twin, 0x100001u + 32 + 12);
  HandleCounter() = tHandleCounter(0x100001 + 16);  // a cell of its own with 32 cells, not 16
  const ViSession sharer = table.NewHandle(&store);
  EXPECT_EQ(sharer, 0x100001u + 16);
  for (size_t i = 1; i < handles.size(); ++i) table.Release(handles[i]);
  table.Release(twin);
  EXPECT_EQ(table.Lookup(handles[0]), &store);
  EXPECT_EQ(table.Lookup(sharer), &store);
  table.Release(handles[0]);
  table.Release(sharer);
}

// A thousand handles held while others come and go: the table grows and shrinks under them,
// cells shift back over removed ones, and every held handle still leads to its own object while
// a handle whose object is gone stays rejected, also once a new object has taken over its life.
TEST(Misuse, HandlesStayFoundThroughGrowthAndRemovalAndStaleOnesStayRejected) {
  tHandleTable<tZavConfigStore> table;
  const tHandleTable<tZavConfigStore> otherKind;
  std::vector<std::unique_ptr<tZavConfigStore>> objects;
  std::vector<ViSession> handles;
  for (int i = 0; i < 1000; ++i) {
    objects.push_back(std::make_unique<tZavConfigStore>(zavtest::NoStoreFile()));
    handles.push_back(table.NewHandle(objects.back().get()));
  }
  for (size_t i = 0; i < handles.size(); i += 3) table.Release(handles[i]);
  for (size_t i = 0; i < handles.size(); ++i) {
    EXPECT_EQ(table.Contains(handles[i]), i % 3 != 0) << i;
    if (i % 3 != 0) {
      EXPECT_EQ(table.Lookup(handles[i]), objects[i].get()) << i;
    }
    EXPECT_FALSE(otherKind.Contains(handles[i]));
  }
  // Down to a few: the table shrinks, and what is left is still found.
  for (size_t i = 0; i + 10 < handles.size(); ++i)
    if (i % 3 != 0) table.Release(handles[i]);
  for (size_t i = handles.size() - 10; i < handles.size(); ++i)
    if (i % 3 != 0) {
      EXPECT_EQ(table.Lookup(handles[i]), objects[i].get()) << i;
    }

  const size_t last = handles.size() - 2;  // the last one still held
  ASSERT_NE(last % 3, 0u);
  const ViSession stale = handles[last];
  objects[last].reset();
  auto successor = std::make_unique<tZavConfigStore>(zavtest::NoStoreFile());
  const ViSession fresh = table.NewHandle(successor.get());
  EXPECT_NE(fresh, stale);
  EXPECT_TRUE(table.Contains(stale));
  EXPECT_ZAV_ERROR(table.Lookup(stale), INVALID_HANDLE, "ZavConfiguration Server: Handle does not exist.");
  EXPECT_EQ(table.Lookup(fresh), successor.get());
  table.Release(stale);
  EXPECT_FALSE(table.Contains(stale));
  table.Release(fresh);
}

}  // namespace
