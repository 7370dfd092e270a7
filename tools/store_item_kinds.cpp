// SPDX-License-Identifier: MIT
// published-api, software-module and hardware-asset: the items a store holds for its drivers
// and instruments.
#include <iostream>

#include "item_edit.hpp"
#include "lint.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

// --- published-api -----------------------------------------------------------------------

// The API the positionals NAME [TYPE [VERSION]] select.
std::string ApiSelector(const Request& r) {
  std::vector<std::string> words = {r.arg("NAME")};
  for (const char* more : {"TYPE", "VERSION"})
    if (!r.arg(more).empty()) words.push_back(r.arg(more));
  return Join(words, " ");
}

std::pair<int, int> NeedVersion(const std::string& text) {
  std::optional<std::pair<int, int>> version = ParseVersion(text);
  if (!version) throw Refusal{"'" + text + "' is not a version: give MAJOR.MINOR, e.g. 3.0", {}};
  return *version;
}

// Where the store refers to api: the modules that list it and the API reference components
// that point at it, each with the command that lets go of it.
void AddComponentReferences(const zav::DataComponentCollection& components,
                            const std::string& label, const std::string& ownerOption,
                            const std::string& path, std::vector<std::string>& hints) {
  for (zav::DataComponent c : components) {
    std::string type = c.type(), name = path + c.name();
    if (type == "Structure")
      AddComponentReferences(c.members(), label, ownerOption, name + "/", hints);
    if (type != "APIReference") continue;
    std::optional<zav::PublishedApi> api = c.publishedApi();
    if (api && ApiLabel(*api) == label)
      hints.push_back("data component " + name + " refers to it: zavconfig data-component remove " +
                      ownerOption + " " + ShellWord(name));
  }
}

std::vector<std::string> ApiReferences(const zav::Store& store, const std::string& label) {
  std::vector<std::string> hints;
  for (zav::SoftwareModule m : store.softwareModules()) {
    for (zav::PublishedApi api : m.publishedApis())
      if (ApiLabel(api) == label)
        hints.push_back("software module " + m.name() +
                        " lists it: zavconfig software-module set " + ShellWord(m.name()) +
                        " --drop-api " + ShellWord(label));
    AddComponentReferences(m.dataComponents(), label, "--module " + ShellWord(m.name()), "", hints);
  }
  for (zav::HardwareAsset a : store.hardwareAssets())
    AddComponentReferences(a.dataComponents(), label, "--asset " + ShellWord(a.name()), "", hints);
  for (zav::Session s : store.sessions())
    AddComponentReferences(s.dataComponents(), label, "--session " + ShellWord(s.name()), "",
                           hints);
  return hints;
}

int RunPublishedApi(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::PublishedApi api : store.publishedApis())
        out.Add({api.name(), api.type(),
                 std::to_string(api.majorVersion()) + "." + std::to_string(api.minorVersion())},
                Kind::PublishedApi, Capture(api));
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    if (r.verb == kAdd) {
      // Plain variables, not a structured binding: the lambda below captures them.
      const auto version = NeedVersion(r.arg("VERSION"));
      const auto major = version.first, minor = version.second;
      std::string label = r.arg("NAME") + " " + r.arg("TYPE") + " " + std::to_string(major) + "." +
                          std::to_string(minor);
      // The library would take it for renaming the new API onto the old one.
      for (zav::PublishedApi api : store.publishedApis())
        if (ApiLabel(api) == label)
          throw Refusal{"published API " + label + " is in the store already", {}};
      zav::PublishedApi api = Attempt("adding published API " + label + " to the store", [&] {
        zav::PublishedApi created = store.publishedApis().create(r.arg("NAME"), r.arg("TYPE"));
        created.setMajorVersion(major);
        created.setMinorVersion(minor);
        return created;
      });
      return Changed("added published API " + ApiLabel(api));
    }
    zav::PublishedApi api = NeedApi(store, ApiSelector(r));
    std::string label = ApiLabel(api);
    if (r.verb == kRemove) {
      zav::PublishedApiCollection apis = store.publishedApis();
      try {
        apis.destroy(api);
      } catch (const zav::Error& e) {
        if (e.code() != ZAVCONFIG_ERROR_HAS_REFERENCES) throw;
        throw Refusal{e.what(), ApiReferences(store, label)};
      }
      return Changed("removed published API " + label);
    }
    int changed = 0;
    Attempt("changing published API " + label, [&] {
      if (auto name = r.get("name"); name && *name != api.name()) api.setName(*name), ++changed;
      if (auto type = r.get("type"); type && *type != api.type()) api.setType(*type), ++changed;
      if (auto text = r.get("version")) {
        auto [major, minor] = NeedVersion(*text);
        if (major != api.majorVersion()) api.setMajorVersion(major), ++changed;
        if (minor != api.minorVersion()) api.setMinorVersion(minor), ++changed;
      }
    });
    if (!changed) return Unchanged();
    return Changed("changed published API " + label + " to " + ApiLabel(api));
  });
}

