// SPDX-License-Identifier: MIT
// The registry file as the library reads it, line by line, so that the utility can show what
// the library will see, point at the line of a mistake, and add a missing value in place.
// Reading, parsing and saving are the library's own platform code: the utility never sees a
// registry differently from the library.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"

namespace zavtool {

inline const char* const kServerSection = "Software\\ZAV\\CONFIGURATIONSERVER";
inline const char* const kMasterStoreKey = "MasterStore";
inline const char* const kZavSection = "Software\\ZAV";
inline const char* const kDataDirKey = "ZavDataDir";
inline const char* const kSchemaFile = "ZavConfigurationStore_1-6.xsd";

using RegistryLine = zav::platform::tIniLine;
using RegistryState = zav::platform::tRegistryState;

// Why the search ended at its chosen file, e.g. "from ZAV_REGISTRY".
std::string WhyChosen(const zav::platform::tRegistrySearch& search);

class RegistryFile {
 public:
  // Reads path as the library does: only a regular file of at most 1 MiB, without waiting.
  explicit RegistryFile(std::string path);

  const std::string& path() const { return path_; }
  RegistryState state() const { return file_.state; }
  bool read() const { return file_.state == RegistryState::kRead; }
  // Why the file was not read, e.g. "it is not a regular file"; "" when it was read.
  std::string whyNotRead() const;
  // A registry that holds bytes no one writes in a text file.
  bool binary() const { return read() && !zav::platform::LooksLikeText(file_.text); }
  const std::vector<RegistryLine>& lines() const { return lines_; }

  // The value the library reads: the last key=value of that exact section and key, "" when
  // there is none (or when it is too long to be a path).
  std::string value(const std::string& section, const std::string& key) const;

  // Gives key a value where it has none (missing or empty), keeping every other byte as it is
  // (comments, line ends, a byte-order mark); returns false, changing nothing, when the key
  // already has a value.
  bool setIfEmpty(const std::string& section, const std::string& key, const std::string& value);
  // Writes the text back with the library's atomic save (links followed, mode and owner kept,
  // synced). Throws std::runtime_error.
  void save() const;

 private:
  std::string path_;
  zav::platform::tRegistryFile file_;
  std::vector<RegistryLine> lines_;
};

}  // namespace zavtool
