// SPDX-License-Identifier: MIT
// zavconfig: look into, check and change configuration stores and the registry from a shell.
// Each family of commands registers itself (cli.hpp); this file holds the store-wide and
// registry commands, the completion script and what happens when a command line is wrong.
#include <CLI/CLI.hpp>
#include <iostream>
#include <set>

#include "cli.hpp"
#include "commands.hpp"
#include "platform/install_dirs.h"
#include "platform/registry.h"
#include "text.hpp"
#include "station_commands.hpp"

namespace {

using namespace zavtool;

// The positional FILE of resolve comes first but is optional, and its NAME is required: the
// parser cannot say so, so NAME is checked by hand and shown as required here.
class Formatter : public CLI::Formatter {
 public:
  std::set<const CLI::Option*> needed;
  std::string make_option_usage(const CLI::Option* opt) const override {
    std::string usage = CLI::Formatter::make_option_usage(opt);
    return needed.count(opt) && usage.front() == '[' ? usage.substr(1, usage.size() - 2) : usage;
  }
};

void AddSetupCommands(CLI::App& app, Action& action, InitOptions& init) {
  const std::string systemRegistry = zav::platform::SystemRegistryPath();
  auto* initCmd = app.add_subcommand(
      "init",
      "Write a registry (data directory, master store) and create an empty master store; "
      "never overwrites a value or a store");
  auto* system = initCmd->add_flag("--system", init.system, "Write " + systemRegistry);
  initCmd
      ->add_flag("--user", init.user,
                 "Write $XDG_CONFIG_HOME/zav/registry.ini (~/.config/zav/registry.ini)")
      ->excludes(system);
  initCmd->add_option(
      "--data-dir", init.dataDir,
      "Directory of the schema (default " + std::string(zav::platform::InstallDataDir()) + ")");
  initCmd->add_option("--master-store", init.masterStore, "Master store path");
  initCmd->callback([&] { action = [&] { return Init(init); }; });

  auto* doctorCmd = app.add_subcommand(
      "doctor", "Check the registry, the schema and the master store, and say how to fix them");
  doctorCmd->callback([&] { action = [] { return Doctor(); }; });
}

struct StoreCommandArgs {
  std::vector<std::string> files;
  std::string file, fileOption, name;
  bool json = false, strict = false;
};

// The commands that read a whole store take it positionally or with -f/--file.
CLI::Option* AddFile(CLI::App* command, std::string& positional, std::string& option) {
  command->add_option("-f,--file", option, "Store file (default: the master store)")
      ->type_name("FILE");
  return command->add_option("FILE", positional, "Store file, as with --file");
}

std::string OneFile(const std::string& positional, const std::string& option) {
  if (!positional.empty() && !option.empty() && positional != option)
    throw CLI::ValidationError("FILE", "give the store once, as FILE or with --file");
  return positional.empty() ? option : positional;
}

void AddStoreCommands(CLI::App& app, Action& action, StoreCommandArgs& a, Formatter& formatter) {
  auto* validateCmd =
      app.add_subcommand("validate",
                         "Read each store as the library does and lint what it accepts silently "
                         "(the master store by default); warnings fail only with --strict");
  validateCmd->add_option("FILE", a.files, "Store files");
  validateCmd->add_option("-f,--file", a.fileOption, "Store file (default: the master store)")
      ->type_name("FILE");
  validateCmd->add_flag("--strict", a.strict, "Exit 1 when a store has warnings too");
  validateCmd->callback([&] {
    if (!a.fileOption.empty()) a.files.insert(a.files.begin(), a.fileOption);
    action = [&] { return Validate(a.files, a.strict); };
  });

  auto* showCmd =
      app.add_subcommand("show", "Print a store as a tree (the master store by default)");
  AddFile(showCmd, a.file, a.fileOption);
  showCmd->add_flag("--json", a.json, "Print JSON");
  showCmd->callback([&] {
    std::string file = OneFile(a.file, a.fileOption);
    action = [&, file] { return Show(file, a.json); };
  });

  auto* resolveCmd =
      app.add_subcommand("resolve", "Print what a driver gets for a logical name or session name");
  AddFile(resolveCmd, a.file, a.fileOption);
  formatter.needed.insert(
      resolveCmd->add_option("NAME", a.name, "Logical name, or session or driver session name"));
  resolveCmd->add_flag("--json", a.json, "Print JSON");
  resolveCmd->callback([&] {
    // One positional is the name; two are the file and the name.
    if (a.name.empty()) std::swap(a.name, a.file);
    if (a.name.empty()) throw CLI::RequiredError("NAME");
    std::string file = OneFile(a.file, a.fileOption);
    action = [&, file] { return Resolve(file, a.name, a.json); };
  });
}

// The words of the command line that name commands: where a wrong word sits.
int UnknownCommand(const CLI::App& app, const std::vector<std::string>& args) {
  const CLI::App* at = &app;
  std::string path = "zavconfig";
  for (const std::string& arg : args) {
    if (arg.empty() || arg[0] == '-') continue;
    std::vector<std::string> names;
    for (const CLI::App* sub : at->get_subcommands([](const CLI::App*) { return true; }))
      if (!sub->get_name().empty()) names.push_back(sub->get_name());
    if (names.empty()) return -1;
    const CLI::App* next = nullptr;
    for (const CLI::App* sub : at->get_subcommands([](const CLI::App*) { return true; }))
      if (sub->get_name() == arg) next = sub;
    if (!next) {
      std::cerr << "zavconfig: '" << arg << "' is not a command of " << path << "\n";
      std::string closest = Closest(arg, names);
      if (!closest.empty()) std::cerr << "  did you mean '" << path << " " << closest << "'?\n";
      std::cerr << "  '" << path << " --help' lists them: " << Join(names) << "\n";
      return kUsage;
    }
    at = next;
    path += " " + arg;
  }
  if (at->get_require_subcommand_min() > 0) {
    std::string what =
        path == "zavconfig" ? "a command is needed" : path.substr(10) + " needs a command";
    std::cerr << "zavconfig: " << what << ": '" << path << " --help' lists them\n";
    return kUsage;
  }
  return -1;
}

// Each command path with the words that may follow it: its commands and options.
void CompletionCases(const CLI::App& command, const std::string& path, std::ostream& out) {
  std::vector<std::string> words;
  std::vector<const CLI::App*> children;
  for (const CLI::App* sub : command.get_subcommands([](const CLI::App*) { return true; })) {
    if (sub->get_name().empty()) {
      for (const CLI::Option* option : sub->get_options())
        if (!option->get_lnames().empty()) words.push_back("--" + option->get_lnames().front());
    } else {
      words.push_back(sub->get_name());
      children.push_back(sub);
    }
  }
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames()) words.push_back("--" + name);
    for (const std::string& name : option->get_snames()) words.push_back("-" + name);
  }
  out << "    \"" << path << "\") words=\"" << Join(words, " ") << "\""
      << (children.empty() ? " files=1" : "") << " ;;\n";
  for (const CLI::App* child : children)
    CompletionCases(*child, path.empty() ? child->get_name() : path + " " + child->get_name(), out);
}

}  // namespace

