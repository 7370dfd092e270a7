// Builds a large store in memory, saves it, then times reading and writing it against xmllint
// on the same file, best of three runs each:
//   Deserialize into a fresh store  vs  xmllint --noout --schema <schema> <file>
//   Serialize                        vs  xmllint --format <file> > /dev/null
// Usage: store_io_bench [driver sessions (default 20000)]
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "persist/store_writer.h"

namespace {

// Names a new item and hands it to the collection, which owns it from then on.
template <class T, class C>
T* AddNamed(C* collection, const std::string& name) {
  auto item = std::make_unique<T>();
  item->SetName(name, true);
  return static_cast<T*>(collection->Add(std::move(item)));
}

template <class T>
T* Add(tZavCollection<T>* collection, const std::string& name) {
  return AddNamed<T>(collection, name);
}

template <class T>
T* AddComponent(tZavCollection<iZavDataComponent>* list, const std::string& name) {
  return AddNamed<T>(list, name);
}

void BuildStore(tZavConfigStore& store, long driverSessions) {
  store.SetDescription("Benchmark store");
  const long apiCount = 50, moduleCount = 100, assetCount = 1000, sessionCount = 1000;
  for (long i = 0; i < apiCount; ++i) {
    auto api = std::make_unique<tZavPublishedAPI>();
    api->SetName("Api" + std::to_string(i));
    api->SetType("C");
    store.GetPublishedAPIs()->AddToGlobal(std::move(api));
  }
  for (long i = 0; i < moduleCount; ++i) {
    auto* module = Add(store.GetSoftwareModules(), "Module" + std::to_string(i));
    module->SetModulePath("/opt/zav/lib/libmodule" + std::to_string(i) + ".so");
    module->SetPrefix("Mod" + std::to_string(i));
    module->GetPublishedAPIs()->AddReference(store.GetPublishedAPIs()->ItemByIndex(i % apiCount + 1));
    auto* list = module->GetDataComponents();
    AddComponent<tZavBoolean>(list, "Simulate")->SetUsedInSession("Required");
    AddComponent<tZavReal>(list, "Timeout")->SetValue(2.5);
    AddComponent<tZavString>(list, "Firmware")->SetValue("1.0 <beta> & more");
    for (int p = 0; p < 4; ++p) {
      auto* name = Add(module->GetPhysicalNames(), "Channel" + std::to_string(p));
      name->SetRCName("Channels");
      auto* range = Add(name->GetPhysicalRanges(), "CH" + std::to_string(p));
      range->SetMin(1);
      range->SetMax(16);
    }
  }
  for (long i = 0; i < assetCount; ++i) {
    auto* asset = Add(store.GetHardwareAssets(), "Asset" + std::to_string(i));
    asset->SetIOResourceDescriptor("TCPIP0::10.0." + std::to_string(i / 256) + "." +
                                   std::to_string(i % 256) + "::INSTR");
    AddComponent<tZavString>(asset->GetDataComponents(), "Serial")->SetValue("SN" + std::to_string(i));
  }
  for (long i = 0; i < driverSessions; ++i) {
    auto owned = std::make_unique<tZavDriverSession>();
    owned->SetName("Driver" + std::to_string(i), true);
    tZavDriverSession* session = store.GetDriverSessions()->AddDriverSession(std::move(owned));
    session->SetDescription("Driver session number " + std::to_string(i));
    session->SetHardwareAsset(store.GetHardwareAssets()->ItemByIndex(i % assetCount + 1));
    session->LinkSoftwareModule(store.GetSoftwareModules()->ItemByIndex(i % moduleCount + 1));
    session->SetDriverSetup("Model=DMM" + std::to_string(i % 7));
    auto* list = session->GetDataComponents();
    AddComponent<tZavBoolean>(list, "AutoZero")->SetValue(i % 2 == 0);
    AddComponent<tZavInteger>(list, "Averaging")->SetValue(static_cast<int32_t>(i % 100) - 50);
    AddComponent<tZavReal>(list, "Aperture")->SetValue(1.0 / (i + 3));
    AddComponent<tZavString>(list, "Function")->SetValue("DCV");
    for (int v = 0; v < 2; ++v) {
      auto* name = Add(session->GetVirtualNames(), "Input" + std::to_string(v));
      name->SetMapTo("Channel" + std::to_string(v));
      auto* range = Add(name->GetVirtualRanges(), "In" + std::to_string(v));
      range->SetMax(8);
      range->SetStartingPhysicalIndex(1);
    }
    if (i % 2 == 0) Add(store.GetLogicalNames(), "Logical" + std::to_string(i))->SetSession(session);
  }
  for (long i = 0; i < sessionCount; ++i)
    Add(store.GetSessions(), "Session" + std::to_string(i))->SetDescription("plain");
}

double BestOf3(const std::function<void()>& run) {
  double best = 1e100;
  for (int i = 0; i < 3; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() < best) best = elapsed.count();
  }
  return best;
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::cerr << "failed: " << command << "\n";
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long driverSessions = argc > 1 ? std::atol(argv[1]) : 20000;
  if (driverSessions <= 0) {
    std::cerr << "usage: store_io_bench [driver sessions]\n";
    return 2;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "zavbench.XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const std::string dir = pattern;
  const std::string file = dir + "/store.xml";
  const std::string copy = dir + "/copy.xml";
  const std::string schema = std::string(ZAV_SOURCE_DIR) + "/data/ZavConfigurationStore_1-6.xsd";
  std::ofstream(dir + "/registry.ini")
      << "[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=" << file << "\n\n[Software\\ZAV]\n"
      << "ZavDataDir=" << ZAV_SOURCE_DIR << "/data/\n";
  std::ofstream(file) << "";
  setenv("ZAV_REGISTRY", (dir + "/registry.ini").c_str(), 1);

  int status = 0;
  try {
    tZavConfigStore store(NewPlatformConfigFile());
    BuildStore(store, driverSessions);
    store.Serialize(file);
    struct stat info {};
    stat(file.c_str(), &info);

    const double ourRead = BestOf3([&] {
      tZavConfigStore fresh(NewPlatformConfigFile());
      fresh.Deserialize(file);
    });
    const double lintValidate =
        BestOf3([&] { Shell("xmllint --noout --schema '" + schema + "' '" + file + "' 2>/dev/null"); });
    const double ourWrite = BestOf3([&] { store.Serialize(copy); });
    const double ourWriteMemory = BestOf3([&] {
      std::string text;
      zav::persist::WriteConfigStore(&store, text);
    });
    const double lintFormat = BestOf3([&] { Shell("xmllint --format '" + file + "' > /dev/null"); });

    std::printf("driver sessions           %ld\n", driverSessions);
    std::printf("file size                 %lld bytes\n", static_cast<long long>(info.st_size));
    std::printf("Deserialize (ours)        %.3f s\n", ourRead);
    std::printf("xmllint --schema          %.3f s\n", lintValidate);
    std::printf("Serialize (ours)          %.3f s  (document in memory: %.3f s)\n", ourWrite,
                ourWriteMemory);
    std::printf("xmllint --format          %.3f s\n", lintFormat);
    std::printf("ratio read  (ours/xmllint) %.2f\n", ourRead / lintValidate);
    std::printf("ratio write (ours/xmllint) %.2f\n", ourWrite / lintFormat);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    status = 1;
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return status;
}
