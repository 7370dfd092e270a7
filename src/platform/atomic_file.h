// SPDX-License-Identifier: MIT
// The atomic save of store files, and the table of system calls it makes, which tests replace to
// play a full disk, a short write or a failing rename or fsync.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace zav::platform {

// Replaces the file at `path` with `data` so that it is never seen half written, and keeps what
// the user had:
// - A symbolic link is followed to the file it leads to (a relative link relative to the link's
//   directory, at most 40 links); that file is replaced and the links stay.
// - An existing file keeps its permission bits, and its owner and group where the process may
//   set them (set-user-ID and set-group-ID bits are dropped when it may not); a new file gets
//   0666 less the umask.
// - The data goes to an unnamed file in the target's directory (O_TMPFILE), which is synced,
//   given a name and renamed over the target; the directory is then synced. A crash before the
//   rename leaves nothing behind but, in the instant between naming and renaming, a whole file
//   named ".<name>.<random>". Where the file system has no unnamed files, or /proc (through
//   which an unnamed file is given its name) is not mounted, a named one of that pattern is
//   written instead, and a crash while it is written can leave it behind.
// - A target with other hard links is replaced by a new file: the saved path holds the new
//   data and the other names keep the old file, whole.
// - Every descriptor is opened close-on-exec.
// On failure the target is left as it was, no temporary file or descriptor remains, and `error`
// holds the reason.
bool WriteFileAtomically(const std::string& path, const char* data, size_t size,
                         std::string& error);

// The system calls of WriteFileAtomically. Each has the meaning and error convention of the
// system call of its name (open and openat always take a mode).
struct tAtomicFileCalls {
  int (*openat)(int dirFd, const char* path, int flags, mode_t mode);
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);
  int (*fchmod)(int fd, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*linkat)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, int flags);
  int (*renameat)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath);
  int (*unlinkat)(int dirFd, const char* path, int flags);
  int (*close)(int fd);
};

// The real system calls.
const tAtomicFileCalls& SystemAtomicFileCalls();

// The table WriteFileAtomically uses; the real calls unless a test has put others in place.
// Only tests change it, while no save runs.
tAtomicFileCalls& AtomicFileCalls();

// The text of a system error number, as strerror gives it.
std::string SystemErrorText(int err);

}  // namespace zav::platform
