// SPDX-License-Identifier: MIT
// What a configuration utility does, on the C++ interface: describe a driver and an
// instrument, join them in a driver session with its settings, give it a logical name the test
// programs open, and save the store.
//
//   configure_bench <store path>
//
// Saving names the registry's master store inside the document, so run it with a registry
// whose master store exists (ZAV_REGISTRY=build/dev-registry.ini in a build tree).
#include <iostream>

#include "zavconfig.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: configure_bench <store path>\n";
    return 2;
  }
  try {
    zav::Store store;
    store.setDescription("Bench 7: one oscilloscope");

    // The driver: the API it implements, where it lives, the settings it offers.
    zav::PublishedApi scopeApi = store.publishedApis().create("Scope", "C");
    scopeApi.setMajorVersion(2);
    zav::SoftwareModule driver = store.softwareModules().create("orion5");
    driver.setModulePath("/usr/lib/zav/drivers/liborion5.so");
    driver.setPrefix("orion5");
    driver.setSupportedInstrumentModels("O5104,O5108");
    driver.publishedApis().add(scopeApi);
    zav::PhysicalName channel = driver.physicalNames().create("Channel", "Channel");
    zav::PhysicalRange inputs = channel.ranges().create("CH");
    inputs.setMin(1);
    inputs.setMax(4);
    zav::DataComponent timeout = driver.dataComponents().create(zav::ValueKind::Integer, "Timeout");
    timeout.setUnits("ms");
    timeout.setIntegerValue(5000);
    timeout.setUsedInSession("Required");

    // The instrument.
    zav::HardwareAsset scope = store.hardwareAssets().create("Scope_Bench7");
    scope.setIoResourceDescriptor("TCPIP0::10.0.7.3::INSTR");

    // The driver session: linking the driver copies the settings it requires.
    zav::DriverSession session = store.driverSessions().create("Scope_Bench7_orion5");
    session.setSoftwareModule(driver);
    session.setHardwareAsset(scope);
    session.setDriverSetup("Model=O5104");
    session.setRangeCheck(true);
    session.dataComponents().get("Timeout").setIntegerValue(10000);
    session.virtualNames().create("Probe", "CH1");

    zav::LogicalName name = store.logicalNames().create("BenchScope");
    name.setSession(session);

    store.serialize(argv[1]);
    std::cout << "wrote " << argv[1] << "\n";
    return 0;
  } catch (const zav::Error& e) {
    std::cerr << "configure_bench: " << e.what() << "\n";
    return 1;
  }
}
