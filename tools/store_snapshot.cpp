// SPDX-License-Identifier: MIT
#include "store_snapshot.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace zavtool {

using Json = nlohmann::ordered_json;

// --- kinds -----------------------------------------------------------------------------------

const KindLayout& Layout(Kind kind) {
  using T = Target;
  static const KindLayout layouts[] = {
      {"store",
       {{"description", T::None}},
       {{"publishedApis", Kind::PublishedApi, false},
        {"softwareModules", Kind::SoftwareModule, false},
        {"hardwareAssets", Kind::HardwareAsset, false},
        {"driverSessions", Kind::DriverSession, false},
        {"sessions", Kind::Session, false},
        {"logicalNames", Kind::LogicalName, false}}},
      {"published-api",
       {{"name", T::None}, {"type", T::None}, {"majorVersion", T::None}, {"minorVersion", T::None}},
       {}},
      {"software-module",
       {{"description", T::None},
        {"modulePath", T::None},
        {"modulePath64", T::None},
        {"prefix", T::None},
        {"progId", T::None},
        {"supportedInstrumentModels", T::None},
        {"assemblyQualifiedClassName", T::None}},
       {{"publishedApis", Kind::ApiListEntry, true},
        {"physicalNames", Kind::PhysicalName, true},
        {"dataComponents", Kind::DataComponent, true}}},
      {"hardware-asset",
       {{"description", T::None}, {"ioResourceDescriptor", T::None}},
       {{"dataComponents", Kind::DataComponent, true}}},
      {"driver-session",
       {{"description", T::None},
        {"softwareModule", T::SoftwareModule},
        {"hardwareAsset", T::HardwareAsset},
        {"driverSetup", T::None},
        {"cache", T::None},
        {"interchangeCheck", T::None},
        {"queryInstrStatus", T::None},
        {"rangeCheck", T::None},
        {"recordCoercions", T::None},
        {"simulate", T::None}},
       {{"virtualNames", Kind::VirtualName, true}, {"dataComponents", Kind::DataComponent, true}}},
      {"session",
       {{"description", T::None},
        {"softwareModule", T::SoftwareModule},
        {"hardwareAsset", T::HardwareAsset}},
       {{"virtualNames", Kind::VirtualName, true}, {"dataComponents", Kind::DataComponent, true}}},
      {"logical-name", {{"description", T::None}, {"session", T::AnySession}}, {}},
      {"data-component",
       {{"type", T::None},
        {"description", T::None},
        {"usedInSession", T::None},
        {"readOnly", T::None},
        {"helpContextId", T::None},
        {"helpFilePath", T::None},
        {"softwareModuleKey", T::None},
        {"value", T::None},
        {"units", T::None},
        {"publishedApi", T::PublishedApi}},
       {{"members", Kind::DataComponent, true}}},
      {"physical-name",
       {{"rcName", T::None}},
       {{"ranges", Kind::PhysicalRange, true}, {"children", Kind::PhysicalName, true}}},
      {"physical-range", {{"min", T::None}, {"max", T::None}}, {}},
      {"virtual-name", {{"mapTo", T::None}}, {{"ranges", Kind::VirtualRange, true}}},
      {"virtual-range",
       {{"min", T::None}, {"max", T::None}, {"startingPhysicalIndex", T::None}},
       {}},
      {"published-api", {}, {}},
  };
  return layouts[static_cast<size_t>(kind)];
}

// --- values ----------------------------------------------------------------------------------

const std::string& TextOf(const Value& v) {
  static const std::string empty;
  const std::string* text = std::get_if<std::string>(&v);
  return text ? *text : empty;
}
int64_t IntOf(const Value& v) {
  const int64_t* i = std::get_if<int64_t>(&v);
  return i ? *i : 0;
}
bool BoolOf(const Value& v) {
  const bool* b = std::get_if<bool>(&v);
  return b && *b;
}

