// SPDX-License-Identifier: MIT
// The registry file and lexical path resolution.
#include <climits>
#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/registry.h"
#include "test_support.h"

namespace zp = zav::platform;
using zavtest::WriteFile;

namespace {

const char kServer[] = "Software\\ZAV\\CONFIGURATIONSERVER";
const char kZav[] = "Software\\ZAV";

TEST(PlatformRegistry, ReadsValuesOfTheIniFile) {
  zavtest::TempDir dir;
  const std::string file = dir.File("registry.ini"), longest(PATH_MAX - 1, 'a');
  WriteFile(file, "\xEF\xBB\xBF[Software\\ZAV]\r\nZavDataDir=/first/\nAfterMark=1\n"
                  "; MasterStore=/comment\r\n  [ Software\\ZAV\\CONFIGURATIONSERVER ]  \r\n"
                  "\t MasterStore =  /var/lib/zav/store.xml \t\r\n# MasterStore=/commented/out\n"
                  "no equals sign\nDriverSetup=Model=A;Simulate=1\n[Software\\ZAV]\n"
                  "ZavDataDir=/last/\nLongest=" + longest + "\nTooLong=" + longest + "b\n"
                  "[software\\zav]\nOther=/wrong/case/");
  zavtest::ScopedEnv env("ZAV_REGISTRY", file.c_str());
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {kServer, "MasterStore", "/var/lib/zav/store.xml"}, {kServer, "DriverSetup", "Model=A;Simulate=1"},
      {kZav, "ZavDataDir", "/last/"}, {kZav, "AfterMark", "1"}, {kZav, "Longest", longest},
      {kZav, "TooLong", ""}, {kZav, "zavdatadir", ""}, {kZav, "Other", ""}, {kZav, "MasterStore", ""},
      {"software\\zav", "Other", "/wrong/case/"}, {"Software\\Other", "MasterStore", ""}, {kServer, "Missing", ""}};
  for (const auto& [key, value, expected] : cases)
    EXPECT_EQ(zp::ReadRegistryString(key, value), expected) << value;
  // A FIFO where the file belongs reads as absent at once instead of waiting for a writer.
  const std::string fifo = dir.File("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& unreadable : {dir.File("absent.ini"), dir.path(), fifo}) {
    zavtest::ScopedEnv elsewhere("ZAV_REGISTRY", unreadable.c_str());
    EXPECT_EQ(zp::ReadRegistryString(kZav, "ZavDataDir"), "") << unreadable;
  }
}

// A file the library will not read is told apart from a missing one, at once and whatever it is.
TEST(PlatformRegistry, ReadsOnlySmallRegularFiles) {
  zavtest::TempDir dir;
  const std::string fifo = dir.File("fifo"), big = dir.File("big"), fits = dir.File("fits");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_EQ(truncate((WriteFile(big, ""), big).c_str(), zp::kMaxRegistrySize + 1), 0);
  WriteFile(fits, std::string(zp::kMaxRegistrySize, ';'));
  const std::pair<std::string, zp::tRegistryState> cases[] = {
      {dir.File("absent"), zp::tRegistryState::kMissing},
      {fits + "/below", zp::tRegistryState::kMissing},
      {dir.path(), zp::tRegistryState::kNotRegular},
      {fifo, zp::tRegistryState::kNotRegular},
      {big, zp::tRegistryState::kTooLarge},
      {fits, zp::tRegistryState::kRead}};
  for (const auto& [path, state] : cases) {
    const zp::tRegistryFile file = zp::ReadRegistryFile(path);
    EXPECT_EQ(file.state, state) << path;
    EXPECT_EQ(file.text.size(), state == zp::tRegistryState::kRead ? zp::kMaxRegistrySize : 0u);
  }
}

// ZAV_REGISTRY, else the user's registry when it exists, else the system one; one file only.
TEST(PlatformRegistry, SearchTakesTheFirstRegistryThatApplies) {
  zavtest::TempDir dir;
  const std::string xdg = dir.File("xdg"), home = dir.File("home");
  const std::string xdgFile = xdg + "/zav/registry.ini", homeFile = home + "/.config/zav/registry.ini";
  std::filesystem::create_directories(xdg + "/zav");
  std::filesystem::create_directories(home + "/.config/zav");
  WriteFile(xdgFile, "[Software\\ZAV]\nZavDataDir=/xdg/\n");
  WriteFile(homeFile, "[Software\\ZAV]\nZavDataDir=/home/\n");
  const std::string named = dir.File("named.ini");
  WriteFile(named, std::string("[") + kServer + "]\nMasterStore=/named.xml\n");
  const std::string system = zp::SystemRegistryPath(), emptyXdg = dir.File("empty");

  struct Case {
    const char *registry, *config, *home;
    std::string path, dataDir;
  };
  const Case cases[] = {
      {named.c_str(), xdg.c_str(), home.c_str(), named, ""},  // not merged with the user's
      {"", xdg.c_str(), home.c_str(), xdgFile, "/xdg/"},
      {nullptr, nullptr, home.c_str(), homeFile, "/home/"},
      {nullptr, "relative/xdg", home.c_str(), homeFile, "/home/"},
      {nullptr, emptyXdg.c_str(), home.c_str(), system, ""},
      {nullptr, nullptr, "relative/home", system, ""},
      {nullptr, nullptr, nullptr, system, ""}};
  for (const Case& c : cases) {
    zavtest::ScopedEnv registry("ZAV_REGISTRY", c.registry), config("XDG_CONFIG_HOME", c.config),
        homeDir("HOME", c.home);
    const zp::tRegistrySearch search = zp::SearchRegistry();
    ASSERT_EQ(search.candidates.size(), 3u);
    EXPECT_EQ(search.Chosen().path, c.path) << c.path;
    EXPECT_EQ(zp::RegistryFilePath(), c.path);
    if (c.path != system) {
      EXPECT_EQ(zp::ReadRegistryString(kZav, "ZavDataDir"), c.dataDir) << c.path;
    }
  }
}

TEST(PlatformPaths, MakeAbsoluteResolvesLexically) {
  const std::string here = std::filesystem::current_path().string();
  const std::string parent = here.substr(0, here.rfind('/'));
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"", here, true}, {"store.xml", here + "/store.xml", true}, {"a/./b//c/../d", here + "/a/b/d", true},
      {"a/b/", here + "/a/b/", true}, {"..", parent.empty() ? "/" : parent, true}, {"/", "/", true},
      {"//a//b/", "/a/b/", true}, {"/../../x", "/x", true}, {"/..", "/", true},
      {"/" + std::string(PATH_MAX - 2, 'a'), "/" + std::string(PATH_MAX - 2, 'a'), true},
      {"/" + std::string(PATH_MAX - 1, 'a'), "unchanged", false},
      {"/" + std::string(PATH_MAX, 'a') + "/../b", "/b", true}};
  for (const auto& [in, expected, ok] : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(zp::MakeAbsolute(in, out), ok) << in;
    EXPECT_EQ(out, expected) << in;
  }
}

}  // namespace
