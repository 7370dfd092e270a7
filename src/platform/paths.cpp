// SPDX-License-Identifier: MIT
#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zav::platform {

bool MakeAbsolute(const std::string& path, std::string& out) {
  std::string joined;
  if (path.empty() || path[0] != '/') {
    std::vector<char> cwd(PATH_MAX + 1);
    if (!getcwd(cwd.data(), cwd.size())) return false;
    joined = cwd.data();
    if (!path.empty()) joined += "/" + path;
  } else {
    joined = path;
  }

  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= joined.size()) {
    size_t slash = joined.find('/', pos);
    if (slash == std::string::npos) slash = joined.size();
    std::string part = joined.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }

  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  if (result.empty())
    result = "/";
  else if (!path.empty() && path.back() == '/')
    result += "/";
  if (result.size() >= static_cast<size_t>(PATH_MAX)) return false;
  out = result;
  return true;
}

std::string DirectoryPart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool Readable(const std::string& path) { return access(path.c_str(), R_OK) == 0; }

bool MakeDirectory(const std::string& dir) { return mkdir(dir.c_str(), 0777) == 0; }

int tFileDescriptor::Close() noexcept {
  int err = 0;
  if (fd_ >= 0 && (close_ ? close_(fd_) : close(fd_)) != 0) err = errno;
  fd_ = -1;
  return err;
}

int tFileDescriptor::Release() noexcept {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

tOpenResult OpenRegularFile(const std::string& path, unsigned long long maxSize,
                            tFileDescriptor& file) {
  // The open does not wait: a FIFO without a writer would block it for ever.
  tFileDescriptor opened(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (opened.Get() < 0) return tOpenResult::kUnreadable;
  struct stat info {};
  if (fstat(opened.Get(), &info) != 0) {
    const int error = errno;
    opened = tFileDescriptor();
    errno = error;
    return tOpenResult::kUnreadable;
  }
  if (!S_ISREG(info.st_mode)) return tOpenResult::kNotRegular;
  if (static_cast<unsigned long long>(info.st_size) > maxSize) return tOpenResult::kTooLarge;
  // Back to blocking reads, which is what a regular file gives anyway.
  const int flags = fcntl(opened.Get(), F_GETFL);
  if (flags >= 0) fcntl(opened.Get(), F_SETFL, flags & ~O_NONBLOCK);
  file = tFileDescriptor(opened.Release());
  return tOpenResult::kOpen;
}

bool ReadOpenFile(const tFileDescriptor& file, std::string& out, size_t maxSize) {
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(file.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > maxSize - content.size()) {
      errno = EFBIG;
      return false;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  out.swap(content);
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, size_t maxSize) {
  tFileDescriptor fd;
  if (OpenRegularFile(path, maxSize, fd) != tOpenResult::kOpen) return false;
  return ReadOpenFile(fd, out, maxSize);
}

}  // namespace zav::platform