bool SameValue(const Value& a, const Value& b) {
  if (a.index() != b.index()) return false;
  if (const double* x = std::get_if<double>(&a)) {
    double y = std::get<double>(b);
    return std::memcmp(x, &y, sizeof y) == 0;
  }
  return a == b;
}

bool SameNode(const Node& a, const Node& b) { return a.key == b.key && SameContent(a, b); }

bool SameContent(const Node& a, const Node& b) {
  if (a.props.size() != b.props.size() || a.lists.size() != b.lists.size()) return false;
  for (size_t i = 0; i < a.props.size(); ++i)
    if (!SameValue(a.props[i], b.props[i])) return false;
  for (size_t i = 0; i < a.lists.size(); ++i) {
    if (a.lists[i].size() != b.lists[i].size()) return false;
    for (size_t j = 0; j < a.lists[i].size(); ++j)
      if (!SameNode(a.lists[i][j], b.lists[i][j])) return false;
  }
  return true;
}

namespace {
constexpr char kKeySeparator = '\x1f';
}

std::string PublishedApiKey(const std::string& name, const std::string& type, int64_t major,
                            int64_t minor) {
  return name + kKeySeparator + type + kKeySeparator + std::to_string(major) + kKeySeparator +
         std::to_string(minor);
}

std::string ApiKeyText(const std::string& key) {
  std::string text = "(" + key + ")";
  for (char& c : text)
    if (c == kKeySeparator) c = ',';
  return text;
}

std::string ItemLabel(Kind kind, const std::string& key) {
  bool api = kind == Kind::PublishedApi || kind == Kind::ApiListEntry;
  return std::string(Layout(kind).label) + " " + (api ? ApiKeyText(key) : key);
}

std::string ItemPath(const std::string& owner, Kind kind, const std::string& key) {
  return owner.empty() ? ItemLabel(kind, key) : owner + " / " + ItemLabel(kind, key);
}

