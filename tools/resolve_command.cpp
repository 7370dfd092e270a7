// SPDX-License-Identifier: MIT
// resolve: what a driver gets for a name.
#include <iostream>

#include "commands.hpp"
#include "item_edit.hpp"
#include "store_tree.hpp"
#include "table.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

void AddSettings(Table& table, const Json& list, const std::string& prefix) {
  for (const Json& c : list) {
    std::string name = prefix + Text(c["name"]);
    if (c.contains("members"))
      AddSettings(table, c["members"], name + "/");
    else
      table.Add({name, Text(c["type"]), ValueText(c)});
  }
}

// For a name that leads to no session: the nearest name that does, and what the name is.
std::vector<std::string> NameHints(const zav::Store& store, const std::string& name) {
  std::vector<std::string> names, hints;
  for (zav::LogicalName n : store.logicalNames()) names.push_back(n.name());
  for (zav::Session s : store.sessions()) names.push_back(s.name());
  std::string closest = Closest(name, names);
  if (!closest.empty() && closest != name) hints.push_back("did you mean '" + closest + "'?");
  std::string what = WhatIs(store, name);
  if (!what.empty()) hints.push_back("'" + name + "' is " + what);
  return hints;
}

}  // namespace

int Resolve(const std::string& file, const std::string& name, bool json) {
  try {
    OpenStore open = Open(file);
    std::optional<zav::LogicalName> logical = open.store.logicalNames().find(name);
    std::optional<zav::DriverSession> driver = open.store.findDriverSession(name);
    // Not a driver session: a plain session, or the library's own message for a name that
    // leads to none.
    std::optional<zav::Session> plain;
    if (!driver) {
      try {
        plain = open.store.getSession(name);
      } catch (const zav::Error& e) {
        if (e.code() != ZAVCONFIG_ERROR_SESSION_NOT_FOUND) throw;
        return Fail("resolve " + name, e.what(), NameHints(open.store, name));
      }
    }
    const zav::Session& target = driver ? *driver : *plain;

    Json s = SessionJson(target, driver ? &*driver : nullptr);
    std::optional<zav::SoftwareModule> module = target.softwareModule();
    std::optional<zav::HardwareAsset> asset = target.hardwareAsset();
    Json j = {
        {"name", name},
        {"logicalName", logical ? Json(name) : Json()},
        {"session", s["name"]},
        {"driverSession", driver.has_value()},
        {"softwareModule", module ? Json{{"name", module->name()},
                                         {"modulePath", module->modulePath()},
                                         {"prefix", module->prefix()}}
                                  : Json()},
        {"softwareModuleName", s["softwareModuleName"]},
        {"hardwareAsset", asset ? Json{{"name", asset->name()},
                                       {"ioResourceDescriptor", asset->ioResourceDescriptor()}}
                                : Json()}};
    if (driver) {
      j["driverSetup"] = s["driverSetup"];
      j["flags"] = s["flags"];
    }
    j["virtualNames"] = s["virtualNames"];
    j["settings"] = s["dataComponents"];
    if (json) {
      std::cout << j.dump(2) << "\n";
      return kOk;
    }

    std::cout << name << (logical ? "  logical name -> " : "  -> ")
              << (driver ? "driver session " : "session ") << Text(j["session"]) << "\n";
    Table fields;
    if (module) {
      fields.Add({"software module", module->name()});
      fields.Add({"  module path", Text(j["softwareModule"]["modulePath"])});
      fields.Add({"  prefix", Text(j["softwareModule"]["prefix"])});
    } else {
      std::string kept = Text(j["softwareModuleName"]);
      fields.Add({"software module", kept.empty() ? "none" : kept + " (not in this store)"});
    }
    if (asset) {
      fields.Add({"hardware asset", asset->name()});
      fields.Add({"  I/O resource", Text(j["hardwareAsset"]["ioResourceDescriptor"])});
    } else {
      fields.Add({"hardware asset", "none"});
    }
    if (driver) {
      fields.Add({"driver setup", Text(j["driverSetup"])});
      for (const auto& [key, label] : kFlags)
        fields.Add({label, j["flags"][key].get<bool>() ? "on" : "off"});
    }
    for (const Json& v : j["virtualNames"])
      fields.Add({"virtual name", Text(v["name"]) + " -> " + Text(v["mapTo"])});
    fields.Print(std::cout, "");
    if (!j["settings"].empty()) {
      std::cout << "settings\n";
      Table settings;
      AddSettings(settings, j["settings"], "");
      settings.Print(std::cout, "  ");
    }
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("resolve " + name, e, file);
  }
}

}  // namespace zavtool
