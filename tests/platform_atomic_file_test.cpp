// SPDX-License-Identifier: MIT
// The atomic save: through links, keeping mode and owner, and under injected I/O faults, after
// which the old file must be whole and nothing of the attempt may remain.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "test_support.h"

namespace zp = zav::platform;
namespace fs = std::filesystem;
using zavtest::ReadFile;
using zavtest::WriteFile;

namespace {

std::set<std::string> Entries(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

size_t OpenDescriptors() { return Entries("/proc/self/fd").size(); }

bool Save(const std::string& path, const std::string& text, std::string& error) {
  return zp::WriteFileAtomically(path, text.data(), text.size(), error);
}

int Fails(int err) { return errno = err, -1; }
ssize_t WriteAtMost(size_t most, int fd, const void* data, size_t size) {
  return ::write(fd, data, std::min(size, most));
}

// Puts fault-injecting calls in place for one test and the real ones back afterwards.
class AtomicFileTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    calls_ = zp::SystemAtomicFileCalls();
    counter_ = 0;
    // Without unnamed files, the writer falls back to a named temporary file.
    if (!GetParam())
      calls_.openat = [](int dirFd, const char* path, int flags, mode_t mode) {
        if ((flags & O_TMPFILE) == O_TMPFILE) return Fails(EOPNOTSUPP);
        return ::openat(dirFd, path, flags, mode);
      };
  }
  void TearDown() override { zp::AtomicFileCalls() = zp::SystemAtomicFileCalls(); }
  void Install() { zp::AtomicFileCalls() = calls_; }

  zavtest::TempDir dir_;
  zp::tAtomicFileCalls calls_;
  static inline int counter_ = 0;
};

TEST_P(AtomicFileTest, FaultsLeaveTheOldFileAndNothingElse) {
  using Calls = zp::tAtomicFileCalls;
  using Data = const void*;
  const struct {
    const char* what;
    void (*inject)(Calls&);
    const char* error;  // "" when the save still succeeds
  } cases[] = {
      {"full disk after a partial write",
       [](Calls& c) {
         c.write = [](int fd, Data d, size_t n) {
           return counter_++ ? Fails(ENOSPC) : WriteAtMost(5, fd, d, n);
         };
       },
       "No space left on device"},
      {"short writes and an interrupt",
       [](Calls& c) {
         c.write = [](int fd, Data d, size_t n) {
           return counter_++ == 1 ? Fails(EINTR) : WriteAtMost(3, fd, d, n);
         };
       },
       ""},
      {"write makes no progress",
       [](Calls& c) { c.write = [](int, Data, size_t) -> ssize_t { return 0; }; },
       "Input/output error"},
      {"fsync fails", [](Calls& c) { c.fsync = [](int) { return Fails(EIO); }; },
       "Input/output error"},
      {"rename fails",
       [](Calls& c) {
         c.renameat = [](int, const char*, int, const char*) { return Fails(EXDEV); };
       },
       "Invalid cross-device link"},
      {"close fails", [](Calls& c) { c.close = [](int fd) { return ::close(fd), Fails(EIO); }; },
       "Input/output error"},
      {"chmod fails", [](Calls& c) { c.fchmod = [](int, mode_t) { return Fails(EPERM); }; },
       "Operation not permitted"},
      {"naming the unnamed file fails",
       [](Calls& c) {
         c.linkat = [](int, const char*, int, const char*, int) { return Fails(EMLINK); };
       },
       GetParam() ? "Too many links" : ""},
      {"no /proc to name the unnamed file through",
       [](Calls& c) {
         c.linkat = [](int, const char*, int, const char*, int) { return Fails(ENOENT); };
       },
       ""},
  };
  const std::string store = dir_.File("store.xml"), old = "<old store, longer than the new/>";
  for (const auto& fault : cases) {
    WriteFile(store, old);
    const auto entries = Entries(dir_.path());
    const size_t descriptors = OpenDescriptors();
    counter_ = 0;
    fault.inject(calls_);
    Install();
    std::string error;
    const bool saved = Save(store, "<new/>", error);
    SetUp();
    Install();
    EXPECT_EQ(saved, *fault.error == '\0') << fault.what;
    EXPECT_EQ(error, fault.error) << fault.what;
    EXPECT_EQ(ReadFile(store), saved ? "<new/>" : old) << fault.what;
    EXPECT_EQ(Entries(dir_.path()), entries) << fault.what;
    EXPECT_EQ(OpenDescriptors(), descriptors) << fault.what;
  }
}

