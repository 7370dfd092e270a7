// SPDX-License-Identifier: MIT
// The utility's commands. Each returns the process exit status: 0 done, 1 the store or the
// registry is at fault (the reason went to standard error), 2 a usage error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "zavconfig.hpp"

namespace zavtool {

enum Exit { kOk = 0, kFault = 1, kUsage = 2 };

// "zavconfig: <context>: <library message>" on standard error.
int Fail(const std::string& context, const std::string& message);

// A store read from file, or from the registry's master store when file is empty.
struct OpenStore {
  zav::Store store;
  std::string path;  // as given, or as the registry names it
};
// Throws zav::Error.
OpenStore Open(const std::string& file);

struct InitOptions {
  bool system = false;
  bool user = false;
  std::string dataDir;      // empty: the installed data directory
  std::string masterStore;  // empty: the default of the chosen registry
};
int Init(const InitOptions& options);
int Doctor();
int Validate(const std::vector<std::string>& files);
int Show(const std::string& file, bool json);
int Resolve(const std::string& file, const std::string& name, bool json);

// Editing: each reads the store, applies the whole change and writes the store back only when
// every step succeeded.
struct DriverSessionChange {
  std::optional<std::string> module, asset, setup, description;
  bool noModule = false, noAsset = false;
  std::optional<bool> cache, interchangeCheck, queryInstrStatus, rangeCheck, recordCoercions,
      simulate;
};
int AddLogicalName(const std::string& file, const std::string& name, const std::string& session,
                   const std::string& description);
int PointLogicalName(const std::string& file, const std::string& name, const std::string& session);
int RemoveLogicalName(const std::string& file, const std::string& name);
int AddDriverSession(const std::string& file, const std::string& name,
                     const DriverSessionChange& change);
int ChangeDriverSession(const std::string& file, const std::string& name,
                        const DriverSessionChange& change);
int RemoveDriverSession(const std::string& file, const std::string& name);
int AddHardwareAsset(const std::string& file, const std::string& name, const std::string& resource,
                     const std::string& description);
int RemoveHardwareAsset(const std::string& file, const std::string& name);
// owner is "session", "module" or "asset"; component a name, or "structure/member".
int SetValue(const std::string& file, const std::string& ownerKind, const std::string& owner,
             const std::string& component, const std::string& value);

}  // namespace zavtool
