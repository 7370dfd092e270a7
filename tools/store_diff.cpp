// SPDX-License-Identifier: MIT
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "snapshot_json.hpp"
#include "store_compare.hpp"

namespace zavtool {

namespace {

// Pairs of a removed and an added item compared for a rename, at most: beyond it (thousands of
// items replaced by thousands of others) they are listed as removed and added.
constexpr size_t kRenameComparisons = 1000000;

std::string KeyText(Kind kind, std::string_view key) {
  std::string text(key);
  return kind == Kind::ApiListEntry || kind == Kind::PublishedApi ? ApiKeyText(text) : text;
}

class Differ {
 public:
  explicit Differ(std::vector<Change>& out) : out_(out) {}

  void Item(Kind kind, const Node& a, const Node& b, const std::string& path) {
    const KindLayout& layout = Layout(kind);
    for (size_t i = 0; i < a.props.size(); ++i)
      if (!SameValue(a.props[i], b.props[i])) {
        Change c{Change::What::Changed, path, layout.props[i].name, layout.props[i].target};
        c.before = a.props[i];
        c.after = b.props[i];
        out_.push_back(std::move(c));
      }
    for (size_t l = 0; l < a.lists.size(); ++l) List(layout.lists[l], a.lists[l], b.lists[l], path);
  }

 private:
  void List(const ListLayout& layout, const std::vector<Node>& a, const std::vector<Node>& b,
            const std::string& parent) {
    std::unordered_map<std::string_view, size_t> inA, inB;
    inA.reserve(a.size());
    inB.reserve(b.size());
    for (size_t i = 0; i < a.size(); ++i) inA.emplace(a[i].key, i);
    for (size_t i = 0; i < b.size(); ++i) inB.emplace(b[i].key, i);

    std::vector<const Node*> removed, added;
    std::vector<std::string_view> commonA, commonB;
    for (const Node& n : a) {
      auto it = inB.find(n.key);
      if (it == inB.end()) {
        removed.push_back(&n);
        continue;
      }
      commonA.push_back(n.key);
      const Node& other = b[it->second];
      if (!SameNode(n, other)) Item(layout.child, n, other, ItemPath(parent, layout.child, n.key));
    }
    for (const Node& n : b) {
      if (!inA.count(n.key))
        added.push_back(&n);
      else
        commonB.push_back(n.key);
    }
    if (layout.ordered && commonA != commonB) {
      Change c{Change::What::Reordered, parent, layout.name};
      for (std::string_view k : commonA) c.orderBefore.push_back(KeyText(layout.child, k));
      for (std::string_view k : commonB) c.orderAfter.push_back(KeyText(layout.child, k));
      out_.push_back(std::move(c));
    }

    // A published API is nothing but its key, so it cannot be told renamed.
    bool renames = removed.size() * added.size() <= kRenameComparisons &&
                   layout.child != Kind::ApiListEntry && layout.child != Kind::PublishedApi;
    for (const Node* r : removed) {
      const Node* renamed = nullptr;
      for (const Node*& n : added)
        if (renames && n && SameContent(*r, *n)) {
          renamed = n;
          n = nullptr;  // taken
          break;
        }
      if (renamed)
        out_.emplace_back(Change::What::Renamed, ItemPath(parent, layout.child, r->key),
                          renamed->key);
      else
        out_.emplace_back(Change::What::Removed, ItemPath(parent, layout.child, r->key));
    }
    for (const Node* n : added)
      if (n) out_.emplace_back(Change::What::Added, ItemPath(parent, layout.child, n->key));
  }

