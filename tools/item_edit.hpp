// SPDX-License-Identifier: MIT
// What the item kinds share: the safe edit of a store file, listing, finding items by name
// with messages that say what to do, and applying option values to an item's properties.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "item_kinds.hpp"
#include "store_access.hpp"
#include "store_snapshot.hpp"
#include "zavconfig.hpp"

namespace zavtool {

// What a change did: nothing (then the store is not written), or what it changed.
struct Outcome {
  bool changed = false;
  std::string said;
};
inline Outcome Changed(std::string said) { return {true, std::move(said)}; }
inline Outcome Unchanged() { return {false, "nothing to change"}; }

// Reads the store, runs change on it and writes the store back only when change succeeded and
// changed something: a failure leaves the file exactly as it was. Two editors of one store
// never lose each other's changes, and a store file the user may not write is refused unless
// request.force.
int Edit(const Request& request, const std::function<Outcome(zav::Store&)>& change);

// One line per item: cells for people, or with json the item's capture as an object in its
// shape of `show --json`.
class Listing {
 public:
  Listing(const zav::Store& store, bool json);
  ~Listing();
  void Add(std::vector<std::string> cells, Kind kind, const Node& item);
  // Items listed with their path from the top ("structure/member", "parent/child") carry it as
  // "path" before the keys of their shape.
  void Add(std::vector<std::string> cells, Kind kind, const Node& item, const std::string& path);
  void Print() const;

 private:
  struct Lines;  // the JSON writer and what it wrote
  std::vector<std::vector<std::string>> rows_;
  std::unique_ptr<Lines> json_;
};
int List(const Request& request, const std::function<void(const zav::Store&, Listing&)>& fill);

// "no hardware asset named 'X' in the store", with "did you mean", what the name is instead,
// and (short lists) the names there are.
Refusal NotFound(const std::string& what, const std::string& name, const std::string& where,
                 const std::vector<std::string>& names, const std::string& instead);
// What name is in the store, to tell a user who gave the wrong kind: "a logical name that
// leads to driver session DMM_Rack4", "a hardware asset", ... ("" when nothing is called so).
std::string WhatIs(const zav::Store& store, const std::string& name);

template <class Collection>
auto NeedIn(const Collection& items, const std::string& name, const std::string& what,
            const std::string& where, const zav::Store* store = nullptr) {
  if (auto item = items.find(name)) return std::move(*item);
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.name());
  throw NotFound(what, name, where, names, store ? WhatIs(*store, name) : "");
}

zav::SoftwareModule NeedModule(const zav::Store& store, const std::string& name);
zav::HardwareAsset NeedAsset(const zav::Store& store, const std::string& name);
// Any session, driver sessions included.
zav::Session NeedSession(const zav::Store& store, const std::string& name);
zav::DriverSession NeedDriverSession(const zav::Store& store, const std::string& name);
zav::LogicalName NeedLogicalName(const zav::Store& store, const std::string& name);

// A published API given as "NAME [TYPE [MAJOR.MINOR]]": the one it names, refused when it
// names none or several.
zav::PublishedApi NeedApi(const zav::Store& store, const std::string& selector);
std::string ApiLabel(const zav::PublishedApi& api);  // "Dmm C 3.0"
// "3.0" or "3": major and minor; nothing when text is no version.
std::optional<std::pair<int, int>> ParseVersion(const std::string& text);

// Runs a library call; its failure becomes a Refusal that keeps the library's message and
// says what was being done ("while adding hardware asset 'X' to the store").
template <class F>
auto Attempt(const std::string& doing, F&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const zav::Error& e) {
    throw Refusal{e.what(), {"while " + doing}};
  }
}

int ParseInteger(const std::string& text, const std::string& what);  // throws Refusal
bool ParseBool(const std::string& text, const std::string& what);    // throws Refusal

// One settable property of an item kind: its option and how a value is applied. apply sets
// the property when the value differs and says whether it did.
template <class Item>
struct Field {
  OptionSpec option;
  std::function<bool(Item&, const std::string&)> apply;
};

template <class Item, class Base>
Field<Item> TextField(const std::string& option, const std::string& help, unsigned verbs,
                      std::string (Base::*get)() const, void (Base::*set)(const std::string&)) {
  return {{option, ValueType::kText, help, verbs}, [=](Item& item, const std::string& value) {
            if ((item.*get)() == value) return false;
            (item.*set)(value);
            return true;
          }};
}

template <class Item, class Base>
Field<Item> BoolField(const std::string& option, const std::string& help, unsigned verbs,
                      bool (Base::*get)() const, void (Base::*set)(bool)) {
  return {{option, ValueType::kBoolean, help, verbs}, [=](Item& item, const std::string& value) {
            bool wanted = ParseBool(value, "--" + option);
            if ((item.*get)() == wanted) return false;
            (item.*set)(wanted);
            return true;
          }};
}

template <class Item, class Base, class Int>
Field<Item> IntField(const std::string& option, const std::string& help, unsigned verbs,
                     Int (Base::*get)() const, void (Base::*set)(Int)) {
  return {{option, ValueType::kInteger, help, verbs}, [=](Item& item, const std::string& value) {
            int wanted = ParseInteger(value, "--" + option);
            if ((item.*get)() == wanted) return false;
            (item.*set)(wanted);
            return true;
          }};
}

// Applies every field the request gives a value, in the order of fields; returns how many
// properties changed.
template <class Item>
int ApplyFields(Item& item, const Request& request, const std::vector<Field<Item>>& fields) {
  int changed = 0;
  for (const Field<Item>& field : fields)
    if (auto value = request.get(field.option.name); value && (field.option.verbs & request.verb))
      changed += field.apply(item, *value) ? 1 : 0;
  return changed;
}

template <class Item>
std::vector<OptionSpec> Specs(const std::vector<Field<Item>>& fields,
                              std::vector<OptionSpec> more = {}) {
  std::vector<OptionSpec> specs;
  for (const Field<Item>& field : fields) specs.push_back(field.option);
  specs.insert(specs.end(), more.begin(), more.end());
  return specs;
}

}  // namespace zavtool
