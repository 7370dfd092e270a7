// SPDX-License-Identifier: MIT
// The item kinds the utility edits, each described once: its arguments and options per verb
// (from which the command line and its help are built) and the function that carries out a
// parsed request. `zavconfig KIND add|set|remove|list ...` for every kind.
//
// Nothing here depends on the command-line parser: a kind sees a plain Request.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zavtool {

enum Verb : unsigned { kAdd = 1, kSet = 2, kRemove = 4, kList = 8 };
constexpr unsigned kEditVerbs = kAdd | kSet | kRemove;
const char* VerbName(Verb verb);

enum class ValueType {
  kText,
  kBoolean,  // on/off, true/false, yes/no, 1/0 in any letter case
  kInteger,  // 32-bit, decimal
  kFlag,     // takes no value
};

struct OptionSpec {
  OptionSpec(std::string name, ValueType type, std::string help, unsigned verbs,
             bool required = false, bool repeated = false, std::string oneOf = "")
      : name(std::move(name)),
        type(type),
        help(std::move(help)),
        verbs(verbs),
        required(required),
        repeated(repeated),
        oneOf(std::move(oneOf)) {}

  std::string name;  // without the dashes: "resource" is --resource
  ValueType type;
  std::string help;
  unsigned verbs;     // the verbs that take it
  bool required;      // on those verbs
  bool repeated;      // may be given more than once
  std::string oneOf;  // options that share it: exactly one of them must be given
};

struct ArgSpec {
  ArgSpec(std::string name, std::string help, unsigned verbs, bool required = true)
      : name(std::move(name)), help(std::move(help)), verbs(verbs), required(required) {}

  std::string name;  // "NAME"
  std::string help;
  unsigned verbs;
  bool required;
};

// A parsed command line.
struct Request {
  Verb verb = kList;
  std::string command;                      // "hardware-asset add", to head messages
  std::string file;                         // "" for the master store
  bool force = false;                       // edit a store file the user may not write
  bool json = false;                        // list as JSON
  std::map<std::string, std::string> args;  // positionals given
  std::map<std::string, std::vector<std::string>> options;  // options given, by name

  bool has(const std::string& option) const { return options.count(option) > 0; }
  // The (last) value of an option that was given.
  std::optional<std::string> get(const std::string& option) const;
  std::vector<std::string> all(const std::string& option) const;
  // A positional, "" when not given.
  std::string arg(const std::string& name) const;
};

struct KindSpec {
  std::string name;  // "hardware-asset"
  std::string help;
  std::map<Verb, std::string> verbs;  // the verbs offered, with their help
  std::vector<ArgSpec> args;
  std::vector<OptionSpec> options;
  int (*run)(const Request& request);
};

// Every kind, in the order `zavconfig --help` lists them.
const std::vector<KindSpec>& ItemKinds();

// The kinds of each file, gathered by ItemKinds.
std::vector<KindSpec> StoreItemKinds();  // published-api, software-module, hardware-asset
std::vector<KindSpec> SessionKinds();    // driver-session, session, logical-name
std::vector<KindSpec> NameKinds();       // physical and virtual names and ranges
std::vector<KindSpec> DataComponentKinds();

// set-value, kept for scripts: `data-component set` under its old name.
int SetValue(const Request& request);

}  // namespace zavtool
