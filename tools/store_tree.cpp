// SPDX-License-Identifier: MIT
#include "store_tree.hpp"

#include <cstdio>
#include <unordered_set>

#include "table.hpp"

namespace zavtool {

const std::vector<std::pair<int, const char*>> kFlags = {
    {session::Cache, "cache"},
    {session::InterchangeCheck, "interchange check"},
    {session::QueryInstrStatus, "query instrument status"},
    {session::RangeCheck, "range check"},
    {session::RecordCoercions, "record coercions"},
    {session::Simulate, "simulate"}};

namespace {

std::string Real(const Value& v) {
  const double* d = std::get_if<double>(&v);
  char text[64];
  std::snprintf(text, sizeof text, "%g", d ? *d : 0.0);
  return text;
}

std::string Span(const Node& r) {
  return std::to_string(IntOf(r.props[range::Min])) + ".." +
         std::to_string(IntOf(r.props[range::Max]));
}

}  // namespace

std::string ApiLabel(const ApiParts& api) {
  return api.name + " " + api.type + " " + std::to_string(api.major) + "." +
         std::to_string(api.minor);
}

std::string ComponentValue(const Node& c, const ApiTable& apis) {
  using namespace component;
  const std::string& type = TextOf(c.props[Type]);
  std::string value;
  if (type == "Boolean") value = BoolOf(c.props[Val]) ? "true" : "false";
  if (type == "Integer") value = std::to_string(IntOf(c.props[Val]));
  if (type == "Real") value = Real(c.props[Val]);
  if (type == "String") value = TextOf(c.props[Val]);
  if ((type == "Integer" || type == "Real") && !TextOf(c.props[Units]).empty())
    value += " " + TextOf(c.props[Units]);
  if (type == "APIReference") {
    value = TextOf(c.props[Val]);
    const std::string* key = std::get_if<std::string>(&c.props[Api]);
    std::string api = key ? ApiLabel(apis[*key]) : "no API";
    value = value.empty() ? "-> " + api : value + "  -> " + api;
  }
  return value;
}

namespace {

void AddComponents(Table& table, const std::vector<Node>& list, const std::string& indent,
                   const ApiTable& apis) {
  for (const Node& c : list) {
    table.Add({indent + c.key, TextOf(c.props[component::Type]), ComponentValue(c, apis),
               TextOf(c.props[component::UsedInSession])});
    AddComponents(table, c.lists[component::Members], indent + "  ", apis);
  }
}

void PrintComponents(const std::vector<Node>& list, std::ostream& out, const std::string& indent,
                     const char* title, const ApiTable& apis) {
  if (list.empty()) return;
  out << indent << title << "\n";
  Table table;
  AddComponents(table, list, "", apis);
  table.Print(out, indent + "  ");
}

void AddPhysicalNames(Table& table, const std::vector<Node>& list, const std::string& indent) {
  for (const Node& n : list) {
    std::string ranges;
    for (const Node& r : n.lists[physical::Ranges])
      ranges += (ranges.empty() ? "" : ", ") + r.key + " " + Span(r);
    table.Add({indent + n.key, "repeated capability " + TextOf(n.props[physical::RcName]), ranges});
    AddPhysicalNames(table, n.lists[physical::Children], indent + "  ");
  }
}

void PrintSession(const Node& s, bool driver, std::ostream& out, const ApiTable& apis) {
  using namespace session;
  out << "  " << s.key << "\n";
  Table fields;
  const std::string& description = TextOf(s.props[Description]);
  if (!description.empty()) fields.Add({"description", description});
  const std::string& module = TextOf(s.props[Module]);
  fields.Add({"software module", module.empty() ? "none" : module});
  fields.Add({"hardware asset", std::holds_alternative<std::string>(s.props[Asset])
                                    ? TextOf(s.props[Asset])
                                    : "none"});
  if (driver) {
    fields.Add({"driver setup", TextOf(s.props[DriverSetup])});
    std::string on;
    for (const auto& [flag, label] : kFlags)
      if (BoolOf(s.props[flag])) on += (on.empty() ? "" : ", ") + std::string(label);
    fields.Add({"flags on", on.empty() ? "none" : on});
  }
  for (const Node& v : s.lists[VirtualNames]) {
    std::string ranges;
    for (const Node& r : v.lists[virt::Ranges])
      ranges += " " + r.key + " " + Span(r) + " from " +
                std::to_string(IntOf(r.props[range::StartingPhysicalIndex]));
    fields.Add({"virtual name", v.key + " -> " + TextOf(v.props[virt::MapTo]) + ranges});
  }
  fields.Print(out, "    ");
  PrintComponents(s.lists[DataComponents], out, "    ", "settings", apis);
}

void Heading(std::ostream& out, const char* title, const std::vector<Node>& list) {
  out << "\n" << title << "\n";
  if (list.empty()) out << "  (none)\n";
}

}  // namespace

void PrintStoreTree(const Node& root, const std::string& file, std::ostream& out) {
  const ApiTable apis(root);
  Table head;
  head.Add({"store", file});
  head.Add({"description", TextOf(root.props[store::Description])});
  head.Print(out, "");

  Heading(out, "published APIs", root.lists[store::Apis]);
  Table apiRows;
  for (const Node& n : root.lists[store::Apis]) {
    ApiParts api = apis[n.key];
    apiRows.Add({api.name, api.type, std::to_string(api.major) + "." + std::to_string(api.minor)});
  }
  apiRows.Print(out, "  ");

  Heading(out, "software modules", root.lists[store::Modules]);
  for (const Node& m : root.lists[store::Modules]) {
    using namespace module;
    out << "  " << m.key << "\n";
    Table fields;
    const std::vector<std::pair<int, const char*>> texts = {
        {Description, "description"},    {ModulePath, "module path"},
        {ModulePath64, "module path 64"}, {Prefix, "prefix"},
        {ProgId, "prog id"},             {Models, "instrument models"},
        {ClassName, "class name"}};
    for (const auto& [prop, label] : texts)
      if (!TextOf(m.props[prop]).empty()) fields.Add({label, TextOf(m.props[prop])});
    for (const Node& api : m.lists[Apis]) fields.Add({"published API", ApiLabel(apis[api.key])});
    fields.Print(out, "    ");
    if (!m.lists[PhysicalNames].empty()) {
      out << "    physical names\n";
      Table names;
      AddPhysicalNames(names, m.lists[PhysicalNames], "");
      names.Print(out, "      ");
    }
    PrintComponents(m.lists[DataComponents], out, "    ", "data components", apis);
  }

  Heading(out, "hardware assets", root.lists[store::Assets]);
  for (const Node& a : root.lists[store::Assets]) {
    Table row;
    row.Add({a.key, TextOf(a.props[asset::IoResource])});
    row.Print(out, "  ");
    const std::string& description = TextOf(a.props[asset::Description]);
    if (!description.empty()) out << "    " << description << "\n";
    PrintComponents(a.lists[asset::DataComponents], out, "    ", "data components", apis);
  }

  Heading(out, "driver sessions", root.lists[store::DriverSessions]);
  std::unordered_set<std::string> drivers;
  for (const Node& s : root.lists[store::DriverSessions]) {
    PrintSession(s, true, out, apis);
    drivers.insert(s.key);
  }
  Heading(out, "sessions", root.lists[store::Sessions]);
  for (const Node& s : root.lists[store::Sessions]) PrintSession(s, false, out, apis);

  Heading(out, "logical names", root.lists[store::LogicalNames]);
  Table names;
  for (const Node& n : root.lists[store::LogicalNames]) {
    const Value& session = n.props[logical::Session];
    std::string target =
        !std::holds_alternative<std::string>(session)
            ? "(leads nowhere)"
            : "-> " + TextOf(session) +
                  (drivers.count(TextOf(session)) ? " (driver session)" : " (session)");
    names.Add({n.key, target});
  }
  names.Print(out, "  ");
}

}  // namespace zavtool
