// SPDX-License-Identifier: MIT
// Per-item cost of the collection functions of the C API as collections grow, and the cost of
// resolving a driver session by name against a plain hash map find of the same names.
//
// Everything runs in this one process and is timed in CPU time. Sizes (and the library against
// the hash map) are interleaved within each run; each figure is the median (and the minimum)
// over the runs. Usage: collection_scale_bench [runs] [largest size]
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench_support.h"
#include "zavconfig.h"

namespace {

using bench::Check;
using bench::CpuSeconds;

std::string NameOf(long i) { return "Item" + std::to_string(i); }

// One kind of collection: how to set up a store with an empty collection of it, and its create,
// look-up and destroy (or remove) of item i.
struct tKind {
  const char* name;
  std::function<ViSession(ViSession store, long n)> collection;
  std::function<ViSession(ViSession collection, long i)> create;
  std::function<void(ViSession collection, long i)> lookUp;
  std::function<void(ViSession collection, ViSession item)> destroy;
};

ViSession StoreCollection(ViStatus (*get)(ViSession, ViSession*), ViSession store) {
  ViSession collection = 0;
  Check(get(store, &collection), "collection");
  return collection;
}

template <ViStatus (*Create)(ViSession, ViConstString, ViSession*)>
ViSession CreateNamed(ViSession collection, long i) {
  ViSession item = 0;
  Check(Create(collection, NameOf(i).c_str(), &item), "create");
  return item;
}

template <ViStatus (*ByName)(ViSession, ViConstString, ViSession*)>
void LookUpNamed(ViSession collection, long i) {
  ViSession item = 0;
  Check(ByName(collection, NameOf(i).c_str(), &item), "look-up");
  Check(ZavConfig_DisposeHandle(item), "dispose");
}

template <ViStatus (*Destroy)(ViSession, ViSession)>
void DestroyItem(ViSession collection, ViSession item) {
  Check(Destroy(collection, item), "destroy");
}

ViStatus CreatePhysical(ViSession c, ViConstString name, ViSession* out) {
  return ZavConfig_CreatePhysicalName(c, name, "Rc", out);
}
ViStatus CreateMember(ViSession c, ViConstString name, ViSession* out) {
  return ZavConfig_CreateDataComponent(c, ZAVCONFIG_DATA_COMPONENT_INTEGER, name, out);
}

// The published API references of a module: the store gets n APIs beforehand, untimed.
std::vector<ViSession> apis;
ViSession ReferenceList(ViSession store, long n) {
  const ViSession global = StoreCollection(ZavConfig_GetConfigStorePublishedAPICollection, store);
  apis.clear();
  for (long i = 0; i < n; ++i) {
    ViSession api = 0;
    Check(ZavConfig_CreatePublishedAPI(global, NameOf(i).c_str(), "C", &api), "api");
    apis.push_back(api);
  }
  const ViSession modules = StoreCollection(ZavConfig_GetConfigStoreSoftwareModuleCollection, store);
  ViSession module = 0, list = 0;
  Check(ZavConfig_CreateSoftwareModule(modules, "Module", &module), "module");
  Check(ZavConfig_GetSoftwareModulePublishedAPICollection(module, &list), "list");
  return list;
}

const tKind kKinds[] = {
    {"logical names",
     [](ViSession s, long) { return StoreCollection(ZavConfig_GetConfigStoreLogicalNameCollection, s); },
     CreateNamed<ZavConfig_CreateLogicalName>, LookUpNamed<ZavConfig_GetLogicalNameItemByName>,
     DestroyItem<ZavConfig_DestroyLogicalName>},
    {"sessions",
     [](ViSession s, long) { return StoreCollection(ZavConfig_GetConfigStoreSessionCollection, s); },
     CreateNamed<ZavConfig_CreateSession>, LookUpNamed<ZavConfig_GetSessionItemByName>,
     DestroyItem<ZavConfig_DestroySession>},
    {"driver sessions",
     [](ViSession s, long) {
       return StoreCollection(ZavConfig_GetConfigStoreDriverSessionCollection, s);
     },
     CreateNamed<ZavConfig_CreateDriverSession>,
     LookUpNamed<ZavConfig_GetDriverSessionItemByName>,
     DestroyItem<ZavConfig_DestroyDriverSession>},
    {"structure members",
     [](ViSession s, long) {
       const ViSession sessions = StoreCollection(ZavConfig_GetConfigStoreSessionCollection, s);
       ViSession session = 0, components = 0, structure = 0, members = 0;
       Check(ZavConfig_CreateSession(sessions, "Owner", &session), "session");
       Check(ZavConfig_GetConfigComponentDataComponentCollection(session, &components), "dc");
       Check(ZavConfig_CreateStructure(components, "S", ZAVCONFIG_DATA_COMPONENT_BOOLEAN, "First",
                                       &structure),
             "structure");
       Check(ZavConfig_GetStructureDataComponentCollection(structure, &members), "members");
       return members;
     },
     CreateNamed<CreateMember>, LookUpNamed<ZavConfig_GetDataComponentItemByName>,
     DestroyItem<ZavConfig_DestroyDataComponent>},
    {"physical names",
     [](ViSession s, long) {
       const ViSession modules =
           StoreCollection(ZavConfig_GetConfigStoreSoftwareModuleCollection, s);
       ViSession module = 0, names = 0;
       Check(ZavConfig_CreateSoftwareModule(modules, "Module", &module), "module");
       Check(ZavConfig_GetSoftwareModulePhysicalNameCollection(module, &names), "names");
       return names;
     },
     CreateNamed<CreatePhysical>, LookUpNamed<ZavConfig_GetPhysicalNameItemByName>,
     DestroyItem<ZavConfig_DestroyPhysicalName>},
    {"API references", ReferenceList,
     [](ViSession list, long i) {
       Check(ZavConfig_AddPublishedAPIReference(list, apis[static_cast<size_t>(i)]), "add");
       return apis[static_cast<size_t>(i)];
     },
     [](ViSession list, long i) {
       ViSession item = 0;
       Check(ZavConfig_GetPublishedAPIItemByIndex(list, static_cast<ViInt32>(i + 1), &item), "index");
       Check(ZavConfig_DisposeHandle(item), "dispose");
     },
     [](ViSession list, ViSession api) { Check(ZavConfig_RemovePublishedAPIReference(list, api), "remove"); }},
};

// CPU seconds per item of creating n items, looking each up and destroying them in the order
// they were made (the oldest first, the hardest case for an index kept in a plain array).
double PerItem(const tKind& kind, long n) {
  ViSession store = 0;
  Check(ZavConfig_Initialize(&store), "store");
  const ViSession collection = kind.collection(store, n);
  std::vector<ViSession> items(static_cast<size_t>(n));
  const double start = CpuSeconds();
  for (long i = 0; i < n; ++i) items[static_cast<size_t>(i)] = kind.create(collection, i);
  for (long i = 0; i < n; ++i) kind.lookUp(collection, i);
  for (long i = 0; i < n; ++i) kind.destroy(collection, items[static_cast<size_t>(i)]);
  const double elapsed = CpuSeconds() - start;
  Check(ZavConfig_Close(store), "close");
  // The handles of the set-up go too: held on, they would swell the handle table for every
  // later measurement.
  ZavConfig_DisposeHandle(collection);
  for (ViSession api : apis) ZavConfig_DisposeHandle(api);
  apis.clear();
  return elapsed / static_cast<double>(n);
}

// The floor of the machine at that size: the same look-ups in a std::unordered_map, in the same
// order. Its own growth from 1,000 to 1,000,000 entries is the cost of memory, not of the library.
double MapPerItem(long n) {
  std::unordered_map<std::string, long> map;
  for (long i = 0; i < n; ++i) map.emplace(NameOf(i), i);
  long found = 0;
  const double start = CpuSeconds();
  for (long i = 0; i < n; ++i) found += map.find(NameOf(i))->second;
  const double elapsed = CpuSeconds() - start;
  if (found < 0) std::printf("?");
  return elapsed / static_cast<double>(n);
}

struct tStats {
  double median, min;
};
tStats StatsOf(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front()};
}

