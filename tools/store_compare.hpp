// SPDX-License-Identifier: MIT
// Stores compared by what they hold, item by item: the difference of two snapshots, the
// three-way merge of three, and a listing of one that a line-by-line diff can compare.
//
// Items are matched by kind and key (a name; a published API's four-part key), never by id or
// position, so renumbered ids and moved lines mean nothing here. Index order counts only where
// the store's users see it: in an item's own lists (settings, structure members, physical and
// virtual names, ranges, a module's published APIs), not in the store's six collections, whose
// items are found by name.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "store_snapshot.hpp"

namespace zavtool {

struct Change {
  enum class What { Added, Removed, Renamed, Changed, Reordered };
  Change(What w, std::string i, std::string p = "", Target t = Target::None)
      : what(w), item(std::move(i)), property(std::move(p)), target(t) {}
  What what;
  std::string item;      // "software-module acme34 / data-component Timeout"
  std::string property;  // Changed: the property; Reordered: the list; Renamed: the new name
  Target target = Target::None;
  Value before, after;                               // Changed
  std::vector<std::string> orderBefore, orderAfter;  // Reordered: the keys both sides hold
};

std::vector<Change> Diff(const Node& a, const Node& b);
// The changes of one item (two versions of it, of the kind given) under its path.
std::vector<Change> DiffItem(Kind kind, const Node& a, const Node& b, const std::string& path);
// One line per change: "+ item", "- item", "~ item: property: old -> new", ...
void PrintChanges(const std::vector<Change>& changes, std::ostream& out);
nlohmann::ordered_json ChangesJson(const std::vector<Change>& changes);

// Every item with each property that is set on a line of its own, in store order: what git's
// textconv hands to its line diff.
void PrintLines(const Node& root, std::ostream& out);

enum class Side { None, Ours, Theirs };

struct Conflict {
  std::string item;
  std::string property;  // a property, "order of <list>", or "item" for the item as a whole
  std::string base, ours, theirs;
};

struct MergeResult {
  Node root;
  // In store order. With Side::None the root takes ours where they disagree, but is not meant
  // to be kept.
  std::vector<Conflict> conflicts;
};

// A change on one side is taken, the same change on both sides once; different changes to one
// property, an item removed on one side and changed on the other, two different orders of one
// list, and a reference to an item the other side removed are conflicts, settled for the side
// given (a removed target comes back when that side still refers to it, a reference goes when
// that side removed its target).
// The base may hold the key alone of a store-level item that ours and theirs hold alike: such an
// item is merged without a look at the base.
MergeResult Merge(const Node& base, const Node& ours, const Node& theirs, Side resolve);
// Those items, for Capture of the base; valid while ours lives.
KeyOnly AlikeInBoth(const Node& ours, const Node& theirs);
// "driver-session Scope7 / data-component Timeout: value: base 2000, ours 5000, theirs 3000"
std::string ConflictText(const Conflict& conflict);

}  // namespace zavtool
