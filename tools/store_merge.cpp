// SPDX-License-Identifier: MIT
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "store_compare.hpp"

namespace zavtool {

namespace {

using Keys = std::vector<std::string_view>;

std::string OrderText(Kind kind, const Keys& keys) {
  std::string text;
  for (std::string_view key : keys) {
    std::string k(key);
    bool api = kind == Kind::ApiListEntry || kind == Kind::PublishedApi;
    text += (text.empty() ? "" : ", ") + (api ? ApiKeyText(k) : ValueText(Value(k)));
  }
  return text.empty() ? "(empty)" : text;
}

// Pairs compared when looking for an item renamed on both sides, at most (see Diff).
constexpr size_t kRenameComparisons = 1000000;

class Merger {
 public:
  explicit Merger(Side resolve) : resolve_(resolve) {}

  Node Item(Kind kind, const Node* b, const Node& o, const Node& t, const std::string& owner) {
    if (SameNode(o, t)) return o;
    // A base read for its key alone has nothing to compare with.
    if (b && (b->props.size() != o.props.size() || b->lists.size() != o.lists.size())) b = nullptr;
    if (b && SameNode(*b, o)) return t;
    if (b && SameNode(*b, t)) return o;
    const std::string path = kind == Kind::Store ? "" : ItemPath(owner, kind, o.key);
    const KindLayout& layout = Layout(kind);
    if (kind == Kind::DataComponent) {
      // Another type brings another value and maybe members: the component goes as a whole.
      const Value& type = o.props[component::Type];
      if (!SameValue(type, t.props[component::Type]) ||
          (b && !SameValue(type, b->props[component::Type]))) {
        Record(path, "type", b ? ValueText(b->props[component::Type]) : "(absent)", ValueText(type),
               ValueText(t.props[component::Type]));
        return resolve_ == Side::Theirs ? t : o;
      }
    }
    Node r{o.key, std::vector<Value>(o.props.size()),
           std::vector<std::vector<Node>>(o.lists.size())};
    for (size_t i = 0; i < o.props.size(); ++i)
      r.props[i] = Prop(b ? &b->props[i] : nullptr, o.props[i], t.props[i], path, layout.props[i]);
    for (size_t l = 0; l < o.lists.size(); ++l)
      r.lists[l] = List(layout.lists[l], b ? &b->lists[l] : nullptr, o.lists[l], t.lists[l], path);
    return r;
  }

  void Record(const std::string& item, const std::string& property, std::string base,
              std::string ours, std::string theirs) {
    conflicts.push_back({item.empty() ? "store" : item, property, std::move(base), std::move(ours),
                         std::move(theirs)});
  }

  Side resolve() const { return resolve_; }
  std::vector<Conflict> conflicts;

 private:
  Value Prop(const Value* b, const Value& o, const Value& t, const std::string& path,
             const PropLayout& layout) {
    if (SameValue(o, t)) return o;
    if (b && SameValue(*b, o)) return t;
    if (b && SameValue(*b, t)) return o;
    Record(path, layout.name, b ? ValueText(*b, layout.target) : "(absent)",
           ValueText(o, layout.target), ValueText(t, layout.target));
    return resolve_ == Side::Theirs ? t : o;
  }

  // What one side did to an item the other side removed: "removed", or the first few changes.
  static std::string Changes(Kind kind, const Node& base, const Node* side,
                             const std::string& path) {
    if (!side) return "removed";
    std::string what;
    size_t shown = 0;
    for (const Change& c : DiffItem(kind, base, *side, path)) {
      if (++shown > 3) {
        what += ", ...";
        break;
      }
      std::string where = c.item.size() > path.size() + 3 ? c.item.substr(path.size() + 3) : "";
      std::string property = c.what == Change::What::Changed     ? c.property
                             : c.what == Change::What::Reordered ? "order of " + c.property
                                                                 : "";
      if (c.what == Change::What::Added) where = "+" + where;
      if (c.what == Change::What::Removed) where = "-" + where;
      if (c.what == Change::What::Renamed) where += " renamed";
      what += (what.empty() ? "" : ", ") + where + (where.empty() || property.empty() ? "" : ": ") +
              property;
    }
    return "changed (" + what + ")";
  }

