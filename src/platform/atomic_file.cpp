// SPDX-License-Identifier: MIT
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/paths.h"

namespace zav::platform {

namespace {

int SysOpenat(int dirFd, const char* path, int flags, mode_t mode) {
  return ::openat(dirFd, path, flags, mode);
}

// strerror_r comes in a GNU flavour (returns the text) and an XSI one (fills the buffer).
[[maybe_unused]] std::string PickErrorText(int rc, const char* buffer) {
  return rc == 0 ? buffer : "Unknown error";
}
[[maybe_unused]] std::string PickErrorText(const char* text, const char*) { return text; }

// The process umask. /proc gives it without changing it; the umask(2) round trip is the
// fallback, as it briefly changes the mask for every thread of the process.
mode_t CurrentUmask() {
  std::string status;
  if (ReadWholeFile("/proc/self/status", status, 1 << 20)) {
    size_t pos = status.find("\nUmask:");
    if (pos != std::string::npos) {
      unsigned long mask = 0;
      if (std::sscanf(status.c_str() + pos + 7, " %lo", &mask) == 1)
        return static_cast<mode_t>(mask & 0777);
    }
  }
  mode_t mask = umask(022);
  umask(mask);
  return mask;
}

// The most links followed from the saved path to the file, as the kernel's own limit.
constexpr int kMaxLinks = 40;

// Follows `path` through symbolic links to the path of the file they lead to, which need not
// exist yet (a dangling link names the file to create). Returns 0 or an errno value.
int ResolveLinks(const std::string& path, std::string& out) {
  std::string current = path;
  for (int followed = 0;; ++followed) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      // A path that cannot be examined is left to the open, which reports why.
      out = current;
      return 0;
    }
    if (followed == kMaxLinks) return ELOOP;
    std::string target(PATH_MAX, '\0');
    ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n < 0) return errno;
    if (n == 0) return ENOENT;
    if (static_cast<size_t>(n) == target.size()) return ENAMETOOLONG;
    target.resize(static_cast<size_t>(n));
    current = target[0] == '/' ? target : DirectoryPart(current) + target;
  }
}

// ".<name>.<8 hex digits>", shortened to stay a valid file name.
std::string TemporaryName(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const unsigned mix = static_cast<unsigned>(getpid()) * 2654435761u ^
                       static_cast<unsigned>(now.tv_nsec) ^ (counter++ * 40503u);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x", mix);
  const size_t reserved = 1 + std::strlen(suffix);
  return "." + name.substr(0, NAME_MAX - reserved) + suffix;
}

// The unnamed file could not be given a name to rename it by: /proc, through which it is named,
// is not mounted (a container or a mount namespace without it).
constexpr int kCannotName = -1;

// A descriptor closed through the writer's table of calls.
tFileDescriptor Closing(int fd) { return tFileDescriptor(fd, AtomicFileCalls().close); }

// The new file in the target's directory until it is renamed over the target. Whatever of it
// was not renamed is removed when it goes out of scope.
class tNewFile {
 public:
  tNewFile(int dirFd, std::string targetName) : dirFd_(dirFd), targetName_(std::move(targetName)) {}
  ~tNewFile() {
    file_.Close();
    if (!tempName_.empty()) AtomicFileCalls().unlinkat(dirFd_, tempName_.c_str(), 0);
  }
  tNewFile(const tNewFile&) = delete;
  tNewFile& operator=(const tNewFile&) = delete;

  int fd() const { return file_.Get(); }