KindSpec PublishedApiKind() {
  return {
      "published-api",
      "Published APIs: the programming interfaces drivers implement, keyed by name, type "
      "and version",
      {{kAdd, "Create a published API"},
       {kSet, "Change a published API's name, type or version"},
       {kRemove, "Remove a published API no module lists and no data component refers to"},
       {kList, "List the published APIs: name, type, version"}},
      {{"NAME", "API name", kEditVerbs},
       {"TYPE", "API type (e.g. C)", kAdd},
       {"TYPE", "API type, when several APIs share the name", kSet | kRemove, false},
       {"VERSION", "MAJOR.MINOR", kAdd},
       {"VERSION", "MAJOR.MINOR, when several APIs share name and type", kSet | kRemove, false}},
      {{"name", ValueType::kText, "New name", kSet},
       {"type", ValueType::kText, "New type", kSet},
       {"version", ValueType::kText, "New version, MAJOR.MINOR", kSet}},
      RunPublishedApi};
}

// --- software-module ---------------------------------------------------------------------

const std::vector<Field<zav::SoftwareModule>>& ModuleFields() {
  using M = zav::SoftwareModule;
  static const std::vector<Field<M>> fields = {
      TextField<M>("name", "New name (the sessions linked to it stay linked)", kSet, &M::name,
                   &M::setName),
      TextField<M>("description", "Description", kAdd | kSet, &M::description, &M::setDescription),
      TextField<M>("path", "Path of the driver's shared library", kAdd | kSet, &M::modulePath,
                   &M::setModulePath),
      TextField<M>("path64", "Path of the 64-bit driver library", kAdd | kSet, &M::modulePath64,
                   &M::setModulePath64),
      TextField<M>("prefix", "Driver prefix", kAdd | kSet, &M::prefix, &M::setPrefix),
      TextField<M>("prog-id", "Program identifier", kAdd | kSet, &M::progId, &M::setProgId),
      TextField<M>("models", "Supported instrument models (one text, e.g. A3401,A3402)",
                   kAdd | kSet, &M::supportedInstrumentModels, &M::setSupportedInstrumentModels),
      TextField<M>("class-name", "Assembly-qualified class name of a managed driver", kAdd | kSet,
                   &M::assemblyQualifiedClassName, &M::setAssemblyQualifiedClassName)};
  return fields;
}

bool Lists(const zav::PublishedApiReferences& apis, const zav::PublishedApi& api) {
  for (zav::PublishedApi listed : apis)
    if (ApiLabel(listed) == ApiLabel(api)) return true;
  return false;
}

std::vector<std::string> SessionsLinkedTo(const zav::Store& store, const std::string& module) {
  std::vector<std::string> names;
  for (zav::Session s : store.sessions())
    if (std::optional<zav::SoftwareModule> m = s.softwareModule(); m && m->name() == module)
      names.push_back(s.name());
  return names;
}

int RunSoftwareModule(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::SoftwareModule m : store.softwareModules()) {
        std::vector<std::string> apis;
        for (zav::PublishedApi api : m.publishedApis()) apis.push_back(ApiLabel(api));
        out.Add({m.name(), m.modulePath(), m.prefix(), Join(apis)}, Kind::SoftwareModule,
                Capture(m));
      }
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME");
    if (r.verb == kRemove) {
      zav::SoftwareModuleCollection modules = store.softwareModules();
      zav::SoftwareModule module = NeedModule(store, name);
      std::vector<std::string> linked = SessionsLinkedTo(store, name);
      Attempt("removing software module " + name, [&] { modules.destroy(module); });
      std::string said = "removed software module " + name;
      // The store file keeps no link to a module that is not there, so the sessions are left
      // without one (their settings stay) until they are given a module again.
      if (!linked.empty())
        said += "; " + Join(linked) + (linked.size() == 1 ? " has" : " have") +
                " no software module now (settings kept): give one with `zavconfig driver-session "
                "set NAME --module MODULE` (`session set` for a plain session)";
      return Changed(said);
    }
    bool adding = r.verb == kAdd;
    zav::SoftwareModule module = adding
                                     ? Attempt("adding software module " + name + " to the store",
                                               [&] { return store.softwareModules().create(name); })
                                     : NeedModule(store, name);
    int changed = adding;
    changed += Attempt("changing software module " + name,
                       [&] { return ApplyFields(module, r, ModuleFields()); });
    zav::PublishedApiReferences apis = module.publishedApis();
    for (const std::string& selector : r.all("api")) {
      zav::PublishedApi api = NeedApi(store, selector);
      if (Lists(apis, api)) continue;
      Attempt("listing published API " + ApiLabel(api) + " in software module " + name,
              [&] { apis.add(api); });
      ++changed;
    }
    for (const std::string& selector : r.all("drop-api")) {
      zav::PublishedApi api = NeedApi(store, selector);
      if (!Lists(apis, api)) continue;
      Attempt("dropping published API " + ApiLabel(api) + " from software module " + name,
              [&] { apis.remove(api); });
      ++changed;
    }
    if (!changed) return Unchanged();
    std::string said = (adding ? "added software module " : "changed software module ") + name;
    if (adding) {
      std::vector<std::string> linked = SessionsLinkedTo(store, name);
      if (!linked.empty()) said += "; linked " + Join(linked) + ", which named it";
    }
    return Changed(said);
  });
}