namespace zavtool {

void AddCompletionCommand(CLI::App& app, Action& action) {
  auto* completion = app.add_subcommand(
      "completion", "Print the bash completion script: source <(zavconfig completion bash)");
  completion->add_option("SHELL", "Shell: bash")->required()->check(CLI::IsMember({"bash"}));
  completion->callback([&app, &action] {
    action = [&app] {
      std::cout << "# bash completion for zavconfig, made by 'zavconfig completion bash'\n"
                   "_zavconfig_words() {\n  files=\n  case \"$1\" in\n";
      CompletionCases(app, "", std::cout);
      std::cout
          << "    *) return 1 ;;\n  esac\n}\n"
             "_zavconfig() {\n"
             "  local cur=\"${COMP_WORDS[COMP_CWORD]}\" path=\"\" word i words files\n"
             "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
             "    word=\"${COMP_WORDS[i]}\"\n"
             "    [[ $word == -* ]] && continue\n"
             "    if _zavconfig_words \"${path:+$path }$word\"; then\n"
             "      path=\"${path:+$path }$word\"\n"
             "    fi\n"
             "  done\n"
             "  _zavconfig_words \"$path\"\n"
             "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
             "  if [[ -n $files && $cur != -* ]]; then COMPREPLY+=($(compgen -f -- \"$cur\")); fi\n"
             "}\n"
             "complete -F _zavconfig zavconfig\n";
      return kOk;
    };
  });
}

}  // namespace zavtool

int main(int argc, char** argv) {
  CLI::App app{"Look into, check and change configuration stores and the registry.", "zavconfig"};
  auto formatter = std::make_shared<Formatter>();
  app.formatter(formatter);
  app.set_version_flag("--version", "zavconfig " ZAV_TOOL_VERSION);
  app.require_subcommand(1);
  app.footer(
      "Every item kind has the commands add, set, remove and list: zavconfig KIND --help.\n"
      "Exit status: 0 done, 1 the store or registry is at fault, 2 usage error.\n"
      "The registry read is $ZAV_REGISTRY when set, else $XDG_CONFIG_HOME/zav/registry.ini\n"
      "(~/.config/zav/registry.ini) when it exists, else " +
      zav::platform::SystemRegistryPath() + ".");
  Action action;
  InitOptions init;
  StoreCommandArgs storeArgs;
  AddSetupCommands(app, action, init);
  AddStoreCommands(app, action, storeArgs, *formatter);
  AddItemCommands(app, action);
  AddCompletionCommand(app, action);
  AddStationCommands(app, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0 && (dynamic_cast<const CLI::ExtrasError*>(&e) ||
                                   dynamic_cast<const CLI::RequiredError*>(&e))) {
      int status = UnknownCommand(app, std::vector<std::string>(argv + 1, argv + argc));
      if (status >= 0) return status;
    }
    return app.exit(e) == 0 ? kOk : kUsage;
  }
  return action ? action() : kUsage;
}
