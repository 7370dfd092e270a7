// SPDX-License-Identifier: MIT
// Random stores as snapshots, for property tests: every store it makes can be built through the
// library and read back, and every variant of one stays so (references follow renames and
// removals, structures keep a member).
#pragma once

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "store_snapshot.hpp"

namespace zavtest {

using zavtool::Kind;
using zavtool::Node;
using zavtool::Value;

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  Node Store() {
    namespace s = zavtool::store;
    Node root{"", {Text()}, std::vector<std::vector<Node>>(6)};
    for (int i = Up(3); i > 0; --i) {
      std::string name = Fresh("Api"), type = Pick<std::string>({"C", "NET"});
      int64_t major = Up(3), minor = Up(3) - 1;
      root.lists[s::Apis].push_back(
          {zavtool::PublishedApiKey(name, type, major, minor), {name, type, major, minor}, {}});
    }
    for (const Node& a : root.lists[s::Apis]) apis_.push_back(a.key);
    for (int i = Up(3); i > 0; --i) {
      Node m{Fresh("mod"), {}, std::vector<std::vector<Node>>(3)};
      for (int p = 0; p < 7; ++p) m.props.push_back(Text());
      for (const std::string& api : apis_)
        if (Up(1)) m.lists[zavtool::module::Apis].push_back({api, {}, {}});
      std::shuffle(m.lists[0].begin(), m.lists[0].end(), rng_);
      for (int p = Up(2); p > 0; --p)
        m.lists[zavtool::module::PhysicalNames].push_back(Physical(1));
      m.lists[zavtool::module::DataComponents] = Components(false);
      root.lists[s::Modules].push_back(std::move(m));
    }
    for (int i = Up(3); i > 0; --i)
      root.lists[s::Assets].push_back({Fresh("asset"), {Text(), Text()}, {Components(true)}});
    for (int driver = 1; driver >= 0; --driver)
      for (int i = Up(driver ? 4 : 2); i > 0; --i) {
        Node n{Fresh(driver ? "drv" : "ses"),
               {Text(), Ref(root.lists[s::Modules]), Ref(root.lists[s::Assets])},
               std::vector<std::vector<Node>>(2)};
        if (driver) {
          n.props.push_back(Text());
          for (int f = 0; f < 6; ++f) n.props.push_back(Up(1) == 1);
        }
        for (int v = Up(2); v > 0; --v) {
          Node name{Fresh("v"), {Fresh("Ch")}, std::vector<std::vector<Node>>(1)};
          for (int r = Up(2); r > 0; --r)
            name.lists[0].push_back({Fresh("r"), {Int(), Int(), Int()}, {}});
          n.lists[zavtool::session::VirtualNames].push_back(std::move(name));
        }
        n.lists[zavtool::session::DataComponents] = Components(false);
        root.lists[driver ? s::DriverSessions : s::Sessions].push_back(std::move(n));
      }
    std::vector<Node> targets = root.lists[s::DriverSessions];
    targets.insert(targets.end(), root.lists[s::Sessions].begin(), root.lists[s::Sessions].end());
    for (int i = Up(3); i > 0; --i)
      root.lists[s::LogicalNames].push_back({Fresh("name"), {Text(), Ref(targets)}, {}});
    return root;
  }

  // The store with a few random edits, each of which changes it: a property changed, an item
  // added (a copy of a sibling), removed or renamed, a list's order turned.
  Node Variant(const Node& base, int edits) {
    Node root = base;
    for (int i = 0, tries = 0; i < edits && tries < 100; ++tries) {
      Node before = root;
      Edit(root);
      if (!zavtool::SameNode(before, root)) ++i;
    }
    return root;
  }

 private:
  std::string Fresh(const std::string& prefix) { return prefix + std::to_string(next_++); }
  int Up(int most) { return std::uniform_int_distribution<int>(0, most)(rng_); }
  template <class T>
  T Pick(std::vector<T> from) {
    return from[static_cast<size_t>(Up(static_cast<int>(from.size()) - 1))];
  }
  Value Text() {
    return Pick<std::string>({"", "plain", "a & b <c> \"d\"",
                              "Gr\xC3\xBC\xC3\x9F"
                              "e",
                              " padded "});
  }
  Value Int() { return int64_t{Pick<int>({0, 1, -5, INT_MAX, INT_MIN})}; }
  Value Ref(const std::vector<Node>& targets) {
    if (targets.empty() || Up(3) == 0) return Value();
    return targets[static_cast<size_t>(Up(static_cast<int>(targets.size()) - 1))].key;
  }

  Node Physical(int depth) {
    Node n{Fresh("P"), {Fresh("rc")}, std::vector<std::vector<Node>>(2)};
    for (int r = Up(2); r > 0; --r) n.lists[0].push_back({Fresh("R"), {Int(), Int()}, {}});
    for (int c = depth > 0 ? Up(2) : 0; c > 0; --c) n.lists[1].push_back(Physical(depth - 1));
    return n;
  }

