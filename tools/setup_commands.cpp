// SPDX-License-Identifier: MIT
// init and doctor: setting up the registry and the master store, and finding what is wrong
// with them.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "commands.hpp"
#include "platform/install_dirs.h"
#include "registry_file.hpp"
#include "text.hpp"

namespace zavtool {

namespace zp = zav::platform;

namespace {

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }
bool Exists(const std::string& path) { return !path.empty() && access(path.c_str(), F_OK) == 0; }

// $name when it is an absolute path, else $HOME + fallback; "" when neither is absolute.
std::string BaseDirectory(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + fallback;
  return "";
}

// Creates an empty store at path through the library, under the store's lock, so that an
// editor of the same store never reads it half made. The library names the registry's master
// store in every document it writes and insists that file exists, so a placeholder is put in
// place first and taken away again if writing fails.
// Returns false, changing nothing, when the store appeared meanwhile (another init made it).
bool CreateStore(const std::string& path, const std::string& registry) {
  std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
  zav::FileLock lock(path);
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) return false;
  if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
  ::close(fd);
  setenv("ZAV_REGISTRY", registry.c_str(), 1);
  try {
    zav::Store store;
    store.serialize(path);
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
  return true;
}

// What a user runs so that the library reads `target` instead of what it reads now.
std::string HowToUse(const std::string& target, const zp::tRegistrySearch& now) {
  if (now.Chosen().source == zp::tRegistrySource::kEnvironment) {
    // Without ZAV_REGISTRY, would the search end at target?
    for (size_t i = 1; i < now.candidates.size(); ++i)
      if (now.candidates[i].applies) {
        if (now.candidates[i].path == target) return "  unset ZAV_REGISTRY\n";
        break;
      }
  }
  return "  export ZAV_REGISTRY=" + target + "\n";
}

// What init did to the registry.
struct RegistryEdit {
  bool created = false, setMaster = false, setDataDir = false;
};

// Why init must leave a registry alone; "" when it may fill it in.
std::string Refusal(const RegistryFile& registry) {
  const std::string nothing = "; nothing was written";
  if (registry.state() != RegistryState::kRead && registry.state() != RegistryState::kMissing)
    return "the registry " + registry.path() + " " + registry.whyNotRead() + nothing;
  if (registry.binary())
    return "the registry " + registry.path() + " holds binary data, not INI text" + nothing;
  return "";
}

// Fills in the values the registry lacks. A registry that lacks nothing is only read; otherwise
// it is read again and written under its lock, so that two inits at once never lose each
// other's value. Returns the status of the command.
int WriteRegistry(const std::string& master, const std::string& dataDir, RegistryFile& registry,
                  RegistryEdit& edit) {
  if (std::string refusal = Refusal(registry); !refusal.empty()) return Fail("init", refusal);
  RegistryFile planned = registry;
  const bool lacksMaster = planned.setIfEmpty(kServerSection, kMasterStoreKey, master);
  const bool lacksDataDir = planned.setIfEmpty(kZavSection, kDataDirKey, dataDir);
  if (!lacksMaster && !lacksDataDir) return kOk;

  const std::string path = registry.path();
  const std::string nothing = "; nothing was written";
  // The save would replace a read-only file as long as its folder is writable; the mode says
  // the owner does not want it changed.
  auto readOnly = [&] {
    return registry.state() == RegistryState::kRead && access(path.c_str(), W_OK) != 0;
  };
  if (readOnly()) return Fail("init", "the registry " + path + " is read-only" + nothing);
  try {
    // The lock file goes beside the file a link leads to, whose folder may not exist yet.
    std::error_code ec;
    std::filesystem::path real = std::filesystem::weakly_canonical(path, ec);
    if (ec) real = path;
    const std::filesystem::path folder = real.has_parent_path() ? real.parent_path() : ".";
    std::filesystem::create_directories(folder, ec);
    if (access(folder.c_str(), W_OK) != 0)
      return Fail("init", "cannot write the registry " + path + " in " + folder.string() + ": " +
                              std::strerror(errno) + nothing);
    zav::FileLock lock(path);
    registry = RegistryFile(path);
    if (std::string refusal = Refusal(registry); !refusal.empty()) return Fail("init", refusal);
    edit.created = registry.state() == RegistryState::kMissing;
    edit.setMaster = registry.setIfEmpty(kServerSection, kMasterStoreKey, master);
    edit.setDataDir = registry.setIfEmpty(kZavSection, kDataDirKey, dataDir);
    if (!edit.setMaster && !edit.setDataDir) return kOk;  // another init filled them meanwhile
    if (readOnly()) return Fail("init", "the registry " + path + " is read-only" + nothing);
    registry.save();
  } catch (const zav::EditError& e) {
    // The lock's message speaks of stores; this lock is the registry's.
    std::string message = e.what();
    const std::string store = "the store is locked";
    if (size_t at = message.find(store); at != std::string::npos)
      message.replace(at, store.size(), "the registry is locked");
    return Fail("init", message);
  } catch (const std::exception& e) {
    return Fail("init", e.what());
  }
  return kOk;
}

}  // namespace

