// SPDX-License-Identifier: MIT
// zavconfig: look into, check and change configuration stores and the registry from a shell.
#include <CLI/CLI.hpp>
#include <iostream>
#include <map>
#include <memory>

#include "commands.hpp"
#include "station_commands.hpp"

namespace {

using namespace zavtool;

const std::map<std::string, bool> kBooleans = {{"on", true},     {"off", false}, {"true", true},
                                               {"false", false}, {"yes", true},  {"no", false},
                                               {"1", true},      {"0", false}};

// The store an editing command changes: -f FILE, else the registry's master store.
void AddFileOption(CLI::App* command, std::string& file) {
  command->add_option("-f,--file", file, "Store file to change (default: the master store)");
}

// The driver session options shared by add and set; flags take on/off (true/false, yes/no, 1/0).
struct DriverSessionOptions {
  std::string module, asset, setup, description;
  bool noModule = false, noAsset = false;
  std::map<std::string, std::string> flags;

  void Add(CLI::App* command, bool canClear) {
    auto* m = command->add_option("--module", module, "Software module (driver) to use");
    auto* a = command->add_option("--asset", asset, "Hardware asset (instrument) to use");
    command->add_option("--setup", setup, "Driver setup text");
    command->add_option("--description", description, "Description");
    if (canClear) {
      command->add_flag("--no-module", noModule, "Unlink the software module")->excludes(m);
      command->add_flag("--no-asset", noAsset, "Unlink the hardware asset")->excludes(a);
    }
    for (const char* flag : {"cache", "interchange-check", "query-instr-status", "range-check",
                             "record-coercions", "simulate"}) {
      command->add_option(std::string("--") + flag, flags[flag], std::string("on or off"))
          ->check(CLI::IsMember(kBooleans));
    }
  }

  DriverSessionChange Change(CLI::App* command) const {
    DriverSessionChange change;
    auto given = [&](const char* name) { return command->count(name) > 0; };
    if (given("--module")) change.module = module;
    if (given("--asset")) change.asset = asset;
    if (given("--setup")) change.setup = setup;
    if (given("--description")) change.description = description;
    change.noModule = noModule;
    change.noAsset = noAsset;
    const std::pair<const char*, std::optional<bool> DriverSessionChange::*> targets[] = {
        {"cache", &DriverSessionChange::cache},
        {"interchange-check", &DriverSessionChange::interchangeCheck},
        {"query-instr-status", &DriverSessionChange::queryInstrStatus},
        {"range-check", &DriverSessionChange::rangeCheck},
        {"record-coercions", &DriverSessionChange::recordCoercions},
        {"simulate", &DriverSessionChange::simulate}};
    for (const auto& [name, member] : targets)
      if (command->count(std::string("--") + name)) change.*member = kBooleans.at(flags.at(name));
    return change;
  }
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Look into, check and change configuration stores and the registry.", "zavconfig"};
  app.set_version_flag("--version", "zavconfig " ZAV_TOOL_VERSION);
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 done, 1 the store or registry is at fault, 2 usage error.\n"
      "The registry read is $ZAV_REGISTRY, else " ZAV_TOOL_SYSCONFDIR "/zav/registry.ini.");
  std::function<int()> run;

  InitOptions init;
  auto* initCmd = app.add_subcommand(
      "init",
      "Write a registry (data directory, master store) and create an empty master store; "
      "never overwrites a value or a store");
  auto* system =
      initCmd->add_flag("--system", init.system, "Write " ZAV_TOOL_SYSCONFDIR "/zav/registry.ini");
  initCmd->add_flag("--user", init.user, "Write $XDG_CONFIG_HOME/zav/registry.ini")
      ->excludes(system);
  initCmd->add_option("--data-dir", init.dataDir,
                      "Directory of the schema (default " ZAV_TOOL_DATADIR ")");
  initCmd->add_option("--master-store", init.masterStore, "Master store path");
  initCmd->callback([&] { run = [&] { return Init(init); }; });

  auto* doctorCmd = app.add_subcommand(
      "doctor", "Check the registry, the schema and the master store, and say how to fix them");
  doctorCmd->callback([&] { run = [] { return Doctor(); }; });

  std::vector<std::string> files;
  auto* validateCmd = app.add_subcommand(
      "validate", "Read each store as the library does and lint what it accepts silently");
  validateCmd->add_option("FILE", files, "Store files")->required();
  validateCmd->callback([&] { run = [&] { return Validate(files); }; });

  std::string file;
  bool json = false;
  auto* showCmd =
      app.add_subcommand("show", "Print a store as a tree (the master store by default)");
  showCmd->add_option("FILE", file, "Store file");
  showCmd->add_flag("--json", json, "Print JSON");
  showCmd->callback([&] { run = [&] { return Show(file, json); }; });