std::string ValueText(const Value& value, Target target) {
  if (std::holds_alternative<std::monostate>(value)) return target == Target::None ? "-" : "(none)";
  if (const bool* b = std::get_if<bool>(&value)) return *b ? "true" : "false";
  if (const int64_t* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
  if (const double* d = std::get_if<double>(&value)) {
    if (std::isnan(*d)) return "nan";
    if (std::isinf(*d)) return *d > 0 ? "inf" : "-inf";
    return Json(*d).dump();
  }
  const std::string& text = std::get<std::string>(value);
  if (target == Target::PublishedApi) return ApiKeyText(text);
  bool plain = !text.empty() && text.front() != ' ' && text.back() != ' ' && text.front() != '"';
  for (unsigned char c : text) plain = plain && c >= 0x20 && c != 0x7f;
  return plain ? text : Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

ApiTable::ApiTable(const Node& root) {
  for (const Node& api : root.lists[store::Apis])
    byKey_.emplace(api.key, ApiParts{TextOf(api.props[api::Name]), TextOf(api.props[api::Type]),
                                     IntOf(api.props[api::Major]), IntOf(api.props[api::Minor])});
}

ApiParts ApiTable::operator[](const std::string& key) const {
  auto it = byKey_.find(key);
  if (it != byKey_.end()) return it->second;
  std::vector<std::string> parts(1);
  for (char c : key) {
    if (c == kKeySeparator)
      parts.emplace_back();
    else
      parts.back().push_back(c);
  }
  parts.resize(4);
  return {parts[0], parts[1], std::atoll(parts[2].c_str()), std::atoll(parts[3].c_str())};
}

// --- capture ---------------------------------------------------------------------------------

namespace {

Value Text(std::string text) { return Value(std::move(text)); }

std::vector<Node> CaptureComponents(const zav::DataComponentCollection& components) {
  std::vector<Node> list;
  for (zav::DataComponent c : components) list.push_back(Capture(c));
  return list;
}

Node CaptureSession(const zav::Session& s, const zav::DriverSession* driver) {
  std::optional<zav::SoftwareModule> module = s.softwareModule();
  std::optional<zav::HardwareAsset> asset = s.hardwareAsset();
  Node n{s.name(),
         {Text(s.description()), module ? Text(module->name()) : Value(),
          asset ? Text(asset->name()) : Value()},
         std::vector<std::vector<Node>>(2)};
  if (driver) {
    n.props.insert(n.props.end(),
                   {Text(driver->driverSetup()), driver->cache(), driver->interchangeCheck(),
                    driver->queryInstrStatus(), driver->rangeCheck(), driver->recordCoercions(),
                    driver->simulate()});
  }
  for (zav::VirtualName v : s.virtualNames()) n.lists[session::VirtualNames].push_back(Capture(v));
  n.lists[session::DataComponents] = CaptureComponents(s.dataComponents());
  return n;
}

}  // namespace

Node Capture(const zav::PublishedApi& api) {
  std::string name = api.name(), type = api.type();
  int64_t major = api.majorVersion(), minor = api.minorVersion();
  return {PublishedApiKey(name, type, major, minor),
          {Text(std::move(name)), Text(std::move(type)), major, minor},
          {}};
}

Node Capture(const zav::SoftwareModule& m) {
  Node n{m.name(),
         {Text(m.description()), Text(m.modulePath()), Text(m.modulePath64()), Text(m.prefix()),
          Text(m.progId()), Text(m.supportedInstrumentModels()),
          Text(m.assemblyQualifiedClassName())},
         std::vector<std::vector<Node>>(3)};
  for (zav::PublishedApi api : m.publishedApis())
    n.lists[module::Apis].push_back({Capture(api).key, {}, {}});
  for (zav::PhysicalName p : m.physicalNames())
    n.lists[module::PhysicalNames].push_back(Capture(p));
  n.lists[module::DataComponents] = CaptureComponents(m.dataComponents());
  return n;
}

Node Capture(const zav::HardwareAsset& a) {
  return {a.name(),
          {Text(a.description()), Text(a.ioResourceDescriptor())},
          {CaptureComponents(a.dataComponents())}};
}

Node Capture(const zav::Session& s) { return CaptureSession(s, nullptr); }
Node Capture(const zav::DriverSession& d) { return CaptureSession(d, &d); }

Node Capture(const zav::LogicalName& l) {
  std::optional<zav::Session> s = l.session();
  return {l.name(), {Text(l.description()), s ? Text(s->name()) : Value()}, {}};
}

Node Capture(const zav::DataComponent& c) {
  using namespace component;
  Node n{c.name(), std::vector<Value>(10), std::vector<std::vector<Node>>(1)};
  std::string type = c.type();
  n.props[Description] = c.description();
  n.props[UsedInSession] = c.usedInSession();
  n.props[ReadOnly] = c.readOnly();
  n.props[HelpContextId] = int64_t{c.helpContextId()};
  n.props[HelpFilePath] = c.helpFilePath();
  n.props[SoftwareModuleKey] = c.softwareModuleKey();
  if (type == "Boolean") n.props[Val] = c.booleanValue();
  if (type == "Integer") n.props[Val] = int64_t{c.integerValue()};
  if (type == "Real") n.props[Val] = c.realValue();
  if (type == "String" || type == "APIReference") n.props[Val] = c.stringValue();
  if (type == "Integer" || type == "Real") n.props[Units] = c.units();
  if (type == "Structure") n.lists[Members] = CaptureComponents(c.members());
  if (type == "APIReference")
    if (std::optional<zav::PublishedApi> api = c.publishedApi()) n.props[Api] = Capture(*api).key;
  n.props[Type] = std::move(type);
  return n;
}

Node Capture(const zav::PhysicalName& p) {
  Node n{p.name(), {Text(p.rcName())}, std::vector<std::vector<Node>>(2)};
  for (zav::PhysicalRange r : p.ranges()) n.lists[physical::Ranges].push_back(Capture(r));
  for (zav::PhysicalName child : p.children())
    n.lists[physical::Children].push_back(Capture(child));
  return n;
}

Node Capture(const zav::PhysicalRange& r) {
  return {r.name(), {int64_t{r.min()}, int64_t{r.max()}}, {}};
}

Node Capture(const zav::VirtualName& v) {
  Node n{v.name(), {Text(v.mapTo())}, std::vector<std::vector<Node>>(1)};
  for (zav::VirtualRange r : v.ranges()) n.lists[virt::Ranges].push_back(Capture(r));
  return n;
}

Node Capture(const zav::VirtualRange& r) {
  return {r.name(), {int64_t{r.min()}, int64_t{r.max()}, int64_t{r.startingPhysicalIndex()}}, {}};
}

Node Capture(const zav::Store& store, const KeyOnly& keyOnly) {
  Node root{"", {Text(store.description())}, std::vector<std::vector<Node>>(6)};
  // Whether the item of that name in that list is wanted whole; otherwise its key is listed.
  auto whole = [&](size_t list, const std::string& name) {
    if (!keyOnly || !keyOnly(list, name)) return true;
    root.lists[list].push_back({name, {}, {}});
    return false;
  };
  for (zav::PublishedApi api : store.publishedApis())
    root.lists[store::Apis].push_back(Capture(api));
  for (zav::SoftwareModule m : store.softwareModules())
    if (whole(store::Modules, m.name())) root.lists[store::Modules].push_back(Capture(m));
  for (zav::HardwareAsset a : store.hardwareAssets())
    if (whole(store::Assets, a.name())) root.lists[store::Assets].push_back(Capture(a));
  std::unordered_set<std::string> driverNames;
  for (zav::DriverSession d : store.driverSessions()) {
    const std::string& name = *driverNames.insert(d.name()).first;
    if (whole(store::DriverSessions, name)) root.lists[store::DriverSessions].push_back(Capture(d));
  }
  for (zav::Session s : store.sessions()) {
    std::string name = s.name();
    if (!driverNames.count(name) && whole(store::Sessions, name))
      root.lists[store::Sessions].push_back(Capture(s));
  }
  for (zav::LogicalName l : store.logicalNames())
    if (whole(store::LogicalNames, l.name())) root.lists[store::LogicalNames].push_back(Capture(l));
  return root;
}

Node CaptureIndex(const zav::Store& store) {
  return Capture(store, [](size_t, const std::string&) { return true; });
}

// --- build -----------------------------------------------------------------------------------

namespace {

// A SnapshotError whose message already says where it happened.
struct Located : SnapshotError {
  using SnapshotError::SnapshotError;
};

ViInt32 Int32Of(const Value& v) {
  int64_t i = IntOf(v);
  if (i < INT32_MIN || i > INT32_MAX)
    throw SnapshotError(std::to_string(i) + " is not a 32-bit integer");
  return static_cast<ViInt32>(i);
}

std::optional<zav::ValueKind> SimpleKind(const std::string& type) {
  if (type == "Boolean") return zav::ValueKind::Boolean;
  if (type == "Integer") return zav::ValueKind::Integer;
  if (type == "Real") return zav::ValueKind::Real;
  if (type == "String") return zav::ValueKind::String;
  return std::nullopt;
}

// A name for an item that exists only while its store is being built: not among the siblings'
// names, and made of the characters every kind of name accepts.
std::string TemporaryName(const std::vector<Node>& siblings) {
  std::string name = "zavconfigImportTemporary";
  for (;;) {
    bool taken = false;
    for (const Node& n : siblings) taken = taken || n.key == name;
    if (!taken) return name;
    name += '_';
  }
}

class Builder {
 public:
  Builder(zav::Store& store, const std::set<std::string>& takeModuleSettings)
      : store_(store),
        takeModuleSettings_(takeModuleSettings),
        sessions_(store.sessions()),
        driverSessions_(store.driverSessions()) {}

  void Run(const Node& root) {
    store_.setDescription(TextOf(root.props[store::Description]));
    // Modules take their settings only once every session is linked: linking a session to a
    // module that has settings would copy the required ones into the session.
    zav::PublishedApiCollection apis = store_.publishedApis();
    for (const Node& n : root.lists[store::Apis])
      At(Kind::PublishedApi, n.key, [&] { MakeApi(apis, n); });
    zav::SoftwareModuleCollection modules = store_.softwareModules();
    for (const Node& n : root.lists[store::Modules])
      At(Kind::SoftwareModule, n.key, [&] { MakeModule(modules, n); });
    zav::HardwareAssetCollection assets = store_.hardwareAssets();
    for (const Node& n : root.lists[store::Assets])
      At(Kind::HardwareAsset, n.key, [&] { MakeAsset(assets, n); });
    for (const Node& n : root.lists[store::DriverSessions])
      At(Kind::DriverSession, n.key, [&] {
        zav::DriverSession d = driverSessions_.create(n.key);
        SessionParts(d, n);
        using namespace session;
        if (!TextOf(n.props[DriverSetup]).empty()) d.setDriverSetup(TextOf(n.props[DriverSetup]));
        if (BoolOf(n.props[Cache])) d.setCache(true);
        if (BoolOf(n.props[InterchangeCheck])) d.setInterchangeCheck(true);
        if (BoolOf(n.props[QueryInstrStatus])) d.setQueryInstrStatus(true);
        if (BoolOf(n.props[RangeCheck])) d.setRangeCheck(true);
        if (BoolOf(n.props[RecordCoercions])) d.setRecordCoercions(true);
        if (BoolOf(n.props[Simulate])) d.setSimulate(true);
      });
    for (const Node& n : root.lists[store::Sessions])
      At(Kind::Session, n.key, [&] {
        zav::Session s = sessions_.create(n.key);
        SessionParts(s, n);
      });
    for (const Node& n : root.lists[store::Modules])
      At(Kind::SoftwareModule, n.key, [&] {
        zav::DataComponentCollection components = modules_.at(n.key).dataComponents();
        MakeComponents(components, n.lists[module::DataComponents], false);
      });
    for (size_t list : {store::DriverSessions, store::Sessions})
      for (const Node& n : root.lists[list])
        if (takeModuleSettings_.count(n.key))
          At(list == store::Sessions ? Kind::Session : Kind::DriverSession, n.key, [&] {
            sessions_.get(n.key).setSoftwareModule(
                ModuleFor(std::get<std::string>(n.props[session::Module])));
          });
    zav::LogicalNameCollection names = store_.logicalNames();
    for (const Node& n : root.lists[store::LogicalNames])
      At(Kind::LogicalName, n.key, [&] {
        zav::LogicalName l = names.create(n.key);
        if (!TextOf(n.props[logical::Description]).empty())
          l.setDescription(TextOf(n.props[logical::Description]));
        if (const std::string* target = std::get_if<std::string>(&n.props[logical::Session])) {
          std::optional<zav::Session> s = sessions_.find(*target);
          if (!s) throw SnapshotError("session '" + *target + "' is not in the store");
          l.setSession(*s);
        }
      });
  }

 private:
  // Runs body for one item; a failure inside is reported with the item's whole path.
  template <class F>
  void At(Kind kind, const std::string& key, F&& body) {
    path_.push_back(ItemLabel(kind, key));
    try {
      body();
    } catch (const Located&) {
      path_.pop_back();
      throw;
    } catch (const std::exception& e) {
      std::string where;
      for (const std::string& part : path_) where += (where.empty() ? "" : " / ") + part;
      path_.pop_back();
      throw Located(where + ": " + e.what());
    }
    path_.pop_back();
  }

  const zav::SoftwareModule& ModuleFor(const std::string& name) const {
    auto it = modules_.find(name);
    if (it == modules_.end())
      throw SnapshotError("software module '" + name + "' is not in the store");
    return it->second;
  }

  const zav::PublishedApi& ApiNamed(const std::string& key) {
    auto it = apis_.find(key);
    if (it == apis_.end())
      throw SnapshotError("published API " + ApiKeyText(key) +
                          " is not among the store's published APIs");
    return it->second;
  }

  void MakeApi(zav::PublishedApiCollection& apis, const Node& n) {
    const std::string& name = TextOf(n.props[api::Name]);
    const std::string& type = TextOf(n.props[api::Type]);
    // A new API's key has versions 0.0 and takes the major version before the minor one; when
    // an API made before holds one of those passing keys, the new one starts under a passing
    // type of its own.
    int64_t major = IntOf(n.props[api::Major]);
    bool clash = apis_.count(PublishedApiKey(name, type, 0, 0)) > 0 ||
                 apis_.count(PublishedApiKey(name, type, major, 0)) > 0;
    zav::PublishedApi api = apis.create(name, clash ? type + "\x01" : type);
    if (IntOf(n.props[api::Major]) != 0) api.setMajorVersion(Int32Of(n.props[api::Major]));
    if (IntOf(n.props[api::Minor]) != 0) api.setMinorVersion(Int32Of(n.props[api::Minor]));
    if (clash) api.setType(type);
    apis_.emplace(n.key, std::move(api));
  }

  void MakeModule(zav::SoftwareModuleCollection& modules, const Node& n) {
    using namespace module;
    zav::SoftwareModule m = modules.create(n.key);
    auto set = [&](int prop, void (zav::SoftwareModule::*setter)(const std::string&)) {
      if (!TextOf(n.props[prop]).empty()) (m.*setter)(TextOf(n.props[prop]));
    };
    set(Description, &zav::SoftwareModule::setDescription);
    set(ModulePath, &zav::SoftwareModule::setModulePath);
    set(ModulePath64, &zav::SoftwareModule::setModulePath64);
    set(Prefix, &zav::SoftwareModule::setPrefix);
    set(ProgId, &zav::SoftwareModule::setProgId);
    set(Models, &zav::SoftwareModule::setSupportedInstrumentModels);
    set(ClassName, &zav::SoftwareModule::setAssemblyQualifiedClassName);
    if (!n.lists[Apis].empty()) {
      zav::PublishedApiReferences references = m.publishedApis();
      for (const Node& entry : n.lists[Apis])
        At(Kind::ApiListEntry, entry.key, [&] { references.add(ApiNamed(entry.key)); });
    }
    if (!n.lists[PhysicalNames].empty()) {
      zav::PhysicalNameCollection names = m.physicalNames();
      for (const Node& p : n.lists[PhysicalNames])
        At(Kind::PhysicalName, p.key, [&] { MakePhysical(names, p, n.lists[PhysicalNames]); });
    }
    modules_.emplace(n.key, std::move(m));
  }

  void MakePhysical(zav::PhysicalNameCollection& names, const Node& n,
                    const std::vector<Node>& siblings) {
    // An empty name is accepted only once the name has a range.
    bool later = n.key.empty();
    zav::PhysicalName p =
        names.create(later ? TemporaryName(siblings) : n.key, TextOf(n.props[physical::RcName]));
    const std::vector<Node>& ranges = n.lists[physical::Ranges];
    if (!ranges.empty()) {
      zav::PhysicalRangeCollection collection = p.ranges();
      for (const Node& r : ranges)
        At(Kind::PhysicalRange, r.key, [&] {
          zav::PhysicalRange range = collection.create(r.key);
          if (IntOf(r.props[range::Min]) != 0) range.setMin(Int32Of(r.props[range::Min]));
          if (IntOf(r.props[range::Max]) != 0) range.setMax(Int32Of(r.props[range::Max]));
        });
    }
    const std::vector<Node>& children = n.lists[physical::Children];
    if (!children.empty()) {
      zav::PhysicalNameCollection collection = p.children();
      for (const Node& c : children)
        At(Kind::PhysicalName, c.key, [&] { MakePhysical(collection, c, children); });
    }
    if (later) p.setName("");
  }

  void MakeAsset(zav::HardwareAssetCollection& assets, const Node& n) {
    zav::HardwareAsset a = assets.create(n.key);
    if (!TextOf(n.props[asset::Description]).empty())
      a.setDescription(TextOf(n.props[asset::Description]));
    if (!TextOf(n.props[asset::IoResource]).empty())
      a.setIoResourceDescriptor(TextOf(n.props[asset::IoResource]));
    if (!n.lists[asset::DataComponents].empty()) {
      zav::DataComponentCollection components = a.dataComponents();
      MakeComponents(components, n.lists[asset::DataComponents], true);
    }
    assets_.emplace(n.key, std::move(a));
  }

  void SessionParts(zav::Session& s, const Node& n) {
    using namespace session;
    if (!TextOf(n.props[Description]).empty()) s.setDescription(TextOf(n.props[Description]));
    if (const std::string* name = std::get_if<std::string>(&n.props[Asset])) {
      auto it = assets_.find(*name);
      if (it == assets_.end())
        throw SnapshotError("hardware asset '" + *name + "' is not in the store");
      s.setHardwareAsset(it->second);
    }
    // The module has no settings yet, so linking copies nothing into the session; a session
    // that is to take the module's settings is linked once they are there.
    if (const std::string* name = std::get_if<std::string>(&n.props[Module])) {
      if (takeModuleSettings_.count(n.key))
        ModuleFor(*name);
      else
        s.setSoftwareModule(ModuleFor(*name));
    }
    const std::vector<Node>& virtualNames = n.lists[VirtualNames];
    if (!virtualNames.empty()) {
      zav::VirtualNameCollection names = s.virtualNames();
      for (const Node& v : virtualNames)
        At(Kind::VirtualName, v.key, [&] { MakeVirtual(names, v, virtualNames); });
    }
    if (!n.lists[DataComponents].empty()) {
      zav::DataComponentCollection components = s.dataComponents();
      MakeComponents(components, n.lists[DataComponents], false);
    }
  }

  void MakeVirtual(zav::VirtualNameCollection& names, const Node& n,
                   const std::vector<Node>& siblings) {
    const std::string& mapTo = TextOf(n.props[virt::MapTo]);
    if (mapTo.empty())
      throw SnapshotError(
          "a virtual name needs a mapTo: the library would write an empty one "
          "but not read it back");
    bool later = n.key.empty();
    zav::VirtualName v = names.create(later ? TemporaryName(siblings) : n.key, mapTo);
    const std::vector<Node>& ranges = n.lists[virt::Ranges];
    if (!ranges.empty()) {
      zav::VirtualRangeCollection collection = v.ranges();
      for (const Node& r : ranges)
        At(Kind::VirtualRange, r.key, [&] {
          zav::VirtualRange range = collection.create(r.key);
          if (IntOf(r.props[range::Min]) != 0) range.setMin(Int32Of(r.props[range::Min]));
          if (IntOf(r.props[range::Max]) != 0) range.setMax(Int32Of(r.props[range::Max]));
          if (IntOf(r.props[range::StartingPhysicalIndex]) != 0)
            range.setStartingPhysicalIndex(Int32Of(r.props[range::StartingPhysicalIndex]));
        });
    }
    if (later) v.setName("");
  }

  void MakeComponents(zav::DataComponentCollection& collection, const std::vector<Node>& list,
                      bool ofAsset) {
    for (const Node& n : list)
      At(Kind::DataComponent, n.key, [&] { MakeComponent(collection, n, ofAsset); });
  }

  void MakeComponent(zav::DataComponentCollection& collection, const Node& n, bool ofAsset) {
    using namespace component;
    const std::string& type = TextOf(n.props[Type]);
    if (std::optional<zav::ValueKind> kind = SimpleKind(type)) {
      zav::DataComponent c = collection.create(*kind, n.key);
      Fields(c, n, type);
    } else if (type == "APIReference") {
      // Both would be read from a document, but the library's functions cannot make them.
      if (ofAsset)
        throw SnapshotError(
            "an API reference among a hardware asset's settings cannot be "
            "created through the library");
      if (!std::holds_alternative<std::string>(n.props[Api]))
        throw SnapshotError(
            "an API reference without a published API cannot be created "
            "through the library");
      zav::DataComponent c = collection.createApiReference(n.key, ApiNamed(TextOf(n.props[Api])));
      Fields(c, n, type);
    } else if (type == "Structure") {
      const std::vector<Node>& members = n.lists[Members];
      if (members.empty())
        throw SnapshotError(
            "a structure needs at least one member: the library cannot create "
            "an empty one");
      // A structure is created with a first member of a plain kind; when the real first member
      // is of another kind, a stand-in is made and removed once the members are in.
      std::optional<zav::ValueKind> firstKind = SimpleKind(TextOf(members[0].props[Type]));
      std::string first = firstKind ? members[0].key : TemporaryName(members);
      zav::DataComponent s =
          collection.createStructure(n.key, firstKind.value_or(zav::ValueKind::Boolean), first);
      Fields(s, n, type);
      zav::DataComponentCollection inside = s.members();
      size_t i = 0;
      if (firstKind) {
        At(Kind::DataComponent, first, [&] {
          zav::DataComponent c = inside.at(0);
          Fields(c, members[0], TextOf(members[0].props[Type]));
        });
        i = 1;
      }
      for (; i < members.size(); ++i)
        At(Kind::DataComponent, members[i].key, [&] { MakeComponent(inside, members[i], false); });
      if (!firstKind) {
        zav::DataComponent standIn = inside.get(first);
        inside.destroy(standIn);
      }
    } else {
      throw SnapshotError("unknown data component type '" + type + "'");
    }
  }

  // Everything but the name; what equals a new component's default is left alone.
  void Fields(zav::DataComponent& c, const Node& n, const std::string& type) {
    using namespace component;
    if (!TextOf(n.props[Description]).empty()) c.setDescription(TextOf(n.props[Description]));
    const std::string& used = TextOf(n.props[UsedInSession]);
    if (used != (type == "APIReference" ? "Optional" : "None")) c.setUsedInSession(used);
    if (BoolOf(n.props[ReadOnly])) c.setReadOnly(true);
    if (IntOf(n.props[HelpContextId]) != 0) c.setHelpContextId(Int32Of(n.props[HelpContextId]));
    if (!TextOf(n.props[HelpFilePath]).empty()) c.setHelpFilePath(TextOf(n.props[HelpFilePath]));
    if (!TextOf(n.props[SoftwareModuleKey]).empty())
      c.setSoftwareModuleKey(TextOf(n.props[SoftwareModuleKey]));
    const Value& value = n.props[Val];
    if (type == "Boolean" && BoolOf(value)) c.setBooleanValue(true);
    if (type == "Integer" && IntOf(value) != 0) c.setIntegerValue(Int32Of(value));
    if (type == "Real") {
      const double* real = std::get_if<double>(&value);
      if (real && (*real != 0 || std::signbit(*real))) c.setRealValue(*real);
    }
    if ((type == "String" || type == "APIReference") && !TextOf(value).empty())
      c.setStringValue(TextOf(value));
    if ((type == "Integer" || type == "Real") && !TextOf(n.props[Units]).empty())
      c.setUnits(TextOf(n.props[Units]));
  }

  zav::Store& store_;
  const std::set<std::string>& takeModuleSettings_;
  zav::SessionCollection sessions_;
  zav::DriverSessionCollection driverSessions_;
  std::map<std::string, zav::PublishedApi> apis_;
  std::unordered_map<std::string, zav::SoftwareModule> modules_;
  std::unordered_map<std::string, zav::HardwareAsset> assets_;
  std::vector<std::string> path_;
};

}  // namespace

void Build(const Node& root, zav::Store& store, const std::set<std::string>& takeModuleSettings) {
  Builder(store, takeModuleSettings).Run(root);
}

}  // namespace zavtool