  // An unnamed file where the file system has them and `unnamed` allows, else a named one.
  // Returns 0 or errno.
  int Create(bool unnamed) {
    const tAtomicFileCalls& calls = AtomicFileCalls();
    int fd = unnamed ? calls.openat(dirFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600) : -1;
    if (fd >= 0) {
      file_.Reset(fd);
      return 0;
    }
    // The kernel or the file system has no unnamed files; anything else is a real failure.
    if (unnamed && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = TemporaryName(targetName_);
      fd = calls.openat(dirFd_, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
      if (fd >= 0) {
        tempName_ = std::move(name);
        file_.Reset(fd);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // Gives an unnamed file a temporary name, closes the file and renames it over the target.
  // Returns 0, errno, or kCannotName.
  int CloseAndRename() {
    const tAtomicFileCalls& calls = AtomicFileCalls();
    for (int attempt = 0; tempName_.empty(); ++attempt) {
      std::string name = TemporaryName(targetName_);
      const std::string self = "/proc/self/fd/" + std::to_string(file_.Get());
      if (calls.linkat(AT_FDCWD, self.c_str(), dirFd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        tempName_ = std::move(name);
      else if (errno == ENOENT)
        return kCannotName;
      else if (errno != EEXIST || attempt == 100)
        return errno;
    }
    if (int err = file_.Close()) return err;
    if (calls.renameat(dirFd_, tempName_.c_str(), dirFd_, targetName_.c_str()) != 0) return errno;
    tempName_.clear();
    return 0;
  }

 private:
  int dirFd_;
  std::string targetName_;
  std::string tempName_;  // the name the new file has in the directory, if any
  tFileDescriptor file_ = Closing(-1);
};

int WriteAll(int fd, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    ssize_t n = AtomicFileCalls().write(fd, data + written, size - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    written += static_cast<size_t>(n);
  }
  return 0;
}

// Gives the new file the owner, group and mode of the file it replaces, or the mode of a new
// file. Owner and group are kept where the process may set them; a set-ID bit is kept only
// with the owner or group it belongs to, so a save never makes a set-ID file of the saver's.
int CopyAttributes(int fd, const struct stat* old) {
  const tAtomicFileCalls& calls = AtomicFileCalls();
  if (!old) return calls.fchmod(fd, 0666 & ~CurrentUmask()) == 0 ? 0 : errno;
  if (calls.fchown(fd, old->st_uid, old->st_gid) != 0)
    calls.fchown(fd, static_cast<uid_t>(-1), old->st_gid);
  mode_t mode = old->st_mode & 07777;
  struct stat now;
  if (fstat(fd, &now) != 0) return errno;
  if (now.st_uid != old->st_uid) mode &= ~static_cast<mode_t>(S_ISUID);
  if (now.st_gid != old->st_gid) mode &= ~static_cast<mode_t>(S_ISGID);
  return calls.fchmod(fd, mode) == 0 ? 0 : errno;
}

// Writes the new file, unnamed or named, and renames it over `name` in the directory.
int WriteNewFile(int dirFd, const std::string& name, const char* data, size_t size,
                 const struct stat* old, bool unnamed) {
  tNewFile file(dirFd, name);
  if (int err = file.Create(unnamed)) return err;
  if (int err = WriteAll(file.fd(), data, size)) return err;
  if (int err = CopyAttributes(file.fd(), old)) return err;
  if (AtomicFileCalls().fsync(file.fd()) != 0) return errno;
  return file.CloseAndRename();
}

int WriteFile(const std::string& path, const char* data, size_t size) {
  const tAtomicFileCalls& calls = AtomicFileCalls();
  std::string target;
  if (int err = ResolveLinks(path, target)) return err;
  const std::string dir = DirectoryPart(target);
  const std::string name = target.substr(dir.size());
  if (name.empty()) return EISDIR;

  tFileDescriptor dirFd = Closing(calls.openat(AT_FDCWD, dir.empty() ? "." : dir.c_str(),
                                               O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (dirFd.Get() < 0) return errno;
  struct stat old;
  const bool exists = fstatat(dirFd.Get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) return errno;
  if (exists && S_ISDIR(old.st_mode)) return EISDIR;

  int err = WriteNewFile(dirFd.Get(), name, data, size, exists ? &old : nullptr, true);
  if (err == kCannotName) err = WriteNewFile(dirFd.Get(), name, data, size, exists ? &old : nullptr, false);
  if (err != 0) return err;
  // Makes the rename durable. The new file is already in place, so a failure here is not
  // reported: the save did happen.
  calls.fsync(dirFd.Get());
  return 0;
}

}  // namespace

const tAtomicFileCalls& SystemAtomicFileCalls() {
  static const tAtomicFileCalls calls = {SysOpenat, ::write,    ::fsync,    ::fchmod, ::fchown,
                                         ::linkat,  ::renameat, ::unlinkat, ::close};
  return calls;
}

tAtomicFileCalls& AtomicFileCalls() {
  static tAtomicFileCalls calls = SystemAtomicFileCalls();
  return calls;
}

std::string SystemErrorText(int err) {
  char buffer[256] = "";
  return PickErrorText(strerror_r(err, buffer, sizeof buffer), buffer);
}

bool WriteFileAtomically(const std::string& path, const char* data, size_t size,
                         std::string& error) {
  const int err = WriteFile(path, data, size);
  if (err != 0) error = SystemErrorText(err);
  return err == 0;
}

}  // namespace zav::platform
