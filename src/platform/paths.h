// SPDX-License-Identifier: MIT
// Paths and files: making paths absolute, access tests and reading files. The atomic save of
// store files is in atomic_file.h, included here for the callers that save.
#pragma once

#include <cstddef>
#include <string>

#include "platform/atomic_file.h"

namespace zav::platform {

// Makes `path` absolute: a relative path is joined to the current directory and an empty one
// is the current directory. "." and ".." and repeated '/' are resolved lexically, without
// following links and without requiring that anything exists; ".." at the root stays at the
// root. A trailing '/' of the input is kept. Fails when the current directory cannot be
// determined or the result has PATH_MAX characters or more.
bool MakeAbsolute(const std::string& path, std::string& out);

// The path up to and including its last '/'; "" when it has none.
std::string DirectoryPart(const std::string& path);

bool Exists(const std::string& path);
bool Readable(const std::string& path);
// Creates one directory level with mode 0777 (less the umask).
bool MakeDirectory(const std::string& dir);

// An open descriptor, closed when it goes out of scope however the scope ends. The close call
// can be given, so that code whose system calls tests replace closes through their table too.
class tFileDescriptor {
 public:
  using tClose = int (*)(int fd);
  explicit tFileDescriptor(int fd = -1, tClose close = nullptr) : fd_(fd), close_(close) {}
  ~tFileDescriptor() { Close(); }
  tFileDescriptor(const tFileDescriptor&) = delete;
  tFileDescriptor& operator=(const tFileDescriptor&) = delete;
  tFileDescriptor(tFileDescriptor&& other) noexcept : fd_(other.Release()), close_(other.close_) {}
  tFileDescriptor& operator=(tFileDescriptor&& other) noexcept {
    Reset(other.Release());
    close_ = other.close_;
    return *this;
  }
  int Get() const { return fd_; }
  int Release() noexcept;
  void Reset(int fd) noexcept {
    Close();
    fd_ = fd;
  }
  // Closes the descriptor now; returns 0 or the errno value of a failed close. The descriptor
  // is gone either way.
  int Close() noexcept;

 private:
  int fd_;
  tClose close_;
};

enum class tOpenResult { kOpen, kUnreadable, kNotRegular, kTooLarge };

// Opens a file for reading only when it is a regular file of at most maxSize bytes; FIFOs,
// devices and directories are refused without waiting for a writer. `file` is set only on
// kOpen; on kUnreadable errno tells why.
tOpenResult OpenRegularFile(const std::string& path, unsigned long long maxSize,
                            tFileDescriptor& file);

// Reads what is left of an open file. Fails, leaving `out` alone, for a read error (errno
// tells which) and when the file holds more than maxSize bytes (errno EFBIG).
bool ReadOpenFile(const tFileDescriptor& file, std::string& out, size_t maxSize);

// Reads a regular file whole. Fails, leaving `out` alone, for anything else (a FIFO, a device,
// a directory), for a read error and for a file longer than maxSize bytes.
bool ReadWholeFile(const std::string& path, std::string& out, size_t maxSize);

}  // namespace zav::platform
