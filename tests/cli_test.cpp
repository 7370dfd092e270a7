// SPDX-License-Identifier: MIT
// The zavconfig utility, run as a user runs it: exit status, standard output against the
// expected text, messages on standard error, and the files it leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "test_support.h"
#include "zavconfig.hpp"

namespace {

using zavtest::DataDir;
using zavtest::ReadFile;
using zavtest::ScopedEnv;
using zavtest::ScopedRegistry;
using zavtest::TempDir;
using zavtest::WriteFile;

const std::string kSource = ZAV_TEST_SOURCE_DIR;
const std::string kExample = kSource + "/data/example_store.xml";

std::string Expected(const std::string& name) {
  return ReadFile(kSource + "/tests/data/cli/" + name);
}

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct Result {
  int status;
  std::string out, err;
};

// Runs the tool in directory dir with args.
Result RunTool(const std::string& dir, const std::vector<std::string>& args) {
  TempDir capture;
  std::string command = "cd " + Quote(dir) + " && " + Quote(ZAV_CLI);
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " >" + capture.File("out") + " 2>" + capture.File("err");
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(capture.File("out")),
          ReadFile(capture.File("err"))};
}

// A work directory holding store.xml (a copy of the example) and a registry naming it.
struct Bench {
  TempDir dir;
  std::string store = (WriteFile(dir.File("store.xml"), ReadFile(kExample)), dir.File("store.xml"));
  ScopedRegistry registry{store, DataDir()};
  Result operator()(const std::vector<std::string>& args) const {
    return RunTool(dir.path(), args);
  }
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

const std::vector<std::string> kKinds = {"published-api",  "software-module", "hardware-asset",
                                         "driver-session", "session",         "logical-name",
                                         "physical-name",  "physical-range",  "virtual-name",
                                         "virtual-range",  "data-component"};

TEST(Cli, HelpVersionAndUsageErrors) {
  Bench run;
  EXPECT_EQ(run({"--version"}).out, "zavconfig 1.0.0\n");
  std::vector<std::vector<std::string>> commands = {
      {}, {"init"}, {"doctor"}, {"validate"}, {"show"}, {"resolve"}, {"set-value"}, {"completion"}};
  for (const std::string& kind : kKinds)
    for (const char* verb : {"add", "set", "remove", "list"}) commands.push_back({kind, verb});
  for (std::vector<std::string> command : commands) {
    command.push_back("--help");
    Result help = run(command);
    EXPECT_EQ(help.status, 0) << command[0];
    EXPECT_TRUE(Contains(help.out, "Usage:")) << command[0];
  }
  EXPECT_TRUE(
      Contains(run({"resolve", "--help"}).out, "Usage: zavconfig resolve [OPTIONS] [FILE] NAME\n"));

  // A wrong command word is named, with the nearest one and where the list is.
  Result none = run({});
  EXPECT_EQ(none.status, 2);
  EXPECT_TRUE(Contains(none.err, "a command is needed: 'zavconfig --help' lists them"));
  EXPECT_EQ(run({"hardware-asset"}).err,
            "zavconfig: hardware-asset needs a command: 'zavconfig hardware-asset --help' lists "
            "them\n");
  Result typo = run({"hardware-aset", "list"});
  EXPECT_EQ(typo.status, 2);
  EXPECT_TRUE(Contains(typo.err,
                       "'hardware-aset' is not a command of zavconfig\n"
                       "  did you mean 'zavconfig hardware-asset'?"))
      << typo.err;
  Result verb = run({"logical-name", "rename", "X"});
  EXPECT_EQ(verb.status, 2);
  EXPECT_TRUE(Contains(verb.err, "lists them: add, set, remove, list")) << verb.err;

  EXPECT_EQ(run({"init", "--user", "--system"}).status, 2);
  EXPECT_EQ(run({"resolve", "a", "b", "c"}).status, 2);
  EXPECT_EQ(run({"resolve"}).status, 2);
  EXPECT_EQ(run({"set-value", "Timeout", "1"}).status, 2);  // whose component?
  EXPECT_EQ(run({"data-component", "list", "--session", "S", "--module", "M"}).status, 2);
  EXPECT_EQ(run({"show", "store.xml", "-f", "other.xml"}).status, 2);  // which store?
  EXPECT_EQ(run({"physical-range", "add", "--module", "acme34", "R", "--min", "x"}).status, 2);
}

TEST(Cli, ValidateReportsTheFirstErrorAndTheLints) {
  Bench run;
  Result good = run({"validate", "store.xml"});
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.out, "store.xml: valid\n");

