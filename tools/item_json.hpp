// SPDX-License-Identifier: MIT
// One item as one line of JSON, in the shapes `show --json` prints, for `list --json`. The
// JSON library stays behind this header.
#pragma once

#include <string>

#include "zavconfig.hpp"

namespace zavtool {

std::string JsonLine(const zav::PublishedApi& api);
std::string JsonLine(const zav::SoftwareModule& module);
std::string JsonLine(const zav::HardwareAsset& asset);
// driver: the same session seen as a driver session, or null for a plain session.
std::string JsonLine(const zav::Session& session, const zav::DriverSession* driver);
std::string JsonLine(const zav::LogicalName& name, bool leadsToDriverSession);
// Items listed with their path from the top ("structure/member", "parent/child") carry it as
// "path" before the keys of their shape.
std::string JsonLine(const zav::DataComponent& component, const std::string& path);
std::string JsonLine(const zav::PhysicalName& name, const std::string& path);
std::string JsonLine(const zav::PhysicalRange& range);
std::string JsonLine(const zav::VirtualName& name);
std::string JsonLine(const zav::VirtualRange& range);

}  // namespace zavtool
