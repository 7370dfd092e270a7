// SPDX-License-Identifier: MIT
#include "store_tree.hpp"

#include <cstdio>

#include "table.hpp"

namespace zavtool {

const std::vector<std::pair<const char*, const char*>> kFlags = {
    {"cache", "cache"},
    {"interchangeCheck", "interchange check"},
    {"queryInstrStatus", "query instrument status"},
    {"rangeCheck", "range check"},
    {"recordCoercions", "record coercions"},
    {"simulate", "simulate"}};

std::string ApiLabel(const Json& api) {
  return Text(api["name"]) + " " + Text(api["type"]) + " " +
         std::to_string(api["majorVersion"].get<int>()) + "." +
         std::to_string(api["minorVersion"].get<int>());
}

namespace {

std::string Real(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

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

namespace {

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

}  // namespace zavtool