  std::string invalid = kSource + "/tests/data/invalid_order.xml";
  Result bad = run({"validate", invalid, "store.xml"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "store.xml: valid\n");  // every file is checked
  EXPECT_TRUE(Contains(bad.err, invalid + ":14: error: ")) << bad.err;
  EXPECT_TRUE(Contains(bad.err, "Element 'Sessions': This element is not expected.")) << bad.err;

  // Warnings fail the check only when it is asked to be strict.
  std::string lintStore = kSource + "/tests/data/cli/lint_store.xml";
  Result lint = run({"validate", lintStore});
  EXPECT_EQ(lint.status, 0);
  EXPECT_EQ(run({"validate", "--strict", "-f", lintStore}).status, 1);
  std::string file = lintStore + ":";
  EXPECT_EQ(lint.out,
            file +
                "95: warning: driver session \"DMM_Rack4_acme34\" has no software module: it names "
                "none\n" +
                file +
                "121: warning: duplicate id \"p9\" (also at line 99): a reference can reach only "
                "one of them\n" +
                file +
                "136: warning: driver session \"DMM_Rack4_acme34\" hardware asset: idref \"p99\" "
                "names no item\n" +
                file +
                "157: warning: logical name \"SampleDMM\" leads nowhere: idref \"p8\" names a "
                "ZavHardwareAsset (line 87), which the library reads as no reference\n" +
                lintStore + ": valid, 4 warning(s)\n");
  // Without a file: the master store.
  EXPECT_EQ(run({"validate"}).out, run.store + ": valid\n");

  // Without a schema nothing can be validated: the registry is at fault.
  ScopedRegistry noSchema(run.store, "");
  Result unconfigured = run({"validate", "store.xml"});
  EXPECT_EQ(unconfigured.status, 1);
  EXPECT_TRUE(Contains(unconfigured.err, "Invalid ZAV Data Directory path in registry"));
  EXPECT_TRUE(Contains(unconfigured.err, "  the registry " + noSchema.path() +
                                             " (from ZAV_REGISTRY) sets no ZavDataDir\n"
                                             "  run 'zavconfig doctor'"))
      << unconfigured.err;
}

// Which resource descriptors the linter takes for VISA resource strings, by asset name.
TEST(Cli, ValidateFlagsResourcesThatAreNoVisaResourceString) {
  Bench run;
  const std::vector<std::pair<std::string, bool>> resources = {
      {"GPIB0::22::INSTR", true},
      {"gpib::5", true},
      {"GPIB1::2::3::INSTR", true},
      {"TCPIP0::10.0.4.21::INSTR", true},
      {"TCPIP::dmm.lab::hislip0::INSTR", true},
      {"TCPIP0::10.0.4.21::5025::SOCKET", true},
      {"TCPIP0::[fe80::1]::INSTR", true},
      {"USB0::0x0957::0x1796::MY123::INSTR", true},
      {"USB::2391::6038::SN7::0::RAW", true},
      {"ASRL1::INSTR", true},
      {"ASRL/dev/ttyUSB0::INSTR", true},
      {"PXI0::3-4.1::INSTR", true},
      {"PXI0::CHASSIS1::SLOT3::INSTR", true},
      {"VXI0::8::INSTR", true},
      {"GPIB-VXI0::24::INSTR", true},
      {"", false},
      {"10.0.4.21", false},
      {"GPIB0::x::INSTR", false},
      {"TCPIP0::", false},
      {"USB0::0x0957::INSTR", false},
      {"SERIAL1::INSTR", false},
      {"TCPIP0::[fe80::1]::5025::SOCKET", true},
      {"GPIB0::INTFC", true},
      {"VXI::BACKPLANE", true},
      {"PXI1::2::3::1::INSTR", true},
      {"PXI0::CHASSIS1::INSTR", false},
      {"VXI0::8::9::INSTR", false},
      {"GPIB0::22::INSTR extra", false}};
  for (size_t i = 0; i < resources.size(); ++i) {
    Result added = run({"hardware-asset", "add", "A" + std::to_string(i), resources[i].first});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(Contains(added.err, "warning"), !resources[i].second) << resources[i].first;
  }
  Result lint = run({"validate", "--strict"});
  EXPECT_EQ(lint.status, 1);
  for (size_t i = 0; i < resources.size(); ++i)
    EXPECT_EQ(Contains(lint.out, "hardware asset \"A" + std::to_string(i) + "\": "),
              !resources[i].second)
        << resources[i].first;
  EXPECT_TRUE(Contains(lint.out, "the I/O resource descriptor is empty"));
}

TEST(Cli, ShowAndResolvePrintTreesAndJson) {
  Bench run;
  EXPECT_EQ(run({"show", "store.xml"}).out, Expected("example_show.txt"));
  EXPECT_EQ(run({"show", "store.xml", "--json"}).out, Expected("example_show.json"));
  EXPECT_EQ(run({"show", "-f", "store.xml"}).out, Expected("example_show.txt"));
  // Nested physical names and structures, API references, plain sessions, a dangling name.
  EXPECT_EQ(RunTool(kSource + "/tests/data", {"show", "rich_store.xml"}).out,
            Expected("rich_show.txt"));
  // Without a file: the master store, shown by the path the registry gives.
  Result master = run({"show"});
  EXPECT_EQ(master.status, 0);
  EXPECT_TRUE(Contains(master.out, "store        " + run.store + "\n"));

  EXPECT_EQ(run({"resolve", "SampleDMM"}).out, Expected("example_resolve.txt"));
  EXPECT_EQ(run({"resolve", "store.xml", "SampleDMM", "--json"}).out,
            Expected("example_resolve.json"));
  // A session name resolves too, without the logical name.
  Result direct = run({"resolve", "DMM_Rack4_acme34"});
  EXPECT_EQ(direct.out.substr(0, direct.out.find('\n')),
            "DMM_Rack4_acme34  -> driver session DMM_Rack4_acme34");
  // A plain session has no driver setup or flags.
  Result plain = run({"resolve", kSource + "/tests/data/rich_store.xml", "PlainName", "--json"});
  EXPECT_TRUE(Contains(plain.out, "\"driverSession\": false"));
  EXPECT_FALSE(Contains(plain.out, "flags"));

  Result unknown = run({"resolve", "Nope"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(Contains(unknown.err, "The 'Nope' logical name or session does not exist."))
      << unknown.err;
  EXPECT_TRUE(Contains(run({"resolve", "SampleDM"}).err, "did you mean 'SampleDMM'?"));
  EXPECT_TRUE(Contains(run({"resolve", "DMM_Rack4"}).err, "'DMM_Rack4' is a hardware asset"));
  Result broken = run({"show", kSource + "/tests/data/invalid_malformed.xml"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(Contains(broken.err, "Deserialize failed. Parsing error number:"));
}

// The items of a tree of show's JSON (children under key), each with its path from the top.
nlohmann::json Flattened(const nlohmann::json& items, const char* key, const std::string& at = "") {
  nlohmann::json flat = nlohmann::json::array();
  for (nlohmann::json item : items) {
    std::string path = at + item["name"].get<std::string>();
    item["path"] = path;
    flat.push_back(item);
    if (item.contains(key))
      for (const nlohmann::json& inner : Flattened(item[key], key, path + "/"))
        flat.push_back(inner);
  }
  return flat;
}

TEST(Cli, ListAndResolveGiveItemsInTheShapesOfShow) {
  Bench run;
  const std::string rich = kSource + "/tests/data/rich_store.xml";
  auto json = [&](std::vector<std::string> args) {
    args.insert(args.end(), {"--json", "-f", rich});
    Result r = run(args);
    EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
    return nlohmann::json::parse(r.out.empty() ? "null" : r.out);
  };
  const nlohmann::json shown = json({"show"});
  for (auto [kind, list] : std::vector<std::pair<std::string, std::string>>{
           {"published-api", "publishedApis"},
           {"software-module", "softwareModules"},
           {"hardware-asset", "hardwareAssets"},
           {"driver-session", "driverSessions"},
           {"session", "sessions"},
           {"logical-name", "logicalNames"}})
    EXPECT_EQ(json({kind, "list"}), shown[list]) << kind;

  const nlohmann::json& module = shown["softwareModules"][0];
  const nlohmann::json& driver = shown["driverSessions"][0];
  const std::string m = module["name"], d = driver["name"];
  // Lists that walk a tree put the path first.
  Result components = run({"data-component", "list", "--module", m, "--json", rich});
  EXPECT_EQ(components.out.substr(0, 10), "[\n{\"path\":");
  EXPECT_EQ(nlohmann::json::parse(components.out), Flattened(module["dataComponents"], "members"));
  EXPECT_EQ(json({"physical-name", "list", "--module", m}),
            Flattened(module["physicalNames"], "children"));
  EXPECT_EQ(json({"physical-range", "list", "--module", m, "--physical-name", "Channel/Sense"}),
            module["physicalNames"][0]["children"][0]["ranges"]);
  EXPECT_EQ(json({"data-component", "list", "--session", d}),
            Flattened(driver["dataComponents"], "members"));
  EXPECT_EQ(json({"data-component", "list", "--asset", shown["hardwareAssets"][0]["name"]}),
            Flattened(shown["hardwareAssets"][0]["dataComponents"], "members"));
  EXPECT_EQ(json({"virtual-name", "list", "--session", d}), driver["virtualNames"]);
  EXPECT_EQ(json({"virtual-range", "list", "--session", d, "--virtual-name", "Input"}),
            driver["virtualNames"][0]["ranges"]);

  nlohmann::json resolved = json({"resolve", shown["logicalNames"][0]["name"]});
  EXPECT_EQ(resolved["settings"], driver["dataComponents"]);
  EXPECT_EQ(resolved["flags"], driver["flags"]);
  EXPECT_EQ(resolved["virtualNames"], driver["virtualNames"]);
  EXPECT_EQ(resolved["softwareModule"]["modulePath"], module["modulePath"]);
}

TEST(Cli, RealsJsonCannotHoldAreWrittenAsTheirTexts) {
  Bench run;
  // The module's Aperture, then the session's.
  std::string text = ReadFile(run.store);
  for (const char* value : {"NaN", "-INF"})
    text.replace(text.find("<Value>0.02</Value>"), 19, std::string("<Value>") + value + "</Value>");
  WriteFile(run.store, text);

  Result shown = run({"show", "store.xml", "--json"});
  EXPECT_TRUE(Contains(shown.out, "\"value\": \"nan\"")) << shown.out;
  EXPECT_TRUE(Contains(shown.out, "\"value\": \"-inf\""));
  EXPECT_EQ(run({"export", "store.xml"}).out, shown.out);
  EXPECT_TRUE(Contains(run({"data-component", "list", "--module", "acme34", "--json"}).out,
                       "\"value\":\"nan\""));
  EXPECT_EQ(
      nlohmann::json::parse(run({"resolve", "SampleDMM", "--json"}).out)["settings"][1]["members"]
                                                                        [0]["value"],
      "-inf");
  Result tree = run({"show", "store.xml"});
  EXPECT_TRUE(Contains(tree.out, "Real       nan")) << tree.out;
  EXPECT_TRUE(Contains(tree.out, "Real       -inf"));
  // import reads the texts back.
  WriteFile(run.dir.File("store.json"), shown.out);
  ASSERT_EQ(run({"import", "store.json", "-o", "copy.xml"}).status, 0);
  Result same = run({"diff", "store.xml", "copy.xml"});
  EXPECT_EQ(same.status, 0) << same.out;
}

TEST(Cli, EditsWriteTheWholeChangeOrNothing) {
  Bench run;
  const std::vector<std::vector<std::string>> edits = {
      {"hardware-asset", "add", "Scope1", "TCPIP0::10.0.7.3::INSTR"},
      {"driver-session", "add", "Scope", "--module", "acme34", "--asset", "Scope1", "--setup",
       "Model=X", "--simulate", "on", "--cache", "yes"},
      {"logical-name", "add", "Bench", "Scope"},
      {"set-value", "--session", "Scope", "Configurable Initial Settings/Aperture", "0.5"},
      {"driver-session", "set", "Scope", "--no-asset", "--cache", "off"},
      {"logical-name", "set", "SampleDMM", "Scope"},
      {"logical-name", "remove", "Bench"},
      {"hardware-asset", "remove", "Scope1"},
      {"driver-session", "remove", "DMM_Rack4_acme34"}};
  for (const auto& edit : edits) {
    Result r = run(edit);
    ASSERT_EQ(r.status, 0) << edit[0] << " " << edit[1] << ": " << r.err;
  }
  Result resolved = run({"resolve", "SampleDMM", "--json"});
  for (const char* part :
       {"\"session\": \"Scope\"", "\"hardwareAsset\": null", "\"driverSetup\": \"Model=X\"",
        "\"simulate\": true", "\"cache\": false", "\"value\": 0.5"})
    EXPECT_TRUE(Contains(resolved.out, part)) << part << "\n" << resolved.out;

  const std::string before = ReadFile(run.store);
  const std::vector<std::pair<std::vector<std::string>, int>> failures = {
      {{"logical-name", "add", "SampleDMM"}, 1},             // name taken
      {{"logical-name", "add", "New", "NoSuchSession"}, 1},  // created, then fails
      {{"driver-session", "add", "New", "--module", "nope"}, 1},
      {{"driver-session", "set", "Scope", "--simulate", "maybe"}, 2},
      {{"hardware-asset", "add", "", "X"}, 1},
      {{"set-value", "--session", "Scope", "Timeout", "12abc"}, 1},
      {{"set-value", "--session", "Scope", "Configurable Initial Settings", "1"}, 1},
      {{"set-value", "--module", "acme34", "Nope", "1"}, 1},
      {{"logical-name", "remove", "Nope"}, 1},
      {{"driver-session", "remove", "Scope"}, 1}};  // SampleDMM leads there
  for (const auto& [args, status] : failures) {
    Result r = run(args);
    EXPECT_EQ(r.status, status) << args[0] << " " << args[1] << " " << args[2];
    EXPECT_TRUE(status == 2 || Contains(r.err, "zavconfig: ")) << r.err;
    EXPECT_EQ(ReadFile(run.store), before) << args[0] << " " << args[1] << " " << args[2];
  }
}

// Runs each command in turn and stops the test at the first that fails.
void RunAll(const Bench& run, const std::vector<std::vector<std::string>>& commands) {
  for (const auto& command : commands) {
    Result r = run(command);
    ASSERT_EQ(r.status, 0) << command[0] << " " << command[1] << ": " << r.err;
  }
}

// What a new user does: a registry of their own, then a DMM on TCPIP, a scope on USB and a
// power supply on GPIB, each with its driver, settings and a logical name, then drives it.
TEST(Cli, BuildsAThreeInstrumentBenchFromAnEmptyStore) {
  TempDir home;
  ScopedEnv config("XDG_CONFIG_HOME", home.File("config").c_str());
  ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
  ScopedEnv noRegistry("ZAV_REGISTRY", nullptr);
  Result init = RunTool(home.path(), {"init", "--user", "--data-dir", kSource + "/data"});
  ASSERT_EQ(init.status, 0) << init.err;
  Bench run;  // only its directory and runner: the master store is the user's
  // Nothing but the user's registry says where the master store is.
  ScopedEnv user("ZAV_REGISTRY", nullptr);
  const std::vector<std::vector<std::string>> bench = {
      {"published-api", "add", "Dmm", "C", "3.0"},
      {"published-api", "add", "Scope", "C", "2.1"},
      {"published-api", "add", "DcPwr", "C", "1.0"},
      {"software-module", "add", "acmedmm", "--path", "/usr/lib/libacmedmm.so", "--prefix",
       "acmedmm", "--api", "Dmm C 3.0"},
      {"data-component", "add", "--module", "acmedmm", "Timeout", "integer", "2000", "--units",
       "ms", "--used-in-session", "Required"},
      {"data-component", "add", "--module", "acmedmm", "Configurable Initial Settings/Aperture",
       "real", "0.02", "--used-in-session", "Required"},
      {"data-component", "add", "--module", "acmedmm", "Api", "api-reference", "--api", "Dmm"},
      {"physical-name", "add", "--module", "acmedmm", "Channel", "Channel"},
      {"physical-name", "add", "--module", "acmedmm", "Channel/Sense", "Sense"},
      {"physical-range", "add", "--module", "acmedmm", "--physical-name", "Channel", "Inputs",
       "--min", "1", "--max", "4"},
      {"software-module", "add", "orion", "--path", "/usr/lib/liborion.so", "--api", "Scope"},
      {"software-module", "add", "volt", "--path", "/usr/lib/libvolt.so", "--api", "DcPwr C"},
      {"data-component", "add", "--module", "volt", "Limit", "real", "5", "--used-in-session",
       "Required"},
      {"hardware-asset", "add", "DMM1", "TCPIP0::10.0.4.21::INSTR"},
      {"hardware-asset", "add", "Scope1", "USB0::0x0957::0x1796::MY123::INSTR"},
      {"hardware-asset", "add", "PSU1", "GPIB0::5::INSTR"},
      {"data-component", "add", "--asset", "PSU1", "Calibrated", "boolean", "yes"},
      {"driver-session", "add", "DMM", "--module", "acmedmm", "--asset", "DMM1", "--setup",
       "Model=A3401", "--range-check", "ON"},
      {"driver-session", "add", "Scope", "--module", "orion", "--asset", "Scope1", "--simulate",
       "True"},
      {"driver-session", "add", "Psu", "--module", "volt", "--asset", "PSU1"},
      {"session", "add", "Spare", "--asset", "PSU1", "--description", "hot spare"},
      {"virtual-name", "add", "--session", "DMM", "Probe", "Channel1"},
      {"virtual-range", "add", "--session", "DMM", "--virtual-name", "Probe", "R", "--min", "1",
       "--max", "2", "--start", "3"},
      {"set-value", "--session", "DMM", "Timeout", "5000"},
      {"data-component", "set", "--session", "Psu", "Limit", "4.5"},
      {"logical-name", "add", "BenchDMM", "DMM"},
      {"logical-name", "add", "BenchScope", "Scope"},
      {"logical-name", "add", "BenchPsu", "Psu"},
      // A new IP address is one command, and the sessions stay linked.
      {"hardware-asset", "set", "DMM1", "--resource", "TCPIP0::10.0.4.22::INSTR"}};
  RunAll(run, bench);

  Result strict = run({"validate", "--strict"});
  EXPECT_EQ(strict.status, 0) << strict.out << strict.err;
  Result dmm = run({"resolve", "BenchDMM", "--json"});
  nlohmann::json resolved = nlohmann::json::parse(dmm.out);
  EXPECT_EQ(resolved["hardwareAsset"]["ioResourceDescriptor"], "TCPIP0::10.0.4.22::INSTR");
  EXPECT_EQ(resolved["flags"]["rangeCheck"], true);
  EXPECT_EQ(resolved["settings"][0]["value"], 5000);  // copied from the module, then set
  EXPECT_EQ(resolved["settings"][1]["members"][0]["value"], 0.02);
  EXPECT_EQ(resolved["virtualNames"][0]["ranges"][0]["startingPhysicalIndex"], 3);
  EXPECT_EQ(
      nlohmann::json::parse(run({"resolve", "BenchPsu", "--json"}).out)["settings"][0]["value"],
      4.5);

  // Every list prints one line per item, and as JSON an array that parses.
  const std::vector<std::pair<std::vector<std::string>, size_t>> lists = {
      {{"published-api", "list"}, 3},
      {{"software-module", "list"}, 3},
      {{"hardware-asset", "list"}, 3},
      {{"driver-session", "list"}, 3},
      {{"session", "list"}, 1},
      {{"logical-name", "list"}, 3},
      {{"physical-name", "list", "--module", "acmedmm"}, 2},
      {{"physical-range", "list", "--module", "acmedmm", "--physical-name", "Channel"}, 1},
      {{"virtual-name", "list", "--session", "DMM"}, 1},
      {{"virtual-range", "list", "--session", "DMM", "--virtual-name", "Probe"}, 1},
      {{"data-component", "list", "--module", "acmedmm"}, 4},
      {{"data-component", "list", "--asset", "PSU1"}, 1}};
  for (auto [args, count] : lists) {
    Result text = run(args);
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), static_cast<long>(count))
        << args[0] << "\n"
        << text.out << text.err;
    args.push_back("--json");
    Result json = run(args);
    ASSERT_EQ(json.status, 0) << json.err;
    nlohmann::json items = nlohmann::json::parse(json.out);
    EXPECT_EQ(items.size(), count) << args[0];
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), static_cast<long>(count + 2));
  }
  EXPECT_EQ(run({"data-component", "list", "--module", "acmedmm"}).out,
            "Timeout                                 Integer       2000 ms       Required\n"
            "Configurable Initial Settings           Structure                   None\n"
            "Configurable Initial Settings/Aperture  Real          0.02          Required\n"
            "Api                                     APIReference  -> Dmm C 3.0  Optional\n");
}

// A store built by the utility for the failure table: one of each item, linked up.
std::vector<std::vector<std::string>> Scene() {
  return {{"published-api", "add", "Dmm", "C", "4.0"},
          {"software-module", "set", "acme34", "--api", "Dmm C 4.0"},
          {"data-component", "add", "--session", "DMM_Rack4_acme34", "Api", "api-reference",
           "--api", "Dmm C 4.0"},
          {"session", "add", "Plain", "--asset", "DMM_Rack4"},
          {"logical-name", "add", "ToPlain", "Plain"}};
}

TEST(Cli, EveryFailedEditLeavesTheFileAsItWasAndSaysWhatToDo) {
  Bench run;
  RunAll(run, Scene());
  const std::string before = ReadFile(run.store);
  struct Case {
    std::vector<std::string> args;
    std::string says;  // on standard error
  };
  const std::vector<Case> failures = {
      {{"hardware-asset", "remove", "DMM_Rack4"},
       "Remove failed. Item has references from other items.\n"
       "  driver session DMM_Rack4_acme34 uses it: zavconfig driver-session set DMM_Rack4_acme34 "
       "--no-asset\n  session Plain uses it: zavconfig session set Plain --no-asset\n"},
      {{"driver-session", "remove", "DMM_Rack4_acme34"},
       "  logical name SampleDMM leads to it: zavconfig logical-name set SampleDMM --no-session"},
      {{"session", "remove", "Plain"}, "logical name ToPlain leads to it"},
      {{"session", "remove", "DMM_Rack4_acme34"}, "is a driver session, not a plain session"},
      {{"published-api", "remove", "Dmm", "C", "4.0"},
       "software module acme34 lists it: zavconfig software-module set acme34 --drop-api 'Dmm C "
       "4.0'\n  data component Api refers to it: zavconfig data-component remove --session "
       "DMM_Rack4_acme34 Api"},
      {{"published-api", "remove", "Dmm"}, "'Dmm' names 2 published APIs: Dmm C 3.0, Dmm C 4.0"},
      {{"published-api", "add", "Dmm", "C", "3.0"},
       "published API Dmm C 3.0 is in the store already"},
      {{"published-api", "add", "Dmm", "C", "three"}, "'three' is not a version"},
      {{"published-api", "set", "Dmm", "C", "3.0", "--version", "4.0"}, "Rename operation failed"},
      {{"software-module", "add", "acme34"}, "while adding software module acme34 to the store"},
      {{"software-module", "set", "acme34", "--api", "Scope C 1.0"},
       "no published API named 'Scope C 1.0'"},
      {{"hardware-asset", "add", "", "X"}, "The name of the item cannot be empty"},
      {{"hardware-asset", "set", "DMM_Rack", "--resource", "X"},
       "no hardware asset named 'DMM_Rack' in the store\n  did you mean 'DMM_Rack4'?"},
      {{"driver-session", "add", "New", "--module", "nope"}, "no software module named 'nope'"},
      {{"driver-session", "set", "SampleDMM", "--cache", "on"},
       "'SampleDMM' is a logical name that leads to driver session DMM_Rack4_acme34"},
      {{"driver-session", "set", "Plain", "--cache", "on"}, "'Plain' is a session"},
      {{"driver-session", "set", "DMM_Rack4_acme34", "--module", "acme34", "--no-module"},
       "contradict"},
      {{"logical-name", "add", "New", "SampleDMM"},
       "'SampleDMM' is a logical name that leads to driver session DMM_Rack4_acme34"},
      {{"logical-name", "add", "SampleDMM"}, "already exists"},
      {{"physical-name", "add", "--module", "acme34", "Bad Name", "Rc"}, "must consist of"},
      {{"physical-name", "add", "--module", "acme34", "Nope/Child", "Rc"},
       "no physical name named 'Nope' in software module acme34"},
      {{"physical-range", "set", "--module", "acme34", "--physical-name", "Channel", "Input",
        "--max", "9"},
       "did you mean 'Inputs'?"},
      {{"virtual-name", "add", "--session", "SampleDMM", "V", "Channel1"},
       "no session named 'SampleDMM'"},
      {{"virtual-name", "add", "--session", "DMM_Rack4_acme34", "Probe", "X"}, "already exists"},
      {{"virtual-range", "add", "--session", "DMM_Rack4_acme34", "--virtual-name", "Nope", "R"},
       "no virtual name named 'Nope'"},
      {{"set-value", "--session", "DMM_Rack4_acme34", "Timout", "5"},
       "no data component named 'Timout' in driver session DMM_Rack4_acme34\n"
       "  did you mean 'Timeout'?\n  data components in driver session DMM_Rack4_acme34: "
       "Timeout, Configurable Initial Settings, Configurable Initial Settings/Aperture, Api\n"},
      {{"set-value", "--session", "DMM_Rack4_acme34", "Timeout", "12abc"},
       "'12abc' is not a 32-bit integer"},
      {{"data-component", "set", "--module", "acme34", "Configurable Initial Settings", "1"},
       "is a structure"},
      {{"data-component", "set", "--module", "acme34", "Timeout", "--units", "s",
        "--used-in-session", "Sometimes"},
       "Invalid value 'Sometimes'"},
      {{"data-component", "add", "--asset", "DMM_Rack4", "Flag", "boolean", "on",
        "--used-in-session", "Required"},
       "can only have the value 'None'"},
      {{"data-component", "add", "--module", "acme34", "S", "structure"},
       "add 'S/MEMBER' with the member's type"},
      {{"data-component", "add", "--module", "acme34", "Ref", "api-reference"}, "--api"},
      {{"data-component", "add", "--module", "acme34", "X", "float", "1"},
       "'float' is not a data component type"},
      {{"data-component", "remove", "--module", "acme34", "Configurable Initial Settings/Aperture"},
       "remove the whole structure: zavconfig data-component remove --module acme34 "
       "'Configurable Initial Settings'"},
      {{"show", "missing.xml"}, "missing.xml: no such file"}};
  for (const Case& c : failures) {
    Result r = run(c.args);
    std::string label;
    for (const std::string& arg : c.args) label += arg + " ";
    EXPECT_EQ(r.status, 1) << label << "\n" << r.err;
    EXPECT_TRUE(Contains(r.err, c.says)) << label << "\n" << r.err;
    EXPECT_TRUE(ReadFile(run.store) == before) << label;
  }
}

TEST(Cli, AnEditThatChangesNothingOrMayNotWriteLeavesTheFileAlone) {
  Bench run;
  struct stat first {};
  ASSERT_EQ(stat(run.store.c_str(), &first), 0);
  for (const std::vector<std::string>& same :
       {std::vector<std::string>{"driver-session", "set", "DMM_Rack4_acme34"},
        {"driver-session", "set", "DMM_Rack4_acme34", "--range-check", "yes", "--module", "acme34"},
        {"hardware-asset", "set", "DMM_Rack4", "--resource", "TCPIP0::10.0.4.21::INSTR"},
        {"set-value", "--module", "acme34", "Timeout", "2000"},
        {"logical-name", "set", "SampleDMM", "DMM_Rack4_acme34"}}) {
    Result r = run(same);
    EXPECT_EQ(r.status, 0) << same[0] << ": " << r.err;
    EXPECT_EQ(r.out, "nothing to change (" + run.store + ")\n");
  }
  struct stat after {};
  ASSERT_EQ(stat(run.store.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, first.st_ino);  // never replaced
  EXPECT_EQ(after.st_mtim.tv_nsec, first.st_mtim.tv_nsec);

  ASSERT_EQ(chmod(run.store.c_str(), 0444), 0);
  const std::string before = ReadFile(run.store);
  Result refused = run({"logical-name", "add", "New"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.err,
                       "the store file is read-only; nothing was written\n"
                       "  --force writes it all the same"))
      << refused.err;
  EXPECT_TRUE(ReadFile(run.store) == before);
  EXPECT_EQ(run({"logical-name", "add", "New", "--force"}).status, 0);
  EXPECT_TRUE(Contains(run({"logical-name", "list"}).out, "New"));
}

// Concurrent editors of one store: every edit that reported success is in the file.
TEST(Cli, ConcurrentEditorsLoseNoChange) {
  Bench run;
  for (int editors : {2, 4, 8}) {
    std::string script;
    for (int e = 0; e < editors; ++e)
      script += "(for i in 1 2 3; do " + Quote(ZAV_CLI) + " logical-name add N" +
                std::to_string(editors) + "_" + std::to_string(e) + "_$i >/dev/null && echo " +
                "N" + std::to_string(editors) + "_" + std::to_string(e) + "_$i; done) & ";
    TempDir capture;
    std::string command = "cd " + Quote(run.dir.path()) + " && { " + script + "wait; } >" +
                          capture.File("done") + " 2>" + capture.File("err");
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::string done = ReadFile(capture.File("done"));
    EXPECT_EQ(std::count(done.begin(), done.end(), '\n'), editors * 3)
        << ReadFile(capture.File("err"));
    Result names = run({"logical-name", "list"});
    ASSERT_EQ(names.status, 0) << names.err;  // the file always reads
    size_t start = 0;
    for (size_t end; (end = done.find('\n', start)) != std::string::npos; start = end + 1)
      EXPECT_TRUE(Contains(names.out, done.substr(start, end - start) + "  "))
          << done.substr(start, end - start);
  }
}

TEST(Cli, RegistryFaultsNameTheRegistryAndTheDoctor) {
  Bench run;
  {
    ScopedRegistry noMaster("", DataDir());
    Result r = run({"logical-name", "list"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        Contains(r.err, "  the registry " + noMaster.path() +
                            " (from ZAV_REGISTRY) sets no MasterStore\n"
                            "  run 'zavconfig doctor' to see what is wrong and how to fix it\n"))
        << r.err;
  }
  {
    ScopedRegistry goneMaster(run.dir.File("gone.xml"), DataDir());
    EXPECT_TRUE(Contains(run({"show"}).err, "names the master store " + run.dir.File("gone.xml") +
                                                ", which does not exist"));
  }
  ScopedEnv missing("ZAV_REGISTRY", run.dir.File("none.ini").c_str());
  Result r = run({"validate", "store.xml"});
  EXPECT_TRUE(Contains(r.err, "  the registry " + run.dir.File("none.ini") +
                                  " (from ZAV_REGISTRY) does not exist\n"))
      << r.err;
}

TEST(Cli, CompletesCommandsAndOptions) {
  Bench run;
  auto complete = [&](const std::string& words, int index) {
    std::string script = "source <(" + Quote(ZAV_CLI) + " completion bash); COMP_WORDS=(" + words +
                         "); COMP_CWORD=" + std::to_string(index) +
                         "; _zavconfig; echo \"${COMPREPLY[*]}\"";
    TempDir capture;
    std::system(("cd " + Quote(run.dir.path()) + " && bash -c " + Quote(script) + " >" +
                 capture.File("out"))
                    .c_str());
    return ReadFile(capture.File("out"));
  };
  EXPECT_TRUE(Contains(complete("zavconfig hardware-a", 1), "hardware-asset"));
  EXPECT_EQ(complete("zavconfig hardware-asset ''", 2), "add set remove list --help -h\n");
  // A store file is offered where a command takes one.
  EXPECT_EQ(complete("zavconfig show store.x", 2), "store.xml\n");
  EXPECT_TRUE(Contains(complete("zavconfig driver-session set Scope --sim", 4), "--simulate"));
  EXPECT_EQ(complete("zavconfig data-component add --ses", 3), "--session\n");
}

}  // namespace
