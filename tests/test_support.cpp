// SPDX-License-Identifier: MIT
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <pthread.h>
#include <unistd.h>

namespace zavtest {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zavtest.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  const char* old = std::getenv(name);
  had_ = old != nullptr;
  if (had_) old_ = old;
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (had_)
    setenv(name_.c_str(), old_.c_str(), 1);
  else
    unsetenv(name_.c_str());
}

namespace {
std::string RegistryText(const std::string& masterStore, const std::string& dataDir) {
  std::ostringstream text;
  text << "[Software\\ZAV\\CONFIGURATIONSERVER]\n";
  if (!masterStore.empty()) text << "MasterStore=" << masterStore << "\n";
  text << "\n[Software\\ZAV]\n";
  if (!dataDir.empty()) text << "ZavDataDir=" << dataDir << "\n";
  return text.str();
}
}  // namespace

ScopedRegistry::ScopedRegistry(const std::string& masterStore, const std::string& dataDir)
    : file_((WriteFile(dir_.File("registry.ini"), RegistryText(masterStore, dataDir)),
             dir_.File("registry.ini"))),
      env_("ZAV_REGISTRY", file_.c_str()) {}

std::string DataDir() { return std::string(ZAV_TEST_SOURCE_DIR) + "/data/"; }

std::string TestDataFile(const std::string& name) {
  return std::string(ZAV_TEST_SOURCE_DIR) + "/tests/data/" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void RunOnStackOf(size_t bytes, const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  auto run = [](void* f) -> void* {
    (*static_cast<const std::function<void()>*>(f))();
    return nullptr;
  };
  const int rc = pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body));
  pthread_attr_destroy(&attributes);
  if (rc != 0) throw std::runtime_error("pthread_create failed");
  pthread_join(thread, nullptr);
}

}  // namespace zavtest