int Init(const InitOptions& options) {
  const zp::tRegistrySearch before = zp::SearchRegistry();
  std::string target = options.user     ? zp::UserRegistryPath()
                       : options.system ? zp::SystemRegistryPath()
                                        : before.Chosen().path;
  if (target.empty())
    return Fail("init", "no user registry: neither XDG_CONFIG_HOME nor HOME is an absolute path");
  std::string dataDir = options.dataDir.empty() ? zp::InstallDataDir() : options.dataDir;
  std::string master = options.masterStore;
  if (master.empty()) {
    if (options.user) {
      const std::string data = BaseDirectory("XDG_DATA_HOME", "/.local/share");
      if (data.empty())
        return Fail("init",
                    "no user data directory: neither XDG_DATA_HOME nor HOME is an absolute path; "
                    "give --master-store");
      master = data + "/zav/ZavConfigurationStore.xml";
    } else {
      master = std::string(zp::InstallLocalStateDir()) + "/lib/zav/ZavConfigurationStore.xml";
    }
  }
  if (dataDir.back() != '/') dataDir += '/';

  RegistryFile registry(target);
  RegistryEdit edit;
  if (int status = WriteRegistry(master, dataDir, registry, edit)) return status;
  std::cout << "registry      " << target << (edit.created ? "  (created)" : "") << "\n";
  std::cout << "  MasterStore " << registry.value(kServerSection, kMasterStoreKey)
            << (edit.setMaster ? "  (set)" : "  (kept: already set)") << "\n";
  std::cout << "  ZavDataDir  " << registry.value(kZavSection, kDataDirKey)
            << (edit.setDataDir ? "  (set)" : "  (kept: already set)") << "\n";
  // Which file the library reads now that this one may exist.
  const zp::tRegistrySearch after = zp::SearchRegistry();

  std::string store = registry.value(kServerSection, kMasterStoreKey);
  bool created = false;
  if (!Exists(store)) {
    try {
      created = CreateStore(store, target);
    } catch (const zav::Error& e) {
      return Fail("init: creating " + store, e.what());
    } catch (const std::exception& e) {
      return Fail("init", e.what());
    }
  }
  std::cout << "master store  " << store << (created ? "  (created, empty)\n" : "  (kept: exists)\n");
  if (after.Chosen().path != target)
    std::cout << "\nThe library reads " << after.Chosen().path << " now. To use this registry:\n"
              << HowToUse(target, after);
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

// The section the library reads whose name is nearest to `name`, to name in a fix.
std::string NearestSection(const std::string& name) {
  std::string nearest = kKnown[0].first;
  for (const auto& k : kKnown)
    if (EditDistance(Lower(name), Lower(k.first)) < EditDistance(Lower(name), Lower(nearest)))
      nearest = k.first;
  return nearest;
}

void CheckLayout(const RegistryFile& registry, std::vector<Problem>& problems) {
  bool afterBrokenHeader = false;
  for (const RegistryLine& line : registry.lines()) {
    if (line.isSection) {
      afterBrokenHeader = !line.closed;
      if (!line.closed) {
        problems.push_back({line.number,
                            "section header [" + line.key +
                                " lacks its closing ']': the lines under it are in no section",
                            "write it as [" + NearestSection(line.key) + "]"});
        continue;
      }
      bool known = std::any_of(kKnown.begin(), kKnown.end(),
                               [&](const auto& k) { return k.first == line.key; });
      if (!known)
        problems.push_back({line.number, "section [" + line.key + "] is not one the library reads",
                            "rename it to [" + NearestSection(line.key) + "]"});
      continue;
    }
    for (const auto& [section, key] : kKnown) {
      if (line.key == key && line.inSection && line.section == section) break;
      if (Lower(line.key) == Lower(key) && line.key != key) {
        problems.push_back({line.number,
                            "key \"" + line.key + "\" is not read: keys are case-sensitive",
                            "write it as " + key});
        break;
      }
      if (line.key == key) {
        bool sectionKnown = std::any_of(kKnown.begin(), kKnown.end(),
                                        [&](const auto& k) { return k.first == line.section; });
        // A key under a misspelt or broken section header is covered by the header's problem.
        if (sectionKnown || (!line.inSection && !afterBrokenHeader))
          problems.push_back({line.number, key + " is read only in [" + section + "]",
                              "move it under [" + section + "]"});
        break;
      }
    }
  }
}

// Each place the library looks, in order, what is there, and which one it reads.
void PrintSearch(const zp::tRegistrySearch& search) {
  for (size_t i = 0; i < search.candidates.size(); ++i) {
    const zp::tRegistryCandidate& c = search.candidates[i];
    std::string where = c.path, what;
    switch (c.source) {
      case zp::tRegistrySource::kEnvironment:
        where = c.applies ? "$ZAV_REGISTRY=" + c.path : "$ZAV_REGISTRY";
        what = c.applies ? "" : "  not set";
        break;
      case zp::tRegistrySource::kUser:
        if (c.path.empty()) where = "user registry";
        what = c.path.empty() ? "  no home directory"
                              : c.applies ? "  exists" : "  does not exist";
        break;
      case zp::tRegistrySource::kSystem:
        break;
    }
    std::cout << (i == 0 ? "search order  " : "              ") << i + 1 << ". " << where << what
              << (i == search.chosen ? "  <- read" : "") << "\n";
  }
}

// The problem of a registry that the library reads no value from, and its fix.
Problem Unread(const RegistryFile& registry) {
  const std::string& path = registry.path();
  const std::string init = "`zavconfig init` writes one once this is gone";
  switch (registry.state()) {
    case RegistryState::kMissing:
      return {0, "the registry file " + path + " does not exist",
              "run `zavconfig init` (or `zavconfig init --user`), or point ZAV_REGISTRY at a "
              "registry"};
    case RegistryState::kUnreadable:
      return {0, "the registry file " + path + " " + registry.whyNotRead() +
                     ": the library reads no value from it",
              "let this user read it (for example chmod a+r " + path +
                  "), or point ZAV_REGISTRY at a registry it may read"};
    case RegistryState::kRead:
      break;
    default:
      return {0, "the registry file " + path + " " + registry.whyNotRead() +
                     ": the library reads no value from it",
              "put a registry there (" + init + "), or point ZAV_REGISTRY at a registry"};
  }
  return {0, "the registry file " + path + " holds binary data, not INI text",
          "replace it with a registry (" + init + ")"};
}

}  // namespace

