// SPDX-License-Identifier: MIT
// Allocation failure: for every N, the Nth allocation of a representative call fails, both in
// C++ (operator new) and in libxml2 (its allocator hooks). The call must answer with
// ZAVCONFIG_ERROR_UNRECOVERABLE or its own documented failure, a store file on disk must hold
// either its old text or exactly the store, nothing may leak (the sanitizer build checks that),
// and the library must stay usable. This suite has its own executable because it replaces the
// process's allocator.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <new>
#include <string>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlmemory.h>

#include "test_support.h"
#include "zavconfig.h"
#include "zavcshared.h"

namespace {

// -1: nothing fails. N > 0: the Nth allocation from now fails, once.
long countdown = -1;
bool fired = false;

bool FailNow() {
  if (countdown < 0 || --countdown != 0) return false;
  countdown = -1;
  fired = true;
  return true;
}

void* Allocate(size_t size) { return FailNow() ? nullptr : std::malloc(size ? size : 1); }
void* Reallocate(void* p, size_t size) { return FailNow() ? nullptr : std::realloc(p, size); }
char* Duplicate(const char* text) { return FailNow() ? nullptr : strdup(text); }

// libxml2 takes its allocator before anything of it runs.
const bool hooked = [] {
  xmlMemSetup(std::free, Allocate, Reallocate, Duplicate);
  xmlGcMemSetup(std::free, Allocate, Allocate, Reallocate, Duplicate);
  xmlInitParser();
  return true;
}();

}  // namespace

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

std::string LastError() {
  ViChar text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
  ViStatus code = 0;
  ZavConfig_GetError(&code, text);
  return text;
}

class AllocationFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hooked);
    rich_ = zavtest::TestDataFile("rich_store.xml");
  }

  // A store read from the rich test store.
  ViSession RichStore() {
    ViSession store = 0;
    EXPECT_EQ(ZavConfig_Initialize(&store), VI_SUCCESS);
    EXPECT_EQ(ZavConfig_Deserialize(store, rich_.c_str()), VI_SUCCESS);
    return store;
  }
  static ViSession Collection(ViStatus (*get)(ViSession, ViSession*), ViSession owner) {
    ViSession handle = 0;
    EXPECT_EQ(get(owner, &handle), VI_SUCCESS);
    return handle;
  }
  // Runs `call` with its Nth allocation failing, for N = 1, 2, ... until a run needs fewer
  // allocations than N. `setUp` prepares each run, `check` judges it (status, and whether an
  // allocation did fail); both run with every allocation succeeding. Returns the number of runs.
  int EveryAllocation(const std::function<void()>& setUp, const std::function<ViStatus()>& call,
                      const std::function<void(ViStatus, bool)>& check) {
    for (long n = 1;; ++n) {
      setUp();
      fired = false;
      countdown = n;
      const ViStatus status = call();
      countdown = -1;
      check(status, fired);
      // The library answers the next call normally.
      ViSession probe = 0;
      EXPECT_EQ(ZavConfig_Initialize(&probe), VI_SUCCESS);
      EXPECT_EQ(ZavConfig_Close(probe), VI_SUCCESS);
      ZavConfig_ClearError();
      if (!fired || ::testing::Test::HasFailure()) {
        // The last run needed no failure: every allocation before it was a point tried.
        std::printf("%s: %ld allocation points failed in turn\n",
                    ::testing::UnitTest::GetInstance()->current_test_info()->name(), n - 1);
        return static_cast<int>(n);
      }
    }
  }
  static void ExpectStatus(ViStatus status, bool failed, ViStatus own) {
    EXPECT_TRUE(status == VI_SUCCESS || (failed && (status == ZAVCONFIG_ERROR_UNRECOVERABLE || status == own)))
        << status << " " << LastError();
  }

  std::string rich_;
  zavtest::TempDir dir_;
  zavtest::ScopedRegistry registry_{dir_.File("master.xml"), zavtest::DataDir()};
};

