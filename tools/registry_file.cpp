// SPDX-License-Identifier: MIT
#include "registry_file.hpp"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/atomic_file.h"

namespace zavtool {

namespace zp = zav::platform;

std::string WhyChosen(const zp::tRegistrySearch& search) {
  switch (search.Chosen().source) {
    case zp::tRegistrySource::kEnvironment:
      return "from ZAV_REGISTRY";
    case zp::tRegistrySource::kUser:
      return "the user's registry: ZAV_REGISTRY is not set";
    case zp::tRegistrySource::kSystem:
      break;
  }
  return "the system registry: ZAV_REGISTRY is not set and there is no user registry";
}

RegistryFile::RegistryFile(std::string path)
    : path_(std::move(path)), file_(zp::ReadRegistryFile(path_)), lines_(zp::ParseIni(file_.text)) {}

std::string RegistryFile::whyNotRead() const {
  namespace fs = std::filesystem;
  switch (file_.state) {
    case RegistryState::kRead:
      return "";
    case RegistryState::kMissing:
      return "does not exist";
    case RegistryState::kUnreadable:
      return "cannot be read: " + zp::SystemErrorText(file_.error);
    case RegistryState::kNotRegular: {
      std::error_code ec;
      const fs::file_status status = fs::status(path_, ec);
      if (fs::is_directory(status)) return "is a directory, not a regular file";
      if (fs::is_fifo(status)) return "is a FIFO, not a regular file";
      if (fs::is_character_file(status) || fs::is_block_file(status))
        return "is a device, not a regular file";
      return "is not a regular file";
    }
    case RegistryState::kTooLarge:
      return "is larger than 1 MiB, more than a registry ever holds";
  }
  return "";
}

std::string RegistryFile::value(const std::string& section, const std::string& key) const {
  return zp::RegistryValue(lines_, section, key);
}

bool RegistryFile::setIfEmpty(const std::string& section, const std::string& key,
                              const std::string& value) {
  const RegistryLine* current = zp::FindIniValue(lines_, section, key);
  // A value the library ignores because it is too long is still the user's: it is kept.
  if (current && !current->value.empty()) return false;

  std::string& text = file_.text;
  // New lines end the way the file's lines do.
  const size_t firstBreak = text.find('\n');
  const std::string eol =
      firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r' ? "\r\n"
                                                                                         : "\n";
  const std::string entry = key + "=" + value;
  const RegistryLine* header = nullptr;
  for (const RegistryLine& line : lines_)
    if (line.isSection && line.closed && line.key == section) header = &line;

  if (current) {
    // The empty "key=" the library reads last is filled in place.
    text.replace(current->begin, current->end - current->begin, entry);
  } else if (header) {
    size_t after = text.find('\n', header->end);
    if (after == std::string::npos)
      text += eol + entry + eol;
    else
      text.insert(after + 1, entry + eol);
  } else {
    if (!text.empty() && text.back() != '\n') text += eol;
    // A blank line before the new section, unless the file ends with one.
    size_t lastLine = text.empty() ? 0 : text.rfind('\n', text.size() - 2);
    lastLine = lastLine == std::string::npos ? 0 : lastLine + 1;
    if (!text.empty() && text.find_first_not_of(" \t\r\n\v\f", lastLine) != std::string::npos)
      text += eol;
    text += "[" + section + "]" + eol + entry + eol;
  }
  lines_ = zp::ParseIni(text);
  return true;
}

void RegistryFile::save() const {
  std::string error;
  if (!zp::WriteFileAtomically(path_, file_.text.data(), file_.text.size(), error))
    throw std::runtime_error("cannot write " + path_ + ": " + error);
}

}  // namespace zavtool
