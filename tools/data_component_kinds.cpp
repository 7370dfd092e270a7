// SPDX-License-Identifier: MIT
// data-component: the typed settings of software modules, hardware assets and sessions, with
// structures of them ("structure/member") and references to published APIs.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "item_edit.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

// The data components a request works on: of the session, module or asset it names.
struct Owner {
  zav::DataComponentCollection components;
  std::string label;   // "driver session DMM"
  std::string option;  // "--session DMM", for the commands the messages suggest
};

Owner NeedOwner(const zav::Store& store, const Request& r) {
  if (auto name = r.get("session")) {
    zav::Session session = NeedSession(store, *name);
    return {session.dataComponents(),
            (store.driverSessions().find(*name) ? "driver session " : "session ") + *name,
            "--session " + ShellWord(*name)};
  }
  if (auto name = r.get("module"))
    return {NeedModule(store, *name).dataComponents(), "software module " + *name,
            "--module " + ShellWord(*name)};
  std::string name = r.get("asset").value_or("");
  return {NeedAsset(store, name).dataComponents(), "hardware asset " + name,
          "--asset " + ShellWord(name)};
}

void AddPaths(const zav::DataComponentCollection& components, const std::string& prefix,
              std::vector<std::string>& paths) {
  for (zav::DataComponent c : components) {
    paths.push_back(prefix + c.name());
    if (c.type() == "Structure") AddPaths(c.members(), prefix + c.name() + "/", paths);
  }
}

// A component and the members of the structure that holds it (nothing: the owner's own).
struct Found {
  zav::DataComponent component;
  std::optional<zav::DataComponentCollection> holder;
};

// The component at path: a name, or structure/member/...; a whole name that holds a slash is
// found too.
std::optional<Found> Find(const zav::DataComponentCollection& components, const std::string& path) {
  if (auto whole = components.find(path)) return Found{std::move(*whole), std::nullopt};
  size_t slash = path.find('/');
  if (slash == std::string::npos) return std::nullopt;
  std::optional<zav::DataComponent> structure = components.find(path.substr(0, slash));
  if (!structure || structure->type() != "Structure") return std::nullopt;
  zav::DataComponentCollection members = structure->members();
  std::optional<Found> found = Find(members, path.substr(slash + 1));
  if (found && !found->holder) found->holder = std::move(members);
  return found;
}

Found Need(const Owner& owner, const std::string& path) {
  if (std::optional<Found> found = Find(owner.components, path)) return std::move(*found);
  std::vector<std::string> paths;
  AddPaths(owner.components, "", paths);
  Refusal refusal = NotFound("data component", path, "in " + owner.label, paths, "");
  if (paths.size() > 12) {
    paths.resize(12);
    refusal.hints.push_back("its data components include: " + Join(paths) +
                            "; 'zavconfig data-component list " + owner.option +
                            "' lists them all");
  }
  throw refusal;
}

std::string Real(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string ValueOf(const zav::DataComponent& c) {
  std::string type = c.type();
  if (type == "Boolean") return c.booleanValue() ? "true" : "false";
  if (type == "Integer" || type == "Real") {
    std::string units = c.units();
    return (type == "Integer" ? std::to_string(c.integerValue()) : Real(c.realValue())) +
           (units.empty() ? "" : " " + units);
  }
  if (type == "APIReference") {
    std::optional<zav::PublishedApi> api = c.publishedApi();
    std::string text = c.stringValue();
    return (text.empty() ? "" : text + "  ") + "-> " + (api ? ApiLabel(*api) : "no API");
  }
  return type == "String" ? c.stringValue() : "";
}

// Sets the component's value from text as its type reads it; says whether it changed.
bool SetValue(zav::DataComponent& c, const std::string& path, const std::string& text) {
  std::string type = c.type();
  auto refuse = [&](const std::string& what) {
    return Refusal{
        "'" + text + "' is not " + what + ", which the " + type + " component '" + path + "' holds",
        {}};
  };
  if (type == "Boolean") {
    std::optional<bool> value = ParseBoolean(text);
    if (!value) throw refuse(std::string("a boolean (") + kBooleanWords + ")");
    if (c.booleanValue() == *value) return false;
    c.setBooleanValue(*value);
  } else if (type == "Integer") {
    int value = 0;
    try {
      value = ParseInteger(text, path);
    } catch (const Refusal&) {
      throw refuse("a 32-bit integer");
    }
    if (c.integerValue() == value) return false;
    c.setIntegerValue(value);
  } else if (type == "Real") {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !std::isfinite(value)) throw refuse("a finite number");
    if (c.realValue() == value) return false;
    c.setRealValue(value);
  } else if (type == "String" || type == "APIReference") {
    if (c.stringValue() == text) return false;
    c.setStringValue(text);
  } else {
    throw Refusal{"'" + path + "' is a structure: set one of its members (structure/member)", {}};
  }
  return true;
}