// Resolving driver sessions by name, as a driver does when it opens one, against finding the same
// names in a std::unordered_map.
void LookUp(int runs, long n) {
  ViSession store = 0, driverSessions = 0;
  Check(ZavConfig_Initialize(&store), "store");
  Check(ZavConfig_GetConfigStoreDriverSessionCollection(store, &driverSessions), "collection");
  std::unordered_map<std::string, void*> map;
  std::vector<std::string> names;
  for (long i = 0; i < n; ++i) {
    ViSession session = 0;
    names.push_back(NameOf(i));
    Check(ZavConfig_CreateDriverSession(driverSessions, names.back().c_str(), &session), "create");
    Check(ZavConfig_DisposeHandle(session), "dispose");
    map.emplace(names.back(), &names.back());
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(7));
  std::vector<double> library, plain;
  size_t found = 0;
  for (int run = 0; run < runs; ++run) {
    double start = CpuSeconds();
    for (const std::string& name : names) {
      ViSession session = 0;
      Check(ZavConfig_GetDriverSession(store, name.c_str(), &session), "get");
      Check(ZavConfig_DisposeHandle(session), "dispose");
    }
    library.push_back((CpuSeconds() - start) / static_cast<double>(n));
    start = CpuSeconds();
    for (const std::string& name : names) found += map.find(name) != map.end();
    plain.push_back((CpuSeconds() - start) / static_cast<double>(n));
  }
  Check(ZavConfig_Close(store), "close");
  const tStats lib = StatsOf(library), base = StatsOf(plain);
  std::printf("look-up of %ld driver sessions: GetDriverSession + DisposeHandle %.0f ns (min %.0f), "
              "unordered_map find %.0f ns (min %.0f): ratio %.2f (min %.2f)%s\n",
              n, lib.median * 1e9, lib.min * 1e9, base.median * 1e9, base.min * 1e9,
              lib.median / base.median, lib.min / base.min, found == 0 ? " (none found)" : "");
}

