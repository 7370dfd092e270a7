// SPDX-License-Identifier: MIT
// Everyday changes to a store. Each command reads the store, makes the whole change through
// the library and writes the store back only when every step succeeded: a failure leaves the
// file exactly as it was, and the library's atomic save means a write never leaves it half
// done.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iostream>

#include "commands.hpp"

namespace zavtool {

namespace {

// A store-level failure with a message of the utility's own (a name that is not there, a value
// that does not parse).
struct Refusal {
  std::string message;
};

int Edit(const std::string& file, const std::string& context,
         const std::function<std::string(zav::Store&)>& change) {
  try {
    OpenStore open = Open(file);
    std::string done = change(open.store);
    open.store.serialize(open.path);
    std::cout << done << " (" << open.path << ")\n";
    return kOk;
  } catch (const zav::Error& e) {
    return Fail(context, e.what());
  } catch (const Refusal& r) {
    return Fail(context, r.message);
  }
}

template <class Collection>
auto Need(const Collection& items, const std::string& name, const char* what) {
  auto item = items.find(name);
  if (!item) throw Refusal{std::string("no ") + what + " named '" + name + "' in the store"};
  return std::move(*item);
}

void Apply(zav::Store& store, zav::DriverSession& session, const DriverSessionChange& c) {
  if (c.description) session.setDescription(*c.description);
  if (c.noModule) session.clearSoftwareModule();
  if (c.module)
    session.setSoftwareModule(Need(store.softwareModules(), *c.module, "software module"));
  if (c.noAsset) session.clearHardwareAsset();
  if (c.asset) session.setHardwareAsset(Need(store.hardwareAssets(), *c.asset, "hardware asset"));
  if (c.setup) session.setDriverSetup(*c.setup);
  if (c.cache) session.setCache(*c.cache);
  if (c.interchangeCheck) session.setInterchangeCheck(*c.interchangeCheck);
  if (c.queryInstrStatus) session.setQueryInstrStatus(*c.queryInstrStatus);
  if (c.rangeCheck) session.setRangeCheck(*c.rangeCheck);
  if (c.recordCoercions) session.setRecordCoercions(*c.recordCoercions);
  if (c.simulate) session.setSimulate(*c.simulate);
}

bool ParseBoolean(const std::string& text, bool& value) {
  for (const char* t : {"true", "on", "yes", "1"})
    if (text == t) return value = true, true;
  for (const char* f : {"false", "off", "no", "0"})
    if (text == f) return value = false, true;
  return false;
}

void Assign(zav::DataComponent& component, const std::string& name, const std::string& text) {
  std::string type = component.type();
  auto refuse = [&](const char* what) {
    throw Refusal{"'" + text + "' is not " + what + ", which the " + type + " component '" + name +
                  "' holds"};
  };
  if (type == "Boolean") {
    bool value = false;
    if (!ParseBoolean(text, value)) refuse("a boolean (true/false, on/off, yes/no, 1/0)");
    component.setBooleanValue(value);
  } else if (type == "Integer") {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || value < INT32_MIN || value > INT32_MAX)
      refuse("a 32-bit integer");
    component.setIntegerValue(static_cast<ViInt32>(value));
  } else if (type == "Real") {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !std::isfinite(value)) refuse("a finite number");
    component.setRealValue(value);
  } else if (type == "String" || type == "APIReference") {
    component.setStringValue(text);
  } else {
    throw Refusal{"'" + name + "' is a structure: set one of its members (structure/member)"};
  }
}

// The component called path in components: a name, or structure/member/...
zav::DataComponent FindComponent(const zav::DataComponentCollection& components,
                                 const std::string& path) {
  if (auto whole = components.find(path)) return std::move(*whole);
  size_t slash = path.find('/');
  if (slash != std::string::npos) {
    if (auto structure = components.find(path.substr(0, slash)))
      if (structure->type() == "Structure")
        return FindComponent(structure->members(), path.substr(slash + 1));
  }
  throw Refusal{"no data component named '" + path + "'"};
}

}  // namespace

int AddLogicalName(const std::string& file, const std::string& name, const std::string& session,
                   const std::string& description) {
  return Edit(file, "logical-name add " + name, [&](zav::Store& store) {
    zav::LogicalName logical = store.logicalNames().create(name);
    if (!description.empty()) logical.setDescription(description);
    if (!session.empty()) logical.setSession(Need(store.sessions(), session, "session"));
    return "added logical name " + name + (session.empty() ? "" : " -> " + session);
  });
}

int PointLogicalName(const std::string& file, const std::string& name, const std::string& session) {
  return Edit(file, "logical-name set " + name, [&](zav::Store& store) {
    zav::LogicalName logical = Need(store.logicalNames(), name, "logical name");
    logical.setSession(Need(store.sessions(), session, "session"));
    return "logical name " + name + " -> " + session;
  });
}

int RemoveLogicalName(const std::string& file, const std::string& name) {
  return Edit(file, "logical-name remove " + name, [&](zav::Store& store) {
    zav::LogicalNameCollection names = store.logicalNames();
    zav::LogicalName logical = Need(names, name, "logical name");
    names.destroy(logical);
    return "removed logical name " + name;
  });
}

int AddDriverSession(const std::string& file, const std::string& name,
                     const DriverSessionChange& change) {
  return Edit(file, "driver-session add " + name, [&](zav::Store& store) {
    zav::DriverSession session = store.driverSessions().create(name);
    Apply(store, session, change);
    return "added driver session " + name;
  });
}

int ChangeDriverSession(const std::string& file, const std::string& name,
                        const DriverSessionChange& change) {
  return Edit(file, "driver-session set " + name, [&](zav::Store& store) {
    zav::DriverSession session = Need(store.driverSessions(), name, "driver session");
    Apply(store, session, change);
    return "changed driver session " + name;
  });
}

int RemoveDriverSession(const std::string& file, const std::string& name) {
  return Edit(file, "driver-session remove " + name, [&](zav::Store& store) {
    zav::DriverSessionCollection sessions = store.driverSessions();
    zav::DriverSession session = Need(sessions, name, "driver session");
    sessions.destroy(session);
    return "removed driver session " + name;
  });
}

int AddHardwareAsset(const std::string& file, const std::string& name, const std::string& resource,
                     const std::string& description) {
  return Edit(file, "hardware-asset add " + name, [&](zav::Store& store) {
    zav::HardwareAsset asset = store.hardwareAssets().create(name);
    asset.setIoResourceDescriptor(resource);
    if (!description.empty()) asset.setDescription(description);
    return "added hardware asset " + name + " at " + resource;
  });
}

int RemoveHardwareAsset(const std::string& file, const std::string& name) {
  return Edit(file, "hardware-asset remove " + name, [&](zav::Store& store) {
    zav::HardwareAssetCollection assets = store.hardwareAssets();
    zav::HardwareAsset asset = Need(assets, name, "hardware asset");
    assets.destroy(asset);
    return "removed hardware asset " + name;
  });
}

int SetValue(const std::string& file, const std::string& ownerKind, const std::string& owner,
             const std::string& component, const std::string& value) {
  return Edit(file, "set-value " + component, [&](zav::Store& store) {
    zav::DataComponentCollection components =
        ownerKind == "session" ? Need(store.sessions(), owner, "session").dataComponents()
        : ownerKind == "module"
            ? Need(store.softwareModules(), owner, "software module").dataComponents()
            : Need(store.hardwareAssets(), owner, "hardware asset").dataComponents();
    zav::DataComponent target = FindComponent(components, component);
    Assign(target, component, value);
    return "set " + owner + " " + component + " = " + value;
  });
}

}  // namespace zavtool
