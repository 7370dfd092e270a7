// SPDX-License-Identifier: MIT
// The zavconfig utility, run as a user runs it: exit status, standard output against the
// expected text, messages on standard error, and the files it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

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

TEST(Cli, HelpVersionAndUsageErrors) {
  Bench run;
  EXPECT_EQ(run({"--version"}).out, "zavconfig 1.0.0\n");
  const std::vector<std::vector<std::string>> commands = {
      {}, {"init"}, {"doctor"}, {"validate"}, {"show"}, {"resolve"}, {"logical-name", "add"},
      {"logical-name", "set"}, {"logical-name", "remove"}, {"driver-session", "add"},
      {"driver-session", "set"}, {"driver-session", "remove"}, {"hardware-asset", "add"},
      {"hardware-asset", "remove"}, {"set-value"}};
  for (std::vector<std::string> command : commands) {
    command.push_back("--help");
    Result help = run(command);
    EXPECT_EQ(help.status, 0) << command[0];
    EXPECT_TRUE(Contains(help.out, "Usage:")) << command[0];
  }
  EXPECT_EQ(run({}).status, 2);
  EXPECT_EQ(run({"frobnicate"}).status, 2);
  EXPECT_EQ(run({"validate"}).status, 2);
  EXPECT_EQ(run({"init", "--user", "--system"}).status, 2);
  EXPECT_EQ(run({"resolve", "a", "b", "c"}).status, 2);
  EXPECT_EQ(run({"set-value", "Timeout", "1"}).status, 2);  // whose component?
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

  Result lint = run({"validate", kSource + "/tests/data/cli/lint_store.xml"});
  EXPECT_EQ(lint.status, 1);
  std::string file = kSource + "/tests/data/cli/lint_store.xml:";
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
                kSource + "/tests/data/cli/lint_store.xml: valid, 4 warning(s)\n");

  // Without a schema nothing can be validated: the registry is at fault.
  ScopedRegistry noSchema(run.store, "");
  Result unconfigured = run({"validate", "store.xml"});
  EXPECT_EQ(unconfigured.status, 1);
  EXPECT_TRUE(Contains(unconfigured.err, "Invalid ZAV Data Directory path in registry"));
}

TEST(Cli, ShowAndResolvePrintTreesAndJson) {
  Bench run;
  EXPECT_EQ(run({"show", "store.xml"}).out, Expected("example_show.txt"));
  EXPECT_EQ(run({"show", "store.xml", "--json"}).out, Expected("example_show.json"));
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
  Result broken = run({"show", kSource + "/tests/data/invalid_malformed.xml"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_TRUE(Contains(broken.err, "Deserialize failed. Parsing error number:"));
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

}  // namespace
