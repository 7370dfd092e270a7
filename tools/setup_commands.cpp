// SPDX-License-Identifier: MIT
// init and doctor: setting up the registry and the master store, and finding what is wrong
// with them.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "commands.hpp"
#include "registry_file.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }
bool Exists(const std::string& path) { return !path.empty() && access(path.c_str(), F_OK) == 0; }

// Creates an empty store at path through the library. The library names the registry's master
// store in every document it writes and insists that file exists, so a placeholder is put in
// place first and taken away again if writing fails.
void CreateStore(const std::string& path, const std::string& registry) {
  std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw std::runtime_error("cannot create " + path);
  ::close(fd);
  setenv("ZAV_REGISTRY", registry.c_str(), 1);
  try {
    zav::Store store;
    store.serialize(path);
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
}

}  // namespace

int Init(const InitOptions& options) {
  RegistryChoice current = CurrentRegistry();
  std::string target = options.user     ? UserRegistryPath()
                       : options.system ? SystemRegistryPath()
                                        : current.path;
  std::string dataDir = options.dataDir.empty() ? ZAV_TOOL_DATADIR : options.dataDir;
  std::string master = options.masterStore;
  if (master.empty()) {
    master = options.user ? EnvOr("XDG_DATA_HOME", EnvOr("HOME", ".") + "/.local/share") +
                                "/zav/ZavConfigurationStore.xml"
                          : ZAV_TOOL_LOCALSTATEDIR "/lib/zav/ZavConfigurationStore.xml";
  }
  if (dataDir.back() != '/') dataDir += '/';

  RegistryFile registry(target);
  bool setMaster = registry.setIfEmpty(kServerSection, kMasterStoreKey, master);
  bool setDataDir = registry.setIfEmpty(kZavSection, kDataDirKey, dataDir);
  if (setMaster || setDataDir) {
    try {
      registry.save();
    } catch (const std::exception& e) {
      return Fail("init", e.what());
    }
  }
  std::cout << "registry      " << target << (registry.exists() ? "" : "  (created)") << "\n";
  std::cout << "  MasterStore " << registry.value(kServerSection, kMasterStoreKey)
            << (setMaster ? "  (set)" : "  (kept: already set)") << "\n";
  std::cout << "  ZavDataDir  " << registry.value(kZavSection, kDataDirKey)
            << (setDataDir ? "  (set)" : "  (kept: already set)") << "\n";

  std::string store = registry.value(kServerSection, kMasterStoreKey);
  if (Exists(store)) {
    std::cout << "master store  " << store << "  (kept: exists)\n";
  } else {
    try {
      CreateStore(store, target);
    } catch (const zav::Error& e) {
      return Fail("init: creating " + store, e.what());
    } catch (const std::exception& e) {
      return Fail("init", e.what());
    }
    std::cout << "master store  " << store << "  (created, empty)\n";
  }
  if (target != current.path)
    std::cout << "\nThe library reads " << current.path << " now. To use this registry:\n"
              << "  export ZAV_REGISTRY=" << target << "\n";
  return kOk;
}

namespace {

struct Problem {
  int line;  // 0: not tied to a line
  std::string what;
  std::string fix;
};

const std::vector<std::pair<std::string, std::string>> kKnown = {{kServerSection, kMasterStoreKey},
                                                                 {kZavSection, kDataDirKey}};

void CheckLayout(const RegistryFile& registry, std::vector<Problem>& problems) {
  for (const RegistryLine& line : registry.lines()) {
    if (line.isSection) {
      bool known = std::any_of(kKnown.begin(), kKnown.end(),
                               [&](const auto& k) { return k.first == line.key; });
      if (known) continue;
      // The nearest section the library reads, to name in the fix.
      std::string nearest = kKnown[0].first;
      for (const auto& k : kKnown)
        if (EditDistance(Lower(line.key), Lower(k.first)) <
            EditDistance(Lower(line.key), Lower(nearest)))
          nearest = k.first;
      problems.push_back({line.number, "section [" + line.key + "] is not one the library reads",
                          "rename it to [" + nearest + "]"});
      continue;
    }
    for (const auto& [section, key] : kKnown) {
      if (line.key == key && line.section == section) break;
      if (Lower(line.key) == Lower(key) && line.key != key) {
        problems.push_back({line.number,
                            "key \"" + line.key + "\" is not read: keys are case-sensitive",
                            "write it as " + key});
        break;
      }
      if (line.key == key && line.section != section) {
        bool sectionKnown = std::any_of(kKnown.begin(), kKnown.end(),
                                        [&](const auto& k) { return k.first == line.section; });
        // A key under a misspelt section is covered by the section's own problem.
        if (sectionKnown)
          problems.push_back({line.number, key + " is read only in [" + section + "]",
                              "move it under [" + section + "]"});
        break;
      }
    }
  }
}

}  // namespace