KindSpec SoftwareModuleKind() {
  return {
      "software-module",
      "Software modules: drivers, with their library paths, the published APIs they "
      "implement, physical names and the settings their sessions get",
      {{kAdd, "Create a software module"},
       {kSet, "Change a software module's properties and published APIs"},
       {kRemove, "Remove a software module (its sessions are left without one)"},
       {kList, "List the software modules: name, path, prefix, published APIs"}},
      {{"NAME", "Software module name", kEditVerbs}},
      Specs(ModuleFields(),
            {{"api", ValueType::kText, "List a published API, given as 'NAME TYPE MAJOR.MINOR'",
              kAdd | kSet, false, true},
             {"drop-api", ValueType::kText, "Stop listing a published API", kSet, false, true}}),
      RunSoftwareModule};
}

// --- hardware-asset ----------------------------------------------------------------------

const std::vector<Field<zav::HardwareAsset>>& AssetFields() {
  using A = zav::HardwareAsset;
  static const std::vector<Field<A>> fields = {
      TextField<A>("name", "New name", kSet, &A::name, &A::setName),
      TextField<A>("resource", "I/O resource descriptor (e.g. TCPIP0::10.0.7.3::INSTR)", kSet,
                   &A::ioResourceDescriptor, &A::setIoResourceDescriptor),
      TextField<A>("description", "Description", kAdd | kSet, &A::description, &A::setDescription)};
  return fields;
}

void WarnAboutResource(const std::string& resource) {
  std::string problem = VisaResourceProblem(resource);
  if (!problem.empty()) std::cerr << "zavconfig: warning: " << problem << "\n";
}

int RunHardwareAsset(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::HardwareAsset a : store.hardwareAssets())
        out.Add({a.name(), a.ioResourceDescriptor()}, Kind::HardwareAsset, Capture(a));
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME");
    if (r.verb == kRemove) {
      zav::HardwareAssetCollection assets = store.hardwareAssets();
      zav::HardwareAsset asset = NeedAsset(store, name);
      try {
        assets.destroy(asset);
      } catch (const zav::Error& e) {
        if (e.code() != ZAVCONFIG_ERROR_HAS_REFERENCES) throw;
        Refusal refusal{e.what(), {}};
        for (zav::Session s : store.sessions())
          if (std::optional<zav::HardwareAsset> a = s.hardwareAsset(); a && a->name() == name)
            refusal.hints.push_back(
                (store.driverSessions().find(s.name()) ? "driver session " : "session ") +
                s.name() + " uses it: zavconfig " +
                (store.driverSessions().find(s.name()) ? "driver-session" : "session") + " set " +
                ShellWord(s.name()) + " --no-asset");
        throw refusal;
      }
      return Changed("removed hardware asset " + name);
    }
    if (r.verb == kAdd) {
      zav::HardwareAsset asset = Attempt("adding hardware asset " + name + " to the store",
                                         [&] { return store.hardwareAssets().create(name); });
      asset.setIoResourceDescriptor(r.arg("RESOURCE"));
      Attempt("adding hardware asset " + name, [&] { ApplyFields(asset, r, AssetFields()); });
      WarnAboutResource(r.arg("RESOURCE"));
      return Changed("added hardware asset " + name + " at " + r.arg("RESOURCE"));
    }
    zav::HardwareAsset asset = NeedAsset(store, name);
    int changed = Attempt("changing hardware asset " + name,
                          [&] { return ApplyFields(asset, r, AssetFields()); });
    if (auto resource = r.get("resource")) WarnAboutResource(*resource);
    return changed ? Changed("changed hardware asset " + name) : Unchanged();
  });
}

KindSpec HardwareAssetKind() {
  return {"hardware-asset",
          "Hardware assets: instruments and the I/O resources they are reached through",
          {{kAdd, "Create a hardware asset at an I/O resource"},
           {kSet, "Change a hardware asset's name, I/O resource or description"},
           {kRemove, "Remove a hardware asset no session uses"},
           {kList, "List the hardware assets: name, I/O resource"}},
          {{"NAME", "Hardware asset name", kEditVerbs},
           {"RESOURCE", "I/O resource descriptor (e.g. TCPIP0::10.0.7.3::INSTR)", kAdd}},
          Specs(AssetFields()),
          RunHardwareAsset};
}

}  // namespace

std::vector<KindSpec> StoreItemKinds() {
  return {PublishedApiKind(), SoftwareModuleKind(), HardwareAssetKind()};
}

}  // namespace zavtool
