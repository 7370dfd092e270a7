#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/environment.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "test_support.h"

namespace zp = zav::platform;
using zavtest::ReadFile;
using zavtest::ScopedEnv;
using zavtest::TempDir;
using zavtest::WriteFile;

namespace {

const char kServerKey[] = "Software\\ZAV\\CONFIGURATIONSERVER";
const char kZavKey[] = "Software\\ZAV";

// A registry file of the test's own, with the given text.
class RegistryFile {
 public:
  explicit RegistryFile(const std::string& text)
      : file_((WriteFile(dir_.File("registry.ini"), text), dir_.File("registry.ini"))),
        env_("ZAV_REGISTRY", file_.c_str()) {}
  void Rewrite(const std::string& text) { WriteFile(file_, text); }

 private:
  TempDir dir_;
  std::string file_;
  ScopedEnv env_;
};

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  return names;
}

// Runs the test body in a fresh current directory and restores the old one.
class InTempCwd {
 public:
  InTempCwd() : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir_.path());
    cwd_ = std::filesystem::current_path().string();
  }
  ~InTempCwd() { std::filesystem::current_path(old_); }
  const std::string& cwd() const { return cwd_; }

 private:
  TempDir dir_;
  std::filesystem::path old_;
  std::string cwd_;
};

}  // namespace

TEST(PlatformRegistry, ParsesSectionsValuesAndComments) {
  RegistryFile registry(
      "Stray=before any section\n"
      "; a comment\r\n"
      "# MasterStore=/from/comment\n"
      "  [ Software\\ZAV\\CONFIGURATIONSERVER ]  \r\n"
      "\r\n"
      "\t MasterStore =  /var/lib/zav/store.xml \t\r\n"
      ";MasterStore=/commented/out\n"
      "DriverSetup=Model=A;Simulate=1\n"
      "no equals sign here\n"
      "[Software\\ZAV]\n"
      "ZavDataDir=/usr/share/zav/\n"
      "ZavDataDir=/opt/zav/\n"
      "[software\\zav]\n"
      "ZavDataDir=/wrong/case/\n");
  EXPECT_EQ(zp::ReadRegistryString(kServerKey, "MasterStore"), "/var/lib/zav/store.xml");
  EXPECT_EQ(zp::ReadRegistryString(kServerKey, "DriverSetup"), "Model=A;Simulate=1");
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), "/opt/zav/");  // the last one wins
  // Section and value names are compared exactly, and values stay in their own section.
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "zavdatadir"), "");
  EXPECT_EQ(zp::ReadRegistryString("software\\zav", "ZavDataDir"), "/wrong/case/");
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "MasterStore"), "");
  EXPECT_EQ(zp::ReadRegistryString(kServerKey, "Stray"), "");
  EXPECT_EQ(zp::ReadRegistryString("Software\\Other", "MasterStore"), "");
  EXPECT_EQ(zp::ReadRegistryString(kServerKey, "Missing"), "");
}

TEST(PlatformRegistry, ReadsAfreshAndRejectsOverlongValues) {
  RegistryFile registry("[Software\\ZAV]\nZavDataDir=/first/\n");
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), "/first/");
  registry.Rewrite("[Software\\ZAV]\nZavDataDir=/second/\n");
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), "/second/");

  std::string longest(PATH_MAX - 1, 'a');
  registry.Rewrite("[Software\\ZAV]\nZavDataDir=" + longest + "\nTooLong=" + longest + "b\n");
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), longest);
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "TooLong"), "");
}

TEST(PlatformRegistry, FileLocation) {
  const std::string installed = ZAV_SYSCONFDIR "/zav/registry.ini";
  {
    ScopedEnv env("ZAV_REGISTRY", nullptr);
    EXPECT_EQ(zp::RegistryFilePath(), installed);
  }
  {
    ScopedEnv env("ZAV_REGISTRY", "");
    EXPECT_EQ(zp::RegistryFilePath(), installed);
  }
  TempDir dir;
  ScopedEnv env("ZAV_REGISTRY", dir.File("absent.ini").c_str());
  EXPECT_EQ(zp::RegistryFilePath(), dir.File("absent.ini"));
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), "");
  // A directory in place of the file cannot be read either.
  ScopedEnv onDirectory("ZAV_REGISTRY", dir.path().c_str());
  EXPECT_EQ(zp::ReadRegistryString(kZavKey, "ZavDataDir"), "");
}

TEST(PlatformPaths, MakeAbsoluteNormalisesLexically) {
  InTempCwd cwd;
  const std::string here = cwd.cwd();
  const std::string parent = here.substr(0, here.rfind('/'));
  struct Case {
    const char* in;
    std::string out;
  } cases[] = {
      {"", here},
      {".", here},
      {"./", here + "/"},
      {"store.xml", here + "/store.xml"},
      {"a/./b//c/../d", here + "/a/b/d"},
      {"a/b/", here + "/a/b/"},
      {"..", parent.empty() ? "/" : parent},
      {"/", "/"},
      {"//a//b/", "/a/b/"},
      {"/a/b/..", "/a"},
      {"/../../x", "/x"},
      {"/..", "/"},
      {"/missing/link/../file", "/missing/file"},
  };
  for (const Case& c : cases) {
    std::string out = "unchanged";
    EXPECT_TRUE(zp::MakeAbsolute(c.in, out)) << c.in;
    EXPECT_EQ(out, c.out) << c.in;
  }
}

