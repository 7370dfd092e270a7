// SPDX-License-Identifier: MIT
// The shared error library: one record per thread, and the buffer rules of its getter.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "zavconfig.h"
#include "zavcshared.h"

namespace {

TEST(CSharedError, BufferRules) {
  ZavSession_ClearError(0);
  ViStatus code = 1;
  char buffer[400];
  EXPECT_EQ(ZavSession_GetError(0, &code, 10, buffer), 0);
  EXPECT_EQ(code, 0);
  EXPECT_STREQ(buffer, "");

  const std::string text(300, 'x');  // longer than the fixed-size buffer
  ZavSession_SetError(0, -7, "abcdefgh");
  EXPECT_EQ(ZavSession_GetError(0, nullptr, 0, nullptr), 9);       // size query
  EXPECT_EQ(ZavSession_GetError(0, &code, 5, buffer), 9);          // cut
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(code, -7);
  EXPECT_EQ(ZavSession_GetError(0, nullptr, 9, buffer), 0);        // exact fit
  EXPECT_STREQ(buffer, "abcdefgh");

  ZavSession_SetError(0, -8, text.c_str());
  EXPECT_EQ(ZavSession_GetError(0, nullptr, 0, buffer), 0);        // fixed 256 bytes
  EXPECT_EQ(std::string(buffer), text.substr(0, ZAVCONFIG_ERROR_DESCRIPTION_SIZE - 1));
  EXPECT_EQ(ZavSession_GetError(0, nullptr, -1, buffer), 0);       // caller vouches for the size
  EXPECT_EQ(std::string(buffer), text);
  EXPECT_EQ(ZavSession_GetError(0, nullptr, -1, nullptr), ZAVCONFIG_ERROR_NULL_POINTER);

  // Reading does not clear; clearing does.
  EXPECT_EQ(ZavSession_GetError(0, &code, 0, nullptr), 301);
  ZavSession_ClearError(0);
  EXPECT_EQ(ZavSession_GetError(0, &code, 0, nullptr), 1);
  EXPECT_EQ(code, 0);
}

TEST(CSharedError, EachThreadSeesOnlyItsOwnRecord) {
  constexpr int kThreads = 8, kRounds = 2000;
  std::vector<int> mismatches(kThreads, 0);
  ZavSession_SetError(0, -1, "main");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &mismatches] {
      for (int i = 0; i < kRounds; ++i) {
        const std::string mine = "thread " + std::to_string(t) + " round " + std::to_string(i);
        ZavSession_SetError(0, -(t * kRounds + i), mine.c_str());
        ViStatus code = 0;
        char buffer[64];
        ZavSession_GetError(0, &code, sizeof buffer, buffer);
        if (code != -(t * kRounds + i) || mine != buffer) ++mismatches[t];
        if (i % 3 == 0) ZavSession_ClearError(0);
      }
    });
  }
  ViStatus fresh = 1, mine = 0;
  threads.emplace_back([&fresh] { ZavSession_GetError(0, &fresh, 0, nullptr); });  // starts empty
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
  ZavSession_GetError(0, &mine, 0, nullptr);
  EXPECT_EQ(fresh, 0);
  EXPECT_EQ(mine, -1);
}

}  // namespace