  std::vector<std::string> resolveArgs;
  auto* resolveCmd =
      app.add_subcommand("resolve", "Print what a driver gets for a logical name or session name");
  resolveCmd->add_option("ARGS", resolveArgs, "[FILE] NAME")->required()->expected(1, 2);
  resolveCmd->add_flag("--json", json, "Print JSON");
  resolveCmd->callback([&] {
    run = [&] {
      bool withFile = resolveArgs.size() == 2;
      return Resolve(withFile ? resolveArgs[0] : "", resolveArgs.back(), json);
    };
  });

  std::string name, target, description, resource;

  auto* logical = app.add_subcommand("logical-name", "Create, point and remove logical names");
  logical->require_subcommand(1);
  auto* lnAdd =
      logical->add_subcommand("add", "Create a logical name, optionally pointing at a session");
  lnAdd->add_option("NAME", name, "Logical name")->required();
  lnAdd->add_option("SESSION", target, "Session or driver session it leads to");
  lnAdd->add_option("--description", description, "Description");
  AddFileOption(lnAdd, file);
  lnAdd->callback([&] { run = [&] { return AddLogicalName(file, name, target, description); }; });
  auto* lnSet = logical->add_subcommand("set", "Point a logical name at a session");
  lnSet->add_option("NAME", name, "Logical name")->required();
  lnSet->add_option("SESSION", target, "Session or driver session")->required();
  AddFileOption(lnSet, file);
  lnSet->callback([&] { run = [&] { return PointLogicalName(file, name, target); }; });
  auto* lnRemove = logical->add_subcommand("remove", "Remove a logical name");
  lnRemove->add_option("NAME", name, "Logical name")->required();
  AddFileOption(lnRemove, file);
  lnRemove->callback([&] { run = [&] { return RemoveLogicalName(file, name); }; });

  DriverSessionOptions dsOptions;
  auto* driver = app.add_subcommand("driver-session", "Create, change and remove driver sessions");
  driver->require_subcommand(1);
  auto* dsAdd = driver->add_subcommand("add", "Create a driver session");
  dsAdd->add_option("NAME", name, "Driver session name")->required();
  dsOptions.Add(dsAdd, false);
  AddFileOption(dsAdd, file);
  dsAdd->callback([&] {
    run = [&, change = dsOptions.Change(dsAdd)] { return AddDriverSession(file, name, change); };
  });
  auto* dsSet = driver->add_subcommand("set", "Change a driver session");
  dsSet->add_option("NAME", name, "Driver session name")->required();
  dsOptions.Add(dsSet, true);
  AddFileOption(dsSet, file);
  dsSet->callback([&] {
    run = [&, change = dsOptions.Change(dsSet)] { return ChangeDriverSession(file, name, change); };
  });
  auto* dsRemove = driver->add_subcommand("remove", "Remove a driver session");
  dsRemove->add_option("NAME", name, "Driver session name")->required();
  AddFileOption(dsRemove, file);
  dsRemove->callback([&] { run = [&] { return RemoveDriverSession(file, name); }; });

  auto* asset = app.add_subcommand("hardware-asset", "Create and remove hardware assets");
  asset->require_subcommand(1);
  auto* haAdd = asset->add_subcommand("add", "Create a hardware asset at an I/O resource");
  haAdd->add_option("NAME", name, "Hardware asset name")->required();
  haAdd->add_option("RESOURCE", resource, "I/O resource descriptor")->required();
  haAdd->add_option("--description", description, "Description");
  AddFileOption(haAdd, file);
  haAdd->callback(
      [&] { run = [&] { return AddHardwareAsset(file, name, resource, description); }; });
  auto* haRemove = asset->add_subcommand("remove", "Remove a hardware asset no session uses");
  haRemove->add_option("NAME", name, "Hardware asset name")->required();
  AddFileOption(haRemove, file);
  haRemove->callback([&] { run = [&] { return RemoveHardwareAsset(file, name); }; });

  std::string session, module, hardware, component, value;
  auto* setValue = app.add_subcommand("set-value", "Set a data component's value");
  auto* owners = setValue->add_option_group("owner", "Whose data component");
  owners->add_option("--session", session, "Session or driver session");
  owners->add_option("--module", module, "Software module");
  owners->add_option("--asset", hardware, "Hardware asset");
  owners->require_option(1);
  setValue->add_option("COMPONENT", component, "Component name, or structure/member")->required();
  setValue->add_option("VALUE", value, "New value")->required();
  AddFileOption(setValue, file);
  setValue->callback([&] {
    run = [&] {
      if (!session.empty()) return SetValue(file, "session", session, component, value);
      if (!module.empty()) return SetValue(file, "module", module, component, value);
      return SetValue(file, "asset", hardware, component, value);
    };
  });

  AddStationCommands(app, run);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kOk : kUsage;
  }
  return run ? run() : kUsage;
}
