// SPDX-License-Identifier: MIT
// A C++ editor for the Python package's safe-edit tests, on zav::Store::edit:
//
//   cpp_editor STORE ID COUNT [TIMEOUT_MS]
//
// makes COUNT edits of STORE, each adding a hardware asset "cpp<ID>_<k>", and prints the name
// of each edit that reported success and "failed: <message>" for each that did not (waiting up
// to TIMEOUT_MS for the lock, 60 s by default).
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "zavconfig.hpp"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: cpp_editor STORE ID COUNT [TIMEOUT_MS]\n";
    return 2;
  }
  zav::EditOptions options;
  options.lockTimeout = std::chrono::milliseconds(argc == 5 ? std::atol(argv[4]) : 60000);
  const int count = std::atoi(argv[3]);
  for (int k = 0; k < count; ++k) {
    const std::string name = std::string("cpp") + argv[2] + "_" + std::to_string(k);
    try {
      zav::Store::edit(
          argv[1],
          [&](zav::Store& store) {
            store.hardwareAssets().create(name).setIoResourceDescriptor("TCPIP0::" + name);
          },
          options);
      std::cout << name << std::endl;
    } catch (const zav::Error& e) {
      std::cout << "failed: " << e.what() << std::endl;
    }
  }
  return 0;
}
