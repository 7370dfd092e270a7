// SPDX-License-Identifier: MIT
// Threads working at once on one shared store and on stores of their own: creating, reading,
// serializing, deserializing and disposing. CI runs it under ThreadSanitizer, which reports any
// access the API lock does not order; the checks here catch lost updates and torn snapshots.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "zavconfig.h"
#include "zavcshared.h"

namespace {

constexpr int kThreads = 4, kRounds = 30;

// The first failure any thread saw, with what it was doing.
class tFailures {
 public:
  void Note(bool ok, const std::string& what) {
    if (ok) return;
    std::lock_guard<std::mutex> guard(mutex_);
    if (first_.empty()) first_ = what;
    ++count_;
  }
  // Expects status 0, else notes the status and the thread's recorded message.
  ViSession Ok(ViStatus status, const std::string& what, ViSession handle = 0) {
    char text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
    if (status != 0) ZavConfig_GetError(nullptr, text);
    Note(status == 0, what + ": " + std::to_string(status) + " " + text);
    return handle;
  }
  int count() const { return count_; }
  const std::string& first() const { return first_; }

 private:
  std::mutex mutex_;
  std::string first_;
  std::atomic<int> count_{0};
};

std::string Name(ViSession item, ViStatus (*get)(ViSession, ViAttr, ViInt32, ViChar[])) {
  char name[64] = "";
  get(item, 1, sizeof name, name);
  return name;
}

ViInt32 Count(ViStatus (*count)(ViSession, ViInt32*), ViSession collection, tFailures& f) {
  ViInt32 n = -1;
  f.Ok(count(collection, &n), "count");
  return n;
}

// One round on the shared store: a session with a setting and a logical name leading to it,
// read back by name; every other round they are destroyed again.
void SharedRound(ViSession store, ViSession names, ViSession sessions, const std::string& tag,
                 bool destroy, tFailures& f) {
  ViSession session = 0, components = 0, setting = 0, name = 0, found = 0;
  f.Ok(ZavConfig_CreateSession(sessions, ("s" + tag).c_str(), &session), "create session");
  f.Ok(ZavConfig_GetConfigComponentDataComponentCollection(session, &components), "components");
  f.Ok(ZavConfig_CreateDataComponent(components, ZAVCONFIG_DATA_COMPONENT_STRING, "Setting",
                                     &setting),
       "create setting");
  f.Ok(ZavConfig_SetDataComponentPropertyViString(setting, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
                                                  tag.c_str()),
       "set value");
  f.Ok(ZavConfig_CreateLogicalName(names, ("l" + tag).c_str(), &name), "create logical name");
  f.Ok(ZavConfig_SetLogicalNameSessionReference(name, session), "refer");
  f.Ok(ZavConfig_GetSession(store, ("l" + tag).c_str(), &found), "resolve");
  f.Note(Name(found, ZavConfig_GetSessionPropertyViString) == "s" + tag, "resolved " + tag);
  char value[64] = "";
  f.Ok(ZavConfig_GetDataComponentPropertyViString(setting, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
                                                  sizeof value, value),
       "get value");
  f.Note(value == tag, "value of " + tag);

  // Items of other threads come and go; a fetch by index may miss, but never crash or mix up.
  const ViInt32 n = Count(ZavConfig_GetLogicalNameCount, names, f);
  ViSession other = 0;
  const ViStatus fetched = ZavConfig_GetLogicalNameItemByIndex(names, n, &other);
  f.Note(fetched == 0 || fetched == ZAVCONFIG_ERROR_NOT_FOUND, "fetch by index");
  if (fetched == 0) f.Ok(ZavConfig_DisposeHandle(other), "dispose other");

  // A failure is recorded for this thread only, whatever the others record meanwhile.
  const std::string missing = "missing" + tag;
  f.Note(ZavConfig_GetSession(store, missing.c_str(), &other) == ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
         "missing session");
  char text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
  ZavConfig_GetError(nullptr, text);
  f.Note(std::string(text).find("'" + missing + "'") != std::string::npos, "own error record");

  if (destroy) {
    f.Ok(ZavConfig_DestroyLogicalName(names, name), "destroy logical name");
    f.Ok(ZavConfig_DestroySession(sessions, session), "destroy session");
  } else {
    f.Ok(ZavConfig_DisposeHandle(name), "dispose name");
    f.Ok(ZavConfig_DisposeHandle(session), "dispose session");
  }
  for (ViSession handle : {components, setting, found})
    f.Ok(ZavConfig_DisposeHandle(handle), "dispose");
}

// The shared store written while others change it, read back into a store of this thread's own:
// a snapshot in which every logical name still leads to its session.
void SnapshotRound(ViSession shared, const std::string& file, tFailures& f) {
  f.Ok(ZavConfig_Serialize(shared, file.c_str()), "serialize shared");
  ViSession own = 0, names = 0, item = 0, session = 0;
  f.Ok(ZavConfig_Initialize(&own), "initialize");
  f.Ok(ZavConfig_Deserialize(own, file.c_str()), "deserialize");
  f.Ok(ZavConfig_GetConfigStoreLogicalNameCollection(own, &names), "names of own");
  for (ViInt32 i = 1, n = Count(ZavConfig_GetLogicalNameCount, names, f); i <= n; ++i) {
    f.Ok(ZavConfig_GetLogicalNameItemByIndex(names, i, &item), "item of own");
    f.Ok(ZavConfig_GetLogicalNameSessionReference(item, &session), "reference of own");
    // A logical name written between its creation and its reference has no session yet.
    f.Note(session == 0 || "s" + Name(item, ZavConfig_GetLogicalNamePropertyViString).substr(1) ==
                               Name(session, ZavConfig_GetSessionPropertyViString),
           "snapshot consistent");
    ZavConfig_DisposeHandle(item);
    ZavConfig_DisposeHandle(session);
  }
  f.Ok(ZavConfig_DisposeHandle(names), "dispose names of own");
  f.Ok(ZavConfig_Close(own), "close own");
}

TEST(Stress, ThreadsOnSharedAndSeparateStores) {
  zavtest::TempDir dir;
  const std::string master = dir.File("master.xml");
  zavtest::WriteFile(master, "");
  zavtest::ScopedRegistry registry(master, zavtest::DataDir());
  tFailures f;
  ViSession store = 0, names = 0, sessions = 0;
  ASSERT_EQ(ZavConfig_Initialize(&store), 0);
  f.Ok(ZavConfig_GetConfigStoreLogicalNameCollection(store, &names), "names");
  f.Ok(ZavConfig_GetConfigStoreSessionCollection(store, &sessions), "sessions");

  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      const std::string file = dir.File("snapshot" + std::to_string(t) + ".xml");
      for (int r = 0; r < kRounds; ++r) {
        SharedRound(store, names, sessions, std::to_string(t) + "_" + std::to_string(r), r % 2 == 0,
                    f);
        if (r % 3 == 0) SnapshotRound(store, file, f);
      }
    });
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(f.count(), 0) << f.first();
  EXPECT_EQ(Count(ZavConfig_GetLogicalNameCount, names, f), kThreads * kRounds / 2);
  EXPECT_EQ(Count(ZavConfig_GetSessionCount, sessions, f), kThreads * kRounds / 2);
  ZavConfig_DisposeHandle(names);
  ZavConfig_DisposeHandle(sessions);
  EXPECT_EQ(ZavConfig_Close(store), 0);
}

