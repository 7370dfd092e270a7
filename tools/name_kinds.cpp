// SPDX-License-Identifier: MIT
// physical-name, physical-range, virtual-name and virtual-range: the repeated-capability names
// a driver offers and the names a session maps onto them.
#include "item_edit.hpp"
#include "text.hpp"

namespace zavtool {

namespace {

// The collection that holds the physical name at path ("Parent/Child"): the module's own, or
// the children of the names before the last.
zav::PhysicalNameCollection PhysicalParent(const zav::Store& store, const Request& r,
                                           const std::string& path) {
  std::string moduleName = *r.get("module");
  zav::PhysicalNameCollection names = NeedModule(store, moduleName).physicalNames();
  std::vector<std::string> parts = SplitPath(path);
  std::string where = "in software module " + moduleName;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    zav::PhysicalName parent = NeedIn(names, parts[i], "physical name", where);
    names = parent.children();
    where = "under " + Join(std::vector<std::string>(parts.begin(), parts.begin() + i + 1), "/") +
            " in software module " + moduleName;
  }
  return names;
}

std::string PhysicalWhere(const Request& r, const std::string& path) {
  size_t slash = path.rfind('/');
  return (slash == std::string::npos ? "in" : "under " + path.substr(0, slash) + " in") +
         std::string(" software module ") + *r.get("module");
}

std::string Leaf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

zav::PhysicalName NeedPhysicalName(const zav::Store& store, const Request& r,
                                   const std::string& path) {
  return NeedIn(PhysicalParent(store, r, path), Leaf(path), "physical name",
                PhysicalWhere(r, path));
}

std::string Ranges(const zav::PhysicalRangeCollection& ranges) {
  std::vector<std::string> texts;
  for (zav::PhysicalRange range : ranges)
    texts.push_back(range.name() + " " + std::to_string(range.min()) + ".." +
                    std::to_string(range.max()));
  return Join(texts);
}

void ListPhysical(const zav::PhysicalNameCollection& names, const std::string& prefix,
                  Listing& out) {
  for (zav::PhysicalName name : names) {
    std::string path = prefix + name.name();
    out.Add({path, name.rcName(), Ranges(name.ranges())}, Kind::PhysicalName,
            Capture(name), path);
    ListPhysical(name.children(), path + "/", out);
  }
}

// Runs the verbs of a kind whose items live in one collection found from the request: create
// makes a new item there, fields are its settable properties.
// key is the item's name in its collection (the last part of a physical name's path).
template <class Item, class Collection>
int RunInCollection(const Request& r, const std::string& what, const std::string& key,
                    const std::function<Collection(const zav::Store&)>& collection,
                    const std::function<std::string(const Request&)>& where,
                    const std::function<Item(Collection&)>& create,
                    const std::vector<Field<Item>>& fields,
                    const std::function<void(const Item&, Listing&)>& list) {
  if (r.verb == kList)
    return List(r, [&](const zav::Store& store, Listing& out) {
      for (Item item : collection(store)) list(item, out);
    });
  return Edit(r, [&](zav::Store& store) -> Outcome {
    std::string name = r.arg("NAME");
    std::string label = what + " " + name + " " + where(r);
    Collection items = collection(store);
    if (r.verb == kAdd) {
      Item item = Attempt("adding " + label, [&] { return create(items); });
      Attempt("adding " + label, [&] { ApplyFields(item, r, fields); });
      return Changed("added " + label);
    }
    Item item = NeedIn(items, key, what, where(r));
    if (r.verb == kRemove) {
      Attempt("removing " + label, [&] { items.destroy(item); });
      return Changed("removed " + label);
    }
    int changed = Attempt("changing " + label, [&] { return ApplyFields(item, r, fields); });
    return changed ? Changed("changed " + label) : Unchanged();
  });
}

const std::vector<Field<zav::PhysicalName>>& PhysicalNameFields() {
  using P = zav::PhysicalName;
  static const std::vector<Field<P>> fields = {
      TextField<P>("name", "New name (letters, digits, ! and _)", kSet, &P::name, &P::setName),
      TextField<P>("rc-name", "New repeated capability name", kSet, &P::rcName, &P::setRcName)};
  return fields;
}

int RunPhysicalName(const Request& r) {
  using P = zav::PhysicalName;
  using C = zav::PhysicalNameCollection;
  if (r.verb == kList)
    return List(r, [&](const zav::Store& store, Listing& out) {
      ListPhysical(NeedModule(store, *r.get("module")).physicalNames(), "", out);
    });
  std::string path = r.arg("NAME");
  return RunInCollection<P, C>(
      r, "physical name", Leaf(path),
      [&](const zav::Store& store) { return PhysicalParent(store, r, path); },
      [&](const Request&) { return PhysicalWhere(r, path); },
      [&](C& names) { return names.create(Leaf(path), r.arg("RCNAME")); }, PhysicalNameFields(),
      nullptr);
}

const std::vector<Field<zav::PhysicalRange>>& PhysicalRangeFields() {
  using P = zav::PhysicalRange;
  static const std::vector<Field<P>> fields = {
      TextField<P>("name", "New name", kSet, &P::name, &P::setName),
      IntField<P>("min", "Lowest index (0 when not given)", kAdd | kSet, &P::min, &P::setMin),
      IntField<P>("max", "Highest index (0 when not given)", kAdd | kSet, &P::max, &P::setMax)};
  return fields;
}

int RunPhysicalRange(const Request& r) {
  using P = zav::PhysicalRange;
  using C = zav::PhysicalRangeCollection;
  std::string owner = *r.get("physical-name");
  return RunInCollection<P, C>(
      r, "physical range", r.arg("NAME"),
      [&](const zav::Store& store) { return NeedPhysicalName(store, r, owner).ranges(); },
      [&](const Request&) {
        return "of physical name " + owner + " in software module " + *r.get("module");
      },
      [&](C& ranges) { return ranges.create(r.arg("NAME")); }, PhysicalRangeFields(),
      [](const P& range, Listing& out) {
        out.Add({range.name(), std::to_string(range.min()) + ".." + std::to_string(range.max())},
                Kind::PhysicalRange, Capture(range));
      });
}

const std::vector<Field<zav::VirtualName>>& VirtualNameFields() {
  using V = zav::VirtualName;
  static const std::vector<Field<V>> fields = {
      TextField<V>("name", "New name (letters, digits, ! and _)", kSet, &V::name, &V::setName),
      TextField<V>("map-to", "New physical name it stands for", kSet, &V::mapTo, &V::setMapTo)};
  return fields;
}

std::string SessionWhere(const Request& r) { return "of session " + *r.get("session"); }

int RunVirtualName(const Request& r) {
  using V = zav::VirtualName;
  using C = zav::VirtualNameCollection;
  return RunInCollection<V, C>(
      r, "virtual name", r.arg("NAME"),
      [&](const zav::Store& store) { return NeedSession(store, *r.get("session")).virtualNames(); },
      SessionWhere, [&](C& names) { return names.create(r.arg("NAME"), r.arg("MAPTO")); },
      VirtualNameFields(),
      [](const V& name, Listing& out) {
        std::vector<std::string> ranges;
        for (zav::VirtualRange range : name.ranges())
          ranges.push_back(range.name() + " " + std::to_string(range.min()) + ".." +
                           std::to_string(range.max()) + " from " +
                           std::to_string(range.startingPhysicalIndex()));
        out.Add({name.name(), "-> " + name.mapTo(), Join(ranges)}, Kind::VirtualName,
                Capture(name));
      });
}

const std::vector<Field<zav::VirtualRange>>& VirtualRangeFields() {
  using V = zav::VirtualRange;
  static const std::vector<Field<V>> fields = {
      TextField<V>("name", "New name", kSet, &V::name, &V::setName),
      IntField<V>("min", "Lowest virtual index (0 when not given)", kAdd | kSet, &V::min,
                  &V::setMin),
      IntField<V>("max", "Highest virtual index (0 when not given)", kAdd | kSet, &V::max,
                  &V::setMax),
      IntField<V>("start", "Physical index the range starts at (0 when not given)", kAdd | kSet,
                  &V::startingPhysicalIndex, &V::setStartingPhysicalIndex)};
  return fields;
}

int RunVirtualRange(const Request& r) {
  using V = zav::VirtualRange;
  using C = zav::VirtualRangeCollection;
  std::string owner = *r.get("virtual-name");
  return RunInCollection<V, C>(
      r, "virtual range", r.arg("NAME"),
      [&](const zav::Store& store) {
        return NeedIn(NeedSession(store, *r.get("session")).virtualNames(), owner, "virtual name",
                      SessionWhere(r))
            .ranges();
      },
      [&](const Request&) { return "of virtual name " + owner + " " + SessionWhere(r); },
      [&](C& ranges) { return ranges.create(r.arg("NAME")); }, VirtualRangeFields(),
      [](const V& range, Listing& out) {
        out.Add({range.name(), std::to_string(range.min()) + ".." + std::to_string(range.max()),
                 "from " + std::to_string(range.startingPhysicalIndex())},
                Kind::VirtualRange, Capture(range));
      });
}

OptionSpec Owner(const std::string& name, const std::string& help) {
  return {name, ValueType::kText, help, kEditVerbs | kList, true};
}

}  // namespace

