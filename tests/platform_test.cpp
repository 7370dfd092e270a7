// SPDX-License-Identifier: MIT
// The registry file and lexical path resolution.
#include <climits>
#include <filesystem>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <sys/stat.h>

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
  zavtest::ScopedEnv installed("ZAV_REGISTRY", "");
  EXPECT_EQ(zp::RegistryFilePath(), ZAV_SYSCONFDIR "/zav/registry.ini");
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
