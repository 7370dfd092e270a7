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

namespace {
// Closes the descriptor on every path out, a failed allocation included.
class tReadDescriptor {
 public:
  explicit tReadDescriptor(int fd) : fd_(fd) {}
  tReadDescriptor(const tReadDescriptor&) = delete;
  tReadDescriptor& operator=(const tReadDescriptor&) = delete;
  ~tReadDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};
}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out, size_t maxSize) {
  // Non-blocking, so that a FIFO put where a file belongs cannot stall the caller; only a
  // regular file is read, and never more than maxSize bytes of it.
  tReadDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return false;
  struct stat status;
  if (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > maxSize - content.size()) return false;
    content.append(buffer, static_cast<size_t>(n));
  }
  out.swap(content);
  return true;
}

}  // namespace zav::platform