int Doctor() {
  const zp::tRegistrySearch search = zp::SearchRegistry();
  const std::string path = search.Chosen().path;
  RegistryFile registry(path);
  std::vector<Problem> problems;
  std::string master = registry.value(kServerSection, kMasterStoreKey);
  std::string dataDir = registry.value(kZavSection, kDataDirKey);
  // Values are looked for only in a file the library reads as a registry.
  const bool usable = registry.read() && !registry.binary();

  std::cout << "registry      " << path << "  (" << WhyChosen(search) << ")\n";
  if (!usable) {
    problems.push_back(Unread(registry));
    std::cout << "              " << (registry.read() ? "holds binary data" : registry.whyNotRead())
              << "\n";
  }
  PrintSearch(search);
  std::cout << "MasterStore   " << (master.empty() ? "(not set)" : master) << "\n";
  std::cout << "ZavDataDir    " << (dataDir.empty() ? "(not set)" : dataDir) << "\n";
  if (usable) CheckLayout(registry, problems);

  // The schema, where the library looks for it.
  std::string schema = dataDir + kSchemaFile;
  if (dataDir.empty()) {
    std::cout << "schema        not looked for: ZavDataDir is not set\n";
    if (usable)
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
    if (usable)
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
      // A schema file that is there but is no schema fails every read the same way.
      if (std::strstr(e.what(), "Failed to add schema to schema collection"))
        problems.push_back({0, "the schema " + schema + " is not a schema the library can compile",
                            "put the schema the library installs there (" +
                                std::string(zp::InstallDataDir()) + kSchemaFile +
                                "), or set ZavDataDir to the directory that holds it"});
      else
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
