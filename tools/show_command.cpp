// SPDX-License-Identifier: MIT
// show: the whole store, as a tree or as JSON.
#include <iostream>

#include "commands.hpp"
#include "snapshot_json.hpp"
#include "store_tree.hpp"

namespace zavtool {

int Show(const std::string& file, bool json) {
  try {
    OpenStore open = Open(file);
    Node root = Capture(open.store);
    if (json)
      std::cout << SnapshotJson(root, open.path).dump(2) << "\n";
    else
      PrintStoreTree(root, open.path, std::cout);
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("show", e, file);
  }
}

}  // namespace zavtool
