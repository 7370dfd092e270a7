// SPDX-License-Identifier: MIT
// Snapshots to and from the JSON of `show --json`: keys in the order that command prints them,
// and on the way in, everything a script may leave out given its default.
#include "snapshot_json.hpp"

#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

namespace zavtool {

// --- out -------------------------------------------------------------------------------------

namespace {

Json Out(const Value& v) {
  if (const bool* b = std::get_if<bool>(&v)) return *b;
  if (const int64_t* i = std::get_if<int64_t>(&v)) return *i;
  // JSON has no NaN or infinity; they go as the texts the store file holds for them.
  if (const double* d = std::get_if<double>(&v))
    return std::isfinite(*d) ? Json(*d) : Json(ValueText(v));
  if (const std::string* s = std::get_if<std::string>(&v)) return *s;
  return nullptr;
}

Json PhysicalRangeJson(const Node& r) {
  return {{"name", r.key}, {"min", Out(r.props[range::Min])}, {"max", Out(r.props[range::Max])}};
}

Json PhysicalJson(const Node& n) {
  Json ranges = Json::array(), children = Json::array();
  for (const Node& r : n.lists[physical::Ranges]) ranges.push_back(PhysicalRangeJson(r));
  for (const Node& c : n.lists[physical::Children]) children.push_back(PhysicalJson(c));
  return {{"name", n.key},
          {"rcName", Out(n.props[physical::RcName])},
          {"ranges", std::move(ranges)},
          {"children", std::move(children)}};
}

Json VirtualRangeJson(const Node& r) {
  return {{"name", r.key},
          {"min", Out(r.props[range::Min])},
          {"max", Out(r.props[range::Max])},
          {"startingPhysicalIndex", Out(r.props[range::StartingPhysicalIndex])}};
}

Json VirtualJson(const Node& v) {
  Json ranges = Json::array();
  for (const Node& r : v.lists[virt::Ranges]) ranges.push_back(VirtualRangeJson(r));
  return {{"name", v.key}, {"mapTo", Out(v.props[virt::MapTo])}, {"ranges", std::move(ranges)}};
}

}  // namespace

JsonWriter::JsonWriter(const Node& root) : apis_(root) {
  for (const Node& d : root.lists[store::DriverSessions]) drivers_.insert(d.key);
}

Json JsonWriter::ApiJson(const std::string& key) const {
  ApiParts api = apis_[key];
  return {{"name", api.name},
          {"type", api.type},
          {"majorVersion", api.major},
          {"minorVersion", api.minor}};
}

Json JsonWriter::ComponentsJson(const std::vector<Node>& list) const {
  Json out = Json::array();
  for (const Node& c : list) out.push_back(ComponentJson(c));
  return out;
}

Json JsonWriter::ComponentJson(const Node& n) const {
  using namespace component;
  const std::string& type = std::get<std::string>(n.props[Type]);
  Json j = {{"name", n.key},
            {"type", type},
            {"description", Out(n.props[Description])},
            {"usedInSession", Out(n.props[UsedInSession])},
            {"readOnly", Out(n.props[ReadOnly])},
            {"helpContextId", Out(n.props[HelpContextId])},
            {"helpFilePath", Out(n.props[HelpFilePath])},
            {"softwareModuleKey", Out(n.props[SoftwareModuleKey])}};
  if (type != "Structure") j["value"] = Out(n.props[Val]);
  if (type == "Integer" || type == "Real") j["units"] = Out(n.props[Units]);
  if (type == "Structure") j["members"] = ComponentsJson(n.lists[Members]);
  if (type == "APIReference") {
    const std::string* key = std::get_if<std::string>(&n.props[component::Api]);
    j["publishedApi"] = key ? ApiJson(*key) : Json();
  }
  return j;
}

Json JsonWriter::ModuleJson(const Node& n) const {
  using namespace module;
  Json apis = Json::array(), physical = Json::array();
  for (const Node& entry : n.lists[Apis]) apis.push_back(ApiJson(entry.key));
  for (const Node& p : n.lists[PhysicalNames]) physical.push_back(PhysicalJson(p));
  return {{"name", n.key},
          {"description", Out(n.props[Description])},
          {"modulePath", Out(n.props[ModulePath])},
          {"modulePath64", Out(n.props[ModulePath64])},
          {"prefix", Out(n.props[Prefix])},
          {"progId", Out(n.props[ProgId])},
          {"supportedInstrumentModels", Out(n.props[Models])},
          {"assemblyQualifiedClassName", Out(n.props[ClassName])},
          {"publishedApis", std::move(apis)},
          {"physicalNames", std::move(physical)},
          {"dataComponents", ComponentsJson(n.lists[DataComponents])}};
}

Json JsonWriter::AssetJson(const Node& n) const {
  return {{"name", n.key},
          {"description", Out(n.props[asset::Description])},
          {"ioResourceDescriptor", Out(n.props[asset::IoResource])},
          {"dataComponents", ComponentsJson(n.lists[asset::DataComponents])}};
}

Json JsonWriter::SessionJson(const Node& n, bool driver) const {
  using namespace session;
  // softwareModuleName is the linked module's: a session read from a store file keeps no name of
  // its own for a module the store lacks.
  const Value& module = n.props[Module];
  Json j = {{"name", n.key},
            {"description", Out(n.props[Description])},
            {"softwareModule", Out(module)},
            {"softwareModuleName",
             std::holds_alternative<std::string>(module) ? Out(module) : Json("")},
            {"hardwareAsset", Out(n.props[Asset])}};
  if (driver) {
    j["driverSetup"] = Out(n.props[DriverSetup]);
    j["flags"] = {{"cache", Out(n.props[Cache])},
                  {"interchangeCheck", Out(n.props[InterchangeCheck])},
                  {"queryInstrStatus", Out(n.props[QueryInstrStatus])},
                  {"rangeCheck", Out(n.props[RangeCheck])},
                  {"recordCoercions", Out(n.props[RecordCoercions])},
                  {"simulate", Out(n.props[Simulate])}};
  }
  Json virtualNames = Json::array();
  for (const Node& v : n.lists[VirtualNames]) virtualNames.push_back(VirtualJson(v));
  j["virtualNames"] = std::move(virtualNames);
  j["dataComponents"] = ComponentsJson(n.lists[DataComponents]);
  return j;
}

Json JsonWriter::LogicalJson(const Node& n) const {
  const Value& target = n.props[logical::Session];
  const std::string* name = std::get_if<std::string>(&target);
  return {{"name", n.key},
          {"description", Out(n.props[logical::Description])},
          {"session", Out(target)},
          {"driverSession", name != nullptr && drivers_.count(*name) > 0}};
}

Json JsonWriter::Item(Kind kind, const Node& n) const {
  switch (kind) {
    case Kind::PublishedApi:
    case Kind::ApiListEntry: return ApiJson(n.key);
    case Kind::SoftwareModule: return ModuleJson(n);
    case Kind::HardwareAsset: return AssetJson(n);
    case Kind::DriverSession: return SessionJson(n, true);
    case Kind::Session: return SessionJson(n, false);
    case Kind::LogicalName: return LogicalJson(n);
    case Kind::DataComponent: return ComponentJson(n);
    case Kind::PhysicalName: return PhysicalJson(n);
    case Kind::PhysicalRange: return PhysicalRangeJson(n);
    case Kind::VirtualName: return VirtualJson(n);
    case Kind::VirtualRange: return VirtualRangeJson(n);
    case Kind::Store: break;
  }
  throw std::logic_error("a whole store is written by SnapshotJson");
}

Json SnapshotJson(const Node& root, const std::string& file) {
  JsonWriter writer(root);
  Json lists[6];
  for (size_t list = 0; list < 6; ++list) {
    lists[list] = Json::array();
    for (const Node& n : root.lists[list])
      lists[list].push_back(writer.Item(Layout(Kind::Store).lists[list].child, n));
  }
  return {{"file", file},
          {"description", Out(root.props[store::Description])},
          {"publishedApis", std::move(lists[store::Apis])},
          {"softwareModules", std::move(lists[store::Modules])},
          {"hardwareAssets", std::move(lists[store::Assets])},
          {"driverSessions", std::move(lists[store::DriverSessions])},
          {"sessions", std::move(lists[store::Sessions])},
          {"logicalNames", std::move(lists[store::LogicalNames])}};
}

// --- in --------------------------------------------------------------------------------------

namespace {

// One JSON object of the input: hands out its entries with their kinds checked, and at the end
// (Done) refuses the keys nobody asked for: a misspelt key would otherwise be dropped in silence.
class Object {
 public:
  Object(const Json& j, std::string where) : j_(j), where_(std::move(where)) {
    if (!j.is_object()) Fail("is not a JSON object");
  }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // Once the name is known, messages name the item.
  void At(std::string where) { where_ = std::move(where); }
  void Done() const {
    for (auto it = j_.begin(); it != j_.end(); ++it)
      if (!used_.count(it.key())) Fail("has no key \"" + it.key() + "\"");
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw SnapshotError(where_ + " " + what);
  }

