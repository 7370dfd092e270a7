// SPDX-License-Identifier: MIT
// The command line of the item kinds, built from their descriptions (item_kinds.hpp): every
// kind gets add, set, remove and list with the same shape, -f/--file on all of them, --force
// on the editing verbs, and --json and a positional FILE on list.
#include <CLI/CLI.hpp>

#include "cli.hpp"
#include "item_kinds.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

CLI::Validator BooleanWords() {
  return CLI::Validator(
      [](std::string& text) {
        return ParseBoolean(text) ? std::string()
                                  : "'" + text + "' is not on/off, true/false, yes/no or 1/0";
      },
      "");
}

CLI::Validator Int32() {
  return CLI::Validator(
      [](std::string& text) {
        char* end = nullptr;
        errno = 0;
        long value = std::strtol(text.c_str(), &end, 10);
        bool ok = !text.empty() && !*end && !errno && value >= INT32_MIN && value <= INT32_MAX;
        return ok ? std::string() : "'" + text + "' is not a 32-bit integer";
      },
      "");
}

void AddOption(CLI::App* command, const OptionSpec& entry,
               std::map<std::string, CLI::Option_group*>& groups) {
  CLI::App* where = command;
  if (!entry.oneOf.empty()) {
    CLI::Option_group*& group = groups[entry.oneOf];
    if (!group) {
      group = command->add_option_group(entry.oneOf, "Whose items these are");
      group->require_option(1);
    }
    where = group;
  }
  std::string flag = "--" + entry.name;
  if (entry.type == ValueType::kFlag) {
    where->add_flag(flag, entry.help);
    return;
  }
  CLI::Option* option = where->add_option(flag, entry.help);
  if (entry.type == ValueType::kBoolean) option->check(BooleanWords())->type_name("ON|OFF");
  if (entry.type == ValueType::kInteger) option->check(Int32())->type_name("INT");
  if (entry.type == ValueType::kText) option->type_name("TEXT");
  if (entry.required) option->required();
  if (entry.repeated)
    option->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  else
    option->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// The request a parsed verb of a kind makes.
Request Build(const CLI::App* command, const KindSpec& kind, Verb verb) {
  Request r;
  r.verb = verb;
  r.command = kind.name + " " + VerbName(verb);
  if (auto* file = command->get_option_no_throw("--file"); file && file->count())
    r.file = file->as<std::string>();
  if (auto* file = command->get_option_no_throw("FILE"); file && file->count()) {
    if (!r.file.empty() && r.file != file->as<std::string>())
      throw CLI::ValidationError("FILE", "give the store once, as FILE or with --file");
    r.file = file->as<std::string>();
  }
  if (auto* force = command->get_option_no_throw("--force")) r.force = force->count() > 0;
  if (auto* json = command->get_option_no_throw("--json")) r.json = json->count() > 0;
  for (const ArgSpec& arg : kind.args)
    if (arg.verbs & verb)
      if (auto* option = command->get_option_no_throw(arg.name); option && option->count())
        r.args[arg.name] = option->as<std::string>();
  for (const OptionSpec& entry : kind.options) {
    if (!(entry.verbs & verb)) continue;
    const CLI::Option* option = command->get_option_no_throw("--" + entry.name);
    if (!option || !option->count()) continue;
    std::vector<std::string>& values = r.options[entry.name];
    if (entry.type == ValueType::kFlag)
      values.push_back("on");
    else
      values = option->results();
  }
  return r;
}

void AddFileOptions(CLI::App* command, Verb verb) {
  command->add_option("-f,--file", "Store file (default: the master store)")->type_name("FILE");
  if (verb == kList) {
    command->add_option("FILE", "Store file, as with --file");
    command->add_flag("--json", "Print a JSON array, one item per line");
  } else {
    command->add_flag("--force", "Change a store file you may not write (a read-only file)");
  }
}

}  // namespace

void AddItemCommands(CLI::App& app, Action& action) {
  for (const KindSpec& kind : ItemKinds()) {
    CLI::App* family = app.add_subcommand(kind.name, kind.help);
    family->require_subcommand(1);
    for (const auto& [verb, help] : kind.verbs) {
      CLI::App* command = family->add_subcommand(VerbName(verb), help);
      for (const ArgSpec& arg : kind.args) {
        if (!(arg.verbs & verb)) continue;
        CLI::Option* option = command->add_option(arg.name, arg.help);
        if (arg.required) option->required();
      }
      std::map<std::string, CLI::Option_group*> groups;
      for (const OptionSpec& entry : kind.options)
        if (entry.verbs & verb) AddOption(command, entry, groups);
      AddFileOptions(command, verb);
      command->callback([&action, &kind, command, verb = verb] {
        Request request = Build(command, kind, verb);
        action = [request, run = kind.run] { return run(request); };
      });
    }
  }

  // The first form of setting a value, kept for the scripts that use it.
  CLI::App* setValue = app.add_subcommand(
      "set-value", "Set a data component's value (the same as 'data-component set')");
  CLI::Option_group* owners = setValue->add_option_group("owner", "Whose data component");
  owners->add_option("--session", "Session or driver session");
  owners->add_option("--module", "Software module");
  owners->add_option("--asset", "Hardware asset");
  owners->require_option(1);
  setValue->add_option("NAME", "Component name, or structure/member")->required();
  setValue->add_option("VALUE", "New value")->required();
  AddFileOptions(setValue, kSet);
  setValue->callback([&action, setValue] {
    Request r;
    r.verb = kSet;
    r.command = "set-value";
    if (auto* file = setValue->get_option("--file"); file->count())
      r.file = file->as<std::string>();
    r.force = setValue->get_option("--force")->count() > 0;
    for (const char* owner : {"--session", "--module", "--asset"})
      if (auto* option = setValue->get_option(owner); option->count())
        r.options[owner + 2] = {option->as<std::string>()};
    r.args["NAME"] = setValue->get_option("NAME")->as<std::string>();
    r.args["VALUE"] = setValue->get_option("VALUE")->as<std::string>();
    action = [r] { return SetValue(r); };
  });
}

}  // namespace zavtool
