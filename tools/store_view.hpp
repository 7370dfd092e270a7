// SPDX-License-Identifier: MIT
// A store as JSON (the shape `show --json` prints, documented in the README) and the
// human-readable tree printed from that same JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "zavconfig.hpp"

namespace zavtool {

using Json = nlohmann::ordered_json;

Json StoreJson(const zav::Store& store, const std::string& path);
Json DataComponentJson(const zav::DataComponent& component);
Json SessionJson(const zav::Session& session, const zav::DriverSession* driver);
void PrintStoreTree(const Json& store, std::ostream& out);

}  // namespace zavtool