  const Json* Get(const char* key) {
    used_.insert(key);
    auto it = j_.find(key);
    return it == j_.end() ? nullptr : &*it;
  }
  bool Has(const char* key) const { return j_.contains(key); }

  std::string Name() {
    const Json* j = Get("name");
    if (!j) Fail("needs a \"name\"");
    if (!j->is_string()) Fail("has a \"name\" that is not a text");
    return j->get<std::string>();
  }
  Value Text(const char* key) {
    const Json* j = Get(key);
    if (!j) return std::string();
    if (!j->is_string()) Fail("has a \"" + std::string(key) + "\" that is not a text");
    return j->get<std::string>();
  }
  Value Bool(const char* key) {
    const Json* j = Get(key);
    if (!j) return false;
    if (!j->is_boolean()) Fail("has a \"" + std::string(key) + "\" that is not true or false");
    return j->get<bool>();
  }
  Value Int32(const char* key) {
    const Json* j = Get(key);
    return j ? Int32(*j, key) : Value(int64_t{0});
  }
  Value Int32(const Json& j, const char* key) const {
    if (!j.is_number_integer() || j.get<int64_t>() < INT32_MIN ||
        (j.is_number_unsigned() ? j.get<uint64_t>() > INT32_MAX : j.get<int64_t>() > INT32_MAX))
      Fail("has a \"" + std::string(key) + "\" that is not a 32-bit integer");
    return j.get<int64_t>();
  }
  // A name, or null for no reference.
  Value Reference(const char* key) {
    const Json* j = Get(key);
    if (!j || j->is_null()) return Value();
    if (!j->is_string()) Fail("has a \"" + std::string(key) + "\" that is neither a name nor null");
    return j->get<std::string>();
  }
  const Json& Array(const char* key) {
    static const Json empty = Json::array();
    const Json* j = Get(key);
    if (!j) return empty;
    if (!j->is_array()) Fail("has a \"" + std::string(key) + "\" that is not a list");
    return *j;
  }

