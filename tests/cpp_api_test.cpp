// SPDX-License-Identifier: MIT
// The C++ interface: reading and building stores through it, every failure arriving as its
// exception, and every handle it takes given back.
#include <gtest/gtest.h>

#include <optional>
#include <string>

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
  std::optional<zav::ParsingError> order = parts(ZAV_TEST_SOURCE_DIR "/tests/data/invalid_order.xml");
  ASSERT_TRUE(order.has_value());
  EXPECT_EQ(order->number(), 1871);
  EXPECT_EQ(order->line(), 14);
  EXPECT_EQ(order->description().rfind("Element 'Sessions': ", 0), 0u) << order->description();
  EXPECT_EQ(order->description().back(), '.');
  EXPECT_FALSE(parts("/nonexistent/store.xml").has_value());  // not a parsing error
  EXPECT_FALSE(zav::ParsingError::of(zav::Error(
      ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "Deserialize failed. Parsing error number: x")));
  std::optional<zav::ParsingError> noLine = zav::ParsingError::of(zav::Error(
      ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
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
    moved.hardwareAssets().destroy(owner);
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

}  // namespace
