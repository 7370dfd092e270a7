// SPDX-License-Identifier: MIT
// A driver written on the C++ interface, built by a project that asks for C++14: the installed
// package must raise it to the C++17 the interface needs.
#include <iostream>

#include "zavconfig.hpp"

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "SampleDMM";
  try {
    zav::Store store = zav::Store::openMaster();
    zav::DriverSession session = store.getDriverSession(name);
    std::cout << name << " -> " << session.name() << " (C++" << __cplusplus / 100 % 100 << ")\n";
    return 0;
  } catch (const zav::Error& e) {
    std::cout << "failed: " << e.what() << "\n";
    return 1;
  }
}
