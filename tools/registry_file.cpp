// SPDX-License-Identifier: MIT
#include "registry_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "text.hpp"

namespace zavtool {

namespace {

bool IsBlank(char c) { return std::strchr(" \t\r\n\v\f", c) != nullptr && c != '\0'; }

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

RegistryChoice CurrentRegistry() {
  const char* env = std::getenv("ZAV_REGISTRY");
  if (env && *env) return {env, true};
  return {SystemRegistryPath(), false};
}

std::string SystemRegistryPath() { return ZAV_TOOL_SYSCONFDIR "/zav/registry.ini"; }

std::string UserRegistryPath() {
  return EnvOr("XDG_CONFIG_HOME", EnvOr("HOME", ".") + "/.config") + "/zav/registry.ini";
}

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (in) {
    std::ostringstream content;
    content << in.rdbuf();
    text_ = content.str();
    exists_ = true;
  }
  parse();
}

void RegistryFile::parse() {
  lines_.clear();
  size_t pos = text_.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  std::string section;
  int number = 0;
  while (pos < text_.size()) {
    size_t eol = text_.find('\n', pos);
    if (eol == std::string::npos) eol = text_.size();
    std::string line = Trim(text_.substr(pos, eol - pos));
    pos = eol + 1;
    ++number;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      // A line that does not close its bracket opens no section the library knows.
      section = line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : std::string();
      lines_.push_back({number, section, true, section, ""});
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    lines_.push_back(
        {number, section, false, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
  }
}

std::string RegistryFile::value(const std::string& section, const std::string& key) const {
  std::string result;
  for (const RegistryLine& line : lines_)
    if (!line.isSection && line.section == section && line.key == key) result = line.value;
  // The library takes a value that cannot be a path as absent.
  return result.size() >= static_cast<size_t>(PATH_MAX) ? std::string() : result;
}

bool RegistryFile::setIfEmpty(const std::string& section, const std::string& key,
                              const std::string& value) {
  if (!this->value(section, key).empty()) return false;
  // Line numbers of the last empty "key=" and of the section header, if any.
  int emptyLine = 0, headerLine = 0;
  for (const RegistryLine& line : lines_) {
    if (line.isSection && line.key == section) headerLine = line.number;
    if (!line.isSection && line.section == section && line.key == key) emptyLine = line.number;
  }
  std::string entry = key + "=" + value;
  std::vector<std::string> rows;
  std::istringstream in(text_);
  for (std::string row; std::getline(in, row);) rows.push_back(row);
  if (emptyLine > 0) {
    rows[emptyLine - 1] = entry;
  } else if (headerLine > 0) {
    rows.insert(rows.begin() + headerLine, entry);
  } else {
    if (!rows.empty() && !Trim(rows.back()).empty()) rows.push_back("");
    rows.push_back("[" + section + "]");
    rows.push_back(entry);
  }
  text_.clear();
  for (const std::string& row : rows) text_ += row + "\n";
  parse();
  return true;
}

void RegistryFile::save() const {
  std::filesystem::path target(path_);
  std::error_code ec;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  std::string temp = path_ + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(errno));
  bool ok = ::write(fd, text_.data(), text_.size()) == static_cast<ssize_t>(text_.size());
  ok = ::fchmod(fd, 0644) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path_.c_str()) != 0) {
    int error = errno;
    std::remove(temp.c_str());
    throw std::runtime_error("cannot write " + path_ + ": " + std::strerror(error));
  }
}

}  // namespace zavtool
