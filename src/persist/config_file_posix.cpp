// SPDX-License-Identifier: MIT
#include "persist/config_file_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "model/config_store.h"
#include "persist/store_reader.h"
#include "persist/store_writer.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace zav::persist {

namespace {

const char* const kSchemaFileName = "ZavConfigurationStore_1-6.xsd";

[[noreturn]] void DeserializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "Deserialize failed. " + text);
}

[[noreturn]] void SerializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_SERIALIZE_FAILED, "Serialize failed. " + text);
}

// An open descriptor, closed when the read ends however it ends.
class tFileDescriptor {
 public:
  explicit tFileDescriptor(int fd) : fd_(fd) {}
  ~tFileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  tFileDescriptor(const tFileDescriptor&) = delete;
  tFileDescriptor& operator=(const tFileDescriptor&) = delete;
  int Get() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

// Opens the store file for reading. Only a regular file of at most kMaxStoreFileSize bytes is
// read: the open does not wait (a FIFO without a writer would block it for ever), and devices,
// directories and larger files are refused before a byte is read.
int OpenStoreFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) DeserializeFailed("File " + path + " is not readable.");
  tFileDescriptor guard(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0) DeserializeFailed("File " + path + " is not readable.");
  if (!S_ISREG(info.st_mode)) DeserializeFailed("File " + path + " is not a regular file.");
  if (static_cast<unsigned long long>(info.st_size) > kMaxStoreFileSize)
    DeserializeFailed("File " + path + " is larger than " + std::to_string(kMaxStoreFileSize) +
                      " bytes, the most a store file may have.");
  // Back to blocking reads, which is what a regular file gives anyway.
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return guard.Release();
}

}  // namespace

}  // namespace zav::persist

using namespace zav;

std::string tConfigFilePosix::GetMasterStoreLocation() {
  std::string location =
      platform::ReadRegistryString("Software\\ZAV\\CONFIGURATIONSERVER", "MasterStore");
  if (location.empty() || !platform::Exists(location))
    ThrowZavError(ZAVCONFIG_ERROR_MASTER_NOT_FOUND,
                  "The Windows registry key for the master configuration store does not exist or "
                  "the file cannot be found.");
  return location;
}

void tConfigFilePosix::Deserialize(tZavConfigStore* store, std::string path) {
  using persist::DeserializeFailed;
  std::string absolute;
  if (!platform::MakeAbsolute(path, absolute)) DeserializeFailed(path + " is not a valid path.");
  path = absolute;
  if (!platform::Readable(path)) DeserializeFailed("File " + path + " is not readable.");

  // The reader checks the document's tree itself, as the schema describes it; the schema file
  // must still be where the registry says, as the installation's statement of the format.
  const std::string dataDir = platform::ReadRegistryString("Software\\ZAV", "ZavDataDir");
  if (dataDir.empty())
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Invalid ZAV Data Directory path in registry.");
  const std::string schemaPath = dataDir + persist::kSchemaFileName;
  if (!platform::Readable(schemaPath))
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Failed to read schema file " + schemaPath);

  persist::tFileDescriptor file(persist::OpenStoreFile(path));
  unsigned long long total = 0;
  auto source = [&](char* buffer, size_t size) -> size_t {
    for (;;) {
      const ssize_t got = read(file.Get(), buffer, size);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) DeserializeFailed("File " + path + " could not be read: " + std::strerror(errno) + ".");
      total += static_cast<unsigned long long>(got);
      // The file may grow while it is read.
      if (total > persist::kMaxStoreFileSize)
        DeserializeFailed("File " + path + " is larger than " + std::to_string(persist::kMaxStoreFileSize) +
                          " bytes, the most a store file may have.");
      return static_cast<size_t>(got);
    }
  };
  try {
    persist::ReadConfigStore(store, source);
  } catch (const persist::tDocumentFault& fault) {
    DeserializeFailed("Parsing error number: " + std::to_string(fault.Code()) +
                      ", Description: " + fault.Description());
  }
}

void tConfigFilePosix::Serialize(tZavConfigStore* store, std::string path) {
  using persist::SerializeFailed;
  // The whole document is made before the file system is touched: a store that cannot be
  // written leaves no directory and no file behind.
  std::string text;
  persist::WriteConfigStore(store, text);

  std::string absolute;
  if (!platform::MakeAbsolute(path, absolute)) SerializeFailed(path + " is not a valid path.");
  path = absolute;
  const std::string dir = platform::DirectoryPart(path);
  if (dir.empty())
    SerializeFailed("Invalid path. Path does not have a valid directory component.");
  if (!platform::Exists(dir) && !platform::MakeDirectory(dir))
    SerializeFailed("Invalid path. Failed to create parent directory " + dir);
  std::string error;
  if (!platform::WriteFileAtomically(path, text.data(), text.size(), error))
    SerializeFailed("Failed to write file " + path + ": " + error + ".");
}

std::unique_ptr<iStoreFile> NewPlatformConfigFile() { return std::make_unique<tConfigFilePosix>(); }
