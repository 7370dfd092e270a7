// SPDX-License-Identifier: MIT
// diff, merge, import, export and git-setup as users run them: from a shell, and behind a real
// git that never sees the user's own configuration.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

using zavtest::ReadFile;
using zavtest::ScopedEnv;
using zavtest::TempDir;
using zavtest::WriteFile;

const std::string kSource = ZAV_TEST_SOURCE_DIR;
const std::string kExample = kSource + "/data/example_store.xml";
const std::string kTool = ZAV_CLI;

struct Result {
  int status;
  std::string out, err;
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Runs a shell command line in dir.
Result Shell(const std::string& dir, const std::string& line) {
  TempDir capture;
  std::string command =
      "cd '" + dir + "' && (" + line + ") >" + capture.File("out") + " 2>" + capture.File("err");
  int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(capture.File("out")),
          ReadFile(capture.File("err"))};
}

// A work directory with base.xml, a copy of the example store, which is also the master store.
struct Work {
  TempDir dir;
  std::string base = (WriteFile(dir.File("base.xml"), ReadFile(kExample)), dir.File("base.xml"));
  zavtest::ScopedRegistry registry{base, zavtest::DataDir()};
  Result operator()(const std::string& args) const { return Shell(dir.path(), kTool + " " + args); }
  // A copy of base.xml changed by zavconfig edit commands, one per line.
  void Variant(const std::string& name, const std::vector<std::string>& edits) const {
    WriteFile(dir.File(name), ReadFile(base));
    for (const std::string& edit : edits) {
      Result r = (*this)(edit + " -f " + name);
      ASSERT_EQ(r.status, 0) << edit << ": " << r.err;
    }
  }
};

TEST(StationsCli, ExportIsShowJsonAndImportGivesTheStoreBack) {
  Work run;
  for (const std::string& store : {run.base, kSource + "/tests/data/rich_store.xml"}) {
    Result shown = run("show --json " + store), exported = run("export " + store);
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, shown.out) << store;
    Result imported = run("export " + store + " | " + kTool + " import - -o copy.xml");
    ASSERT_EQ(imported.status, 0) << imported.err;
    Result same = run("diff " + store + " copy.xml");
    EXPECT_EQ(same.status, 0) << same.out;
    EXPECT_EQ(same.out, "");
  }
  WriteFile(run.dir.File("bad.json"), R"({"hardwareAssets": [{"name": "A", "io": "x"}]})");
  Result refused = run("import bad.json -o never.xml");
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.err, "zavconfig: import: hardware-asset A has no key \"io\""))
      << refused.err;
  EXPECT_FALSE(zavtest::FileExists(run.dir.File("never.xml")));
  EXPECT_EQ(run("import - -o never.xml < /dev/null").status, 1);
  EXPECT_EQ(run("import bad.json").status, 2);  // where to?
}

TEST(StationsCli, DiffAndMergeExitAsTheirNamesakes) {
  Work run;
  run.Variant("ours.xml", {"hardware-asset add Scope7 TCPIP0::10.0.7.3::INSTR",
                           "set-value --session DMM_Rack4_acme34 Timeout 5000"});
  run.Variant("theirs.xml",
              {"logical-name add Spare", "set-value --session DMM_Rack4_acme34 Timeout 7000"});

  Result same = run("diff base.xml base.xml");
  EXPECT_EQ(same.status, 0);
  Result changed = run("diff base.xml ours.xml");
  EXPECT_EQ(changed.status, 1);
  EXPECT_EQ(changed.out,
            "+ hardware-asset Scope7\n"
            "~ driver-session DMM_Rack4_acme34 / data-component Timeout: value: 2000 -> 5000\n");
  Result json = run("diff --json base.xml ours.xml");
  EXPECT_TRUE(
      Contains(json.out, "\"property\": \"value\",\n      \"old\": 2000,\n      \"new\": 5000"))
      << json.out;
  EXPECT_EQ(run("diff base.xml missing.xml").status, 2);
  // As git's external diff: seven arguments, exit 0 (git stops at anything else); a file that
  // does not exist on one side is /dev/null.
  Result git = run("diff stations/a.xml /dev/null 0 100644 ours.xml 1 100644");
  EXPECT_EQ(git.status, 0);
  EXPECT_EQ(git.out.substr(0, git.out.find('\n') + 1), "zavconfig diff stations/a.xml\n");
  EXPECT_TRUE(Contains(git.out, "\n+ published-api (Dmm,C,3,0)\n")) << git.out;

  const std::string before = ReadFile(run.dir.File("ours.xml"));
  Result clash = run("merge base.xml ours.xml theirs.xml");
  EXPECT_EQ(clash.status, 1);
  EXPECT_EQ(clash.out,
            "conflict: driver-session DMM_Rack4_acme34 / data-component Timeout: value: base "
            "2000, ours 5000, theirs 7000\n");
  EXPECT_EQ(ReadFile(run.dir.File("ours.xml")), before);  // nothing written
  Result settled = run("merge base.xml ours.xml theirs.xml --theirs -o out.xml");
  EXPECT_EQ(settled.status, 0) << settled.err;
  EXPECT_EQ(run("diff theirs.xml out.xml").out, "+ hardware-asset Scope7\n");
  EXPECT_EQ(run("merge base.xml ours.xml").status, 2);
  EXPECT_EQ(run("merge base.xml ours.xml theirs.xml --ours --theirs").status, 2);
  EXPECT_EQ(run("merge base.xml nothere.xml theirs.xml").status, 2);
}

