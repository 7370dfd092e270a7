// SPDX-License-Identifier: MIT
// driver-session, session and logical-name: how programs reach instruments.
#include "item_edit.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

const std::vector<Field<zav::DriverSession>>& DriverSessionFields() {
  using D = zav::DriverSession;
  const unsigned both = kAdd | kSet;
  static const std::vector<Field<D>> fields = {
      TextField<D>("name", "New name", kSet, &D::name, &D::setName),
      TextField<D>("description", "Description", both, &D::description, &D::setDescription),
      TextField<D>("setup", "Driver setup text (e.g. Model=A3401)", both, &D::driverSetup,
                   &D::setDriverSetup),
      BoolField<D>("cache", "Cache instrument state: on or off", both, &D::cache, &D::setCache),
      BoolField<D>("interchange-check", "Interchangeability checks: on or off", both,
                   &D::interchangeCheck, &D::setInterchangeCheck),
      BoolField<D>("query-instr-status", "Query the instrument status: on or off", both,
                   &D::queryInstrStatus, &D::setQueryInstrStatus),
      BoolField<D>("range-check", "Range checks: on or off", both, &D::rangeCheck,
                   &D::setRangeCheck),
      BoolField<D>("record-coercions", "Record coercions: on or off", both, &D::recordCoercions,
                   &D::setRecordCoercions),
      BoolField<D>("simulate", "Simulate the instrument: on or off", both, &D::simulate,
                   &D::setSimulate)};
  return fields;
}

const std::vector<Field<zav::Session>>& SessionFields() {
  using S = zav::Session;
  static const std::vector<Field<S>> fields = {
      TextField<S>("name", "New name", kSet, &S::name, &S::setName),
      TextField<S>("description", "Description", kAdd | kSet, &S::description, &S::setDescription)};
  return fields;
}

// The options of both session kinds that link a module and an asset.
std::vector<OptionSpec> LinkOptions() {
  return {{"module", ValueType::kText,
           "Software module (driver) to use; its required settings are copied in", kAdd | kSet},
          {"asset", ValueType::kText, "Hardware asset (instrument) to use", kAdd | kSet},
          {"no-module", ValueType::kFlag, "Unlink the software module and drop its settings", kSet},
          {"no-asset", ValueType::kFlag, "Unlink the hardware asset", kSet}};
}

int Link(const zav::Store& store, zav::Session& session, const Request& r) {
  if (r.has("module") && r.has("no-module"))
    throw Refusal{"--module and --no-module contradict each other", {}};
  if (r.has("asset") && r.has("no-asset"))
    throw Refusal{"--asset and --no-asset contradict each other", {}};
  int changed = 0;
  std::optional<zav::SoftwareModule> module = session.softwareModule();
  if (r.has("no-module") && (module || !session.softwareModuleName().empty()))
    session.clearSoftwareModule(), ++changed;
  // Linking the module again would copy its settings over the session's own.
  if (auto name = r.get("module"); name && !(module && module->name() == *name)) {
    zav::SoftwareModule wanted = NeedModule(store, *name);
    Attempt("linking software module " + *name + " to " + session.name(),
            [&] { session.setSoftwareModule(wanted); });
    ++changed;
  }
  std::optional<zav::HardwareAsset> asset = session.hardwareAsset();
  if (r.has("no-asset") && asset) session.clearHardwareAsset(), ++changed;
  if (auto name = r.get("asset"); name && !(asset && asset->name() == *name)) {
    session.setHardwareAsset(NeedAsset(store, *name));
    ++changed;
  }
  return changed;
}

Refusal WithReferences(const zav::Error& error, const zav::Store& store, const std::string& name) {
  Refusal refusal{error.what(), {}};
  for (zav::LogicalName n : store.logicalNames())
    if (std::optional<zav::Session> s = n.session(); s && s->name() == name)
      refusal.hints.push_back("logical name " + n.name() +
                              " leads to it: zavconfig logical-name set " + ShellWord(n.name()) +
                              " --no-session (or logical-name remove)");
  return refusal;
}

// A plain session: a driver session is refused with the command that edits it.
zav::Session NeedPlainSession(const zav::Store& store, const std::string& name) {
  if (store.driverSessions().find(name))
    throw Refusal{"'" + name + "' is a driver session, not a plain session",
                  {"edit it with 'zavconfig driver-session ...'"}};
  return NeedIn(store.sessions(), name, "session", "in the store", &store);
}

template <class Collection, class Item>
Outcome RemoveFrom(const zav::Store& store, Collection items, Item item, const std::string& what) {
  std::string name = item.name();
  try {
    items.destroy(item);
  } catch (const zav::Error& e) {
    if (e.code() != ZAVCONFIG_ERROR_HAS_REFERENCES) throw;
    throw WithReferences(e, store, name);
  }
  return Changed("removed " + what + " " + name);
}

int RunDriverSession(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::DriverSession d : store.driverSessions()) {
        std::optional<zav::SoftwareModule> m = d.softwareModule();
        std::optional<zav::HardwareAsset> a = d.hardwareAsset();
        out.Add({d.name(), m ? m->name() : "-", a ? a->name() : "-", d.driverSetup()},
                Kind::DriverSession, Capture(d));
      }
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME");
    if (r.verb == kRemove)
      return RemoveFrom(store, store.driverSessions(), NeedDriverSession(store, name),
                        "driver session");
    bool adding = r.verb == kAdd;
    zav::DriverSession session = adding
                                     ? Attempt("adding driver session " + name + " to the store",
                                               [&] { return store.driverSessions().create(name); })
                                     : NeedDriverSession(store, name);
    int changed = adding + Link(store, session, r);
    changed += Attempt((adding ? "adding" : "changing") + std::string(" driver session ") + name,
                       [&] { return ApplyFields(session, r, DriverSessionFields()); });
    if (!changed) return Unchanged();
    return Changed((adding ? "added driver session " : "changed driver session ") + name);
  });
}

