// SPDX-License-Identifier: MIT
#include "store_access.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "registry_file.hpp"

namespace zavtool {

namespace {

bool Mentions(const zav::Error& error, const char* text) {
  return std::strstr(error.what(), text) != nullptr;
}

std::vector<std::string> RegistryHints(bool aboutMaster) {
  const zav::platform::tRegistrySearch search = zav::platform::SearchRegistry();
  RegistryFile registry(search.Chosen().path);
  // "the registry /etc/zav/registry.ini (the system registry: ZAV_REGISTRY is not set ...)"
  const std::string label = "the registry " + registry.path() + " (" + WhyChosen(search) + ")";
  std::string problem;
  if (!registry.read()) {
    problem = label + " " + registry.whyNotRead();
  } else if (aboutMaster) {
    std::string master = registry.value(kServerSection, kMasterStoreKey);
    problem = master.empty()
                  ? label + " sets no " + kMasterStoreKey
                  : label + " names the master store " + master + ", which does not exist";
  } else {
    std::string dataDir = registry.value(kZavSection, kDataDirKey);
    problem = dataDir.empty() ? label + " sets no " + kDataDirKey
                              : label + " names the data directory " + dataDir + ", where " +
                                    kSchemaFile + " cannot be read";
  }
  return {problem, "run 'zavconfig doctor' to see what is wrong and how to fix it"};
}

}  // namespace

std::vector<std::string> Hints(const zav::Error& error, const std::string& file) {
  if (auto* edit = dynamic_cast<const zav::EditError*>(&error)) {
    if (edit->reason() == zav::EditError::Reason::ReadOnly)
      return {"--force writes it all the same, where its directory may be written"};
    if (edit->reason() == zav::EditError::Reason::Locked)
      return {"run the command again when the other editor is done"};
    if (edit->reason() == zav::EditError::Reason::Changed)
      return {"run the command again to apply it to the store as it is now"};
    return {};
  }
  if (error.code() == ZAVCONFIG_ERROR_MASTER_NOT_FOUND) return RegistryHints(true);
  if (Mentions(error, "Invalid ZAV Data Directory path in registry") ||
      Mentions(error, "Failed to read schema file"))
    return RegistryHints(false);
  if (error.code() == ZAVCONFIG_ERROR_DESERIALIZE_FAILED && Mentions(error, "is not readable")) {
    std::string path = file;
    if (path.empty()) {
      try {
        path = zav::Store().masterLocation();
      } catch (const zav::Error&) {
        return {};
      }
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
      return {path + (errno == ENOENT ? std::string(": no such file")
                                      : ": " + std::string(std::strerror(errno)))};
    if (S_ISDIR(st.st_mode)) return {path + ": is a directory, not a store file"};
    if (access(path.c_str(), R_OK) != 0) return {path + ": " + std::strerror(errno)};
  }
  return {};
}

int Fail(const std::string& context, const std::string& message,
         const std::vector<std::string>& hints) {
  std::cerr << "zavconfig: " << context << ": " << message << "\n";
  for (const std::string& hint : hints) std::cerr << "  " << hint << "\n";
  return kFault;
}

int Fail(const std::string& context, const Refusal& refusal) {
  return Fail(context, refusal.message, refusal.hints);
}

int Fail(const std::string& context, const zav::Error& error, const std::string& file) {
  return Fail(context, error.what(), Hints(error, file));
}

std::string StorePath(const std::string& file) {
  return file.empty() ? zav::Store().masterLocation() : file;
}

OpenStore Open(const std::string& file) {
  zav::Store store;
  std::string path = file.empty() ? store.masterLocation() : file;
  store.deserialize(path);
  return {std::move(store), path};
}

}  // namespace zavtool