int Doctor() {
  RegistryChoice choice = CurrentRegistry();
  RegistryFile registry(choice.path);
  std::vector<Problem> problems;
  std::string master = registry.value(kServerSection, kMasterStoreKey);
  std::string dataDir = registry.value(kZavSection, kDataDirKey);

  std::cout << "registry      " << choice.path
            << (choice.fromEnvironment ? "  (from ZAV_REGISTRY)"
                                       : "  (the default: ZAV_REGISTRY is not set)")
            << "\n";
  if (!registry.exists()) {
    std::cout << "              missing or unreadable\n";
    problems.push_back({0, "the registry file " + choice.path + " cannot be read",
                        "run `zavconfig init` (or --user), or point ZAV_REGISTRY at a registry"});
  }
  std::cout << "MasterStore   " << (master.empty() ? "(not set)" : master) << "\n";
  std::cout << "ZavDataDir    " << (dataDir.empty() ? "(not set)" : dataDir) << "\n";
  CheckLayout(registry, problems);

  // The schema, where the library looks for it.
  std::string schema = dataDir + kSchemaFile;
  if (dataDir.empty()) {
    std::cout << "schema        not looked for: ZavDataDir is not set\n";
    if (registry.exists())
      problems.push_back({0, "ZavDataDir is not set in [" + std::string(kZavSection) + "]",
                          "add ZavDataDir=<directory of " + std::string(kSchemaFile) + ">/"});
  } else {
    bool found = Readable(schema);
    std::cout << "schema        " << schema << (found ? "  found" : "  not found") << "\n";
    if (dataDir.back() != '/') {
      std::string fix = "ZavDataDir=" + dataDir + "/";
      if (Readable(dataDir + "/" + kSchemaFile)) fix += " (the schema is there)";
      problems.push_back({0,
                          "ZavDataDir does not end with '/': the library appends the schema "
                          "file name as it stands",
                          "write " + fix});
    } else if (!found) {
      problems.push_back({0, "the schema " + schema + " cannot be read",
                          "install it there, or set ZavDataDir to the directory that holds it"});
    }
  }

  // The master store, read as a driver reads it.
  if (master.empty()) {
    std::cout << "master store  not set\n";
    if (registry.exists())
      problems.push_back({0, "MasterStore is not set in [" + std::string(kServerSection) + "]",
                          "run `zavconfig init`, or add MasterStore=<path of the store>"});
  } else if (!Exists(master)) {
    std::cout << "master store  " << master << "  missing\n";
    problems.push_back({0, "the master store " + master + " does not exist",
                        "run `zavconfig init` to create an empty one"});
  } else {
    try {
      zav::Store store = zav::Store::open(master);
      std::cout << "master store  " << master << "  reads: " << store.driverSessions().size()
                << " driver session(s), " << store.logicalNames().size() << " logical name(s)\n";
    } catch (const zav::Error& e) {
      std::cout << "master store  " << master << "  does not read\n";
      problems.push_back({0, e.what(), "see `zavconfig validate " + master + "`"});
    }
  }

  if (problems.empty()) {
    std::cout << "\nno problems found\n";
    return kOk;
  }
  std::cout << "\nproblems\n";
  for (const Problem& p : problems) {
    std::cout << "  " << (p.line ? "line " + std::to_string(p.line) + ": " : "") << p.what
              << "\n    fix: " << p.fix << "\n";
  }
  return Fail("doctor", std::to_string(problems.size()) + " problem(s) found");
}

}  // namespace zavtool