  std::vector<Node> Components(bool ofAsset, int depth = 0) {
    std::vector<Node> list;
    for (int i = Up(3) + (depth > 0); i > 0; --i) list.push_back(Component(ofAsset, depth));
    return list;
  }
  Node Component(bool ofAsset, int depth) {
    namespace c = zavtool::component;
    std::vector<std::string> types = {"Boolean", "Integer", "Real", "String"};
    if (depth < 2) types.push_back("Structure");
    if (!apis_.empty() && !(ofAsset && depth == 0)) types.push_back("APIReference");
    std::string type = Pick(types);
    Node n{Fresh("c"), std::vector<Value>(10), std::vector<std::vector<Node>>(1)};
    n.props[c::Type] = type;
    n.props[c::Description] = Text();
    n.props[c::UsedInSession] =
        std::string(ofAsset && depth == 0    ? "None"
                    : type == "APIReference" ? Pick<std::string>({"Optional", "Required"})
                                             : Pick<std::string>({"None", "Optional", "Required"}));
    n.props[c::ReadOnly] = Up(1) == 1;
    n.props[c::HelpContextId] = Int();
    n.props[c::HelpFilePath] = Text();
    n.props[c::SoftwareModuleKey] = Text();
    if (type == "Boolean") n.props[c::Val] = Up(1) == 1;
    if (type == "Integer") n.props[c::Val] = Int();
    // Six significant digits at most: what the store keeps of a real.
    if (type == "Real")
      n.props[c::Val] = Pick<double>({0.0, -0.0, 0.5, -2.25, 1e-07, 123456, 3.14159});
    if (type == "String" || type == "APIReference") n.props[c::Val] = Text();
    if (type == "Integer" || type == "Real") n.props[c::Units] = Text();
    if (type == "Structure") n.lists[c::Members] = Components(ofAsset, depth + 1);
    if (type == "APIReference") n.props[c::Api] = Pick(apis_);
    return n;
  }

  struct Place {
    Node* owner;
    Kind kind;  // the owner's
    size_t list;
  };
  void Places(Node& n, Kind kind, std::vector<Place>& out) {
    const zavtool::KindLayout& layout = zavtool::Layout(kind);
    for (size_t l = 0; l < n.lists.size(); ++l) {
      if (!n.lists[l].empty()) out.push_back({&n, kind, l});
      for (Node& child : n.lists[l]) Places(child, layout.lists[l].child, out);
    }
  }

  // Every reference to the store-level item `key` of the list (renamed to `to`, or cleared).
  void Follow(Node& root, size_t list, const std::string& key, const Value& to) {
    if (list == zavtool::store::LogicalNames) return;  // nothing refers to a logical name
    zavtool::Target target = list == zavtool::store::Modules  ? zavtool::Target::SoftwareModule
                             : list == zavtool::store::Assets ? zavtool::Target::HardwareAsset
                                                              : zavtool::Target::AnySession;
    std::function<void(Node&, Kind)> walk = [&](Node& n, Kind kind) {
      const zavtool::KindLayout& layout = zavtool::Layout(kind);
      for (size_t i = 0; i < n.props.size(); ++i)
        if (layout.props[i].target == target && n.props[i] == Value(key)) n.props[i] = to;
      for (size_t l = 0; l < n.lists.size(); ++l)
        for (Node& child : n.lists[l]) walk(child, layout.lists[l].child);
    };
    walk(root, Kind::Store);
  }

  void Edit(Node& root) {
    std::vector<Place> places;
    Places(root, Kind::Store, places);
    if (places.empty()) return;
    Place p = places[static_cast<size_t>(Up(static_cast<int>(places.size()) - 1))];
    Kind child = zavtool::Layout(p.kind).lists[p.list].child;
    std::vector<Node>& list = p.owner->lists[p.list];
    // Published APIs are their keys; the lists that refer to them keep to the ones there are.
    bool keyed = child == Kind::PublishedApi || child == Kind::ApiListEntry;
    bool stored = p.kind == Kind::Store;
    size_t minimum = child == Kind::DataComponent && p.kind == Kind::DataComponent ? 2 : 1;
    size_t i = static_cast<size_t>(Up(static_cast<int>(list.size()) - 1));
    switch (Up(4)) {
      case 0:  // a copy of a sibling under a new name
        if (keyed) return;
        list.push_back(list[i]);
        list.back().key = Fresh("new");
        return;
      case 1:
        if (list.size() < minimum || child == Kind::PublishedApi) return;
        if (stored) Follow(root, p.list, list[i].key, Value());
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      case 2: {
        if (keyed) return;
        std::string key = Fresh("ren");
        if (stored) Follow(root, p.list, list[i].key, key);
        list[i].key = key;
        return;
      }
      case 3:
        std::rotate(list.begin(), list.begin() + 1, list.end());
        return;
      default:
        Change(list[i], child, root);
    }
  }

  void Change(Node& n, Kind kind, const Node& root) {
    if (n.props.empty() || kind == Kind::PublishedApi) return;
    size_t i = static_cast<size_t>(Up(static_cast<int>(n.props.size()) - 1));
    const zavtool::PropLayout& layout = zavtool::Layout(kind).props[i];
    Value& v = n.props[i];
    if (kind == Kind::DataComponent &&
        (i == zavtool::component::Type || i == zavtool::component::UsedInSession))
      return;
    if (layout.target == zavtool::Target::SoftwareModule)
      v = Ref(root.lists[zavtool::store::Modules]);
    if (layout.target == zavtool::Target::HardwareAsset)
      v = Ref(root.lists[zavtool::store::Assets]);
    if (layout.target == zavtool::Target::AnySession) v = Ref(root.lists[zavtool::store::Sessions]);
    if (layout.target != zavtool::Target::None) return;
    if (auto* s = std::get_if<std::string>(&v)) *s += "+";
    if (auto* b = std::get_if<bool>(&v)) *b = !*b;
    if (auto* x = std::get_if<int64_t>(&v)) *x = *x == INT_MAX ? -1 : *x + 1;
    if (auto* d = std::get_if<double>(&v)) *d = *d == 0.25 ? 0.75 : 0.25;
  }

  std::mt19937 rng_;
  int next_ = 0;
  std::vector<std::string> apis_;
};

}  // namespace zavtest
