// SPDX-License-Identifier: MIT
// The C++ interface: reading and building stores through it, every failure arriving as its
// exception, and every handle it takes given back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "zavconfig.hpp"

namespace {

using zavtest::DataDir;
using zavtest::ScopedRegistry;
using zavtest::TempDir;

const std::string kExample = std::string(ZAV_TEST_SOURCE_DIR) + "/data/example_store.xml";

template <class F>
ViStatus CodeOf(F&& call) {
  try {
    call();
  } catch (const zav::Error& e) {
    return e.code();
  }
  return 0;
}

// A handle value issued now: values grow, so every handle issued between two probes lies
// between their values.
ViSession ProbeHandle() {
  ViSession store = 0, collection = 0;
  ZavConfig_Initialize(&store);
  ZavConfig_GetConfigStoreLogicalNameCollection(store, &collection);
  ZavConfig_DisposeHandle(collection);
  ZavConfig_Close(store);
  return collection;
}

TEST(CppApi, ReadsAStoreThroughTypedPropertiesAndCollections) {
  ScopedRegistry registry(kExample, DataDir());
  zav::Store store = zav::Store::openMaster();
  EXPECT_EQ(store.actualLocation(), kExample);

  zav::DriverSession dmm = store.getDriverSession("SampleDMM");
  EXPECT_EQ(dmm.name(), "DMM_Rack4_acme34");
  EXPECT_EQ(dmm.driverSetup(), "Model=A3401");
  EXPECT_TRUE(dmm.rangeCheck());
  EXPECT_FALSE(dmm.simulate());
  EXPECT_EQ(dmm.softwareModule()->modulePath(), "/usr/lib/zav/drivers/libacme34.so");
  EXPECT_EQ(dmm.hardwareAsset()->ioResourceDescriptor(), "TCPIP0::10.0.4.21::INSTR");

  std::vector<std::string> names;
  for (zav::DataComponent c : dmm.dataComponents()) names.push_back(c.name() + ":" + c.type());
  EXPECT_EQ(names, (std::vector<std::string>{"Timeout:Integer",
                                             "Configurable Initial Settings:Structure"}));
  zav::DataComponentCollection settings = dmm.dataComponents();
  EXPECT_EQ(settings.get("Timeout").integerValue(), 2000);
  EXPECT_EQ(settings.get("Timeout").units(), "ms");
  EXPECT_DOUBLE_EQ(settings.get("Configurable Initial Settings").members().at(0).realValue(), 0.02);
  EXPECT_FALSE(settings.find("Missing").has_value());
  // Published APIs have no look-up by name in the library; find walks them.
  EXPECT_EQ(store.publishedApis().find("Dmm")->majorVersion(), 3);
  EXPECT_FALSE(store.publishedApis().find("Scope").has_value());

  zav::LogicalName logical = store.logicalNames().get("SampleDMM");
  EXPECT_EQ(logical.session()->name(), "DMM_Rack4_acme34");
  logical.clearSession();
  EXPECT_FALSE(logical.session().has_value());
}

TEST(CppApi, StringsAndMessagesOfAnyLengthArriveWhole) {
  zav::Store store;
  std::string longText(5000, 'x');
  store.setDescription(longText);
  EXPECT_EQ(store.description(), longText);

  // The error record holds more than ZavConfig_GetError's 255 bytes.
  std::string longPath = "/nonexistent/" + std::string(400, 'd') + "/store.xml";
  try {
    store.deserialize(longPath);
    FAIL() << "read a missing file";
  } catch (const zav::Error& e) {
    EXPECT_EQ(e.code(), ZAVCONFIG_ERROR_DESERIALIZE_FAILED);
    EXPECT_NE(std::string(e.what()).find(longPath + " is not readable."), std::string::npos)
        << e.what();
  }
}

TEST(CppApi, EveryFailureBecomesItsException) {
  ScopedRegistry registry(kExample, DataDir());
  zav::Store store = zav::Store::open(kExample);
  zav::LogicalNameCollection names = store.logicalNames();
  EXPECT_EQ(CodeOf([&] { names.get("Nope"); }), ZAVCONFIG_ERROR_NOT_FOUND);
  EXPECT_EQ(CodeOf([&] { names.create("SampleDMM"); }), ZAVCONFIG_ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CodeOf([&] { names.create(""); }), ZAVCONFIG_ERROR_INVALID_VALUE);
  EXPECT_EQ(CodeOf([&] { store.getSession("Nope"); }), ZAVCONFIG_ERROR_SESSION_NOT_FOUND);
  EXPECT_EQ(CodeOf([&] { store.deserialize(kExample); }), ZAVCONFIG_ERROR_ALREADY_DESERIALIZED);
  zav::DataComponent timeout = store.getDriverSession("SampleDMM").dataComponents().get("Timeout");
  EXPECT_EQ(CodeOf([&] { timeout.realValue(); }), ZAVCONFIG_ERROR_INVALID_HANDLE);
  EXPECT_EQ(CodeOf([&] { timeout.members(); }), ZAVCONFIG_ERROR_INVALID_HANDLE);
  zav::HardwareAssetCollection assets = store.hardwareAssets();
  zav::HardwareAsset used = assets.get("DMM_Rack4");
  EXPECT_EQ(CodeOf([&] { assets.destroy(used); }), ZAVCONFIG_ERROR_HAS_REFERENCES);
  EXPECT_EQ(used.name(), "DMM_Rack4");  // a failed destroy leaves the item usable

  // A logical name leading nowhere resolves to no session, which is an error here.
  names.create("Dangling");
  EXPECT_EQ(CodeOf([&] { store.getSession("Dangling"); }), ZAVCONFIG_ERROR_SESSION_NOT_FOUND);

  // After the store is closed its items fail every use, and find does not mistake that for
  // "not there".
  store.close();
  EXPECT_EQ(CodeOf([&] { used.name(); }), ZAVCONFIG_ERROR_INVALID_HANDLE);
  EXPECT_EQ(CodeOf([&] { names.find("SampleDMM"); }), ZAVCONFIG_ERROR_INVALID_HANDLE);
  EXPECT_EQ(CodeOf([&] { assets.empty(); }), ZAVCONFIG_ERROR_INVALID_HANDLE);
}

TEST(CppApi, FindsSessionsByNameAndReadsParsingErrors) {
  ScopedRegistry registry(kExample, DataDir());
  zav::Store store = zav::Store::open(kExample);
  EXPECT_EQ(store.findSession("SampleDMM")->name(), "DMM_Rack4_acme34");
  EXPECT_EQ(store.findDriverSession("DMM_Rack4_acme34")->name(), "DMM_Rack4_acme34");
  EXPECT_FALSE(store.findSession("Nope").has_value());
  EXPECT_FALSE(store.findDriverSession("Nope").has_value());
  store.logicalNames().create("Dangling");
  EXPECT_FALSE(store.findSession("Dangling").has_value());
  store.close();
  EXPECT_EQ(CodeOf([&] { store.findSession("SampleDMM"); }), ZAVCONFIG_ERROR_INVALID_HANDLE);

  auto parts = [](const char* path) {
    zav::Store bad;
    try {
      bad.deserialize(path);
    } catch (const zav::Error& e) {
      return zav::ParsingError::of(e);
    }
    return std::optional<zav::ParsingError>();
  };
  std::optional<zav::ParsingError> order =
      parts(ZAV_TEST_SOURCE_DIR "/tests/data/invalid_order.xml");
  ASSERT_TRUE(order.has_value());
  EXPECT_EQ(order->number(), 1871);
  EXPECT_EQ(order->line(), 14);
  EXPECT_EQ(order->description().rfind("Element 'Sessions': ", 0), 0u) << order->description();
  EXPECT_EQ(order->description().back(), '.');
  EXPECT_FALSE(parts("/nonexistent/store.xml").has_value());  // not a parsing error
  EXPECT_FALSE(zav::ParsingError::of(zav::Error(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                                                "Deserialize failed. Parsing error number: x")));
  std::optional<zav::ParsingError> noLine = zav::ParsingError::of(
      zav::Error(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                 "Deserialize failed. Parsing error number: 5, Description: cut short (line x)"));
  ASSERT_TRUE(noLine.has_value());
  EXPECT_EQ(noLine->line(), 0);
  EXPECT_EQ(noLine->description(), "cut short (line x)");
}

TEST(CppApi, GivesBackEveryHandleItTakes) {
  ScopedRegistry registry(kExample, DataDir());
  TempDir dir;
  ViSession first = ProbeHandle();
  {
    zav::Store store = zav::Store::open(kExample);
    zav::Store moved = std::move(store);
    for (zav::DriverSession s : moved.driverSessions()) {
      for (zav::DataComponent c : s.dataComponents())
        if (c.type() == "Structure")
          for (zav::DataComponent m : c.members()) m.name();
      s.softwareModule()->physicalNames().at(0).ranges().at(0).max();
      s.virtualNames().get("Probe").ranges().size();
    }
    zav::HardwareAsset asset = moved.hardwareAssets().create("Spare");
    zav::HardwareAsset owner = std::move(asset);
    // Assigning over an item or a store lets go of what was there: the handle is disposed, the
    // store closed.
    zav::HardwareAssetCollection assets = moved.hardwareAssets();
    const ViSession overwritten = assets.handle();
    assets = moved.hardwareAssets();
    EXPECT_EQ(ZavConfig_DisposeHandle(overwritten), ZAVCONFIG_ERROR_INVALID_HANDLE);
    zav::Store other;
    const ViSession closed = other.handle();
    other = zav::Store();
    EXPECT_EQ(ZavConfig_Close(closed), ZAVCONFIG_ERROR_INVALID_HANDLE);
    assets.destroy(owner);
    CodeOf([&] { moved.logicalNames().get("Nope"); });
    moved.logicalNames().find("Nope");
    moved.serialize(dir.File("copy.xml"));
  }
  ViSession last = ProbeHandle();
  ASSERT_GT(last, first + 20);
  // Disposing succeeds only for a handle still held: none may be.
  for (ViSession h = first + 1; h < last; ++h)
    EXPECT_EQ(ZavConfig_DisposeHandle(h), ZAVCONFIG_ERROR_INVALID_HANDLE) << "handle " << h;
}

// A utility builds and saves a store; a driver then opens it, resolves its logical name and
// finds what the session took over from its module.
TEST(CppApi, BuildsAStoreThatReadsBack) {
  ScopedRegistry registry(kExample, DataDir());
  TempDir dir;
  {
    zav::Store store;
    zav::PublishedApi api = store.publishedApis().create("Scope", "C");
    zav::SoftwareModule module = store.softwareModules().create("orion5");
    module.setModulePath("/opt/zav/liborion.so");
    module.publishedApis().add(api);
    zav::DataComponent setting = module.dataComponents().createStructure(
        "Configurable Initial Settings", zav::ValueKind::Boolean, "AutoScale");
    setting.members().at(0).setUsedInSession("Required");
    module.dataComponents().createApiReference("Interface", api).setUsedInSession("Required");
    zav::DataComponent timeout = module.dataComponents().create(zav::ValueKind::Integer, "Timeout");
    timeout.setUsedInSession("Required");
    timeout.setIntegerValue(5000);
    zav::HardwareAsset asset = store.hardwareAssets().create("BenchScope");
    asset.setIoResourceDescriptor("TCPIP0::10.0.0.5::INSTR");
    zav::DriverSession session = store.driverSessions().create("Scope7");
    session.setSoftwareModule(module);
    session.setHardwareAsset(asset);
    session.setSimulate(true);
    session.setDriverSetup("Model=1000");
    store.logicalNames().create("Bench").setSession(session);
    store.serialize(dir.File("stores/bench.xml"));
  }
  zav::Store store = zav::Store::open(dir.File("stores/bench.xml"));
  zav::DriverSession session = store.getDriverSession("Bench");
  EXPECT_TRUE(session.simulate());
  EXPECT_EQ(session.driverSetup(), "Model=1000");
  EXPECT_EQ(session.softwareModuleName(), "orion5");
  EXPECT_EQ(session.softwareModule()->modulePath(), "/opt/zav/liborion.so");
  EXPECT_EQ(session.hardwareAsset()->ioResourceDescriptor(), "TCPIP0::10.0.0.5::INSTR");
  zav::DataComponentCollection copied = session.dataComponents();
  EXPECT_EQ(copied.size(), 3u);
  EXPECT_FALSE(copied.get("Configurable Initial Settings").members().get("AutoScale").booleanValue());
  EXPECT_EQ(copied.get("Timeout").integerValue(), 5000);
  EXPECT_EQ(copied.get("Interface").publishedApi()->name(), "Scope");
  EXPECT_EQ(store.softwareModules().get("orion5").publishedApis().at(0).type(), "C");
}

// Editors in separate processes and threads on one store file: every edit that returned is in
// the file, and the file reads after all of them.
TEST(CppEdit, ConcurrentEditorsLoseNothing) {
  ScopedRegistry registry(kExample, DataDir());
  TempDir dir;
  const std::string path = dir.File("shared.xml");
  zav::Store::open(kExample).serialize(path);
  // How many of the edits failed.
  auto addAssets = [&](const std::string& who, int count) {
    int failed = 0;
    for (int i = 0; i < count; ++i) {
      try {
        zav::Store::edit(path, [&](zav::Store& store) {
          store.hardwareAssets().create(who + "_" + std::to_string(i));
        });
      } catch (const zav::Error&) {
        ++failed;
      }
    }
    return failed;
  };
  std::vector<pid_t> children;
  for (int p = 0; p < 4; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      _exit(addAssets("proc" + std::to_string(p), 10));
    }
    children.push_back(child);
  }
  std::vector<std::thread> threads;
  std::vector<int> failed(4);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] { failed[t] = addAssets("thread" + std::to_string(t), 10); });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failed, std::vector<int>(4, 0));
  for (pid_t child : children) {
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  zav::Store store = zav::Store::open(path);
  EXPECT_EQ(store.hardwareAssets().size(), 1u + 80u);
  EXPECT_FALSE(zavtest::FileExists(path + ".lock"));
}

