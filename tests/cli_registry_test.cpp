// SPDX-License-Identifier: MIT
// `zavconfig init` and `doctor` on registries as users have them: per-user and system files,
// links, foreign line ends, and files the library will not read (FIFOs, directories, binary,
// huge, unreadable, read-only), which must be answered at once and never replaced.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "zavconfig.hpp"

namespace {

using zavtest::ReadFile;
using zavtest::ScopedEnv;
using zavtest::TempDir;
using zavtest::WriteFile;

const std::string kSource = ZAV_TEST_SOURCE_DIR;
const std::string kExample = kSource + "/data/example_store.xml";
const std::string kServer = "[Software\\ZAV\\CONFIGURATIONSERVER]";

struct Result {
  int status;  // -1: killed after 10 s
  std::string out, err;
  double seconds;
};

// Runs the tool in `dir`, as user nobody when asked and the tests run as root (root reads and
// writes whatever the mode says).
Result RunTool(const std::string& dir, std::vector<std::string> args, bool asNobody = false) {
  TempDir capture;
  chmod(capture.path().c_str(), 0777);
  const std::string out = capture.File("out"), err = capture.File("err");
  args.insert(args.begin(), ZAV_CLI);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const bool drop = asNobody && geteuid() == 0;
    if (chdir(dir.c_str()) != 0 || (drop && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 ||
                                             setuid(65534) != 0)))
      _exit(126);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int raw = 0, status = -1;
  for (int waited = 0; waited < 1000; ++waited) {
    if (waitpid(child, &raw, WNOHANG) == child) {
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (status == -1 && waitpid(child, &raw, WNOHANG) == 0) {
    kill(child, SIGKILL);
    waitpid(child, &raw, 0);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return {status, ReadFile(out), ReadFile(err), took.count()};
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A home of the test's own: the user registry, data directory and ZAV_REGISTRY are its.
struct Home {
  TempDir dir;
  ScopedEnv home{"HOME", dir.path().c_str()};
  ScopedEnv config{"XDG_CONFIG_HOME", nullptr};
  ScopedEnv data{"XDG_DATA_HOME", nullptr};
  ScopedEnv registry{"ZAV_REGISTRY", nullptr};
  std::string ini = dir.File(".config/zav/registry.ini");
  std::string store = dir.File(".local/share/zav/ZavConfigurationStore.xml");
  Result operator()(const std::vector<std::string>& args, bool asNobody = false) const {
    return RunTool(dir.path(), args, asNobody);
  }
};

TEST(CliRegistry, InitWritesWhatIsMissingAndNeverOverwrites) {
  Home run;
  Result first = run({"init", "--user", "--data-dir", kSource + "/data"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(ReadFile(run.ini), kServer + "\nMasterStore=" + run.store +
                                   "\n\n[Software\\ZAV]\nZavDataDir=" + kSource + "/data/\n");
  // The library finds the user's registry by itself: nothing to export.
  EXPECT_FALSE(Contains(first.out, "ZAV_REGISTRY")) << first.out;
  Result empty = run({"show", "--json"});
  EXPECT_TRUE(Contains(empty.out, "\"logicalNames\": []")) << empty.err;

  // A changed store and a registry with values of its own stay as they are.
  WriteFile(run.store, ReadFile(kExample));
  const std::string iniBefore = ReadFile(run.ini);
  Result again = run({"init", "--user", "--master-store", "/elsewhere.xml"});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(ReadFile(run.ini), iniBefore);
  EXPECT_EQ(ReadFile(run.store), ReadFile(kExample));
  EXPECT_TRUE(Contains(again.out, "kept: already set"));

  // A missing section is added at the end; an empty value is filled in place.
  WriteFile(run.ini, "[Software\\ZAV]\nZavDataDir=/keep/\n");
  run({"init", "--user"});
  EXPECT_EQ(ReadFile(run.ini),
            "[Software\\ZAV]\nZavDataDir=/keep/\n\n" + kServer + "\nMasterStore=" + run.store + "\n");
  WriteFile(run.ini, "; mine\n" + kServer + "\nMasterStore=\n\n[Software\\ZAV]\nZavDataDir=/keep/\n");
  run({"init", "--user", "--master-store", run.store});
  EXPECT_EQ(ReadFile(run.ini), "; mine\n" + kServer + "\nMasterStore=" + run.store +
                                   "\n\n[Software\\ZAV]\nZavDataDir=/keep/\n");

  // While ZAV_REGISTRY names another file, init says how to reach this one.
  ScopedEnv other("ZAV_REGISTRY", run.dir.File("other.ini").c_str());
  EXPECT_TRUE(Contains(run({"init", "--user"}).out, "\n  unset ZAV_REGISTRY\n"));
  EXPECT_TRUE(Contains(run({"init", "--master-store", run.store}).out,
                       "registry      " + run.dir.File("other.ini") + "  (created)"));
}

// The value goes to the file a link leads to, keeping the link, the mode and the line ends.
TEST(CliRegistry, InitEditsTheFileALinkLeadsTo) {
  Home run;
  std::filesystem::create_directories(run.dir.File(".config/zav"));
  std::filesystem::create_directories(run.dir.File("admin"));
  const std::string real = run.dir.File("admin/registry.ini");
  WriteFile(real, "\xEF\xBB\xBF; kept\r\n[Software\\ZAV]\r\nZavDataDir=/keep/\r\n");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(symlink("../../admin/registry.ini", run.ini.c_str()), 0);
  Result r = run({"init", "--user", "--master-store", run.store});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::is_symlink(run.ini));
  EXPECT_EQ(ReadFile(real), "\xEF\xBB\xBF; kept\r\n[Software\\ZAV]\r\nZavDataDir=/keep/\r\n\r\n" +
                                kServer + "\r\nMasterStore=" + run.store + "\r\n");
  struct stat info {};
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A registry the library does not read is never replaced, and the answer comes at once.
TEST(CliRegistry, RegistriesTheLibraryDoesNotReadAreNeverReplaced) {
  Home run;
  chmod(run.dir.path().c_str(), 0777);  // for the cases run as nobody
  const std::string fifo = run.dir.File("fifo.ini"), huge = run.dir.File("huge.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  std::filesystem::create_directory(run.dir.File("dir.ini"));
  WriteFile(run.dir.File("binary.ini"), std::string("\x7F" "ELF\0\0[Software\\ZAV]\n", 21));
  ASSERT_EQ(truncate((WriteFile(huge, "[Software\\ZAV]\n"), huge).c_str(), 100 << 20), 0);
  const std::string secret = kServer + "\nMasterStore=/srv/admin.xml\n";
  WriteFile(run.dir.File("secret.ini"), secret);
  WriteFile(run.dir.File("readonly.ini"), secret);
  chmod(run.dir.File("secret.ini").c_str(), 0600);
  chmod(run.dir.File("readonly.ini").c_str(), 0444);

  struct Case {
    std::string file, reason;
    bool asNobody;
  };
  const Case cases[] = {{"fifo.ini", "is a FIFO, not a regular file", false},
                        {"dir.ini", "is a directory, not a regular file", false},
                        {"binary.ini", "holds binary data", false},
                        {"huge.ini", "is larger than 1 MiB", false},
                        {"secret.ini", "cannot be read: Permission denied", true}};
  for (const Case& c : cases) {
    ScopedEnv registry("ZAV_REGISTRY", c.file.c_str());
    const std::string path = run.dir.File(c.file);
    const auto before = std::filesystem::status(path).type();
    const std::string text = c.file == "binary.ini" || c.file == "secret.ini" ? ReadFile(path) : "";
    for (const std::string command : {"doctor", "init"}) {
      std::vector<std::string> args = {command};
      if (command == "init") args.push_back("--master-store=" + run.store);
      Result r = run(args, c.asNobody);
      EXPECT_EQ(r.status, 1) << command << " " << c.file << r.out << r.err;
      EXPECT_LT(r.seconds, 1.0) << command << " " << c.file;
      EXPECT_TRUE(Contains(r.out + r.err, c.reason)) << command << " " << c.file << r.out << r.err;
    }
    EXPECT_EQ(std::filesystem::status(path).type(), before) << c.file;
    if (!text.empty()) {
      EXPECT_EQ(ReadFile(path), text) << c.file;
    }
    EXPECT_EQ(std::filesystem::file_size(huge), 100u << 20);
  }
  // Readable but not writable: doctor is content, init does not replace it.
  ScopedEnv registry("ZAV_REGISTRY", "readonly.ini");
  Result r = run({"init", "--data-dir", "/d/", "--master-store", run.store}, true);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "readonly.ini is read-only; nothing was written")) << r.err;
  EXPECT_EQ(ReadFile(run.dir.File("readonly.ini")), secret);
}

// While another editor holds the registry's lock, init waits for it instead of writing.
TEST(CliRegistry, InitWaitsForTheRegistryLock) {
  Home run;
  const std::string ini = run.dir.File("registry.ini"), before = "[Software\\ZAV]\nZavDataDir=/keep/\n";
  ScopedEnv use("ZAV_REGISTRY", ini.c_str());
  WriteFile(ini, before);
  const int held = open((ini + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  Result result{};
  std::thread init([&] { result = run({"init", "--master-store", run.store}); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(ReadFile(ini), before);
  close(held);
  init.join();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadFile(ini), before + "\n" + kServer + "\nMasterStore=" + run.store + "\n");
  EXPECT_FALSE(zavtest::FileExists(ini + ".lock"));
}

TEST(CliRegistry, DoctorShowsTheSearchAndNamesEachMistakeWithItsFix) {
  Home run;
  const std::string data = kSource + "/data";
  const std::string master = "MasterStore=" + kExample + "\n";
  std::filesystem::create_directories(run.dir.File(".config/zav"));
  WriteFile(run.ini, kServer + "\n" + master + "[Software\\ZAV]\nZavDataDir=" + data + "/\n");
  Result healthy = run({"doctor"});
  EXPECT_EQ(healthy.status, 0) << healthy.out;
  EXPECT_TRUE(Contains(healthy.out, "registry      " + run.ini + "  (the user's registry")) << healthy.out;
  EXPECT_TRUE(Contains(healthy.out, "2. " + run.ini + "  exists  <- read\n")) << healthy.out;
  EXPECT_TRUE(Contains(healthy.out, "no problems found"));

  const std::vector<std::pair<std::string, std::string>> mistakes = {
      {kServer + "\n" + master + "[Software\\ZAV]\nZavDataDir=" + data + "\n",
       "fix: write ZavDataDir=" + data + "/ (the schema is there)"},
      {kServer + "\nmasterstore=" + kExample + "\n[Software\\ZAV]\nZavDataDir=" + data + "/\n",
       "line 2: key \"masterstore\" is not read: keys are case-sensitive\n    fix: write it as "
       "MasterStore"},
      {"[Software\\ZAV\\CONFIGURATONSERVER]\n" + master + "[Software\\ZAV]\nZavDataDir=" + data + "/\n",
       "line 1: section [Software\\ZAV\\CONFIGURATONSERVER] is not one the library reads\n"
       "    fix: rename it to [Software\\ZAV\\CONFIGURATIONSERVER]"},
      {"; c\n[Software\\ZAV\\CONFIGURATIONSERVER\n" + master,
       "line 2: section header [Software\\ZAV\\CONFIGURATIONSERVER lacks its closing ']'"},
      {master + "[Software\\ZAV]\nZavDataDir=" + data + "/\n",
       "line 1: MasterStore is read only in [Software\\ZAV\\CONFIGURATIONSERVER]"},
      // A schema file that is no schema: every read of a store fails the same way.
      {kServer + "\n" + master + "[Software\\ZAV]\nZavDataDir=" + run.dir.path() + "/\n",
       "the schema " + run.dir.File("ZavConfigurationStore_1-6.xsd") +
           " is not a schema the library can compile"}};
  WriteFile(run.dir.File("ZavConfigurationStore_1-6.xsd"), "not a schema\n");
  for (const auto& [text, problem] : mistakes) {
    WriteFile(run.ini, text);
    Result r = run({"doctor"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.out, problem)) << r.out;
  }
  ScopedEnv missing("ZAV_REGISTRY", "none.ini");
  Result none = run({"doctor"});
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(Contains(none.out, "registry      none.ini  (from ZAV_REGISTRY)\n              does not exist"));
}

// doctor shows the value the library reads, however the file is written.
TEST(CliRegistry, DoctorReadsTheRegistryAsTheLibraryDoes) {
  Home run;
  const std::string registry = run.dir.File("registry.ini"), store = run.dir.File("store.xml");
  ScopedEnv use("ZAV_REGISTRY", registry.c_str());
  WriteFile(store, ReadFile(kExample));
  const std::vector<std::string> texts = {
      "\xEF\xBB\xBF" + kServer + "\r\nMasterStore=" + store + "\r\n",
      "  [ Software\\ZAV\\CONFIGURATIONSERVER ]  \n ; c\n# c\n  MasterStore  =  " + store + "  \n",
      kServer + "\nMasterStore=" + kExample + "\nMasterStore=" + store + "\n",
      kServer + "\nMasterStore=" + store + "\n[Software\\ZAV\\CONFIGURATIONSERVER\nMasterStore=" +
          kExample + "\n"};
  for (const std::string& text : texts) {
    WriteFile(registry, text);
    zav::Store library;
    EXPECT_EQ(library.masterLocation(), store);
    EXPECT_TRUE(Contains(run({"doctor"}).out, "MasterStore   " + store + "\n")) << text;
  }
}

}  // namespace