TEST_P(AtomicFileTest, DescriptorsAreCloseOnExecAndACrashLeavesTheOldFile) {
  calls_.write = [](int fd, const void* data, size_t size) -> ssize_t {
    if (!(fcntl(fd, F_GETFD) & FD_CLOEXEC)) ++counter_;
    return ::write(fd, data, size);
  };
  calls_.fsync = [](int fd) { return (fcntl(fd, F_GETFD) & FD_CLOEXEC) ? ::fsync(fd) : -1; };
  Install();
  const std::string store = dir_.File("store.xml");
  std::string error;
  ASSERT_TRUE(Save(store, "<first/>", error)) << error;
  EXPECT_EQ(counter_, 0);

  // A process that dies in the middle of a save.
  calls_.write = [](int fd, const void* data, size_t size) -> ssize_t {
    ::write(fd, data, size / 2);
    _exit(0);
  };
  Install();
  const pid_t child = fork();
  if (child == 0) {
    Save(store, std::string(1 << 20, 'x'), error);
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(ReadFile(store), "<first/>");
  // An unnamed file vanishes with the process; a named one stays, as documented.
  EXPECT_EQ(Entries(dir_.path()).size(), GetParam() ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, AtomicFileTest, ::testing::Bool());

TEST(AtomicFile, SavesThroughLinksAndKeepsWhatTheUserHad) {
  zavtest::TempDir dir;
  fs::create_directories(dir.File("real"));
  fs::create_directories(dir.File("links/deeper"));
  const std::string store = dir.File("real/store.xml");
  WriteFile(store, "<old/>");
  fs::permissions(store, fs::perms(0600));
  ASSERT_EQ(chown(store.c_str(), 12345, 23456), 0);
  fs::create_symlink(store, dir.File("links/absolute"));
  fs::create_symlink("../real/store.xml", dir.File("links/relative"));
  fs::create_symlink("../relative", dir.File("links/deeper/chain"));
  std::string error;
  for (const char* link : {"links/absolute", "links/relative", "links/deeper/chain"}) {
    ASSERT_TRUE(Save(dir.File(link), link, error)) << link << ": " << error;
    EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
    EXPECT_EQ(ReadFile(store), link);
    struct stat info {};
    ASSERT_EQ(stat(store.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << link;
    EXPECT_EQ(info.st_uid, 12345u) << link;
    EXPECT_EQ(info.st_gid, 23456u) << link;
  }
  EXPECT_EQ(Entries(dir.File("real")), std::set<std::string>{"store.xml"});

  // Where the owner cannot be kept, a set-user-ID bit is not kept either.
  fs::permissions(store, fs::perms(04750));
  zp::AtomicFileCalls().fchown = [](int, uid_t, gid_t) { return Fails(EPERM); };
  const bool saved = Save(store, "<mine/>", error);
  zp::AtomicFileCalls() = zp::SystemAtomicFileCalls();
  ASSERT_TRUE(saved) << error;
  EXPECT_EQ(fs::status(store).permissions(), fs::perms(0750));

  // A hard-linked store: the saved name gets the new file, the other name keeps the old one.
  fs::create_hard_link(store, dir.File("real/other-name"));
  ASSERT_TRUE(Save(store, "<new/>", error)) << error;
  EXPECT_EQ(ReadFile(dir.File("real/other-name")), "<mine/>");
  EXPECT_EQ(fs::hard_link_count(store), 1u);

  // A dangling link names the file to create, with the mode of a new file.
  fs::create_symlink("created.xml", dir.File("real/dangling"));
  const mode_t oldMask = umask(027);
  const bool created = Save(dir.File("real/dangling"), "<c/>", error);
  umask(oldMask);
  ASSERT_TRUE(created) << error;
  EXPECT_EQ(ReadFile(dir.File("real/created.xml")), "<c/>");
  EXPECT_EQ(fs::status(dir.File("real/created.xml")).permissions(), fs::perms(0640));

  fs::create_symlink("loop-b", dir.File("loop-a"));
  fs::create_symlink("loop-a", dir.File("loop-b"));
  const std::pair<const char*, const char*> refused[] = {
      {"loop-a", "Too many levels of symbolic links"},
      {"missing/store.xml", "No such file or directory"},
      {"real/store.xml/x", "Not a directory"},
      {"real", "Is a directory"},
      {"links/", "Is a directory"}};
  for (const auto& [target, reason] : refused) {
    EXPECT_FALSE(Save(dir.File(target), "<x/>", error)) << target;
    EXPECT_EQ(error, reason) << target;
  }
  EXPECT_EQ(Entries(dir.File("real")),
            (std::set<std::string>{"store.xml", "other-name", "dangling", "created.xml"}));
}

}  // namespace