// Two stations' branches merged by git through the driver, and their changes shown by git diff
// through the textconv, in a repository whose git sees no configuration of the user's.
TEST(StationsCli, GitMergesAndDiffsStoresThroughTheDrivers) {
  Work run;
  TempDir home;
  ScopedEnv homeEnv("HOME", home.path().c_str());
  ScopedEnv global("GIT_CONFIG_GLOBAL", home.File("gitconfig").c_str());
  ScopedEnv system("GIT_CONFIG_NOSYSTEM", "1");
  ScopedEnv xdg("XDG_CONFIG_HOME", home.File("config").c_str());
  const std::string repo = run.dir.File("repo");
  auto git = [&](const std::string& args) {
    Result r = Shell(repo, "git " + args);
    EXPECT_EQ(r.status, 0) << "git " << args << "\n" << r.out << r.err;
    return r;
  };
  auto tool = [&](const std::string& args) {
    Result r = Shell(repo, kTool + " " + args);
    EXPECT_EQ(r.status, 0) << args << "\n" << r.err;
  };
  Shell(run.dir.path(), "mkdir repo && cp base.xml repo/bench4.xml");
  git("init -q -b main");
  git("config user.name Station && git config user.email station@example.com");
  Result printed = Shell(repo, kTool + " git-setup --print");
  EXPECT_TRUE(Contains(printed.out, "*.xml merge=zavconfig diff=zavconfig\n")) << printed.out;
  tool("git-setup");
  EXPECT_EQ(ReadFile(repo + "/.gitattributes"), "*.xml merge=zavconfig diff=zavconfig\n");
  tool("git-setup");  // a second run adds nothing
  EXPECT_EQ(ReadFile(repo + "/.gitattributes"), "*.xml merge=zavconfig diff=zavconfig\n");
  EXPECT_FALSE(zavtest::FileExists(home.File("gitconfig")));
  git("add -A && git commit -q -m template");

  // Two stations each add an instrument: an asset, a driver session on it and a logical name.
  for (const std::string station : {"a", "b"}) {
    git("checkout -q -b " + station + " main");
    tool("hardware-asset add -f bench4.xml Scope_" + station + " TCPIP0::10.0.7." + station);
    tool("driver-session add -f bench4.xml Scope_" + station + "_s --module acme34 --asset Scope_" +
         station);
    tool("logical-name add -f bench4.xml Scope" + station + " Scope_" + station + "_s");
    git("commit -q -am " + station);
  }
  git("checkout -q a");
  git("merge -q --no-edit b");
  Result merged = Shell(repo, kTool + " export bench4.xml");
  EXPECT_EQ(merged.status, 0) << merged.err;  // the library reads it back
  for (const char* name :
       {"\"Scope_a_s\"", "\"Scope_b_s\"", "\"Scopea\"", "\"Scopeb\"", "\"Scope_b\""})
    EXPECT_TRUE(Contains(merged.out, name)) << name;

  // Two stations set one setting differently: the merge stops and names the setting.
  for (const std::string station : {"c", "d"}) {
    git("checkout -q -b " + station + " main");
    tool("set-value -f bench4.xml --session DMM_Rack4_acme34 Timeout " +
         std::string(station == "c" ? "5000" : "7000"));
    git("commit -q -am " + station);
  }
  Result clash = Shell(repo, "git merge --no-edit c");
  EXPECT_NE(clash.status, 0);
  EXPECT_TRUE(Contains(clash.out + clash.err,
                       "driver-session DMM_Rack4_acme34 / data-component Timeout: value: base "
                       "2000, ours 7000, theirs 5000"))
      << clash.out << clash.err;
  git("merge --abort");

  // git diff shows the items, not the renumbered ids.
  tool("set-value -f bench4.xml --session DMM_Rack4_acme34 Timeout 9000");
  tool("hardware-asset add -f bench4.xml Probe GPIB0::7::INSTR");
  Result diff = git("diff");
  EXPECT_TRUE(Contains(diff.out,
                       "-driver-session DMM_Rack4_acme34 / data-component Timeout  value = 7000\n"
                       "+driver-session DMM_Rack4_acme34 / data-component Timeout  value = 9000\n"))
      << diff.out;
  EXPECT_TRUE(Contains(diff.out, "+hardware-asset Probe\n"));
  EXPECT_FALSE(Contains(diff.out, "idref"));

  // For every repository of the user: git's own attributes file and global configuration.
  tool("git-setup --global");
  EXPECT_EQ(ReadFile(home.File("config/git/attributes")), "*.xml merge=zavconfig diff=zavconfig\n");
  EXPECT_TRUE(Contains(ReadFile(home.File("gitconfig")), "merge %O %A %B"));
}

}  // namespace
