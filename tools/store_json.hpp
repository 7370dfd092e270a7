// SPDX-License-Identifier: MIT
// A store and its items as JSON: the shapes `show --json`, `resolve --json` and `list --json`
// print (documented in the README; keys are only ever added). Only the files that print JSON
// include this header, so the JSON library stays out of the rest of the utility.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "zavconfig.hpp"

namespace zavtool {

using Json = nlohmann::ordered_json;

Json StoreJson(const zav::Store& store, const std::string& path);
Json ApiJson(const zav::PublishedApi& api);
Json ModuleJson(const zav::SoftwareModule& module);
Json AssetJson(const zav::HardwareAsset& asset);
// driver is the same session seen as a driver session, or null for a plain session.
Json SessionJson(const zav::Session& session, const zav::DriverSession* driver);
Json LogicalNameJson(const zav::LogicalName& name, bool leadsToDriverSession);
Json DataComponentJson(const zav::DataComponent& component);
Json PhysicalNameJson(const zav::PhysicalName& name);
Json PhysicalRangeJson(const zav::PhysicalRange& range);
Json VirtualNameJson(const zav::VirtualName& name);
Json VirtualRangeJson(const zav::VirtualRange& range);

// The text of a string member, "" for null or a missing key.
std::string Text(const Json& j);

}  // namespace zavtool