  std::vector<Node> List(const ListLayout& layout, const std::vector<Node>* b,
                         const std::vector<Node>& o, const std::vector<Node>& t,
                         const std::string& path) {
    struct Entry {
      const Node* b = nullptr;
      const Node* o = nullptr;
      const Node* t = nullptr;
    };
    std::unordered_map<std::string_view, size_t> index;
    std::vector<Entry> entries;
    index.reserve(o.size() + t.size());
    auto enter = [&](const std::vector<Node>& list, const Node* Entry::*side) {
      for (const Node& n : list) {
        auto [it, fresh] = index.emplace(n.key, entries.size());
        if (fresh) entries.emplace_back();
        entries[it->second].*side = &n;
      }
    };
    if (b) enter(*b, &Entry::b);
    enter(o, &Entry::o);
    enter(t, &Entry::t);

    std::vector<std::optional<Node>> kept(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      const Entry& e = entries[i];
      if (e.o && e.t) {
        kept[i] = Item(layout.child, e.b, *e.o, *e.t, path);
      } else if (!e.b) {
        kept[i] = e.o ? *e.o : *e.t;  // added on one side
      } else if (e.o || e.t) {
        const Node& still = e.o ? *e.o : *e.t;
        if (SameNode(*e.b, still)) continue;  // removed on one side, untouched on the other
        std::string item = ItemPath(path, layout.child, e.b->key);
        Record(item, "item", "present", Changes(layout.child, *e.b, e.o, item),
               Changes(layout.child, *e.b, e.t, item));
        const Node* pick = resolve_ == Side::Theirs ? e.t : e.o;
        if (pick) kept[i] = *pick;
      }  // else removed on both sides
    }
    RenamedApart(layout, entries, kept, path);

    // The order: of the items all three hold, the order of the side that changed it; each item
    // only one side holds follows the item it follows on that side.
    auto common = [&](size_t i) {
      return entries[i].b && entries[i].o && entries[i].t && kept[i].has_value();
    };
    auto order = [&](const std::vector<Node>* list) {
      Keys keys;
      if (list)
        for (const Node& n : *list)
          if (common(index[n.key])) keys.push_back(n.key);
      return keys;
    };
    Keys seqB = order(b), seqO = order(&o), seqT = order(&t);
    const Keys* seq = &seqO;
    if (seqO == seqB) {
      seq = &seqT;
    } else if (seqT != seqB && seqO != seqT) {
      if (layout.ordered)
        Record(path, std::string("order of ") + layout.name, OrderText(layout.child, seqB),
               OrderText(layout.child, seqO), OrderText(layout.child, seqT));
      if (resolve_ == Side::Theirs) seq = &seqT;
    }
    std::vector<size_t> first;
    std::unordered_map<std::string_view, std::vector<size_t>> after;
    std::vector<bool> placed(entries.size(), false);
    for (const std::vector<Node>* side : {&o, &t}) {
      std::optional<std::string_view> anchor;
      for (const Node& n : *side) {
        size_t i = index[n.key];
        if (!kept[i]) continue;
        if (common(i)) {
          anchor = n.key;
        } else if (!placed[i]) {
          placed[i] = true;
          (anchor ? after[*anchor] : first).push_back(i);
        }
      }
    }
    std::vector<Node> result;
    result.reserve(entries.size());
    for (size_t i : first) result.push_back(std::move(*kept[i]));
    for (std::string_view key : *seq) {
      result.push_back(std::move(*kept[index[key]]));
      auto it = after.find(key);
      if (it != after.end())
        for (size_t i : it->second) result.push_back(std::move(*kept[i]));
    }
    return result;
  }