const std::vector<Field<zav::DataComponent>>& Fields() {
  using D = zav::DataComponent;
  const unsigned both = kAdd | kSet;
  static const std::vector<Field<D>> fields = {
      TextField<D>("name", "New name", kSet, &D::name, &D::setName),
      TextField<D>("description", "Description", both, &D::description, &D::setDescription),
      TextField<D>("units", "Units of an integer or real (e.g. ms)", both, &D::units, &D::setUnits),
      TextField<D>("used-in-session",
                   "None, Optional or Required: Required settings of a module are copied into "
                   "the sessions that use it (a hardware asset's are None)",
                   both, &D::usedInSession, &D::setUsedInSession),
      BoolField<D>("read-only", "Read-only: on or off", both, &D::readOnly, &D::setReadOnly),
      IntField<D>("help-context-id", "Help topic number", both, &D::helpContextId,
                  &D::setHelpContextId),
      TextField<D>("help-file", "Help file path", both, &D::helpFilePath, &D::setHelpFilePath),
      TextField<D>("module-key", "Software module key", both, &D::softwareModuleKey,
                   &D::setSoftwareModuleKey)};
  return fields;
}

// Everything but the name and kind of a component: its value, properties and API.
int Apply(const zav::Store& store, zav::DataComponent& c, const std::string& path,
          const Request& r) {
  std::string type = c.type();
  if (r.has("units") && type != "Integer" && type != "Real")
    throw Refusal{"--units applies to integer and real components; '" + path + "' is a " + type,
                  {}};
  if (r.has("api") && type != "APIReference")
    throw Refusal{"--api applies to API references; '" + path + "' is a " + type, {}};
  int changed = 0;
  if (r.args.count("VALUE")) changed += SetValue(c, path, r.arg("VALUE"));
  if (auto selector = r.get("api")) {
    zav::PublishedApi api = NeedApi(store, *selector);
    std::optional<zav::PublishedApi> current = c.publishedApi();
    if (!current || ApiLabel(*current) != ApiLabel(api)) c.setPublishedApi(api), ++changed;
  }
  return changed + ApplyFields(c, r, Fields());
}

const std::vector<std::pair<std::string, std::string>> kTypes = {{"boolean", "Boolean"},
                                                                 {"integer", "Integer"},
                                                                 {"real", "Real"},
                                                                 {"string", "String"},
                                                                 {"structure", "Structure"},
                                                                 {"api-reference", "APIReference"},
                                                                 {"apireference", "APIReference"}};

std::string NeedType(const std::string& word) {
  for (const auto& [name, type] : kTypes)
    if (Lower(word) == name) return type;
  throw Refusal{"'" + word + "' is not a data component type",
                {"types: boolean, integer, real, string, structure, api-reference"}};
}

zav::ValueKind KindOf(const std::string& type) {
  if (type == "Boolean") return zav::ValueKind::Boolean;
  if (type == "Integer") return zav::ValueKind::Integer;
  if (type == "Real") return zav::ValueKind::Real;
  return zav::ValueKind::String;
}

// Creates the component at path: in the owner's collection, in an existing structure, or as
// the first member of a new structure (a structure is never without members).
zav::DataComponent Create(const zav::Store& store, Owner& owner, const std::string& path,
                          const std::string& type, const Request& r) {
  std::vector<std::string> parts = SplitPath(path);
  std::string leaf = parts.back();
  if (type == "Structure")
    throw Refusal{"a structure is created with its first member",
                  {"add '" + path + "/MEMBER' with the member's type"}};
  if (type == "APIReference" && !r.has("api"))
    throw Refusal{"an API reference needs the published API it refers to",
                  {"give it with --api 'NAME TYPE MAJOR.MINOR'"}};
  zav::DataComponentCollection* holder = &owner.components;
  std::optional<zav::DataComponentCollection> members;
  std::string where = owner.label;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    std::optional<zav::DataComponent> structure = holder->find(parts[i]);
    if (!structure && i + 2 == parts.size()) {
      if (type == "APIReference")
        throw Refusal{"a new structure's first member must be a boolean, integer, real or string",
                      {"add such a member first, then the API reference"}};
      zav::DataComponent created = holder->createStructure(parts[i], KindOf(type), leaf);
      return created.members().get(leaf);
    }
    if (!structure) throw NotFound("structure", parts[i], "in " + where, {}, "");
    if (structure->type() != "Structure")
      throw Refusal{
          "'" + parts[i] + "' in " + where + " is a " + structure->type() + ", not a structure",
          {}};
    members = structure->members();
    holder = &*members;
    where = "structure " + parts[i];
  }
  if (type == "APIReference")
    return holder->createApiReference(leaf, NeedApi(store, *r.get("api")));
  return holder->create(KindOf(type), leaf);
}