  std::vector<Change>& out_;
};

std::string OrderText(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& k : keys) text += (text.empty() ? "" : ", ") + ValueText(Value(k));
  return text;
}

Json ValueJson(const Value& v, Target target) {
  if (const bool* b = std::get_if<bool>(&v)) return *b;
  if (const int64_t* i = std::get_if<int64_t>(&v)) return *i;
  if (const double* d = std::get_if<double>(&v))
    return std::isfinite(*d) ? Json(*d) : Json(ValueText(v));
  if (const std::string* s = std::get_if<std::string>(&v))
    return target == Target::PublishedApi ? ApiKeyText(*s) : *s;
  return nullptr;
}

// Whether a property that holds a new item's default is worth a line of its own: a setting's
// value and a range's bounds are, an empty text, a flag that is off or help topic 0 are not.
bool Shown(Kind kind, size_t prop, const Value& v) {
  if (std::holds_alternative<std::monostate>(v)) return false;
  if (kind == Kind::PhysicalRange || kind == Kind::VirtualRange) return true;
  if (kind == Kind::DataComponent && prop == component::Val) return true;
  const std::string* text = std::get_if<std::string>(&v);
  const bool* flag = std::get_if<bool>(&v);
  const int64_t* number = std::get_if<int64_t>(&v);
  return !(text && text->empty()) && !(flag && !*flag) && !(number && *number == 0);
}

void Lines(Kind kind, const Node& n, const std::string& path, std::ostream& out) {
  const KindLayout& layout = Layout(kind);
  if (kind != Kind::Store) out << path << "\n";
  const std::string prefix = kind == Kind::Store ? "" : path + "  ";
  // A published API's key already says all its properties.
  for (size_t i = 0; i < n.props.size() && kind != Kind::PublishedApi; ++i)
    if (Shown(kind, i, n.props[i]))
      out << prefix << layout.props[i].name << " = "
          << ValueText(n.props[i], layout.props[i].target) << "\n";
  for (size_t l = 0; l < n.lists.size(); ++l)
    for (const Node& child : n.lists[l])
      Lines(layout.lists[l].child, child,
            ItemPath(kind == Kind::Store ? "" : path, layout.lists[l].child, child.key), out);
}

}  // namespace

std::vector<Change> Diff(const Node& a, const Node& b) {
  std::vector<Change> changes;
  if (!SameNode(a, b)) Differ(changes).Item(Kind::Store, a, b, "");
  for (Change& c : changes)
    if (c.item.empty()) c.item = "store";
  return changes;
}

std::vector<Change> DiffItem(Kind kind, const Node& a, const Node& b, const std::string& path) {
  std::vector<Change> changes;
  if (!SameNode(a, b)) Differ(changes).Item(kind, a, b, path);
  return changes;
}

void PrintChanges(const std::vector<Change>& changes, std::ostream& out) {
  for (const Change& c : changes) {
    switch (c.what) {
      case Change::What::Added:
        out << "+ " << c.item << "\n";
        break;
      case Change::What::Removed:
        out << "- " << c.item << "\n";
        break;
      case Change::What::Renamed:
        out << "~ " << c.item << ": renamed to " << c.property << "\n";
        break;
      case Change::What::Changed:
        out << "~ " << c.item << ": " << c.property << ": " << ValueText(c.before, c.target)
            << " -> " << ValueText(c.after, c.target) << "\n";
        break;
      case Change::What::Reordered:
        out << "~ " << c.item << ": order of " << c.property << ": " << OrderText(c.orderBefore)
            << " -> " << OrderText(c.orderAfter) << "\n";
        break;
    }
  }
}

Json ChangesJson(const std::vector<Change>& changes) {
  Json list = Json::array();
  for (const Change& c : changes) {
    switch (c.what) {
      case Change::What::Added:
        list.push_back({{"change", "added"}, {"item", c.item}});
        break;
      case Change::What::Removed:
        list.push_back({{"change", "removed"}, {"item", c.item}});
        break;
      case Change::What::Renamed:
        list.push_back({{"change", "renamed"}, {"item", c.item}, {"name", c.property}});
        break;
      case Change::What::Changed:
        list.push_back({{"change", "changed"},
                        {"item", c.item},
                        {"property", c.property},
                        {"old", ValueJson(c.before, c.target)},
                        {"new", ValueJson(c.after, c.target)}});
        break;
      case Change::What::Reordered:
        list.push_back({{"change", "reordered"},
                        {"item", c.item},
                        {"list", c.property},
                        {"old", c.orderBefore},
                        {"new", c.orderAfter}});
        break;
    }
  }
  return {{"same", changes.empty()}, {"changes", list}};
}

void PrintLines(const Node& root, std::ostream& out) { Lines(Kind::Store, root, "", out); }

}  // namespace zavtool