  // An item renamed on one side (removed, and added under another name with the same content)
  // and removed or renamed otherwise on the other would otherwise come back, or come out twice.
  template <class Entry>
  void RenamedApart(const ListLayout& layout, const std::vector<Entry>& entries,
                    std::vector<std::optional<Node>>& kept, const std::string& path) {
    if (layout.child == Kind::ApiListEntry || layout.child == Kind::PublishedApi) return;
    std::vector<size_t> gone, ours, theirs;
    for (size_t i = 0; i < entries.size(); ++i) {
      const Entry& e = entries[i];
      if (e.b && !e.o && !e.t) gone.push_back(i);
      if (!e.b && e.o && !e.t) ours.push_back(i);
      if (!e.b && !e.o && e.t) theirs.push_back(i);
    }
    if (gone.empty() || gone.size() * (ours.size() + theirs.size()) > kRenameComparisons) return;
    auto renamed = [&](const Node& base,
                       const std::vector<size_t>& added) -> std::optional<size_t> {
      for (size_t i : added)
        if (kept[i] && SameContent(base, *kept[i])) return i;
      return std::nullopt;
    };
    for (size_t g : gone) {
      const Node& base = *entries[g].b;
      std::optional<size_t> o = renamed(base, ours), t = renamed(base, theirs);
      if (!o && !t) continue;
      Record(ItemPath(path, layout.child, base.key), "name", base.key,
             o ? kept[*o]->key : "(removed)", t ? kept[*t]->key : "(removed)");
      std::optional<size_t> dropped = resolve_ == Side::Theirs ? o : t;
      if (dropped) kept[*dropped].reset();
    }
  }

  Side resolve_;
};

// --- what the merged store refers to --------------------------------------------------------

// The store list that holds what a reference points at (a Node or a const Node).
template <class N>
auto& TargetList(N& root, Target target, bool driver) {
  switch (target) {
    case Target::PublishedApi:
      return root.lists[store::Apis];
    case Target::SoftwareModule:
      return root.lists[store::Modules];
    case Target::HardwareAsset:
      return root.lists[store::Assets];
    default:
      return root.lists[driver ? store::DriverSessions : store::Sessions];
  }
}

Kind TargetKind(Target target, bool driver) {
  switch (target) {
    case Target::PublishedApi:
      return Kind::PublishedApi;
    case Target::SoftwareModule:
      return Kind::SoftwareModule;
    case Target::HardwareAsset:
      return Kind::HardwareAsset;
    default:
      return driver ? Kind::DriverSession : Kind::Session;
  }
}

const Node* FindKey(const std::vector<Node>& list, const std::string& key) {
  for (const Node& n : list)
    if (n.key == key) return &n;
  return nullptr;
}

// The item of the same place in another version of the store; null where that version has
// none, or holds the key alone of an item on the way.
const Node* Locate(const Node& root, const std::vector<std::pair<size_t, std::string>>& steps) {
  const Node* n = &root;
  for (const auto& [list, key] : steps) {
    n = list < n->lists.size() ? FindKey(n->lists[list], key) : nullptr;
    if (!n) return nullptr;
  }
  return n;
}

// Finds references to items the merged store lacks: each is a conflict, settled for the side
// the merge was told to take.
class References {
 public:
  References(Merger& merger, Node& root, const Node& base, const Node& ours, const Node& theirs)
      : merger_(merger), root_(root), base_(base), ours_(ours), theirs_(theirs) {}

  void Settle() {
    // A target brought back may itself refer to what is gone, so walk until nothing returns.
    do {
      restored_ = false;
      Index();
      std::vector<std::pair<size_t, std::string>> steps;
      Walk(Kind::Store, root_, steps, "");
    } while (restored_);
  }