void ListComponents(const zav::DataComponentCollection& components, const std::string& prefix,
                    Listing& out) {
  for (zav::DataComponent c : components) {
    std::string path = prefix + c.name();
    out.Add({path, c.type(), ValueOf(c), c.usedInSession()}, Kind::DataComponent,
            Capture(c), path);
    if (c.type() == "Structure") ListComponents(c.members(), path + "/", out);
  }
}

int RunDataComponent(const Request& r) {
  if (r.verb == kList)
    return List(r, [&](const zav::Store& store, Listing& out) {
      ListComponents(NeedOwner(store, r).components, "", out);
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    Owner owner = NeedOwner(store, r);
    std::string path = r.arg("NAME");
    std::string label = "data component " + path + " of " + owner.label;
    if (r.verb == kAdd) {
      std::string type = NeedType(r.arg("TYPE"));
      zav::DataComponent c =
          Attempt("adding " + label, [&] { return Create(store, owner, path, type, r); });
      Attempt("setting " + label, [&] { Apply(store, c, path, r); });
      return Changed("added " + label);
    }
    Found found = Need(owner, path);
    if (r.verb == kRemove) {
      try {
        (found.holder ? *found.holder : owner.components).destroy(found.component);
      } catch (const zav::Error& e) {
        Refusal refusal{e.what(), {"while removing " + label}};
        size_t slash = path.rfind('/');
        if (e.code() == ZAVCONFIG_ERROR_INVALID_VALUE && slash != std::string::npos)
          refusal.hints.push_back("remove the whole structure: zavconfig data-component remove " +
                                  owner.option + " " + ShellWord(path.substr(0, slash)));
        throw refusal;
      }
      return Changed("removed " + label);
    }
    int changed =
        Attempt("setting " + label, [&] { return Apply(store, found.component, path, r); });
    if (!changed) return Unchanged();
    return Changed("set " + label + (r.args.count("VALUE") ? " = " + r.arg("VALUE") : ""));
  });
}

OptionSpec OwnerOption(const std::string& name, const std::string& help) {
  return OptionSpec(name, ValueType::kText, help, kEditVerbs | kList, false, false, "owner");
}

std::vector<OptionSpec> DataComponentOwners() {
  return {OwnerOption("session", "Whose: a session or driver session"),
          OwnerOption("module", "Whose: a software module"),
          OwnerOption("asset", "Whose: a hardware asset")};
}

}  // namespace

int SetValue(const Request& request) {
  Request r = request;
  r.verb = kSet;
  return RunDataComponent(r);
}

std::vector<KindSpec> DataComponentKinds() {
  std::vector<OptionSpec> options = DataComponentOwners();
  std::vector<OptionSpec> fields = Specs(Fields());
  options.insert(options.end(), fields.begin(), fields.end());
  options.push_back({"api", ValueType::kText,
                     "Published API an API reference refers to: 'NAME TYPE MAJOR.MINOR'",
                     kAdd | kSet});
  return {{"data-component",
           "Data components: typed settings of software modules, hardware assets and sessions; "
           "members of a structure are named structure/member",
           {{kAdd,
             "Create a data component (structure/member adds to a structure, creating it with "
             "this first member when it does not exist)"},
            {kSet, "Change a data component's value or properties"},
            {kRemove, "Remove a data component (a structure with all its members)"},
            {kList, "List the data components: path, type, value, used in session"}},
           {{"NAME", "Component name, or structure/member", kEditVerbs},
            {"TYPE", "boolean, integer, real, string or api-reference", kAdd},
            {"VALUE",
             "Value, read as the component's type: a boolean (on/off, true/false, "
             "yes/no, 1/0), a 32-bit integer, a finite real or text",
             kAdd | kSet, false}},
           options,
           RunDataComponent}};
}

}  // namespace zavtool
