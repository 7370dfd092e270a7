// SPDX-License-Identifier: MIT
// The object pool: objects of mixed sizes never overlap and keep their contents while others
// come and go, freed places are used again, and memory goes back once everything is freed.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "platform/object_pool.h"

namespace {

using zav::platform::tObjectPool;

struct tObject {
  unsigned char* at;
  size_t size;
  unsigned char mark;
};

void Fill(const tObject& o) { std::memset(o.at, o.mark, o.size); }
bool Intact(const tObject& o) {
  return std::all_of(o.at, o.at + o.size, [&](unsigned char c) { return c == o.mark; });
}

TEST(PlatformObjectPool, MixedSizesStayApartAndMemoryGoesBack) {
  tObjectPool pool;
  std::mt19937 random(11);
  std::vector<tObject> live;
  // Enough objects for several chunks, with frees mixed in so that runs are emptied, handed to
  // other sizes and refilled from their freed places.
  for (int step = 0; step < 60000; ++step) {
    if (!live.empty() && random() % 3 == 0) {
      const size_t at = random() % live.size();
      ASSERT_TRUE(Intact(live[at])) << "step " << step;
      pool.Free(live[at].at, live[at].size);
      live[at] = live.back();
      live.pop_back();
      continue;
    }
    const size_t size = 1 + random() % tObjectPool::kLargest;
    tObject o{static_cast<unsigned char*>(pool.Allocate(size)), size,
              static_cast<unsigned char>(step)};
    ASSERT_EQ(reinterpret_cast<uintptr_t>(o.at) % alignof(std::max_align_t), 0u);
    Fill(o);
    live.push_back(o);
  }
  EXPECT_GT(pool.ChunkCount(), 3u);
  std::sort(live.begin(), live.end(), [](const tObject& a, const tObject& b) { return a.at < b.at; });
  for (size_t i = 0; i < live.size(); ++i) {
    ASSERT_TRUE(Intact(live[i]));
    if (i > 0) {
      ASSERT_LE(live[i - 1].at + live[i - 1].size, live[i].at);
    }
  }
  for (const tObject& o : live) pool.Free(o.at, o.size);
  EXPECT_EQ(pool.ChunkCount(), 1u);
}

TEST(PlatformObjectPool, AFreedPlaceIsTheNextOfItsSize) {
  tObjectPool pool;
  void* a = pool.Allocate(40);
  void* b = pool.Allocate(48);
  pool.Free(a, 40);
  EXPECT_EQ(pool.Allocate(33), a);  // 33 to 48 bytes share a size
  void* c = pool.Allocate(48);
  EXPECT_NE(c, b);
  pool.Free(b, 48);
  pool.Free(c, 48);
  pool.Free(a, 48);
  EXPECT_EQ(pool.ChunkCount(), 1u);
}

}  // namespace