 private:
  // Views into the merged store: taken again whenever an item is added to it. Sessions and
  // driver sessions share one set of names.
  void Index() {
    for (std::unordered_set<std::string_view>& names : names_) names.clear();
    const size_t lists[] = {store::Apis, store::Modules, store::Assets, store::DriverSessions,
                            store::Sessions};
    for (size_t l : lists) {
      std::unordered_set<std::string_view>& names =
          names_[l == store::Sessions ? size_t{store::DriverSessions} : l];
      names.reserve(names.size() + root_.lists[l].size());
      for (const Node& n : root_.lists[l]) names.insert(n.key);
    }
  }
  bool Exists(Target target, const std::string& key) const {
    switch (target) {
      case Target::PublishedApi:
        return names_[store::Apis].count(key) > 0;
      case Target::SoftwareModule:
        return names_[store::Modules].count(key) > 0;
      case Target::HardwareAsset:
        return names_[store::Assets].count(key) > 0;
      default:
        return names_[store::DriverSessions].count(key) > 0;
    }
  }
  // The version of the target a side holds, and whether that side holds it as a driver session.
  static const Node* Holds(const Node& side, Target target, const std::string& key, bool& driver) {
    driver = true;
    if (const Node* n = FindKey(TargetList(side, target, true), key)) return n;
    driver = false;
    return target == Target::AnySession ? FindKey(TargetList(side, target, false), key) : nullptr;
  }

  void Walk(Kind kind, Node& n, std::vector<std::pair<size_t, std::string>>& steps,
            const std::string& path) {
    const KindLayout& layout = Layout(kind);
    for (size_t i = 0; i < n.props.size(); ++i) {
      const std::string* key = std::get_if<std::string>(&n.props[i]);
      if (layout.props[i].target == Target::None || !key || Exists(layout.props[i].target, *key))
        continue;
      Target target = layout.props[i].target;
      std::string name = *key;
      if (Dangling(target, name, steps, path, layout.props[i].name, i, false)) n.props[i] = Value();
    }
    for (size_t l = 0; l < n.lists.size(); ++l) {
      std::vector<Node>& list = n.lists[l];
      Kind child = layout.lists[l].child;
      for (size_t j = 0; j < list.size();) {
        if (child == Kind::ApiListEntry && !Exists(Target::PublishedApi, list[j].key)) {
          std::string name = list[j].key;
          steps.emplace_back(l, name);
          bool drop =
              Dangling(Target::PublishedApi, name, steps, path, layout.lists[l].name, 0, true);
          steps.pop_back();
          if (drop) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            continue;
          }
        } else if (child != Kind::ApiListEntry) {
          steps.emplace_back(l, list[j].key);
          Walk(child, list[j], steps, ItemPath(path, child, list[j].key));
          steps.pop_back();
        }
        ++j;
      }
    }
  }

  // Records the conflict and settles it; true when the reference is to go. The reference is the
  // property prop of the item at steps, or (entry) the entry at steps of a module's API list.
  bool Dangling(Target target, const std::string& name,
                const std::vector<std::pair<size_t, std::string>>& steps, const std::string& path,
                const char* property, size_t prop, bool entry) {
    bool oursDriver = false, theirsDriver = false;
    const Node* inOurs = Holds(ours_, target, name, oursDriver);
    const Node* inTheirs = Holds(theirs_, target, name, theirsDriver);
    std::string label = ItemLabel(TargetKind(target, inOurs ? oursDriver : theirsDriver), name);
    std::string remover = !inOurs && inTheirs   ? "ours"
                          : inOurs && !inTheirs ? "theirs"
                                                : "both sides";
    // What each side's version of the referring item says.
    auto value = [&](const Node& side) -> std::string {
      const Node* item = Locate(side, steps);
      if (entry) return item ? ApiKeyText(name) : "(absent)";
      return item && prop < item->props.size() ? ValueText(item->props[prop], target) : "(absent)";
    };
    merger_.Record(path, std::string(property) + " (" + label + " removed by " + remover + ")",
                   value(base_), value(ours_), value(theirs_));
    const Node* keep = merger_.resolve() == Side::Ours     ? inOurs
                       : merger_.resolve() == Side::Theirs ? inTheirs
                                                           : nullptr;
    bool driver = merger_.resolve() == Side::Ours ? oursDriver : theirsDriver;
    // An API reference cannot be left without its published API: that one comes back whenever
    // some side still has it.
    if (!keep && target == Target::PublishedApi && !entry) {
      keep = inOurs ? inOurs : inTheirs;
      driver = true;
    }
    if (!keep) return true;
    TargetList(root_, target, driver).push_back(*keep);
    restored_ = true;
    Index();
    return false;
  }