TEST_F(AllocationFailure, CreateAndSet) {
  ViSession store = 0, sessions = 0;
  const int runs = EveryAllocation(
      [&] {
        ASSERT_EQ(ZavConfig_Initialize(&store), VI_SUCCESS);
        sessions = Collection(ZavConfig_GetConfigStoreSessionCollection, store);
      },
      [&] {
        ViSession session = 0;
        const ViStatus status = ZavConfig_CreateSession(sessions, "A session with a long enough name", &session);
        return status ? status : ZavConfig_SetSessionPropertyViString(session, ZAVCONFIG_VAL_SESSION_DESCRIPTION,
                                                                      "A description longer than any small string");
      },
      [&](ViStatus status, bool failed) {
        ExpectStatus(status, failed, VI_SUCCESS);
        ViInt32 count = -1;
        EXPECT_EQ(ZavConfig_GetSessionCount(sessions, &count), VI_SUCCESS);
        EXPECT_TRUE(count == 0 || count == 1) << count;
        EXPECT_EQ(ZavConfig_Close(store), VI_SUCCESS);
      });
  EXPECT_GT(runs, 5);
}

TEST_F(AllocationFailure, CopyModuleSettingsIntoSession) {
  ViSession store = 0, session = 0, module = 0;
  const int runs = EveryAllocation(
      [&] {
        store = RichStore();
        ASSERT_EQ(ZavConfig_CreateDriverSession(Collection(ZavConfig_GetConfigStoreDriverSessionCollection, store),
                                                "Fresh", &session),
                  VI_SUCCESS);
        ASSERT_EQ(ZavConfig_GetSoftwareModuleItemByName(
                      Collection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store), "SampleDmmDriver", &module),
                  VI_SUCCESS);
      },
      [&] { return ZavConfig_SetSessionSoftwareModuleReference(session, module); },
      [&](ViStatus status, bool failed) {
        ExpectStatus(status, failed, VI_SUCCESS);
        EXPECT_EQ(ZavConfig_Close(store), VI_SUCCESS);
      });
  EXPECT_GT(runs, 5);
}

TEST_F(AllocationFailure, SerializeWritesTheStoreOrNothing) {
  zavtest::WriteFile(dir_.File("master.xml"), "");
  const std::string path = dir_.File("store.xml");
  ViSession store = RichStore();
  ASSERT_EQ(ZavConfig_Serialize(store, path.c_str()), VI_SUCCESS);
  const std::string expected = zavtest::ReadFile(path);
  const int runs = EveryAllocation(
      [&] { zavtest::WriteFile(path, "old"); },
      [&] { return ZavConfig_Serialize(store, path.c_str()); },
      [&](ViStatus status, bool failed) {
        ExpectStatus(status, failed, ZAVCONFIG_ERROR_SERIALIZE_FAILED);
        const std::string now = zavtest::ReadFile(path);
        EXPECT_TRUE(now == (status == VI_SUCCESS ? expected : "old")) << status << "\n" << now;
        // Nothing else is left beside it: no temporary file.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
      });
  EXPECT_EQ(ZavConfig_Close(store), VI_SUCCESS);
  EXPECT_GT(runs, 50);
}

TEST_F(AllocationFailure, DeserializeReadsAllOrNothing) {
  ViSession store = 0;
  const int runs = EveryAllocation(
      [&] { ASSERT_EQ(ZavConfig_Initialize(&store), VI_SUCCESS); },
      [&] { return ZavConfig_Deserialize(store, rich_.c_str()); },
      [&](ViStatus status, bool failed) {
        // Running out of memory is never reported as a fault of the document or the registry.
        ExpectStatus(status, failed, ZAVCONFIG_ERROR_DESERIALIZE_FAILED);
        EXPECT_EQ(LastError().find("Parsing error"), std::string::npos) << LastError();
        EXPECT_EQ(LastError().find("Invalid ZAV Data Directory"), std::string::npos) << LastError();
        // The same store reads the file whole at the next attempt.
        if (status != VI_SUCCESS) {
          EXPECT_EQ(ZavConfig_Deserialize(store, rich_.c_str()), VI_SUCCESS) << LastError();
        }
        ViInt32 modules = -1;
        EXPECT_EQ(ZavConfig_GetSoftwareModuleCount(
                      Collection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store), &modules),
                  VI_SUCCESS);
        EXPECT_EQ(modules, 1);
        EXPECT_EQ(ZavConfig_Close(store), VI_SUCCESS);
      });
  EXPECT_GT(runs, 100);
}

}  // namespace