std::vector<KindSpec> NameKinds() {
  OptionSpec module = Owner("module", "Software module the names belong to");
  OptionSpec session = Owner("session", "Session or driver session the names belong to");
  std::vector<OptionSpec> physical = Specs(PhysicalNameFields(), {module});
  std::vector<OptionSpec> physicalRange =
      Specs(PhysicalRangeFields(),
            {module, Owner("physical-name", "Physical name the ranges belong to (Parent/Child)")});
  std::vector<OptionSpec> virtualName = Specs(VirtualNameFields(), {session});
  std::vector<OptionSpec> virtualRange = Specs(
      VirtualRangeFields(), {session, Owner("virtual-name", "Virtual name the ranges belong to")});
  return {{"physical-name",
           "Physical names: the repeated capability names a software module offers, nested as "
           "Parent/Child",
           {{kAdd, "Create a physical name (Parent/Child creates it under Parent)"},
            {kSet, "Rename a physical name or change its repeated capability"},
            {kRemove, "Remove a physical name with its ranges and the names under it"},
            {kList, "List a module's physical names: path, repeated capability, ranges"}},
           {{"NAME", "Physical name, or Parent/Child for a nested one", kEditVerbs},
            {"RCNAME", "Repeated capability it belongs to", kAdd}},
           physical,
           RunPhysicalName},
          {"physical-range",
           "Physical ranges: the index ranges of a physical name",
           {{kAdd, "Create a physical range"},
            {kSet, "Change a physical range"},
            {kRemove, "Remove a physical range"},
            {kList, "List a physical name's ranges: name, min..max"}},
           {{"NAME", "Range name", kEditVerbs}},
           physicalRange,
           RunPhysicalRange},
          {"virtual-name",
           "Virtual names: a session's own names for the driver's physical names",
           {{kAdd, "Create a virtual name mapped to a physical name"},
            {kSet, "Rename a virtual name or change what it maps to"},
            {kRemove, "Remove a virtual name with its ranges"},
            {kList, "List a session's virtual names: name, what it maps to, ranges"}},
           {{"NAME", "Virtual name", kEditVerbs},
            {"MAPTO", "Physical name (or name expression) it stands for", kAdd}},
           virtualName,
           RunVirtualName},
          {"virtual-range",
           "Virtual ranges: the index ranges of a virtual name",
           {{kAdd, "Create a virtual range"},
            {kSet, "Change a virtual range"},
            {kRemove, "Remove a virtual range"},
            {kList, "List a virtual name's ranges: name, min..max, starting physical index"}},
           {{"NAME", "Range name", kEditVerbs}},
           virtualRange,
           RunVirtualRange}};
}

}  // namespace zavtool
