// SPDX-License-Identifier: MIT
#include "persist/config_file_posix.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "model/config_store.h"
#include "persist/store_reader.h"
#include "persist/store_schema.h"
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

// Opens the store file for reading. Only a regular file of at most kMaxStoreFileSize bytes is
// read: devices, directories and larger files are refused before a byte is read.
platform::tFileDescriptor OpenStoreFile(const std::string& path) {
  platform::tFileDescriptor file;
  switch (platform::OpenRegularFile(path, kMaxStoreFileSize, file)) {
    case platform::tOpenResult::kOpen:
      return file;
    case platform::tOpenResult::kUnreadable:
      DeserializeFailed("File " + path + " is not readable.");
    case platform::tOpenResult::kNotRegular:
      DeserializeFailed("File " + path + " is not a regular file.");
    case platform::tOpenResult::kTooLarge:
      break;
  }
  DeserializeFailed("File " + path + " is larger than " + std::to_string(kMaxStoreFileSize) +
                    " bytes, the most a store file may have.");
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

  // The reader checks the document's tree itself, as the shipped schema describes it; a data
  // directory with another schema has that compiled, and it validates the document as well.
  const std::string dataDir = platform::ReadRegistryString("Software\\ZAV", "ZavDataDir");
  if (dataDir.empty())
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Invalid ZAV Data Directory path in registry.");
  const std::string schemaPath = dataDir + persist::kSchemaFileName;
  persist::tSchemaStatus status = persist::tSchemaStatus::kUnreadable;
  std::shared_ptr<const persist::tStoreSchema> schema;
  if (platform::Readable(schemaPath)) schema = persist::FindStoreSchema(schemaPath, status);
  if (status == persist::tSchemaStatus::kUnreadable)
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Failed to read schema file " + schemaPath);
  if (status == persist::tSchemaStatus::kNotASchema) DeserializeFailed("Failed to add schema to schema collection.");

  platform::tFileDescriptor file = persist::OpenStoreFile(path);
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
    persist::ReadConfigStore(store, source, schema.get());
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
