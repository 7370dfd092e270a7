// SPDX-License-Identifier: MIT
// resolve: what a driver gets for a name.
#include <iostream>

#include "commands.hpp"
#include "item_edit.hpp"
#include "snapshot_json.hpp"
#include "store_tree.hpp"
#include "table.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

void AddSettings(Table& table, const std::vector<Node>& list, const std::string& prefix,
                 const ApiTable& apis) {
  for (const Node& c : list) {
    std::string name = prefix + c.key;
    const std::string& type = TextOf(c.props[component::Type]);
    if (type == "Structure")
      AddSettings(table, c.lists[component::Members], name + "/", apis);
    else
      table.Add({name, type, ComponentValue(c, apis)});
  }
}

// The entries of an item's JSON that resolve repeats.
Json Pick(const Json& item, std::initializer_list<const char*> keys) {
  Json picked = Json::object();
  for (const char* key : keys) picked[key] = item[key];
  return picked;
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

    // What the name leads to, captured alone; the index says what its references stand for.
    Node index = CaptureIndex(open.store);
    Node sessionNode = driver ? Capture(*driver) : Capture(target);
    std::optional<Node> moduleNode, assetNode;
    if (std::optional<zav::SoftwareModule> m = target.softwareModule()) moduleNode = Capture(*m);
    if (std::optional<zav::HardwareAsset> a = target.hardwareAsset()) assetNode = Capture(*a);

    if (json) {
      JsonWriter writer(index);
      Json s = writer.Item(driver ? Kind::DriverSession : Kind::Session, sessionNode);
      Json j = {
          {"name", name},
          {"logicalName", logical ? Json(name) : Json()},
          {"session", s["name"]},
          {"driverSession", driver.has_value()},
          {"softwareModule", moduleNode ? Pick(writer.Item(Kind::SoftwareModule, *moduleNode),
                                               {"name", "modulePath", "prefix"})
                                        : Json()},
          {"softwareModuleName", s["softwareModuleName"]},
          {"hardwareAsset", assetNode ? Pick(writer.Item(Kind::HardwareAsset, *assetNode),
                                             {"name", "ioResourceDescriptor"})
                                      : Json()}};
      if (driver) {
        j["driverSetup"] = s["driverSetup"];
        j["flags"] = s["flags"];
      }
      j["virtualNames"] = s["virtualNames"];
      j["settings"] = s["dataComponents"];
      std::cout << j.dump(2) << "\n";
      return kOk;
    }

    std::cout << name << (logical ? "  logical name -> " : "  -> ")
              << (driver ? "driver session " : "session ") << sessionNode.key << "\n";
    Table fields;
    if (moduleNode) {
      fields.Add({"software module", moduleNode->key});
      fields.Add({"  module path", TextOf(moduleNode->props[module::ModulePath])});
      fields.Add({"  prefix", TextOf(moduleNode->props[module::Prefix])});
    } else {
      fields.Add({"software module", "none"});
    }
    if (assetNode) {
      fields.Add({"hardware asset", assetNode->key});
      fields.Add({"  I/O resource", TextOf(assetNode->props[asset::IoResource])});
    } else {
      fields.Add({"hardware asset", "none"});
    }
    if (driver) {
      fields.Add({"driver setup", TextOf(sessionNode.props[session::DriverSetup])});
      for (const auto& [flag, label] : kFlags)
        fields.Add({label, BoolOf(sessionNode.props[flag]) ? "on" : "off"});
    }
    for (const Node& v : sessionNode.lists[session::VirtualNames])
      fields.Add({"virtual name", v.key + " -> " + TextOf(v.props[virt::MapTo])});
    fields.Print(std::cout, "");
    const std::vector<Node>& settings = sessionNode.lists[session::DataComponents];
    if (!settings.empty()) {
      std::cout << "settings\n";
      Table table;
      AddSettings(table, settings, "", ApiTable(index));
      table.Print(std::cout, "  ");
    }
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("resolve " + name, e, file);
  }
}

}  // namespace zavtool