 private:
  const Json& j_;
  std::string where_;
  std::set<std::string> used_;
};

std::string ApiKeyFrom(const Json& j, const std::string& where) {
  Object o(j, where);
  std::string name = o.Name();
  std::string type = std::get<std::string>(o.Text("type"));
  std::string key = PublishedApiKey(name, type, std::get<int64_t>(o.Int32("majorVersion")),
                                    std::get<int64_t>(o.Int32("minorVersion")));
  o.Done();
  return key;
}

// The type a component without one has, from what it holds.
std::string TypeOf(Object& o, const Json* value, const Json* api) {
  if (o.Has("type")) return std::get<std::string>(o.Text("type"));
  if (o.Has("members")) return "Structure";
  if (api) return "APIReference";
  if (value && value->is_boolean()) return "Boolean";
  if (value && value->is_number_integer()) return "Integer";
  if (value && value->is_number()) return "Real";
  if (value && value->is_string()) return "String";
  o.Fail("needs a \"type\"");
}

// Structures and physical names nest; a store document holds at most 256 levels, which these
// reach at about half as many, so deeper input is refused before it could exhaust the stack.
constexpr int kMostNesting = 120;

void CheckNesting(const Object& o, int depth) {
  if (depth > kMostNesting)
    o.Fail("is nested more than " + std::to_string(kMostNesting) +
           " levels deep: a store document cannot hold it");
}

Node ComponentFrom(const Json& j, const std::string& parent, int depth = 0) {
  using namespace component;
  Object o(j, parent + "data component");
  Node n{o.Name(), std::vector<zavtool::Value>(10), std::vector<std::vector<Node>>(1)};
  std::string where = parent + ItemLabel(Kind::DataComponent, n.key);
  o.At(where);
  const Json* value = o.Get("value");
  const Json* api = o.Get("publishedApi");
  std::string type = TypeOf(o, value, api);
  static const std::set<std::string> kTypes = {"Boolean", "Integer",   "Real",
                                               "String",  "Structure", "APIReference"};
  if (!kTypes.count(type)) o.Fail("has the unknown type \"" + type + "\"");
  n.props[Type] = type;
  n.props[Description] = o.Text("description");
  // Defaults are a new component's: a Value made from a literal would be a boolean.
  n.props[UsedInSession] = o.Has("usedInSession")   ? o.Text("usedInSession")
                           : type == "APIReference" ? zavtool::Value(std::string("Optional"))
                                                    : zavtool::Value(std::string("None"));
  n.props[ReadOnly] = o.Bool("readOnly");
  n.props[HelpContextId] = o.Int32("helpContextId");
  n.props[HelpFilePath] = o.Text("helpFilePath");
  n.props[SoftwareModuleKey] = o.Text("softwareModuleKey");
  if (type == "Structure") {
    if (value) o.Fail("is a structure: its values are its members'");
  } else if (type == "Boolean") {
    if (value && !value->is_boolean()) o.Fail("is a Boolean: its value must be true or false");
    n.props[Val] = value && value->get<bool>();
  } else if (type == "Integer") {
    n.props[Val] = value ? o.Int32(*value, "value") : zavtool::Value(int64_t{0});
  } else if (type == "Real") {
    std::string text = value && value->is_string() ? value->get<std::string>() : "";
    const double inf = std::numeric_limits<double>::infinity();
    if (!value)
      n.props[Val] = 0.0;
    else if (value->is_number())
      n.props[Val] = value->get<double>();
    else if (text == "nan" || text == "inf" || text == "-inf")
      n.props[Val] =
          text == "nan" ? std::numeric_limits<double>::quiet_NaN() : (text == "inf" ? inf : -inf);
    else
      o.Fail("is a Real: its value must be a number");
  } else {
    if (value && !value->is_string()) o.Fail("is a " + type + ": its value must be a text");
    n.props[Val] = value ? value->get<std::string>() : std::string();
  }
  if (type == "Integer" || type == "Real")
    n.props[Units] = o.Text("units");
  else if (o.Has("units"))
    o.Fail("is a " + type + ": only integers and reals have units");
  const Json& members = o.Array("members");
  if (type != "Structure" && !members.empty())
    o.Fail("is a " + type + ": only structures have members");
  if (!members.empty()) CheckNesting(o, depth + 1);
  for (const Json& m : members)
    n.lists[Members].push_back(ComponentFrom(m, where + " / ", depth + 1));
  if (api && type != "APIReference")
    o.Fail("is a " + type + ": only API references have a published API");
  if (api && !api->is_null()) n.props[Api] = ApiKeyFrom(*api, where + " published API");
  o.Done();
  return n;
}

std::vector<Node> ComponentsFrom(Object& o, const std::string& where) {
  std::vector<Node> list;
  for (const Json& c : o.Array("dataComponents")) list.push_back(ComponentFrom(c, where + " / "));
  return list;
}

Node PhysicalFrom(const Json& j, const std::string& parent, int depth = 0) {
  Object o(j, parent + "physical name");
  Node n{o.Name(), {}, std::vector<std::vector<Node>>(2)};
  std::string where = parent + ItemLabel(Kind::PhysicalName, n.key);
  o.At(where);
  n.props.push_back(o.Text("rcName"));
  for (const Json& r : o.Array("ranges")) {
    Object range(r, where + " / physical range");
    Node rn{range.Name(), {}, {}};
    range.At(where + " / " + ItemLabel(Kind::PhysicalRange, rn.key));
    rn.props = {range.Int32("min"), range.Int32("max")};
    range.Done();
    n.lists[physical::Ranges].push_back(std::move(rn));
  }
  const Json& children = o.Array("children");
  if (!children.empty()) CheckNesting(o, depth + 1);
  for (const Json& c : children)
    n.lists[physical::Children].push_back(PhysicalFrom(c, where + " / ", depth + 1));
  o.Done();
  return n;
}

Node VirtualFrom(const Json& j, const std::string& parent) {
  Object o(j, parent + "virtual name");
  Node n{o.Name(), {}, std::vector<std::vector<Node>>(1)};
  std::string where = parent + ItemLabel(Kind::VirtualName, n.key);
  o.At(where);
  n.props.push_back(o.Text("mapTo"));
  for (const Json& r : o.Array("ranges")) {
    Object range(r, where + " / virtual range");
    Node rn{range.Name(), {}, {}};
    range.At(where + " / " + ItemLabel(Kind::VirtualRange, rn.key));
    rn.props = {range.Int32("min"), range.Int32("max"), range.Int32("startingPhysicalIndex")};
    range.Done();
    n.lists[virt::Ranges].push_back(std::move(rn));
  }
  o.Done();
  return n;
}

Node SessionFrom(const Json& j, bool driver, std::set<std::string>* takeModuleSettings) {
  using namespace session;
  Object o(j, driver ? "driver session" : "session");
  Node n{o.Name(), {}, std::vector<std::vector<Node>>(2)};
  std::string where = ItemLabel(driver ? Kind::DriverSession : Kind::Session, n.key);
  o.At(where);
  n.props.push_back(o.Text("description"));
  // softwareModuleName follows the module the session is linked to; a script may give it
  // alone to name that module.
  Value name = o.Text("softwareModuleName");
  bool byName = !o.Has("softwareModule") && !std::get<std::string>(name).empty();
  n.props.push_back(byName ? name : o.Reference("softwareModule"));
  n.props.push_back(o.Reference("hardwareAsset"));
  if (driver) {
    n.props.push_back(o.Text("driverSetup"));
    const Json* flags = o.Get("flags");
    const Json none = Json::object();
    Object f(flags ? *flags : none, where + " flags");
    for (const char* flag : {"cache", "interchangeCheck", "queryInstrStatus", "rangeCheck",
                             "recordCoercions", "simulate"})
      n.props.push_back(f.Bool(flag));
    f.Done();
  } else if (o.Has("driverSetup") || o.Has("flags")) {
    o.Fail("is a session: only driver sessions have a driver setup and flags");
  }
  for (const Json& v : o.Array("virtualNames"))
    n.lists[VirtualNames].push_back(VirtualFrom(v, where + " / "));
  bool listed = o.Has("dataComponents");
  n.lists[DataComponents] = ComponentsFrom(o, where);
  if (!listed && takeModuleSettings && std::holds_alternative<std::string>(n.props[Module]))
    takeModuleSettings->insert(n.key);
  o.Done();
  return n;
}

}  // namespace

Node SnapshotFromJson(const Json& json, std::set<std::string>* takeModuleSettings) {
  Object o(json, "the store");
  o.Get("file");  // where it was shown from; a new store gets its own place
  Node root{"", {o.Text("description")}, std::vector<std::vector<Node>>(6)};
  for (const Json& j : o.Array("publishedApis")) {
    Object a(j, "published API");
    Node n{"", {a.Name(), a.Text("type"), a.Int32("majorVersion"), a.Int32("minorVersion")}, {}};
    a.Done();
    n.key = PublishedApiKey(
        std::get<std::string>(n.props[api::Name]), std::get<std::string>(n.props[api::Type]),
        std::get<int64_t>(n.props[api::Major]), std::get<int64_t>(n.props[api::Minor]));
    root.lists[store::Apis].push_back(std::move(n));
  }
  for (const Json& j : o.Array("softwareModules")) {
    using namespace module;
    Object m(j, "software module");
    Node n{m.Name(), {}, std::vector<std::vector<Node>>(3)};
    std::string where = ItemLabel(Kind::SoftwareModule, n.key);
    m.At(where);
    for (const char* key : {"description", "modulePath", "modulePath64", "prefix", "progId",
                            "supportedInstrumentModels", "assemblyQualifiedClassName"})
      n.props.push_back(m.Text(key));
    for (const Json& api : m.Array("publishedApis"))
      n.lists[Apis].push_back({ApiKeyFrom(api, where + " published API"), {}, {}});
    for (const Json& p : m.Array("physicalNames"))
      n.lists[PhysicalNames].push_back(PhysicalFrom(p, where + " / "));
    n.lists[DataComponents] = ComponentsFrom(m, where);
    m.Done();
    root.lists[store::Modules].push_back(std::move(n));
  }
  for (const Json& j : o.Array("hardwareAssets")) {
    Object a(j, "hardware asset");
    Node n{a.Name(), {}, {}};
    a.At(ItemLabel(Kind::HardwareAsset, n.key));
    n.props = {a.Text("description"), a.Text("ioResourceDescriptor")};
    n.lists.push_back(ComponentsFrom(a, ItemLabel(Kind::HardwareAsset, n.key)));
    a.Done();
    root.lists[store::Assets].push_back(std::move(n));
  }
  for (const Json& j : o.Array("driverSessions"))
    root.lists[store::DriverSessions].push_back(SessionFrom(j, true, takeModuleSettings));
  for (const Json& j : o.Array("sessions"))
    root.lists[store::Sessions].push_back(SessionFrom(j, false, takeModuleSettings));
  for (const Json& j : o.Array("logicalNames")) {
    Object l(j, "logical name");
    Node n{l.Name(), {}, {}};
    l.At(ItemLabel(Kind::LogicalName, n.key));
    n.props = {l.Text("description"), l.Reference("session")};
    // Whether the session is a driver session follows from the session itself.
    if (const Json* driver = l.Get("driverSession"); driver && !driver->is_boolean())
      l.Fail("has a \"driverSession\" that is not true or false");
    l.Done();
    root.lists[store::LogicalNames].push_back(std::move(n));
  }
  o.Done();
  return root;
}

}  // namespace zavtool