int RunSession(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::Session s : store.sessions()) {
        if (store.driverSessions().find(s.name())) continue;
        std::optional<zav::SoftwareModule> m = s.softwareModule();
        std::optional<zav::HardwareAsset> a = s.hardwareAsset();
        out.Add({s.name(), m ? m->name() : "-", a ? a->name() : "-"}, Kind::Session,
                Capture(s));
      }
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME");
    if (r.verb == kRemove)
      return RemoveFrom(store, store.sessions(), NeedPlainSession(store, name), "session");
    bool adding = r.verb == kAdd;
    zav::Session session = adding ? Attempt("adding session " + name + " to the store",
                                            [&] { return store.sessions().create(name); })
                                  : NeedPlainSession(store, name);
    int changed = adding + Link(store, session, r);
    changed += Attempt((adding ? "adding" : "changing") + std::string(" session ") + name,
                       [&] { return ApplyFields(session, r, SessionFields()); });
    if (!changed) return Unchanged();
    return Changed((adding ? "added session " : "changed session ") + name);
  });
}

const std::vector<Field<zav::LogicalName>>& LogicalNameFields() {
  using L = zav::LogicalName;
  static const std::vector<Field<L>> fields = {
      TextField<L>("name", "New name", kSet, &L::name, &L::setName),
      TextField<L>("description", "Description", kAdd | kSet, &L::description, &L::setDescription)};
  return fields;
}

std::string Target(const zav::Store& store, const zav::LogicalName& name) {
  std::optional<zav::Session> s = name.session();
  if (!s) return "(leads nowhere)";
  return "-> " + s->name() +
         (store.driverSessions().find(s->name()) ? " (driver session)" : " (session)");
}

int RunLogicalName(const Request& r) {
  if (r.verb == kList)
    return List(r, [](const zav::Store& store, Listing& out) {
      for (zav::LogicalName n : store.logicalNames())
        out.Add({n.name(), Target(store, n)}, Kind::LogicalName, Capture(n));
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME"), target = r.arg("SESSION");
    if (r.verb == kRemove) {
      zav::LogicalNameCollection names = store.logicalNames();
      zav::LogicalName logical = NeedLogicalName(store, name);
      names.destroy(logical);
      return Changed("removed logical name " + name);
    }
    bool adding = r.verb == kAdd;
    if (!target.empty() && r.has("no-session"))
      throw Refusal{"SESSION and --no-session contradict each other", {}};
    zav::LogicalName logical = adding ? Attempt("adding logical name " + name + " to the store",
                                                [&] { return store.logicalNames().create(name); })
                                      : NeedLogicalName(store, name);
    int changed = adding;
    std::optional<zav::Session> current = logical.session();
    if (!target.empty() && !(current && current->name() == target))
      logical.setSession(NeedSession(store, target)), ++changed;
    if (r.has("no-session") && current) logical.clearSession(), ++changed;
    changed += Attempt((adding ? "adding" : "changing") + std::string(" logical name ") + name,
                       [&] { return ApplyFields(logical, r, LogicalNameFields()); });
    if (!changed) return Unchanged();
    return Changed((adding ? "added logical name " : "changed logical name ") + logical.name() +
                   " " + Target(store, logical));
  });
}

}  // namespace

std::vector<KindSpec> SessionKinds() {
  std::vector<OptionSpec> driverOptions = Specs(DriverSessionFields(), LinkOptions());
  std::vector<OptionSpec> sessionOptions = Specs(SessionFields(), LinkOptions());
  return {
      {"driver-session",
       "Driver sessions: a driver used with an instrument, with the driver's options, virtual "
       "names and settings",
       {{kAdd, "Create a driver session"},
        {kSet, "Change a driver session: module, asset, driver setup, flags, name, description"},
        {kRemove, "Remove a driver session no logical name leads to"},
        {kList, "List the driver sessions: name, software module, hardware asset, driver setup"}},
       {{"NAME", "Driver session name", kEditVerbs}},
       driverOptions,
       RunDriverSession},
      {"session",
       "Sessions that are not driver sessions: a module and an asset with virtual names and "
       "settings",
       {{kAdd, "Create a session"},
        {kSet, "Change a session: module, asset, name, description"},
        {kRemove, "Remove a session no logical name leads to"},
        {kList, "List the sessions that are not driver sessions: name, module, asset"}},
       {{"NAME", "Session name", kEditVerbs}},
       sessionOptions,
       RunSession},
      {"logical-name",
       "Logical names: the names programs open, each leading to a session or driver session",
       {{kAdd, "Create a logical name, optionally leading to a session"},
        {kSet, "Point a logical name at a session, or change its name or description"},
        {kRemove, "Remove a logical name"},
        {kList, "List the logical names and where they lead"}},
       {{"NAME", "Logical name", kEditVerbs},
        {"SESSION", "Session or driver session it leads to", kAdd | kSet, false}},
       Specs(LogicalNameFields(), {{"no-session", ValueType::kFlag, "Lead nowhere", kSet}}),
       RunLogicalName}};
}

}  // namespace zavtool