TEST(CppEdit, WritesNothingWhenTheEditCannotBeTrusted) {
  ScopedRegistry registry(kExample, DataDir());
  TempDir dir;
  const std::string path = dir.File("store.xml");
  zav::Store::open(kExample).serialize(path);
  const std::string original = zavtest::ReadFile(path);
  auto reason = [](auto&& call) {
    try {
      call();
    } catch (const zav::EditError& e) {
      EXPECT_EQ(e.code(), ZAVCONFIG_ERROR_SERIALIZE_FAILED);
      return std::make_pair(e.reason(), std::string(e.what()));
    }
    return std::make_pair(zav::EditError::Reason::LockFailed, std::string("no EditError"));
  };

  // A change that fails, or declines, writes nothing.
  EXPECT_THROW(zav::Store::edit(path, [](zav::Store& s) {
                 s.hardwareAssets().create("X");
                 s.hardwareAssets().create("X");
               }),
               zav::Error);
  EXPECT_FALSE(zav::Store::edit(path, [](zav::Store& s) {
    s.hardwareAssets().create("Y");
    return false;
  }));
  EXPECT_EQ(zavtest::ReadFile(path), original);

  // A writer that took no lock saved in between: its save stands, ours is not written.
  auto changed = reason([&] {
    zav::Store::edit(path, [&](zav::Store& s) {
      s.hardwareAssets().create("Ours");
      zav::Store other = zav::Store::open(path);
      other.hardwareAssets().create("Theirs");
      other.serialize(path);
    });
  });
  EXPECT_EQ(changed.first, zav::EditError::Reason::Changed);
  EXPECT_EQ(changed.second, path + ": the store changed on disk since it was read; nothing was written");
  EXPECT_TRUE(zav::Store::open(path).hardwareAssets().find("Theirs").has_value());
  EXPECT_FALSE(zav::Store::open(path).hardwareAssets().find("Ours").has_value());

  // Another editor holds the lock: the message says who.
  {
    zav::FileLock held(path);
    auto locked = reason([&] {
      zav::Store::edit(path, [](zav::Store&) {}, {std::chrono::milliseconds(50)});
    });
    EXPECT_EQ(locked.first, zav::EditError::Reason::Locked);
    EXPECT_NE(locked.second.find("locked by another editor (pid " + std::to_string(getpid())),
              std::string::npos) << locked.second;
  }

  // A file nobody may write is refused unless forced, and keeps its mode when forced.
  const std::string before = zavtest::ReadFile(path);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  auto readOnly = reason([&] {
    zav::Store::edit(path, [](zav::Store& s) { s.hardwareAssets().create("Z"); });
  });
  EXPECT_EQ(readOnly.first, zav::EditError::Reason::ReadOnly);
  EXPECT_EQ(zavtest::ReadFile(path), before);
  zav::EditOptions force;
  force.force = true;
  EXPECT_TRUE(zav::Store::edit(path, [](zav::Store& s) { s.hardwareAssets().create("Z"); }, force));
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);
}