// A program forks while its other threads are inside library calls: every child must be able
// to use the library at once (a lock copied while held would hang it for ever).
TEST(Stress, ChildrenForkedDuringCallsUseTheLibrary) {
  zavtest::ScopedRegistry registry(std::string(ZAV_TEST_SOURCE_DIR) + "/data/example_store.xml",
                                   zavtest::DataDir());
  const std::string example = std::string(ZAV_TEST_SOURCE_DIR) + "/data/example_store.xml";
  std::atomic<bool> stop{false};
  std::vector<std::thread> busy;
  for (int t = 0; t < 2; ++t)
    busy.emplace_back([&] {
      while (!stop) {
        ViSession store = 0;
        ZavConfig_Initialize(&store);
        ZavConfig_Deserialize(store, example.c_str());
        ZavConfig_Close(store);
      }
    });
  int hung = 0, failed = 0;
  for (int i = 0; i < 200 && hung + failed == 0; ++i) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      alarm(5);  // a hang ends the child with SIGALRM instead of the test
      ViSession store = 0;
      const bool ok = ZavConfig_Initialize(&store) == 0 &&
                      ZavConfig_Deserialize(store, example.c_str()) == 0 &&
                      ZavConfig_Close(store) == 0;
      _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) ++hung;
    else if (WEXITSTATUS(status) != 0) ++failed;
  }
  stop = true;
  for (std::thread& t : busy) t.join();
  EXPECT_EQ(hung, 0);
  EXPECT_EQ(failed, 0);
}

}  // namespace
