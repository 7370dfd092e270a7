// SPDX-License-Identifier: MIT
// Misuse that must end in a status: an error text that cannot be stored, and the handle counter
// at the end of its 32 bits. Built apart from the other suites, since it replaces operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "api/handles.h"
#include "model_fixtures.h"
#include "zavcshared.h"

namespace {
thread_local bool failAllocations = false;
}  // namespace

void* operator new(size_t size) {
  void* block = failAllocations ? nullptr : std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  return block;
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }

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
}

}  // namespace
