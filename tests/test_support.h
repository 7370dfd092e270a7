// SPDX-License-Identifier: MIT
// Shared fixtures of the test suites: temporary directories, a registry file of the test's own,
// and small file helpers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace zavtest {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);  // value null: unset
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

// Writes a registry file with the two values and points ZAV_REGISTRY at it. An empty
// value leaves the value out of the file.
class ScopedRegistry {
 public:
  ScopedRegistry(const std::string& masterStore, const std::string& dataDir);
  const std::string& path() const { return file_; }

 private:
  TempDir dir_;
  std::string file_;
  ScopedEnv env_;
};

// The repository's data directory, with its trailing '/': where the schema lives.
std::string DataDir();
// A file of tests/data.
std::string TestDataFile(const std::string& name);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);

// Runs `body` on a new thread with a stack of `bytes` and waits for it: for code that must not
// need a deep stack, as on the small stacks of a host's worker threads.
void RunOnStackOf(size_t bytes, const std::function<void()>& body);

}  // namespace zavtest
