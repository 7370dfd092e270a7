#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zav::platform {

namespace {

// strerror_r comes in a GNU flavour (returns the text) and an XSI one (fills the buffer).
[[maybe_unused]] std::string PickErrorText(int rc, const char* buffer) {
  return rc == 0 ? buffer : "Unknown error";
}
[[maybe_unused]] std::string PickErrorText(const char* text, const char*) { return text; }

std::string ErrorText(int err) {
  char buffer[256] = "";
  return PickErrorText(strerror_r(err, buffer, sizeof buffer), buffer);
}

// The process umask. /proc gives it without changing it; the umask(2) round trip is the
// fallback, as it briefly changes the mask for every thread of the process.
mode_t CurrentUmask() {
  std::string status;
  if (ReadWholeFile("/proc/self/status", status)) {
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

}  // namespace

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

bool ReadWholeFile(const std::string& path, std::string& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      return false;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  out.swap(content);
  return true;
}

bool WriteFileAtomically(const std::string& path, const char* data, size_t size,
                         std::string& error) {
  std::string dir = DirectoryPart(path);
  std::string name = path.substr(dir.size());
  // ".<name>.XXXXXX" must itself be a valid file name, so a long name is shortened here.
  const size_t reserved = 8;
  if (name.size() > NAME_MAX - reserved) name.resize(NAME_MAX - reserved);
  std::string temp = dir + "." + name + ".XXXXXX";

  int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }

  int err = 0;
  size_t written = 0;
  while (written < size) {
    ssize_t n = write(fd, data + written, size - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) {
      err = EIO;
      break;
    }
    written += static_cast<size_t>(n);
  }
  if (err == 0 && fsync(fd) != 0) err = errno;
  // mkstemp creates the file with mode 0600; a store file gets the mode of any new file.
  if (err == 0 && fchmod(fd, 0666 & ~CurrentUmask()) != 0) err = errno;
  if (close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && rename(temp.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    unlink(temp.c_str());
    error = ErrorText(err);
    return false;
  }

  // Make the rename itself durable; the file is already whole either way, so this is best effort.
  int dirFd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
  return true;
}

}  // namespace zav::platform