// Resident bytes per driver session created through the C API (its handle disposed), with its
// share of the collections' indexes: model objects come from the library's own pool, which the
// allocator's statistics do not see, so the process's resident memory is what is compared.
size_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void MemoryPerDriverSession(long n) {
  malloc_trim(0);
  ViSession store = 0, driverSessions = 0;
  Check(ZavConfig_Initialize(&store), "store");
  Check(ZavConfig_GetConfigStoreDriverSessionCollection(store, &driverSessions), "collection");
  const size_t before = ResidentBytes();
  for (long i = 0; i < n; ++i) {
    ViSession session = 0;
    Check(ZavConfig_CreateDriverSession(driverSessions, NameOf(i).c_str(), &session), "create");
    Check(ZavConfig_DisposeHandle(session), "dispose");
  }
  const size_t after = ResidentBytes();
  Check(ZavConfig_Close(store), "close");
  std::printf("resident memory per driver session (%ld made through the C API): %.0f bytes\n", n,
              static_cast<double>(after - before) / static_cast<double>(n));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 5;
  const long largest = argc > 2 ? std::atol(argv[2]) : 1000000;
  std::vector<long> sizes;
  for (long n = 1000; n <= largest; n *= 10) sizes.push_back(n);
  std::printf("per-item CPU time of create + look-up + destroy through the C API, median (min) of "
              "%d interleaved runs\n%-18s", runs, "kind");
  for (long n : sizes) std::printf("%16ld", n);
  std::printf("   ratio largest/1000\n");
  for (const tKind* kind = kKinds; kind <= std::end(kKinds); ++kind) {
    const bool floor = kind == std::end(kKinds);
    std::vector<std::vector<double>> samples(sizes.size());
    for (int run = 0; run < runs; ++run)
      for (size_t s = 0; s < sizes.size(); ++s)
        samples[s].push_back(floor ? MapPerItem(sizes[s]) : PerItem(*kind, sizes[s]));
    std::printf("%-18s", floor ? "(unordered_map find)" : kind->name);
    std::vector<tStats> stats;
    for (auto& sample : samples) {
      stats.push_back(StatsOf(sample));
      std::printf("%8.0f ns (%4.0f)", stats.back().median * 1e9, stats.back().min * 1e9);
    }
    std::printf("   %.2f (min %.2f)\n", stats.back().median / stats.front().median,
                stats.back().min / stats.front().min);
    std::fflush(stdout);
  }
  for (long n : {10000L, 100000L}) LookUp(std::max(runs, 7), n);
  MemoryPerDriverSession(100000);
  return 0;
}
