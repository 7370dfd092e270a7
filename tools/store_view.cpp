// SPDX-License-Identifier: MIT
#include "store_view.hpp"

#include <cstdio>
#include <iostream>
#include <set>
#include <vector>

#include "commands.hpp"
#include "lint.hpp"

namespace zavtool {

int Fail(const std::string& context, const std::string& message) {
  std::cerr << "zavconfig: " << context << ": " << message << "\n";
  return kFault;
}

OpenStore Open(const std::string& file) {
  zav::Store store;
  std::string path = file.empty() ? store.masterLocation() : file;
  store.deserialize(path);
  return {std::move(store), path};
}

// --- JSON ------------------------------------------------------------------------------------

namespace {

Json OrNull(const std::string& text) { return text.empty() ? Json() : Json(text); }

Json ApiJson(const zav::PublishedApi& api) {
  return {{"name", api.name()},
          {"type", api.type()},
          {"majorVersion", api.majorVersion()},
          {"minorVersion", api.minorVersion()}};
}

Json DataComponentsJson(const zav::DataComponentCollection& components) {
  Json list = Json::array();
  for (zav::DataComponent c : components) list.push_back(DataComponentJson(c));
  return list;
}

Json PhysicalNameJson(const zav::PhysicalName& name) {
  Json ranges = Json::array();
  for (zav::PhysicalRange r : name.ranges())
    ranges.push_back({{"name", r.name()}, {"min", r.min()}, {"max", r.max()}});
  Json children = Json::array();
  for (zav::PhysicalName child : name.children()) children.push_back(PhysicalNameJson(child));
  return {
      {"name", name.name()}, {"rcName", name.rcName()}, {"ranges", ranges}, {"children", children}};
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

}  // namespace

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
  for (zav::VirtualName v : s.virtualNames()) {
    Json ranges = Json::array();
    for (zav::VirtualRange r : v.ranges())
      ranges.push_back({{"name", r.name()},
                        {"min", r.min()},
                        {"max", r.max()},
                        {"startingPhysicalIndex", r.startingPhysicalIndex()}});
    virtualNames.push_back({{"name", v.name()}, {"mapTo", v.mapTo()}, {"ranges", ranges}});
  }
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
    std::string target = s ? s->name() : "";
    names.push_back({{"name", n.name()},
                     {"description", n.description()},
                     {"session", OrNull(target)},
                     {"driverSession", driverNames.count(target) > 0}});
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

// --- the tree --------------------------------------------------------------------------------

namespace {

// Rows of cells printed in aligned columns, two spaces apart, without trailing blanks.
class Table {
 public:
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  bool Empty() const { return rows_.empty(); }
  void Print(std::ostream& out, const std::string& indent) const {
    std::vector<size_t> widths;
    for (const auto& row : rows_)
      for (size_t i = 0; i + 1 < row.size(); ++i) {
        if (widths.size() <= i) widths.resize(i + 1, 0);
        widths[i] = std::max(widths[i], row[i].size());
      }
    for (const auto& row : rows_) {
      std::string line = indent;
      for (size_t i = 0; i < row.size(); ++i) {
        line += row[i];
        if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out << line << "\n";
    }
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::string Text(const Json& j) { return j.is_string() ? j.get<std::string>() : ""; }

std::string ApiLabel(const Json& api) {
  return Text(api["name"]) + " " + Text(api["type"]) + " " +
         std::to_string(api["majorVersion"].get<int>()) + "." +
         std::to_string(api["minorVersion"].get<int>());
}

std::string Real(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string ValueText(const Json& c) {
  std::string type = Text(c["type"]), value;
  if (type == "Boolean") value = c["value"].get<bool>() ? "true" : "false";
  if (type == "Integer") value = std::to_string(c["value"].get<int>());
  if (type == "Real") value = Real(c["value"].get<double>());
  if (type == "String") value = Text(c["value"]);
  if ((type == "Integer" || type == "Real") && !Text(c["units"]).empty())
    value += " " + Text(c["units"]);
  if (type == "APIReference") {
    value = Text(c["value"]);
    std::string api = c["publishedApi"].is_null() ? "no API" : ApiLabel(c["publishedApi"]);
    value = value.empty() ? "-> " + api : value + "  -> " + api;
  }
  return value;
}

void AddComponents(Table& table, const Json& list, const std::string& indent) {
  for (const Json& c : list) {
    table.Add({indent + Text(c["name"]), Text(c["type"]), ValueText(c), Text(c["usedInSession"])});
    if (c.contains("members")) AddComponents(table, c["members"], indent + "  ");
  }
}

void PrintComponents(const Json& list, std::ostream& out, const std::string& indent,
                     const char* title) {
  if (list.empty()) return;
  out << indent << title << "\n";
  Table table;
  AddComponents(table, list, "");
  table.Print(out, indent + "  ");
}

void AddPhysicalNames(Table& table, const Json& list, const std::string& indent) {
  for (const Json& n : list) {
    std::string ranges;
    for (const Json& r : n["ranges"])
      ranges += (ranges.empty() ? "" : ", ") + Text(r["name"]) + " " +
                std::to_string(r["min"].get<int>()) + ".." + std::to_string(r["max"].get<int>());
    table.Add({indent + Text(n["name"]), "repeated capability " + Text(n["rcName"]), ranges});
    AddPhysicalNames(table, n["children"], indent + "  ");
  }
}

const std::vector<std::pair<const char*, const char*>> kFlags = {
    {"cache", "cache"},
    {"interchangeCheck", "interchange check"},
    {"queryInstrStatus", "query instrument status"},
    {"rangeCheck", "range check"},
    {"recordCoercions", "record coercions"},
    {"simulate", "simulate"}};

void PrintSession(const Json& s, std::ostream& out) {
  out << "  " << Text(s["name"]) << "\n";
  Table fields;
  if (!Text(s["description"]).empty()) fields.Add({"description", Text(s["description"])});
  std::string module = Text(s["softwareModule"]);
  if (module.empty() && !Text(s["softwareModuleName"]).empty())
    module = Text(s["softwareModuleName"]) + " (not in this store)";
  fields.Add({"software module", module.empty() ? "none" : module});
  fields.Add({"hardware asset", s["hardwareAsset"].is_null() ? "none" : Text(s["hardwareAsset"])});
  if (s.contains("flags")) {
    fields.Add({"driver setup", Text(s["driverSetup"])});
    std::string on;
    for (const auto& [key, label] : kFlags)
      if (s["flags"][key].get<bool>()) on += (on.empty() ? "" : ", ") + std::string(label);
    fields.Add({"flags on", on.empty() ? "none" : on});
  }
  for (const Json& v : s["virtualNames"]) {
    std::string ranges;
    for (const Json& r : v["ranges"])
      ranges += " " + Text(r["name"]) + " " + std::to_string(r["min"].get<int>()) + ".." +
                std::to_string(r["max"].get<int>()) + " from " +
                std::to_string(r["startingPhysicalIndex"].get<int>());
    fields.Add({"virtual name", Text(v["name"]) + " -> " + Text(v["mapTo"]) + ranges});
  }
  fields.Print(out, "    ");
  PrintComponents(s["dataComponents"], out, "    ", "settings");
}

void Heading(std::ostream& out, const char* title, const Json& list) {
  out << "\n" << title << "\n";
  if (list.empty()) out << "  (none)\n";
}

}  // namespace

void PrintStoreTree(const Json& j, std::ostream& out) {
  Table head;
  head.Add({"store", Text(j["file"])});
  head.Add({"description", Text(j["description"])});
  head.Print(out, "");

  Heading(out, "published APIs", j["publishedApis"]);
  Table apis;
  for (const Json& api : j["publishedApis"])
    apis.Add({Text(api["name"]), Text(api["type"]),
              std::to_string(api["majorVersion"].get<int>()) + "." +
                  std::to_string(api["minorVersion"].get<int>())});
  apis.Print(out, "  ");

  Heading(out, "software modules", j["softwareModules"]);
  for (const Json& m : j["softwareModules"]) {
    out << "  " << Text(m["name"]) << "\n";
    Table fields;
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"description", "description"},
        {"modulePath", "module path"},
        {"modulePath64", "module path 64"},
        {"prefix", "prefix"},
        {"progId", "prog id"},
        {"supportedInstrumentModels", "instrument models"},
        {"assemblyQualifiedClassName", "class name"}};
    for (const auto& [key, label] : texts)
      if (!Text(m[key]).empty()) fields.Add({label, Text(m[key])});
    for (const Json& api : m["publishedApis"]) fields.Add({"published API", ApiLabel(api)});
    fields.Print(out, "    ");
    if (!m["physicalNames"].empty()) {
      out << "    physical names\n";
      Table names;
      AddPhysicalNames(names, m["physicalNames"], "");
      names.Print(out, "      ");
    }
    PrintComponents(m["dataComponents"], out, "    ", "data components");
  }

  Heading(out, "hardware assets", j["hardwareAssets"]);
  for (const Json& a : j["hardwareAssets"]) {
    Table row;
    row.Add({Text(a["name"]), Text(a["ioResourceDescriptor"])});
    row.Print(out, "  ");
    if (!Text(a["description"]).empty()) out << "    " << Text(a["description"]) << "\n";
    PrintComponents(a["dataComponents"], out, "    ", "data components");
  }

  Heading(out, "driver sessions", j["driverSessions"]);
  for (const Json& s : j["driverSessions"]) PrintSession(s, out);
  Heading(out, "sessions", j["sessions"]);
  for (const Json& s : j["sessions"]) PrintSession(s, out);

  Heading(out, "logical names", j["logicalNames"]);
  Table names;
  for (const Json& n : j["logicalNames"]) {
    std::string target =
        n["session"].is_null()
            ? "(leads nowhere)"
            : "-> " + Text(n["session"]) +
                  (n["driverSession"].get<bool>() ? " (driver session)" : " (session)");
    names.Add({Text(n["name"]), target});
  }
  names.Print(out, "  ");
}

// --- commands --------------------------------------------------------------------------------

int Show(const std::string& file, bool json) {
  try {
    OpenStore open = Open(file);
    Json j = StoreJson(open.store, open.path);
    if (json)
      std::cout << j.dump(2) << "\n";
    else
      PrintStoreTree(j, std::cout);
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("show", e.what());
  }
}

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

}  // namespace

int Resolve(const std::string& file, const std::string& name, bool json) {
  try {
    OpenStore open = Open(file);
    std::optional<zav::LogicalName> logical = open.store.logicalNames().find(name);
    std::optional<zav::DriverSession> driver;
    try {
      driver = open.store.getDriverSession(name);
    } catch (const zav::Error& e) {
      if (e.code() != ZAVCONFIG_ERROR_SESSION_NOT_FOUND) throw;
    }
    zav::Session session = driver ? zav::Session(0) : open.store.getSession(name);
    const zav::Session& target = driver ? *driver : session;

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
    return Fail("resolve " + name, e.what());
  }
}

int Validate(const std::vector<std::string>& files) {
  int status = kOk;
  for (const std::string& file : files) {
    try {
      zav::Store store;
      store.deserialize(file);
    } catch (const zav::Error& e) {
      // "file:line: message", the line taken from the parser's "(line N)".
      std::string message = e.what(), where = file;
      size_t at = message.rfind("(line ");
      if (at != std::string::npos)
        where += ":" + std::to_string(std::atoi(message.c_str() + at + 6));
      std::cerr << where << ": error: " << message << "\n";
      status = kFault;
      continue;
    }
    std::vector<Finding> findings = LintStoreDocument(file);
    for (const Finding& f : findings)
      std::cout << file << ":" << f.line << ": warning: " << f.message << "\n";
    if (findings.empty()) {
      std::cout << file << ": valid\n";
    } else {
      std::cout << file << ": valid, " << findings.size() << " warning(s)\n";
      status = kFault;
    }
  }
  return status;
}

}  // namespace zavtool
