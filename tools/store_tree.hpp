// SPDX-License-Identifier: MIT
// The store as a tree for people, printed from its snapshot, and the pieces of it that resolve
// prints too.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "store_snapshot.hpp"

namespace zavtool {

// root: a whole capture; file: the store's place, as the tree's first line names it.
void PrintStoreTree(const Node& root, const std::string& file, std::ostream& out);

// "Dmm C 3.0"
std::string ApiLabel(const ApiParts& api);
// A component's value as the tree shows it: "2000 ms", "true", "text  -> Dmm C 3.0"; apis says
// which published API an API reference refers to.
std::string ComponentValue(const Node& component, const ApiTable& apis);
// The six driver session flags: their property (session::Cache, ...) and label.
extern const std::vector<std::pair<int, const char*>> kFlags;

}  // namespace zavtool
