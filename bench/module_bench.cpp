// SPDX-License-Identifier: MIT
// What the software-module operations of the C API cost as the store around them grows while
// the part they change stays the same:
//   - adding and removing a module that a fixed handful of sessions name, among many sessions;
//   - switching a session between two modules, per setting the switch drops and copies;
//   - renaming a published API that a fixed few modules list, among many modules.
//
// Everything runs in this one process and is timed in CPU time. Sizes are interleaved within each
// run; each figure is the median (and the minimum) over the runs.
// Usage: module_bench [runs] [largest session count]
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "zavconfig.h"

namespace {

using bench::Check;
using bench::CpuSeconds;

std::string NameOf(const char* prefix, long i) { return prefix + std::to_string(i); }

ViSession Collection(ViStatus (*get)(ViSession, ViSession*), ViSession store) {
  ViSession collection = 0;
  Check(get(store, &collection), "collection");
  return collection;
}

ViSession NewModule(ViSession modules, const std::string& name) {
  ViSession module = 0;
  Check(ZavConfig_CreateSoftwareModule(modules, name.c_str(), &module), "module");
  return module;
}

// The sessions that name the module in every store, whatever its size.
const long kNaming = 5;

// A store of n sessions, every one of them given a module, of which kNaming name "Target"; the
// module itself is not in the store. One test fixture per size, kept for all the runs.
struct tSessionStore {
  ViSession store = 0, modules = 0;
  explicit tSessionStore(long n) {
    Check(ZavConfig_Initialize(&store), "store");
    modules = Collection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store);
    const ViSession sessions = Collection(ZavConfig_GetConfigStoreSessionCollection, store);
    const ViSession other = NewModule(modules, "Other"), target = NewModule(modules, "Target");
    for (long i = 0; i < n; ++i) {
      ViSession session = 0;
      Check(ZavConfig_CreateSession(sessions, NameOf("S", i).c_str(), &session), "session");
      const bool naming = i % (n / kNaming) == 0;
      Check(ZavConfig_SetSessionSoftwareModuleReference(session, naming ? target : other), "link");
      Check(ZavConfig_DisposeHandle(session), "dispose");
    }
    Check(ZavConfig_DestroySoftwareModule(modules, target), "destroy");
    Check(ZavConfig_DisposeHandle(other), "dispose");
  }
  tSessionStore(const tSessionStore&) = delete;
  tSessionStore& operator=(const tSessionStore&) = delete;
  ~tSessionStore() { ZavConfig_Close(store); }
};

// CPU seconds of one add and one remove of the module that kNaming sessions name.
double AddRemove(const tSessionStore& fixture, int repeats) {
  const double start = CpuSeconds();
  for (int r = 0; r < repeats; ++r) {
    const ViSession module = NewModule(fixture.modules, "Target");
    Check(ZavConfig_DestroySoftwareModule(fixture.modules, module), "destroy");
  }
  return (CpuSeconds() - start) / repeats;
}

// A session and two modules of n required settings each.
struct tSwitchStore {
  ViSession store = 0, session = 0, a = 0, b = 0;
  explicit tSwitchStore(long n) {
    Check(ZavConfig_Initialize(&store), "store");
    const ViSession modules = Collection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store);
    const ViSession sessions = Collection(ZavConfig_GetConfigStoreSessionCollection, store);
    a = NewModule(modules, "A");
    b = NewModule(modules, "B");
    for (ViSession module : {a, b}) {
      ViSession components = 0;
      Check(ZavConfig_GetConfigComponentDataComponentCollection(module, &components), "dc");
      for (long i = 0; i < n; ++i) {
        ViSession component = 0;
        Check(ZavConfig_CreateDataComponent(components, ZAVCONFIG_DATA_COMPONENT_INTEGER,
                                            NameOf(module == a ? "A" : "B", i).c_str(), &component),
              "component");
        Check(ZavConfig_SetDataComponentPropertyViString(
                  component, ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION, "Required"),
              "used");
        Check(ZavConfig_DisposeHandle(component), "dispose");
      }
    }
    Check(ZavConfig_CreateSession(sessions, "Switching", &session), "session");
    Check(ZavConfig_SetSessionSoftwareModuleReference(session, a), "link");
  }
  tSwitchStore(const tSwitchStore&) = delete;
  tSwitchStore& operator=(const tSwitchStore&) = delete;
  ~tSwitchStore() { ZavConfig_Close(store); }
};

// CPU seconds per setting of switching the session to the other module (n settings dropped and
// n copied each time).
double Switch(const tSwitchStore& fixture, long n, int repeats) {
  const double start = CpuSeconds();
  for (int r = 0; r < repeats; ++r)
    Check(ZavConfig_SetSessionSoftwareModuleReference(fixture.session, r % 2 ? fixture.a : fixture.b),
          "switch");
  return (CpuSeconds() - start) / repeats / static_cast<double>(n);
}

