// SPDX-License-Identifier: MIT
// A whole store as plain data: every item with its properties, its local collections in index
// order, and references held by name (published APIs by their four-part key), never by handle
// or id. Snapshots are what diff and merge compare and what every JSON the utility prints is
// written from (snapshot_json.hpp); a snapshot is captured from an open store, whole or in part,
// and built back into an empty one.
//
// One generic tree serves every kind of item: a node has a key, a fixed row of property values
// and a fixed row of child lists, laid out by its kind's KindLayout. Comparing, merging and
// printing walk that layout and so need no code per kind; only capture, build and JSON do.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "zavconfig.hpp"

namespace zavtool {

enum class Kind : uint8_t {
  Store,
  PublishedApi,
  SoftwareModule,
  HardwareAsset,
  DriverSession,
  Session,
  LogicalName,
  DataComponent,
  PhysicalName,
  PhysicalRange,
  VirtualName,
  VirtualRange,
  ApiListEntry,  // one published API a software module lists
};

// A property value: none (an empty reference, or a property the component's type lacks), a
// boolean, an integer, a real or a text (also a reference: the name or key of its target).
using Value = std::variant<std::monostate, bool, int64_t, double, std::string>;

// A property as a text, integer or flag: "", 0 or false when it holds none (or another kind).
const std::string& TextOf(const Value& value);
int64_t IntOf(const Value& value);
bool BoolOf(const Value& value);
// Reals compare bit for bit: the store writes -0 and 0, or two NaNs, as different texts.
bool SameValue(const Value& a, const Value& b);

struct Node {
  std::string key;                       // the item's name; a published API's PublishedApiKey
  std::vector<Value> props;              // as the kind's KindLayout lists them
  std::vector<std::vector<Node>> lists;  // likewise
};

bool SameNode(const Node& a, const Node& b);
// Everything but the key: an item renamed and nothing else.
bool SameContent(const Node& a, const Node& b);

// What a reference property points at.
enum class Target : uint8_t { None, PublishedApi, SoftwareModule, HardwareAsset, AnySession };

struct PropLayout {
  const char* name;  // the key `show --json` uses
  Target target;
};
struct ListLayout {
  const char* name;  // the key `show --json` uses
  Kind child;
  bool ordered;  // whether the index order means something to the store's users
};
struct KindLayout {
  const char* label;  // "software-module", as an item's identity is printed
  std::vector<PropLayout> props;
  std::vector<ListLayout> lists;
};
const KindLayout& Layout(Kind kind);

// Property and list positions, one enumeration per kind.
namespace store {
enum { Description };
enum { Apis, Modules, Assets, DriverSessions, Sessions, LogicalNames };
}  // namespace store
namespace api {
enum { Name, Type, Major, Minor };
}
namespace module {
enum { Description, ModulePath, ModulePath64, Prefix, ProgId, Models, ClassName };
enum { Apis, PhysicalNames, DataComponents };
}  // namespace module
namespace asset {
enum { Description, IoResource };
enum { DataComponents };
}  // namespace asset
namespace session {
// A plain session has the first three properties; a driver session all ten.
enum {
  Description,
  Module,
  Asset,
  DriverSetup,
  Cache,
  InterchangeCheck,
  QueryInstrStatus,
  RangeCheck,
  RecordCoercions,
  Simulate
};
enum { VirtualNames, DataComponents };
}  // namespace session
namespace logical {
enum { Description, Session };
}
namespace component {
// Val: the value, of the component's type (not named Value, which is the property type).
enum {
  Type,
  Description,
  UsedInSession,
  ReadOnly,
  HelpContextId,
  HelpFilePath,
  SoftwareModuleKey,
  Val,
  Units,
  Api
};
enum { Members };
}  // namespace component
namespace physical {
enum { RcName };
enum { Ranges, Children };
}  // namespace physical
namespace range {
enum { Min, Max, StartingPhysicalIndex };
}
namespace virt {
enum { MapTo };
enum { Ranges };
}  // namespace virt

// A published API's key as one text: the four parts cannot be told apart in "(a,b,1,0)" when a
// name holds a comma, so they are joined by a control character no name can usefully hold.
std::string PublishedApiKey(const std::string& name, const std::string& type, int64_t major,
                            int64_t minor);
// "(Dmm,C,3,0)", as the library prints a published API's key.
std::string ApiKeyText(const std::string& key);
// How an item is named in listings: "software-module acme34", "published-api (Dmm,C,3,0)".
std::string ItemLabel(Kind kind, const std::string& key);
// A local item after its owner's path: "software-module acme34 / data-component Timeout".
std::string ItemPath(const std::string& owner, Kind kind, const std::string& key);
// A value as listings print it: texts as they are (quoted when empty or not on one line),
// reals in their shortest exact form, references by name or "(none)".
std::string ValueText(const Value& value, Target target = Target::None);

// The input describes something the utility cannot make into a store (a bad JSON document, or
// an item the library's interface has no way to create); the message names the item.
struct SnapshotError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Whether only the key is wanted of the item of the store's list (store::Apis, ...) of that key.
using KeyOnly = std::function<bool(size_t list, const std::string& key)>;
// The root node of a store (Kind::Store): every item whole, but for those keyOnly names, which
// get their key alone (published APIs come whole anyway). Throws zav::Error.
Node Capture(const zav::Store& store, const KeyOnly& keyOnly = {});
// The published APIs whole and every other item by its key alone: what the references of items
// captured one by one are resolved against (an API's four parts, whether a session is a driver
// session).
Node CaptureIndex(const zav::Store& store);
// One item with everything it holds, as Capture of its store holds it, for a command that needs
// no more. A Session is captured as a plain session: capture a driver session as one.
Node Capture(const zav::PublishedApi& api);
Node Capture(const zav::SoftwareModule& module);
Node Capture(const zav::HardwareAsset& asset);
Node Capture(const zav::Session& session);
Node Capture(const zav::DriverSession& session);
Node Capture(const zav::LogicalName& name);
Node Capture(const zav::DataComponent& component);
Node Capture(const zav::PhysicalName& name);
Node Capture(const zav::PhysicalRange& range);
Node Capture(const zav::VirtualName& name);
Node Capture(const zav::VirtualRange& range);

// The four parts of a published API that a reference's key stands for.
struct ApiParts {
  std::string name, type;
  int64_t major = 0, minor = 0;
};
// Published APIs by key, from a root's list of them. A key the root does not list is read back
// into its parts, so that a reference always says what it was.
class ApiTable {
 public:
  explicit ApiTable(const Node& root);
  ApiParts operator[](const std::string& key) const;

 private:
  std::unordered_map<std::string, ApiParts> byKey_;
};

// Creates the snapshot's items in an empty store; the sessions named in takeModuleSettings are
// linked to their module once it has its settings, so that they take the ones it requires, as a
// session newly linked to a module does (the others hold just the settings they list). Throws
// SnapshotError or zav::Error, both with the item's identity in front of the message.
void Build(const Node& root, zav::Store& store,
           const std::set<std::string>& takeModuleSettings = {});

}  // namespace zavtool
