// SPDX-License-Identifier: MIT
// The utility's commands that work on a whole store or on the registry. Each returns the
// process exit status (store_access.hpp).
#pragma once

#include <string>
#include <vector>

#include "store_access.hpp"

namespace zavtool {

struct InitOptions {
  bool system = false;
  bool user = false;
  std::string dataDir;      // empty: the installed data directory
  std::string masterStore;  // empty: the default of the chosen registry
};
int Init(const InitOptions& options);
int Doctor();
// No files: the master store. strict: warnings fail the check too.
int Validate(const std::vector<std::string>& files, bool strict);
int Show(const std::string& file, bool json);
int Resolve(const std::string& file, const std::string& name, bool json);

}  // namespace zavtool
