// SPDX-License-Identifier: MIT
// What every item kind's commands share: the safe edit of a store file, listing, finding items
// by name with messages that say what to do, and reading option values.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "item_edit.hpp"
#include "snapshot_json.hpp"
#include "table.hpp"
#include "text.hpp"

namespace zavtool {

const char* VerbName(Verb verb) {
  switch (verb) {
    case kAdd:
      return "add";
    case kSet:
      return "set";
    case kRemove:
      return "remove";
    case kList:
      return "list";
  }
  return "";
}

std::optional<std::string> Request::get(const std::string& option) const {
  auto found = options.find(option);
  if (found == options.end() || found->second.empty()) return std::nullopt;
  return found->second.back();
}

std::vector<std::string> Request::all(const std::string& option) const {
  auto found = options.find(option);
  return found == options.end() ? std::vector<std::string>() : found->second;
}

std::string Request::arg(const std::string& name) const {
  auto found = args.find(name);
  return found == args.end() ? std::string() : found->second;
}

const std::vector<KindSpec>& ItemKinds() {
  static const std::vector<KindSpec> kinds = [] {
    std::vector<KindSpec> all;
    for (auto part : {StoreItemKinds, SessionKinds, NameKinds, DataComponentKinds}) {
      std::vector<KindSpec> some = part();
      all.insert(all.end(), some.begin(), some.end());
    }
    return all;
  }();
  return kinds;
}

int Edit(const Request& request, const std::function<Outcome(zav::Store&)>& change) {
  std::string path;
  try {
    path = StorePath(request.file);
  } catch (const zav::Error& e) {
    return Fail(request.command, e, request.file);
  }
  Outcome outcome;
  try {
    zav::EditOptions options;
    options.force = request.force;
    zav::Store::edit(
        path,
        [&](zav::Store& store) {
          outcome = change(store);
          return outcome.changed;
        },
        options);
  } catch (const Refusal& refusal) {
    return Fail(request.command, refusal);
  } catch (const zav::Error& e) {
    return Fail(request.command, e, path);
  }
  std::cout << outcome.said << " (" << path << ")\n";
  return kOk;
}

struct Listing::Lines {
  JsonWriter writer;
  std::vector<std::string> lines;
};

// The items come captured one by one; the store's index tells the writer what their references
// stand for.
Listing::Listing(const zav::Store& store, bool json)
    : json_(json ? std::make_unique<Lines>(Lines{JsonWriter(CaptureIndex(store)), {}}) : nullptr) {}

Listing::~Listing() = default;

void Listing::Add(std::vector<std::string> cells, Kind kind, const Node& item) {
  if (json_)
    json_->lines.push_back(json_->writer.Item(kind, item).dump());
  else
    rows_.push_back(std::move(cells));
}

void Listing::Add(std::vector<std::string> cells, Kind kind, const Node& item,
                  const std::string& path) {
  if (!json_) {
    rows_.push_back(std::move(cells));
    return;
  }
  Json j = {{"path", path}};
  Json shape = json_->writer.Item(kind, item);
  for (auto& [key, value] : shape.items()) j[key] = std::move(value);
  json_->lines.push_back(j.dump());
}

void Listing::Print() const {
  if (!json_) {
    Table table;
    for (const auto& row : rows_) table.Add(row);
    table.Print(std::cout, "");
    return;
  }
  // A JSON array that still has one item per line.
  const std::vector<std::string>& lines = json_->lines;
  std::cout << "[";
  for (size_t i = 0; i < lines.size(); ++i) std::cout << (i ? ",\n" : "\n") << lines[i];
  std::cout << (lines.empty() ? "]\n" : "\n]\n");
}

int List(const Request& request, const std::function<void(const zav::Store&, Listing&)>& fill) {
  try {
    OpenStore open = Open(request.file);
    Listing listing(open.store, request.json);
    fill(open.store, listing);
    listing.Print();
    return kOk;
  } catch (const Refusal& refusal) {
    return Fail(request.command, refusal);
  } catch (const zav::Error& e) {
    return Fail(request.command, e, request.file);
  }
}

Refusal NotFound(const std::string& what, const std::string& name, const std::string& where,
                 const std::vector<std::string>& names, const std::string& instead) {
  Refusal refusal{"no " + what + " named '" + name + "' " + where, {}};
  std::string closest = Closest(name, names);
  if (!closest.empty() && closest != name)
    refusal.hints.push_back("did you mean '" + closest + "'?");
  if (!instead.empty()) refusal.hints.push_back("'" + name + "' is " + instead);
  if (names.empty())
    refusal.hints.push_back("there is no " + what + " " + where);
  else if (names.size() <= 12)
    refusal.hints.push_back(what + (what.back() == 's' ? "es " : "s ") + where + ": " +
                            Join(names));
  return refusal;
}

std::string WhatIs(const zav::Store& store, const std::string& name) {
  std::vector<std::string> kinds;
  if (auto logical = store.logicalNames().find(name)) {
    std::optional<zav::Session> target = logical->session();
    if (!target)
      kinds.push_back("a logical name that leads nowhere");
    else
      kinds.push_back("a logical name that leads to " +
                      std::string(store.driverSessions().find(target->name()) ? "driver session "
                                                                              : "session ") +
                      target->name());
  }
  if (store.driverSessions().find(name))
    kinds.push_back("a driver session");
  else if (store.sessions().find(name))
    kinds.push_back("a session");
  if (store.hardwareAssets().find(name)) kinds.push_back("a hardware asset");
  if (store.softwareModules().find(name)) kinds.push_back("a software module");
  if (store.publishedApis().find(name)) kinds.push_back("a published API");
  return Join(kinds, " and ");
}

zav::SoftwareModule NeedModule(const zav::Store& store, const std::string& name) {
  return NeedIn(store.softwareModules(), name, "software module", "in the store", &store);
}

zav::HardwareAsset NeedAsset(const zav::Store& store, const std::string& name) {
  return NeedIn(store.hardwareAssets(), name, "hardware asset", "in the store", &store);
}

zav::Session NeedSession(const zav::Store& store, const std::string& name) {
  return NeedIn(store.sessions(), name, "session", "in the store", &store);
}

zav::DriverSession NeedDriverSession(const zav::Store& store, const std::string& name) {
  return NeedIn(store.driverSessions(), name, "driver session", "in the store", &store);
}

zav::LogicalName NeedLogicalName(const zav::Store& store, const std::string& name) {
  return NeedIn(store.logicalNames(), name, "logical name", "in the store", &store);
}

std::string ApiLabel(const zav::PublishedApi& api) {
  return api.name() + " " + api.type() + " " + std::to_string(api.majorVersion()) + "." +
         std::to_string(api.minorVersion());
}

std::optional<std::pair<int, int>> ParseVersion(const std::string& text) {
  size_t dot = text.find('.');
  auto number = [](const std::string& digits) -> std::optional<int> {
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return std::atoi(digits.c_str());
  };
  std::optional<int> major = number(text.substr(0, dot));
  std::optional<int> minor = dot == std::string::npos ? 0 : number(text.substr(dot + 1));
  if (!major || !minor) return std::nullopt;
  return std::make_pair(*major, *minor);
}

zav::PublishedApi NeedApi(const zav::Store& store, const std::string& selector) {
  std::vector<std::string> words;
  std::istringstream in(selector);
  for (std::string word; in >> word;) words.push_back(word);
  std::optional<std::pair<int, int>> version;
  if (words.size() > 1 && (version = ParseVersion(words.back()))) words.pop_back();
  std::string type;
  if (words.size() > 1) {
    type = words.back();
    words.pop_back();
  }
  std::string name = Join(words, " ");

  std::vector<zav::PublishedApi> matches;
  std::vector<std::string> labels;
  for (zav::PublishedApi api : store.publishedApis()) {
    labels.push_back(ApiLabel(api));
    if (api.name() == name && (type.empty() || api.type() == type) &&
        (!version ||
         (api.majorVersion() == version->first && api.minorVersion() == version->second)))
      matches.push_back(std::move(api));
  }
  if (matches.size() == 1) return std::move(matches.front());
  if (matches.empty()) {
    Refusal refusal = NotFound("published API", selector, "in the store", labels, "");
    refusal.hints.push_back(
        "give it as NAME TYPE MAJOR.MINOR, e.g. 'Dmm C 3.0'; "
        "'zavconfig published-api add' creates one");
    throw refusal;
  }
  std::vector<std::string> found;
  for (const zav::PublishedApi& api : matches) found.push_back(ApiLabel(api));
  throw Refusal{"'" + selector + "' names " + std::to_string(matches.size()) +
                    " published APIs: " + Join(found),
                {"give its type and version too, e.g. '" + found.front() + "'"}};
}

int ParseInteger(const std::string& text, const std::string& what) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end || errno || value < INT_MIN || value > INT_MAX)
    throw Refusal{"'" + text + "' is not a 32-bit integer (" + what + ")", {}};
  return static_cast<int>(value);
}

bool ParseBool(const std::string& text, const std::string& what) {
  std::optional<bool> value = ParseBoolean(text);
  if (!value)
    throw Refusal{"'" + text + "' is not a boolean (" + what + "): use " + kBooleanWords, {}};
  return *value;
}

}  // namespace zavtool