// The modules that list the renamed API, whatever the number of modules.
const long kListing = 5;

// A store of n modules, each listing a published API of its own; kListing of them list "Renamed"
// as well.
struct tApiStore {
  ViSession store = 0, api = 0;
  explicit tApiStore(long n) {
    Check(ZavConfig_Initialize(&store), "store");
    const ViSession modules = Collection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store);
    const ViSession apis = Collection(ZavConfig_GetConfigStorePublishedAPICollection, store);
    Check(ZavConfig_CreatePublishedAPI(apis, "Renamed", "C", &api), "api");
    for (long i = 0; i < n; ++i) {
      const ViSession module = NewModule(modules, NameOf("M", i));
      ViSession list = 0, own = 0;
      Check(ZavConfig_GetSoftwareModulePublishedAPICollection(module, &list), "list");
      Check(ZavConfig_CreatePublishedAPI(apis, NameOf("Api", i).c_str(), "C", &own), "api");
      Check(ZavConfig_AddPublishedAPIReference(list, own), "reference");
      if (i % (n / kListing) == 0) Check(ZavConfig_AddPublishedAPIReference(list, api), "reference");
      for (ViSession handle : {module, list, own}) Check(ZavConfig_DisposeHandle(handle), "dispose");
    }
  }
  tApiStore(const tApiStore&) = delete;
  tApiStore& operator=(const tApiStore&) = delete;
  ~tApiStore() { ZavConfig_Close(store); }
};

double Rename(const tApiStore& fixture, int repeats) {
  const double start = CpuSeconds();
  for (int r = 0; r < repeats; ++r)
    Check(ZavConfig_SetPublishedAPIPropertyViString(fixture.api, ZAVCONFIG_VAL_PUBLISHED_API_NAME,
                                                    r % 2 ? "Renamed" : "Other"),
          "rename");
  return (CpuSeconds() - start) / repeats;
}

struct tStats {
  double median, min;
};
tStats StatsOf(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front()};
}

// Runs `measure` for every size, sizes interleaved within each run, and prints one row.
void Row(const char* label, const std::vector<long>& sizes, int runs, const char* unit,
         double scale, const std::function<double(size_t)>& measure) {
  std::vector<std::vector<double>> samples(sizes.size());
  for (int run = 0; run < runs; ++run)
    for (size_t s = 0; s < sizes.size(); ++s) samples[s].push_back(measure(s));
  std::printf("%-44s", label);
  std::vector<tStats> stats;
  for (const auto& sample : samples) {
    stats.push_back(StatsOf(sample));
    std::printf("  %9.2f %s (%8.2f)", stats.back().median * scale, unit, stats.back().min * scale);
  }
  std::printf("   %.2f (min %.2f)\n", stats.back().median / stats.front().median,
              stats.back().min / stats.front().min);
  std::fflush(stdout);
}

void Header(const char* what, const std::vector<long>& sizes) {
  std::printf("%-44s", what);
  for (long n : sizes) std::printf("  %23ld", n);
  std::printf("   ratio largest/smallest\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 5;
  const long largest = argc > 2 ? std::atol(argv[2]) : 1000000;
  std::printf("CPU time, median (min) of %d runs, sizes interleaved\n", runs);

  std::vector<long> sizes;
  for (long n = 1000; n <= largest; n *= 10) sizes.push_back(n);
  {
    std::vector<std::unique_ptr<tSessionStore>> stores;
    for (long n : sizes) stores.push_back(std::make_unique<tSessionStore>(n));
    Header("sessions in the store", sizes);
    Row("add + remove of a module 5 sessions name", sizes, runs, "us", 1e6,
        [&](size_t s) { return AddRemove(*stores[s], 20); });
  }
  {
    const std::vector<long> settings = {100, 1000, 10000};
    std::vector<std::unique_ptr<tSwitchStore>> stores;
    for (long n : settings) stores.push_back(std::make_unique<tSwitchStore>(n));
    Header("settings of each module", settings);
    Row("module switch, per setting", settings, runs, "ns", 1e9, [&](size_t s) {
      return Switch(*stores[s], settings[s], static_cast<int>(200000 / settings[s]));
    });
  }
  {
    std::vector<long> modules(sizes.begin(), sizes.begin() + std::min<size_t>(sizes.size(), 3));
    std::vector<std::unique_ptr<tApiStore>> stores;
    for (long n : modules) stores.push_back(std::make_unique<tApiStore>(n));
    Header("modules in the store", modules);
    Row("rename of an API 5 modules list", modules, runs, "us", 1e6,
        [&](size_t s) { return Rename(*stores[s], 1000); });
  }
  return 0;
}
