// SPDX-License-Identifier: MIT
// Snapshots as JSON: the one writer of the JSON the utility prints about store items (`show
// --json` and `export`, `resolve --json`, `list --json`), in the shapes the README documents,
// and the reader of that JSON for `import`. Only the files that print or read JSON include this
// header, so the JSON library stays out of the rest of the utility.
#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "store_snapshot.hpp"

namespace zavtool {

using Json = nlohmann::ordered_json;

// Captured items in the shapes of `show --json`, keys in the order it prints them. What a
// reference stands for is taken from the root the writer is made from (a whole capture, or
// CaptureIndex): a published API's four parts, and whether a logical name's session is a driver
// session. The writer keeps what it needs of that root, which need not outlive it.
class JsonWriter {
 public:
  explicit JsonWriter(const Node& root);
  // An item of any kind but Kind::Store.
  Json Item(Kind kind, const Node& item) const;

 private:
  Json ApiJson(const std::string& key) const;
  Json ComponentsJson(const std::vector<Node>& list) const;
  Json ComponentJson(const Node& n) const;
  Json ModuleJson(const Node& n) const;
  Json AssetJson(const Node& n) const;
  Json SessionJson(const Node& n, bool driver) const;
  Json LogicalJson(const Node& n) const;

  ApiTable apis_;
  std::unordered_set<std::string> drivers_;
};

// The store as `show --json` and `export` print it; file is its "file" entry.
Json SnapshotJson(const Node& root, const std::string& file);
// Reads that shape back. Every key may be left out but the names; a key the shape does not
// have, or a value of the wrong kind, is refused (SnapshotError) rather than ignored. A session
// given a module and no "dataComponents" at all is named in takeModuleSettings, when given.
Node SnapshotFromJson(const Json& json, std::set<std::string>* takeModuleSettings = nullptr);

}  // namespace zavtool
