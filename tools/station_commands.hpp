// SPDX-License-Identifier: MIT
// The commands for stores kept in git: diff, merge, import, export, git-setup.
#pragma once

#include <string>

#include "cli.hpp"

namespace zavtool {

// zavconfig diff, merge, import, export and git-setup.
void AddStationCommands(CLI::App& app, Action& action);

// Writes (or with print shows) the attributes line for pattern and the diff and merge drivers,
// in this repository or, with global, for the user.
int GitSetup(bool global, bool print, const std::string& pattern);

}  // namespace zavtool
