// SPDX-License-Identifier: MIT
// How a family of commands joins the command line: it adds its subcommands to the app, and
// the callback of the one that was given sets the action main runs once parsing is done. The
// parser stays out of this header: only the files that register commands include it.
#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace zavtool {

using Action = std::function<int()>;

// zavconfig KIND add|set|remove|list for every item kind, and set-value.
void AddItemCommands(CLI::App& app, Action& action);

// zavconfig completion bash: a completion script built from the app's own commands.
void AddCompletionCommand(CLI::App& app, Action& action);

}  // namespace zavtool