// The lock belongs to the file a link leads to: editors through the link and through the file
// share it, the link stays a link.
TEST(CppEdit, LocksTheFileALinkLeadsTo) {
  ScopedRegistry registry(kExample, DataDir());
  TempDir dir;
  const std::string real = dir.File("real.xml");
  const std::string link = dir.File("link.xml");
  zav::Store::open(kExample).serialize(real);
  ASSERT_EQ(symlink("real.xml", link.c_str()), 0);
  zav::Store::edit(link, [&](zav::Store& s) {
    EXPECT_TRUE(zavtest::FileExists(real + ".lock"));
    EXPECT_THROW(zav::FileLock(real, std::chrono::milliseconds(20)), zav::EditError);
    s.hardwareAssets().create("ViaLink");
  });
  struct stat info;
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_TRUE(zav::Store::open(real).hardwareAssets().find("ViaLink").has_value());
  // A missing file is created only when asked.
  const std::string fresh = dir.File("fresh.xml");
  EXPECT_THROW(zav::Store::edit(fresh, [](zav::Store&) {}), zav::Error);
  zav::EditOptions create;
  create.createIfMissing = true;
  EXPECT_TRUE(zav::Store::edit(fresh, [](zav::Store& s) { s.setDescription("new"); }, create));
  EXPECT_EQ(zav::Store::open(fresh).description(), "new");
}

}  // namespace
