// SPDX-License-Identifier: MIT
// The registry file as the library reads it, line by line, so that the utility can show what
// the library will see, point at the line of a mistake, and add a missing value in place.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zavtool {

inline const char* const kServerSection = "Software\\ZAV\\CONFIGURATIONSERVER";
inline const char* const kMasterStoreKey = "MasterStore";
inline const char* const kZavSection = "Software\\ZAV";
inline const char* const kDataDirKey = "ZavDataDir";
inline const char* const kSchemaFile = "ZavConfigurationStore_1-6.xsd";

// Which file the library reads, and why.
struct RegistryChoice {
  std::string path;
  bool fromEnvironment;  // ZAV_REGISTRY named it
};
RegistryChoice CurrentRegistry();
// The file read when ZAV_REGISTRY is not set.
std::string SystemRegistryPath();
// $XDG_CONFIG_HOME/zav/registry.ini (~/.config/... when unset).
std::string UserRegistryPath();

struct RegistryLine {
  int number;           // from 1
  std::string section;  // of a "name=value" line: the section it stands in
  bool isSection;       // a "[...]" line
  std::string key;      // trimmed, or the section's name for a section line
  std::string value;    // trimmed
};

class RegistryFile {
 public:
  // Reads path; a missing or unreadable file reads as empty (exists() tells).
  explicit RegistryFile(std::string path);

  const std::string& path() const { return path_; }
  bool exists() const { return exists_; }
  const std::vector<RegistryLine>& lines() const { return lines_; }

  // The value the library reads: the last key=value of that exact section and key, "" when
  // there is none.
  std::string value(const std::string& section, const std::string& key) const;

  // Gives key a value where it has none (missing or empty), keeping everything else as it
  // is; returns false, changing nothing, when the key already has a value.
  bool setIfEmpty(const std::string& section, const std::string& key, const std::string& value);
  // Writes the text back, atomically; creates missing directories. Throws std::runtime_error.
  void save() const;

 private:
  void parse();

  std::string path_;
  bool exists_ = false;
  std::string text_;
  std::vector<RegistryLine> lines_;
};

}  // namespace zavtool
