// SPDX-License-Identifier: MIT
// The commands for stores kept in git: diff, merge, import, export, git-setup.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace zavtool {

// Registers the commands; the one chosen sets run.
void AddStationCommands(CLI::App& app, std::function<int()>& run);

// Writes (or with print shows) the attributes line for pattern and the diff and merge drivers,
// in this repository or, with global, for the user.
int GitSetup(bool global, bool print, const std::string& pattern);

}  // namespace zavtool
