// SPDX-License-Identifier: MIT
#include "store_json.hpp"

#include <set>

#include "item_json.hpp"

namespace zavtool {

namespace {

Json OrNull(const std::string& text) { return text.empty() ? Json() : Json(text); }

Json DataComponentsJson(const zav::DataComponentCollection& components) {
  Json list = Json::array();
  for (zav::DataComponent c : components) list.push_back(DataComponentJson(c));
  return list;
}

}  // namespace

std::string Text(const Json& j) { return j.is_string() ? j.get<std::string>() : ""; }

Json ApiJson(const zav::PublishedApi& api) {
  return {{"name", api.name()},
          {"type", api.type()},
          {"majorVersion", api.majorVersion()},
          {"minorVersion", api.minorVersion()}};
}

Json PhysicalRangeJson(const zav::PhysicalRange& r) {
  return {{"name", r.name()}, {"min", r.min()}, {"max", r.max()}};
}

Json PhysicalNameJson(const zav::PhysicalName& name) {
  Json ranges = Json::array();
  for (zav::PhysicalRange r : name.ranges()) ranges.push_back(PhysicalRangeJson(r));
  Json children = Json::array();
  for (zav::PhysicalName child : name.children()) children.push_back(PhysicalNameJson(child));
  return {
      {"name", name.name()}, {"rcName", name.rcName()}, {"ranges", ranges}, {"children", children}};
}

Json VirtualRangeJson(const zav::VirtualRange& r) {
  return {{"name", r.name()},
          {"min", r.min()},
          {"max", r.max()},
          {"startingPhysicalIndex", r.startingPhysicalIndex()}};
}

Json VirtualNameJson(const zav::VirtualName& v) {
  Json ranges = Json::array();
  for (zav::VirtualRange r : v.ranges()) ranges.push_back(VirtualRangeJson(r));
  return {{"name", v.name()}, {"mapTo", v.mapTo()}, {"ranges", ranges}};
}

Json ModuleJson(const zav::SoftwareModule& m) {
  Json apis = Json::array();
  for (zav::PublishedApi api : m.publishedApis()) apis.push_back(ApiJson(api));
  Json physical = Json::array();
  for (zav::PhysicalName name : m.physicalNames()) physical.push_back(PhysicalNameJson(name));
  return {{"name", m.name()},
          {"description", m.description()},
          {"modulePath", m.modulePath()},
          {"modulePath64", m.modulePath64()},
          {"prefix", m.prefix()},
          {"progId", m.progId()},
          {"supportedInstrumentModels", m.supportedInstrumentModels()},
          {"assemblyQualifiedClassName", m.assemblyQualifiedClassName()},
          {"publishedApis", apis},
          {"physicalNames", physical},
          {"dataComponents", DataComponentsJson(m.dataComponents())}};
}

Json AssetJson(const zav::HardwareAsset& a) {
  return {{"name", a.name()},
          {"description", a.description()},
          {"ioResourceDescriptor", a.ioResourceDescriptor()},
          {"dataComponents", DataComponentsJson(a.dataComponents())}};
}

Json DataComponentJson(const zav::DataComponent& c) {
  std::string type = c.type();
  Json j = {{"name", c.name()},
            {"type", type},
            {"description", c.description()},
            {"usedInSession", c.usedInSession()},
            {"readOnly", c.readOnly()},
            {"helpContextId", c.helpContextId()},
            {"helpFilePath", c.helpFilePath()},
            {"softwareModuleKey", c.softwareModuleKey()}};
  if (type == "Boolean") j["value"] = c.booleanValue();
  if (type == "Integer") j["value"] = c.integerValue();
  if (type == "Real") j["value"] = c.realValue();
  if (type == "String" || type == "APIReference") j["value"] = c.stringValue();
  if (type == "Integer" || type == "Real") j["units"] = c.units();
  if (type == "Structure") j["members"] = DataComponentsJson(c.members());
  if (type == "APIReference") {
    std::optional<zav::PublishedApi> api = c.publishedApi();
    j["publishedApi"] = api ? ApiJson(*api) : Json();
  }
  return j;
}

Json SessionJson(const zav::Session& s, const zav::DriverSession* driver) {
  std::optional<zav::SoftwareModule> module = s.softwareModule();
  std::optional<zav::HardwareAsset> asset = s.hardwareAsset();
  Json virtualNames = Json::array();
  for (zav::VirtualName v : s.virtualNames()) virtualNames.push_back(VirtualNameJson(v));
  Json j = {{"name", s.name()},
            {"description", s.description()},
            {"softwareModule", module ? Json(module->name()) : Json()},
            {"softwareModuleName", s.softwareModuleName()},
            {"hardwareAsset", asset ? Json(asset->name()) : Json()}};
  if (driver) {
    j["driverSetup"] = driver->driverSetup();
    j["flags"] = {{"cache", driver->cache()},
                  {"interchangeCheck", driver->interchangeCheck()},
                  {"queryInstrStatus", driver->queryInstrStatus()},
                  {"rangeCheck", driver->rangeCheck()},
                  {"recordCoercions", driver->recordCoercions()},
                  {"simulate", driver->simulate()}};
  }
  j["virtualNames"] = virtualNames;
  j["dataComponents"] = DataComponentsJson(s.dataComponents());
  return j;
}

Json LogicalNameJson(const zav::LogicalName& n, bool leadsToDriverSession) {
  std::optional<zav::Session> s = n.session();
  return {{"name", n.name()},
          {"description", n.description()},
          {"session", OrNull(s ? s->name() : "")},
          {"driverSession", s && leadsToDriverSession}};
}

Json StoreJson(const zav::Store& store, const std::string& path) {
  Json apis = Json::array(), modules = Json::array(), assets = Json::array(),
       drivers = Json::array(), sessions = Json::array(), names = Json::array();
  for (zav::PublishedApi api : store.publishedApis()) apis.push_back(ApiJson(api));
  for (zav::SoftwareModule m : store.softwareModules()) modules.push_back(ModuleJson(m));
  for (zav::HardwareAsset a : store.hardwareAssets()) assets.push_back(AssetJson(a));
  std::set<std::string> driverNames;
  for (zav::DriverSession d : store.driverSessions()) {
    drivers.push_back(SessionJson(d, &d));
    driverNames.insert(d.name());
  }
  for (zav::Session s : store.sessions())
    if (!driverNames.count(s.name())) sessions.push_back(SessionJson(s, nullptr));
  for (zav::LogicalName n : store.logicalNames()) {
    std::optional<zav::Session> s = n.session();
    names.push_back(LogicalNameJson(n, s && driverNames.count(s->name()) > 0));
  }
  return {{"file", path},
          {"description", store.description()},
          {"publishedApis", apis},
          {"softwareModules", modules},
          {"hardwareAssets", assets},
          {"driverSessions", drivers},
          {"sessions", sessions},
          {"logicalNames", names}};
}

namespace {

Json WithPath(const std::string& path, const Json& item) {
  Json j = {{"path", path}};
  for (const auto& [key, value] : item.items()) j[key] = value;
  return j;
}

}  // namespace

std::string JsonLine(const zav::PublishedApi& api) { return ApiJson(api).dump(); }
std::string JsonLine(const zav::SoftwareModule& module) { return ModuleJson(module).dump(); }
std::string JsonLine(const zav::HardwareAsset& asset) { return AssetJson(asset).dump(); }
std::string JsonLine(const zav::Session& session, const zav::DriverSession* driver) {
  return SessionJson(session, driver).dump();
}
std::string JsonLine(const zav::LogicalName& name, bool leadsToDriverSession) {
  return LogicalNameJson(name, leadsToDriverSession).dump();
}
std::string JsonLine(const zav::DataComponent& component, const std::string& path) {
  return WithPath(path, DataComponentJson(component)).dump();
}
std::string JsonLine(const zav::PhysicalName& name, const std::string& path) {
  return WithPath(path, PhysicalNameJson(name)).dump();
}
std::string JsonLine(const zav::PhysicalRange& range) { return PhysicalRangeJson(range).dump(); }
std::string JsonLine(const zav::VirtualName& name) { return VirtualNameJson(name).dump(); }
std::string JsonLine(const zav::VirtualRange& range) { return VirtualRangeJson(range).dump(); }

}  // namespace zavtool