TEST(PlatformPaths, MakeAbsoluteRejectsPathMaxAndLonger) {
  std::string out;
  EXPECT_TRUE(zp::MakeAbsolute("/" + std::string(PATH_MAX - 2, 'a'), out));
  EXPECT_EQ(out.size(), static_cast<size_t>(PATH_MAX - 1));
  out = "unchanged";
  EXPECT_FALSE(zp::MakeAbsolute("/" + std::string(PATH_MAX - 1, 'a'), out));
  EXPECT_EQ(out, "unchanged");
  EXPECT_FALSE(zp::MakeAbsolute(std::string(PATH_MAX, 'a'), out));
  // The limit applies to the normalised result, not to the text given.
  EXPECT_TRUE(zp::MakeAbsolute("/" + std::string(PATH_MAX, 'a') + "/../b", out));
  EXPECT_EQ(out, "/b");
}

TEST(PlatformPaths, DirectoryPart) {
  EXPECT_EQ(zp::DirectoryPart("/var/lib/zav/store.xml"), "/var/lib/zav/");
  EXPECT_EQ(zp::DirectoryPart("/store.xml"), "/");
  EXPECT_EQ(zp::DirectoryPart("/var/lib/"), "/var/lib/");
  EXPECT_EQ(zp::DirectoryPart("store.xml"), "");
  EXPECT_EQ(zp::DirectoryPart("C:\\zav\\store.xml"), "");
}

TEST(PlatformFiles, AccessTestsAndDirectories) {
  TempDir dir;
  const std::string sub = dir.File("sub");
  EXPECT_FALSE(zp::Exists(sub));
  EXPECT_FALSE(zp::MakeDirectory(dir.File("missing/sub")));  // one level only
  EXPECT_TRUE(zp::MakeDirectory(sub));
  EXPECT_TRUE(zp::Exists(sub));
  EXPECT_FALSE(zp::MakeDirectory(sub));
  EXPECT_FALSE(zp::Readable(dir.File("absent.xml")));

  const std::string binary("a\0b\r\n\xff", 6);
  WriteFile(dir.File("data"), binary);
  std::string content;
  EXPECT_TRUE(zp::Readable(dir.File("data")));
  ASSERT_TRUE(zp::ReadWholeFile(dir.File("data"), content));
  EXPECT_EQ(content, binary);
  EXPECT_FALSE(zp::ReadWholeFile(dir.File("absent.xml"), content));
  EXPECT_FALSE(zp::ReadWholeFile(dir.path(), content));
  EXPECT_EQ(content, binary);
}

TEST(PlatformFiles, WriteFileAtomicallyReplacesTheTarget) {
  TempDir dir;
  const std::string target = dir.File("store.xml");
  WriteFile(target, "old content that is longer than the new one");
  const mode_t oldMask = umask(027);
  std::string error;
  const std::string text = "<new/>\n";
  const bool written = zp::WriteFileAtomically(target, text.data(), text.size(), error);
  umask(oldMask);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(ReadFile(target), text);
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"store.xml"});
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the mode of a new file, not a private temporary one

  // A new file is created as well, and an empty document is written as such.
  ASSERT_TRUE(zp::WriteFileAtomically(dir.File("fresh.xml"), "", 0, error)) << error;
  EXPECT_TRUE(zp::Exists(dir.File("fresh.xml")));
  EXPECT_EQ(ReadFile(dir.File("fresh.xml")), "");
}

TEST(PlatformFiles, WriteFileAtomicallyFailsWithoutTouchingAnything) {
  TempDir dir;
  WriteFile(dir.File("plain"), "a regular file");
  ASSERT_TRUE(zp::MakeDirectory(dir.File("occupied")));
  WriteFile(dir.File("occupied/keep"), "kept");
  const std::string text = "<new/>";
  const std::string targets[] = {
      dir.File("missing/store.xml"),  // no such directory
      dir.File("plain/store.xml"),    // the directory part is a regular file
      dir.File("occupied"),           // the rename cannot replace a directory
  };
  for (const std::string& target : targets) {
    std::string error;
    EXPECT_FALSE(zp::WriteFileAtomically(target, text.data(), text.size(), error)) << target;
    EXPECT_FALSE(error.empty()) << target;
  }
  EXPECT_EQ(ReadFile(dir.File("plain")), "a regular file");
  EXPECT_EQ(ReadFile(dir.File("occupied/keep")), "kept");
  std::vector<std::string> left = Entries(dir.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"occupied", "plain"}));  // no temporary file
}

TEST(PlatformEnvironment, GetAndSet) {
  ScopedEnv restore("ZAV_PLATFORM_TEST_VALUE", nullptr);
  EXPECT_EQ(zp::GetEnvironmentValue("ZAV_PLATFORM_TEST_VALUE"), "");
  zp::SetEnvironmentValue("ZAV_PLATFORM_TEST_VALUE", "/tmp/a store.xml");
  EXPECT_EQ(zp::GetEnvironmentValue("ZAV_PLATFORM_TEST_VALUE"), "/tmp/a store.xml");
  zp::SetEnvironmentValue("ZAV_PLATFORM_TEST_VALUE", "");
  EXPECT_EQ(zp::GetEnvironmentValue("ZAV_PLATFORM_TEST_VALUE"), "");
}