  Merger& merger_;
  Node& root_;
  const Node& base_;
  const Node& ours_;
  const Node& theirs_;
  std::unordered_set<std::string_view> names_[6];
  bool restored_ = false;
};

// A name may be a session or a driver session, not both.
void SessionKinds(Merger& merger, Node& root, const Node& base, const Node& ours,
                  const Node& theirs) {
  std::vector<Node>& drivers = root.lists[store::DriverSessions];
  std::vector<Node>& sessions = root.lists[store::Sessions];
  std::unordered_set<std::string> driverNames;
  for (const Node& d : drivers) driverNames.insert(d.key);
  auto kind = [](const Node& side, const std::string& name) -> std::string {
    if (FindKey(side.lists[store::DriverSessions], name)) return "driver session";
    if (FindKey(side.lists[store::Sessions], name)) return "session";
    return "(absent)";
  };
  for (size_t i = 0; i < sessions.size();) {
    const std::string name = sessions[i].key;
    if (!driverNames.count(name)) {
      ++i;
      continue;
    }
    merger.Record(ItemLabel(Kind::Session, name), "kind", kind(base, name), kind(ours, name),
                  kind(theirs, name));
    const Node& side = merger.resolve() == Side::Theirs ? theirs : ours;
    if (kind(side, name) == "session") {
      for (size_t d = 0; d < drivers.size(); ++d)
        if (drivers[d].key == name) {
          drivers.erase(drivers.begin() + static_cast<std::ptrdiff_t>(d));
          break;
        }
      ++i;
    } else {
      sessions.erase(sessions.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

}  // namespace

MergeResult Merge(const Node& base, const Node& ours, const Node& theirs, Side resolve) {
  Merger merger(resolve);
  MergeResult result{merger.Item(Kind::Store, &base, ours, theirs, ""), {}};
  SessionKinds(merger, result.root, base, ours, theirs);
  References(merger, result.root, base, ours, theirs).Settle();
  result.conflicts = std::move(merger.conflicts);
  return result;
}

KeyOnly AlikeInBoth(const Node& ours, const Node& theirs) {
  auto alike =
      std::make_shared<std::vector<std::unordered_set<std::string_view>>>(ours.lists.size());
  for (size_t l = 0; l < ours.lists.size() && l < theirs.lists.size(); ++l) {
    std::unordered_map<std::string_view, const Node*> inTheirs;
    inTheirs.reserve(theirs.lists[l].size());
    for (const Node& n : theirs.lists[l]) inTheirs.emplace(n.key, &n);
    for (const Node& n : ours.lists[l]) {
      auto it = inTheirs.find(n.key);
      if (it != inTheirs.end() && SameNode(n, *it->second)) (*alike)[l].insert(n.key);
    }
  }
  return [alike](size_t list, const std::string& key) {
    return list < alike->size() && (*alike)[list].count(key) > 0;
  };
}

std::string ConflictText(const Conflict& c) {
  return c.item + ": " + c.property + ": base " + c.base + ", ours " + c.ours + ", theirs " +
         c.theirs;
}

}  // namespace zavtool
