// SPDX-License-Identifier: MIT
// `zavconfig git-setup`: one command that makes git diff stores by their items (textconv) and
// merge them item by item (a merge driver), for the files a pattern names.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <vector>

#include "commands.hpp"
#include "station_commands.hpp"

extern char** environ;

namespace zavtool {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Runs git with args, its standard output into out; the exit status, or -1 when git did not
// run.
int Git(const std::vector<std::string>& args, std::string& out) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return -1;
  Descriptor read(fds[0]), write(fds[1]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, write.get(), STDOUT_FILENO);
  std::vector<std::string> all = {"git"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, "git", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  write.reset();
  if (spawned != 0) return -1;
  char buffer[4096];
  for (ssize_t n; (n = ::read(read.get(), buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    out.append(buffer, static_cast<size_t>(n));
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The running program, so that git finds this very utility whatever PATH it runs with.
std::string Self() {
  std::vector<char> path(4096);
  ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  return n > 0 ? std::string(path.data(), static_cast<size_t>(n)) : "zavconfig";
}

// Git hands driver commands to the shell.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The user's attributes file: core.attributesFile, else git's default place.
std::string GlobalAttributesFile() {
  std::string configured;
  Git({"config", "--global", "--get", "core.attributesFile"}, configured);
  configured = Trimmed(configured);
  const char* home = std::getenv("HOME");
  if (configured.rfind("~/", 0) == 0 && home) configured = home + configured.substr(1);
  if (!configured.empty()) return configured;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base = xdg && *xdg ? xdg : std::string(home ? home : ".") + "/.config";
  mkdir(base.c_str(), 0777);
  mkdir((base + "/git").c_str(), 0777);
  return base + "/git/attributes";
}

}  // namespace

int GitSetup(bool global, bool print, const std::string& pattern) {
  if (pattern.empty() || pattern.find_first_of(" \t\n") != std::string::npos)
    return Fail("git-setup", "the pattern must be one word without blanks, such as *.xml");
  const std::string self = ShellQuoted(Self());
  const std::string attributes = pattern + " merge=zavconfig diff=zavconfig";
  const std::vector<std::pair<std::string, std::string>> config = {
      {"merge.zavconfig.name", "zavconfig item-by-item store merge"},
      {"merge.zavconfig.driver", self + " merge %O %A %B"},
      {"diff.zavconfig.textconv", self + " export --lines"}};
  if (print) {
    std::cout << "# " << (global ? "the user's git attributes file" : ".gitattributes") << "\n"
              << attributes << "\n\n# " << (global ? "~/.gitconfig" : ".git/config") << "\n"
              << "[merge \"zavconfig\"]\n\tname = " << config[0].second
              << "\n\tdriver = " << config[1].second
              << "\n[diff \"zavconfig\"]\n\ttextconv = " << config[2].second << "\n";
    return kOk;
  }

  std::string file;
  if (global) {
    file = GlobalAttributesFile();
  } else {
    std::string top;
    int status = Git({"rev-parse", "--show-toplevel"}, top);
    if (status < 0) return Fail("git-setup", "cannot run git: is it installed?");
    if (status != 0 || Trimmed(top).empty())
      return Fail("git-setup", "not inside a git work tree: run it in one, or give --global");
    file = Trimmed(top) + "/.gitattributes";
  }
  for (const auto& [key, value] : config) {
    std::string ignored;
    std::vector<std::string> args = {"config"};
    if (global) args.push_back("--global");
    args.insert(args.end(), {key, value});
    if (Git(args, ignored) != 0) return Fail("git-setup", "git config " + key + " failed");
    std::cout << "git config " << (global ? "--global " : "") << key << " = " << value << "\n";
  }

  std::ifstream in(file);
  std::string line;
  bool present = false;
  while (std::getline(in, line)) present = present || line == attributes;
  in.close();
  if (!present) {
    // Appended after the file's last line, which may lack its line end.
    std::ofstream out(file, std::ios::app);
    std::ifstream probe(file, std::ios::binary | std::ios::ate);
    bool needsNewline = probe && probe.tellg() > 0 && [&] {
      probe.seekg(-1, std::ios::end);
      return probe.get() != '\n';
    }();
    out << (needsNewline ? "\n" : "") << attributes << "\n";
    if (!out.flush()) return Fail("git-setup", "cannot write " + file);
  }
  std::cout << file << ": " << attributes << (present ? " (already there)" : " (added)") << "\n";
  return kOk;
}

}  // namespace zavtool
