// SPDX-License-Identifier: MIT
// The store as a tree for people, printed from its JSON (store_json.hpp), and the pieces of it
// that resolve and list print too.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "store_json.hpp"

namespace zavtool {

void PrintStoreTree(const Json& store, std::ostream& out);

// "Dmm C 3.0"
std::string ApiLabel(const Json& api);
// A component's value as the tree shows it: "2000 ms", "true", "text  -> Dmm C 3.0".
std::string ValueText(const Json& component);
// The six driver session flags: JSON key and label.
extern const std::vector<std::pair<const char*, const char*>> kFlags;

}  // namespace zavtool
