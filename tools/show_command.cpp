// SPDX-License-Identifier: MIT
// show: the whole store, as a tree or as JSON.
#include <iostream>

#include "commands.hpp"
#include "store_tree.hpp"

namespace zavtool {

int Show(const std::string& file, bool json) {
  try {
    OpenStore open = Open(file);
    Json j = StoreJson(open.store, open.path);
    if (json)
      std::cout << j.dump(2) << "\n";
    else
      PrintStoreTree(j, std::cout);
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("show", e, file);
  }
}

}  // namespace zavtool
