// SPDX-License-Identifier: MIT
// In-process write benchmark: the library's Serialize of a store against libxml2's formatted
// serializer (xmlDocDumpFormatMemory) of the same document, parse excluded on both sides.
// CPU time of this process, the two interleaved, RUNS rounds (default 7); prints median and
// minimum of each and of the ratio per round.
//   write_store FILE [RUNS]     the registry (ZAV_REGISTRY) must name the schema's directory
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "persist/store_writer.h"

namespace {

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Time(const std::function<void()>& run) {
  const double start = CpuSeconds();
  run();
  return CpuSeconds() - start;
}

struct tFigures {
  std::vector<double> values;
  void Add(double v) { values.push_back(v); }
  double Median() const {
    std::vector<double> v = values;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  }
  double Min() const { return *std::min_element(values.begin(), values.end()); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: write_store FILE [RUNS]\n");
    return 2;
  }
  const std::string file = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  const std::string out = file + ".written";
  try {
    tZavConfigStore store(NewPlatformConfigFile());
    store.Deserialize(file);
    xmlDocPtr doc = xmlReadFile(file.c_str(), nullptr, XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_HUGE);
    if (!doc) return 1;
    tFigures ours, memory, lib, ratio;
    for (int i = 0; i <= runs; ++i) {  // the first round warms up and is not counted
      const double a = Time([&] { store.Serialize(out); });
      const double m = Time([&] {
        std::string text;
        zav::persist::WriteConfigStore(&store, text);
      });
      const double b = Time([&] {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpFormatMemory(doc, &text, &size, 1);
        xmlFree(text);
      });
      if (i == 0) continue;
      ours.Add(a), memory.Add(m), lib.Add(b), ratio.Add(a / b);
    }
    xmlFreeDoc(doc);
    unlink(out.c_str());
    std::printf("serialize_cpu_s median %.4f min %.4f\n", ours.Median(), ours.Min());
    std::printf("write_to_memory_cpu_s median %.4f min %.4f\n", memory.Median(), memory.Min());
    std::printf("xmlDocDumpFormatMemory_cpu_s median %.4f min %.4f\n", lib.Median(), lib.Min());
    std::printf("ratio median %.3f min %.3f\n", ratio.Median(), ratio.Min());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
