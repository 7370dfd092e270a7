// SPDX-License-Identifier: MIT
// validate: read each store as the library does, then lint what it accepts silently.
#include <iostream>

#include "commands.hpp"
#include "lint.hpp"

namespace zavtool {

int Validate(const std::vector<std::string>& files, bool strict) {
  std::vector<std::string> paths = files;
  if (paths.empty()) {
    try {
      paths.push_back(StorePath(""));
    } catch (const zav::Error& e) {
      return Fail("validate", e, "");
    }
  }
  int status = kOk;
  for (const std::string& file : paths) {
    try {
      zav::Store store;
      store.deserialize(file);
    } catch (const zav::Error& e) {
      std::optional<zav::ParsingError> parsing = zav::ParsingError::of(e);
      std::string where = file;
      if (parsing && parsing->line() > 0) where += ":" + std::to_string(parsing->line());
      std::cerr << where << ": error: " << e.what() << "\n";
      for (const std::string& hint : Hints(e, file)) std::cerr << "  " << hint << "\n";
      status = kFault;
      continue;
    }
    std::vector<Finding> findings = LintStoreDocument(file);
    for (const Finding& f : findings)
      std::cout << file << ":" << f.line << ": warning: " << f.message << "\n";
    if (findings.empty()) {
      std::cout << file << ": valid\n";
    } else {
      // The library reads the store as it is: warnings fail only a check that asks for it.
      std::cout << file << ": valid, " << findings.size() << " warning(s)\n";
      if (strict) status = kFault;
    }
  }
  return status;
}

}  // namespace zavtool
