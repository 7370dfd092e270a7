// SPDX-License-Identifier: MIT
// What `zavconfig diff` and `zavconfig merge` cost against reading the same stores with the
// library: a base store of the given size from make_store, and two versions of it each changed
// by a few hundred items (settings and driver setups changed, items added and removed, on both
// sides and never the same ones), as two stations' branches would be.
//
// Each figure is the CPU time (user + system) of a whole process from the kernel's accounting of
// the finished child: `read_store OURS` plus `read_store THEIRS` against `zavconfig diff OURS
// THEIRS` and `zavconfig merge BASE OURS THEIRS -o OUT`, run in turn after one warm-up round;
// ratios are taken round by round, then the median and minimum over the rounds.
//
// Needs ZAV_REGISTRY naming an existing master store and the schema (bench/run-all sets it).
// Usage: store_merge_bench [megabytes] [runs]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zavconfig.hpp"

extern char** environ;

namespace {

// CPU seconds of one whole child process; stops the run when it fails.
double RunChild(std::vector<std::string> args, bool okIfOne = false) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::fprintf(stderr, "cannot run %s\n", argv[0]);
    std::exit(1);
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code != 0 && !(okIfOne && code == 1)) {
    std::fprintf(stderr, "%s failed (%d)\n", argv[0], code);
    std::exit(1);
  }
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One station's changes: every tenth driver session from `first` gets another setting value or
// driver setup, and some items come and go.
void Change(const std::string& base, const std::string& out, int side) {
  zav::Store store = zav::Store::open(base);
  zav::DriverSessionCollection drivers = store.driverSessions();
  const size_t count = drivers.size();
  for (size_t i = static_cast<size_t>(side) * 5; i < count; i += 10) {
    zav::DriverSession d = drivers.at(i);
    if (side == 0)
      d.dataComponents().get("Averaging").setIntegerValue(1000 + static_cast<int>(i % 1000));
    else
      d.setDriverSetup("Model=Station" + std::to_string(i));
  }
  zav::HardwareAssetCollection assets = store.hardwareAssets();
  zav::LogicalNameCollection names = store.logicalNames();
  const std::string tag = side == 0 ? "Ours" : "Theirs";
  for (int i = 0; i < 100; ++i) {
    zav::HardwareAsset asset = assets.create(tag + "Asset" + std::to_string(i));
    asset.setIoResourceDescriptor("TCPIP0::10.9." + std::to_string(side) + "." + std::to_string(i) +
                                  "::INSTR");
    zav::DriverSession d = drivers.create(tag + "Driver" + std::to_string(i));
    d.setHardwareAsset(asset);
    d.setSoftwareModule(store.softwareModules().at(static_cast<size_t>(i)));
    names.create(tag + "Name" + std::to_string(i)).setSession(d);
  }
  for (int i = 0; i < 50; ++i) {
    zav::LogicalName name = names.at(static_cast<size_t>(side * 50 + i) * 2);
    names.destroy(name);
  }
  store.serialize(out);
}

struct Figures {
  std::vector<double> ours, reference, ratio;
};

void Row(const char* label, const Figures& f) {
  auto cell = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    char text[64];
    std::snprintf(text, sizeof text, "%.3f / %.3f", v[v.size() / 2], v[0]);
    return std::string(text);
  };
  std::printf("%s|%s|%s|%s\n", label, cell(f.ours).c_str(), cell(f.reference).c_str(),
              cell(f.ratio).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string megabytes = argc > 1 ? argv[1] : "10";
  const int runs = std::max(5, argc > 2 ? std::atoi(argv[2]) : 5);
  char dir[] = "/tmp/zavmergebench.XXXXXX";
  if (!mkdtemp(dir)) return 1;
  const std::string base = std::string(dir) + "/base.xml", ours = std::string(dir) + "/ours.xml",
                    theirs = std::string(dir) + "/theirs.xml", out = std::string(dir) + "/out.xml";
  RunChild({ZAV_BENCH_MAKE_STORE, megabytes, base});
  try {
    Change(base, ours, 0);
    Change(base, theirs, 1);
  } catch (const zav::Error& e) {
    std::fprintf(stderr, "making the two versions failed: %s\n", e.what());
    return 1;
  }

  Figures diff, merge;
  for (int round = 0; round <= runs; ++round) {
    double read = RunChild({ZAV_BENCH_READ_STORE, ours}) + RunChild({ZAV_BENCH_READ_STORE, theirs});
    double d = RunChild({ZAV_BENCH_ZAVCONFIG, "diff", ours, theirs}, true);
    double m = RunChild({ZAV_BENCH_ZAVCONFIG, "merge", base, ours, theirs, "-o", out});
    if (round == 0) continue;  // warm-up: page cache, dynamic loader
    diff.ours.push_back(d);
    merge.ours.push_back(m);
    diff.reference.push_back(read);
    merge.reference.push_back(read);
    diff.ratio.push_back(d / read);
    merge.ratio.push_back(m / read);
  }
  std::string label = "zavconfig diff, " + megabytes + " MB: vs reading both (CPU s)";
  Row(label.c_str(), diff);
  label = "zavconfig merge, " + megabytes + " MB: vs reading both (CPU s)";
  Row(label.c_str(), merge);
  for (const std::string& f : {base, ours, theirs, out}) std::remove(f.c_str());
  rmdir(dir);
  return 0;
}
