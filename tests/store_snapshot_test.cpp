// SPDX-License-Identifier: MIT
// Snapshots of whole stores, in process: built through the library and read back, to and from
// JSON, compared (diff) and merged, on the example stores and on random ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>

#include "snapshot_generator.h"
#include "snapshot_json.hpp"
#include "store_compare.hpp"
#include "test_support.h"

namespace {

using namespace zavtool;
using zavtest::Generator;
using zavtest::ReadFile;

const std::string kSource = ZAV_TEST_SOURCE_DIR;
const std::string kExample = kSource + "/data/example_store.xml";
const std::string kRich = kSource + "/tests/data/rich_store.xml";

// The three lines every save rewrites, whatever the store holds.
std::string WithoutLocations(const std::string& text) {
  std::string kept, line;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    line = text.substr(at, end - at + 1);
    at = end == std::string::npos ? text.size() : end + 1;
    if (line.find("Location>") == std::string::npos && line.find("Location/>") == std::string::npos)
      kept += line;
  }
  return kept;
}

class Stores : public ::testing::Test {
 protected:
  Node Read(const std::string& path) { return Capture(zav::Store::open(path)); }
  // Builds the snapshot into a new store and saves it; the file's text.
  std::string Save(const Node& root, const std::string& name = "built.xml") {
    zav::Store store;
    Build(root, store);
    store.serialize(dir.File(name));
    return ReadFile(dir.File(name));
  }

  zavtest::TempDir dir;
  zavtest::ScopedRegistry registry{kExample, zavtest::DataDir()};
};

Node& Item(Node& owner, size_t list, const std::string& key) {
  for (Node& n : owner.lists[list])
    if (n.key == key) return n;
  throw std::runtime_error("no " + key);
}

TEST_F(Stores, CaptureBuildAndJsonGiveBackTheSameStore) {
  for (const std::string& file : {kExample, kRich}) {
    Node read = Read(file);
    Node fromJson = SnapshotFromJson(Json::parse(SnapshotJson(read, file).dump()));
    EXPECT_TRUE(SameNode(fromJson, read)) << file;
    EXPECT_EQ(WithoutLocations(Save(fromJson)), WithoutLocations(ReadFile(file))) << file;
  }
  for (unsigned seed = 1; seed <= 40; ++seed) {
    Node made = Generator(seed).Store();
    std::string text = Save(made);
    EXPECT_TRUE(SameNode(Read(dir.File("built.xml")), made)) << "seed " << seed;
    Node fromJson = SnapshotFromJson(Json::parse(SnapshotJson(made, "").dump()));
    EXPECT_TRUE(SameNode(fromJson, made)) << "seed " << seed;
    EXPECT_EQ(Save(fromJson, "again.xml"), text) << "seed " << seed;
  }
}

TEST_F(Stores, ImportRefusesWhatItCannotReadOrBuildAndSaysWhere) {
  const std::string session = R"({"driverSessions": [{"name": "D", "dataComponents": [)";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {R"({"hardwareAssets": [{"name": "A", "ioresourcedescriptor": "x"}]})",
       "hardware-asset A has no key \"ioresourcedescriptor\""},
      {R"({"logicalNames": [{"description": "no name"}]})", "logical name needs a \"name\""},
      {session + R"({"name": "T", "type": "Integer", "value": 2.5}]}]})",
       "driver-session D / data-component T has a \"value\" that is not a 32-bit integer"},
      {session + R"({"name": "T", "value": null}]}]})", "data-component T needs a \"type\""},
      {session + R"({"name": "T", "type": "Structure", "members": []}]}]})",
       "driver-session D / data-component T: a structure needs at least one member"},
      {session + R"({"name": "T", "type": "APIReference", "publishedApi": null}]}]})",
       "an API reference without a published API cannot be created"},
      {R"({"sessions": [{"name": "S", "softwareModule": "nope"}]})",
       "session S: software module 'nope' is not in the store"},
      {R"({"sessions": [{"name": "S", "flags": {}}]})", "session S is a session: only driver"},
      {R"({"softwareModules": [{"name": "M", "publishedApis": [{"name": "X", "type": "C"}]}]})",
       "software-module M / published-api (X,C,0,0): published API (X,C,0,0) is not among"},
      {R"({"hardwareAssets": [{"name": "A", "dataComponents": [{"name": "S", "value": "x",
          "usedInSession": "Required"}]}]})",
       "hardware-asset A / data-component S: ZAV Configuration Server C API: Set failed. Invalid "
       "value 'Required'"}};
  for (const auto& [json, message] : cases) {
    try {
      zav::Store store;
      Build(SnapshotFromJson(Json::parse(json)), store);
      ADD_FAILURE() << "accepted: " << json;
    } catch (const SnapshotError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  // A session given a module (here by the name a session keeps for it) and no settings takes
  // those the module requires, as a session newly linked to it does; one with a list of its
  // settings, even an empty one, has just those.
  std::set<std::string> take;
  Node linked = SnapshotFromJson(Json::parse(R"({"softwareModules": [{"name": "M",
      "dataComponents": [{"name": "T", "value": 5, "usedInSession": "Required"},
                         {"name": "O", "value": 1, "usedInSession": "Optional"}]}],
      "sessions": [{"name": "S", "softwareModuleName": "M"},
                   {"name": "E", "softwareModule": "M", "dataComponents": []}]})"),
                                 &take);
  EXPECT_EQ(take, std::set<std::string>{"S"});
  zav::Store store;
  Build(linked, store, take);
  Node built = Capture(store);
  ASSERT_EQ(built.lists[store::Sessions].size(), 2u);
  const std::vector<Node>& inherited =
      built.lists[store::Sessions][0].lists[session::DataComponents];
  ASSERT_EQ(inherited.size(), 1u);
  EXPECT_EQ(inherited[0].key, "T");
  EXPECT_EQ(built.lists[store::Sessions][0].props[session::Module], Value(std::string("M")));
  EXPECT_TRUE(built.lists[store::Sessions][1].lists[session::DataComponents].empty());
}

TEST_F(Stores, DiffNamesExactlyWhatChanged) {
  const Node base = Read(kRich);
  EXPECT_TRUE(Diff(base, base).empty());
  auto changes = [&](const std::function<void(Node&)>& edit) {
    Node changed = base;
    edit(changed);
    std::ostringstream text;
    PrintChanges(Diff(base, changed), text);
    return text.str();
  };
  EXPECT_EQ(changes([](Node& s) {
              Node asset = s.lists[store::Assets][0];
              asset.key = "Scope7";
              asset.lists[asset::DataComponents][0].props[component::Val] = std::string("SN 7");
              s.lists[store::Assets].push_back(asset);
            }),
            "+ hardware-asset Scope7\n");
  EXPECT_EQ(changes([](Node& s) {
              Item(Item(s, store::DriverSessions, "SampleDmmSession"), session::DataComponents,
                   "AutoZero")
                  .props[component::Val] = false;
              Item(s, store::LogicalNames, "Unmapped").props[logical::Session] =
                  std::string("PlainSession");
            }),
            "~ driver-session SampleDmmSession / data-component AutoZero: value: true -> false\n"
            "~ logical-name Unmapped: session: (none) -> PlainSession\n");
  // The order of an item's own lists counts; that of the store's collections does not.
  EXPECT_EQ(changes([](Node& s) {
              std::vector<Node>& names =
                  Item(s, store::DriverSessions, "SampleDmmSession").lists[session::VirtualNames];
              std::swap(names[0], names[1]);
              std::swap(s.lists[store::LogicalNames][0], s.lists[store::LogicalNames][2]);
            }),
            "~ driver-session SampleDmmSession: order of virtualNames: Input, Probe -> Probe, "
            "Input\n");
  EXPECT_EQ(changes([](Node& s) {
              Item(s, store::Assets, "BenchDmm").key = "Bench2";
              Item(s, store::DriverSessions, "SampleDmmSession").props[session::Asset] =
                  std::string("Bench2");
            }),
            "~ hardware-asset BenchDmm: renamed to Bench2\n"
            "~ driver-session SampleDmmSession: hardwareAsset: BenchDmm -> Bench2\n");
}

// --- merge -----------------------------------------------------------------------------------

using Edit = std::function<void(Node&)>;

Node& Module(Node& s) { return Item(s, store::Modules, "SampleDmmDriver"); }
Node& Averaging(Node& s) { return Item(Module(s), module::DataComponents, "Averaging"); }
Node& Driver(Node& s) { return Item(s, store::DriverSessions, "SampleDmmSession"); }
Edit AddAsset(const std::string& name, const std::string& resource) {
  return [=](Node& s) {
    s.lists[store::Assets].push_back({name, {std::string(), resource}, {{}}});
  };
}
Edit SetValue(Node& (*item)(Node&), size_t prop, Value v) {
  return [=](Node& s) { item(s).props[prop] = v; };
}
Edit RenameAsset(const std::string& to) {
  return [=](Node& s) {
    Item(s, store::Assets, "BenchDmm").key = to;
    Driver(s).props[session::Asset] = to;
  };
}
Edit Rename(size_t list, const std::string& from, const std::string& to) {
  return [=](Node& s) { Item(s, list, from).key = to; };
}
Edit Point(const std::string& name, Value session) {
  return [=](Node& s) { Item(s, store::LogicalNames, name).props[logical::Session] = session; };
}
Edit Both(Edit a, Edit b) {
  return [=](Node& s) { a(s), b(s); };
}
const Edit kNothing = [](Node&) {};

TEST_F(Stores, MergeTakesEachSidesChangesAndNamesEveryClash) {
  const Node base = Read(kRich);
  const Value none;
  auto text = [](const char* t) { return Value(std::string(t)); };
  auto reversed = [](Node& s) {
    std::vector<Node>& list = Module(s).lists[module::DataComponents];
    std::reverse(list.begin(), list.end());
  };
  auto rotated = [](Node& s) {
    std::vector<Node>& list = Module(s).lists[module::DataComponents];
    std::rotate(list.begin(), list.begin() + 1, list.end());
  };
  struct Case {
    const char* what;
    Edit ours, theirs;
    std::vector<std::string> conflicts;  // "item: property"
    std::function<bool(Node&)> holds = [](Node&) { return true; };
  };
  const std::vector<Case> cases = {
      {"add on both sides",
       AddAsset("ScopeA", "X"),
       AddAsset("MeterB", "Y"),
       {},
       [](Node& m) {
         return m.lists[store::Assets].size() == 3 && m.lists[store::Assets][2].key == "MeterB";
       }},
      {"the same add on both sides",
       AddAsset("ScopeA", "X"),
       AddAsset("ScopeA", "X"),
       {},
       [](Node& m) { return m.lists[store::Assets].size() == 2; }},
      {"one name added twice differently",
       AddAsset("ScopeA", "X"),
       AddAsset("ScopeA", "Y"),
       {"hardware-asset ScopeA: ioResourceDescriptor"}},
      {"remove",
       [](Node& s) { s.lists[store::LogicalNames].pop_back(); },
       kNothing,
       {},
       [](Node& m) { return m.lists[store::LogicalNames].size() == 2; }},
      {"removed and changed",
       [](Node& s) { s.lists[store::LogicalNames].pop_back(); },
       SetValue([](Node& s) -> Node& { return Item(s, store::LogicalNames, "Unmapped"); },
                logical::Description, text("x")),
       {"logical-name Unmapped: item"}},
      {"the same change on both sides",
       SetValue(Averaging, component::Val, int64_t{-1}),
       SetValue(Averaging, component::Val, int64_t{-1}),
       {}},
      {"one setting changed twice",
       SetValue(Averaging, component::Val, int64_t{1}),
       SetValue(Averaging, component::Val, int64_t{2}),
       {"software-module SampleDmmDriver / data-component Averaging: value"}},
      {"two properties of one item",
       SetValue(Driver, session::DriverSetup, text("Model=2")),
       SetValue(Driver, session::Simulate, true),
       {},
       [](Node& m) {
         return Driver(m).props[session::DriverSetup] == Value(std::string("Model=2")) &&
                Driver(m).props[session::Simulate] == Value(true);
       }},
      {"rename",
       RenameAsset("Bench2"),
       SetValue(Driver, session::DriverSetup, text("Model=3")),
       {},
       [](Node& m) {
         return Driver(m).props[session::Asset] == Value(std::string("Bench2")) &&
                Driver(m).props[session::DriverSetup] == Value(std::string("Model=3"));
       }},
      {"renamed and changed",
       RenameAsset("Bench2"),
       SetValue([](Node& s) -> Node& { return Item(s, store::Assets, "BenchDmm"); },
                asset::Description, text("x")),
       {"hardware-asset BenchDmm: item"}},
      {"renamed apart",
       Rename(store::LogicalNames, "Unmapped", "U1"),
       Rename(store::LogicalNames, "Unmapped", "U2"),
       {"logical-name Unmapped: name"}},
      {"a reference changed",
       Point("PlainName", text("SampleDmmSession")),
       kNothing,
       {},
       [](Node& m) {
         return Item(m, store::LogicalNames, "PlainName").props[logical::Session] ==
                Value(std::string("SampleDmmSession"));
       }},
      {"a reference changed twice",
       Point("PlainName", text("SampleDmmSession")),
       Point("PlainName", none),
       {"logical-name PlainName: session"}},
      {"a reference to what the other side removed",
       [](Node& s) {
         s.lists[store::Sessions].clear();
         Item(s, store::LogicalNames, "PlainName").props[logical::Session] = Value();
       },
       [](Node& s) {
         s.lists[store::LogicalNames].push_back(
             {"New", {std::string(), std::string("PlainSession")}, {}});
       },
       {"logical-name New: session (session PlainSession removed by ours)"}},
      {"reorder and change",
       reversed,
       SetValue(
           [](Node& s) -> Node& { return Item(Module(s), module::DataComponents, "Function"); },
           component::Val, text("ACV")),
       {},
       [](Node& m) {
         std::vector<Node>& list = Module(m).lists[module::DataComponents];
         return list[0].key == "Configurable Initial Settings" &&
                list[1].props[component::Val] == Value(std::string("ACV"));
       }},
      {"change and reorder",
       SetValue(Averaging, component::Val, int64_t{5}),
       reversed,
       {},
       [](Node& m) {
         return Module(m).lists[module::DataComponents][0].key == "Configurable Initial Settings" &&
                Averaging(m).props[component::Val] == Value(int64_t{5});
       }},
      {"reordered twice",
       reversed,
       rotated,
       {"software-module SampleDmmDriver: order of dataComponents"}},
      {"type changed and value changed",
       Both(SetValue(Averaging, component::Type, text("Real")),
            SetValue(Averaging, component::Val, 2.5)),
       SetValue(Averaging, component::Val, int64_t{3}),
       {"software-module SampleDmmDriver / data-component Averaging: type"}},
      {"a session on one side, a driver session on the other",
       [](Node& s) {
         s.lists[store::DriverSessions].push_back(Driver(s));
         s.lists[store::DriverSessions].back().key = "X";
       },
       [](Node& s) {
         s.lists[store::Sessions].push_back(s.lists[store::Sessions][0]);
         s.lists[store::Sessions].back().key = "X";
       },
       {"session X: kind"}},
  };
  for (const Case& c : cases) {
    Node ours = base, theirs = base;
    c.ours(ours);
    c.theirs(theirs);
    MergeResult merged = Merge(base, ours, theirs, Side::None);
    std::vector<std::string> found;
    for (const Conflict& k : merged.conflicts) found.push_back(k.item + ": " + k.property);
    EXPECT_EQ(found, c.conflicts) << c.what;
    EXPECT_TRUE(c.holds(merged.root)) << c.what;
    if (merged.conflicts.empty()) {
      Save(merged.root);
      EXPECT_TRUE(SameNode(Read(dir.File("built.xml")), merged.root)) << c.what;
    }
  }
}

TEST_F(Stores, MergeSettlesConflictsForTheSideAsked) {
  const Node base = Read(kRich);
  Node ours = base, theirs = base;
  SetValue(Averaging, component::Val, int64_t{1})(ours);
  SetValue(Averaging, component::Val, int64_t{2})(theirs);
  // Ours drops the plain session; theirs gives it a new logical name.
  ours.lists[store::Sessions].clear();
  Point("PlainName", Value())(ours);
  theirs.lists[store::LogicalNames].push_back(
      {"New", {std::string(), std::string("PlainSession")}, {}});

  MergeResult forOurs = Merge(base, ours, theirs, Side::Ours);
  EXPECT_EQ(forOurs.conflicts.size(), 2u);
  EXPECT_EQ(Averaging(forOurs.root).props[component::Val], Value(int64_t{1}));
  EXPECT_TRUE(forOurs.root.lists[store::Sessions].empty());
  EXPECT_EQ(Item(forOurs.root, store::LogicalNames, "New").props[logical::Session], Value());

  MergeResult forTheirs = Merge(base, ours, theirs, Side::Theirs);
  EXPECT_EQ(Averaging(forTheirs.root).props[component::Val], Value(int64_t{2}));
  ASSERT_EQ(forTheirs.root.lists[store::Sessions].size(), 1u);  // brought back
  EXPECT_EQ(Item(forTheirs.root, store::LogicalNames, "New").props[logical::Session],
            Value(std::string("PlainSession")));
  EXPECT_EQ(ConflictText(forTheirs.conflicts[0]),
            "software-module SampleDmmDriver / data-component Averaging: value: base -16, ours 1, "
            "theirs 2");
}

// The changes as lines; an order change without its orders, which list the items the two stores
// share and so depend on what else changed.
std::set<std::string> Lines(const std::vector<Change>& changes) {
  std::set<std::string> lines;
  for (Change c : changes) {
    c.orderBefore.clear();
    c.orderAfter.clear();
    std::ostringstream line;
    PrintChanges({c}, line);
    lines.insert(line.str());
  }
  return lines;
}

bool Within(const std::set<std::string>& part, const std::set<std::string>& whole) {
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

// On random stores and random edits: a side alone is taken whole, and two equal sides are one:
// merge(B, X, B) = merge(B, X, X) = X and merge(B, B, Y) = Y. When X and Y do not clash, what the
// merge adds to each side is what the other side changed, and the library builds and reads back
// the merged store as it is.
TEST_F(Stores, MergeOfRandomStores) {
  int clean = 0;
  for (unsigned seed = 1; seed <= 80; ++seed) {
    Generator g(seed);
    Node b = g.Store(), x = g.Variant(b, 1 + seed % 6), y = g.Variant(b, 1 + seed % 4);
    for (const auto& [ours, theirs, expected] :
         {std::tuple<const Node&, const Node&, const Node&>{x, b, x}, {b, y, y}, {x, x, x}}) {
      MergeResult m = Merge(b, ours, theirs, Side::None);
      EXPECT_TRUE(m.conflicts.empty()) << "seed " << seed << ": " << ConflictText(m.conflicts[0]);
      EXPECT_TRUE(SameNode(m.root, expected)) << "seed " << seed;
    }
    MergeResult both = Merge(b, x, y, Side::None);
    // The base read for the keys alone of what both sides hold alike merges the same.
    Save(b, "base.xml");
    MergeResult lean =
        Merge(Capture(zav::Store::open(dir.File("base.xml")), AlikeInBoth(x, y)), x, y, Side::None);
    EXPECT_TRUE(SameNode(lean.root, both.root)) << "seed " << seed;
    EXPECT_EQ(lean.conflicts.size(), both.conflicts.size()) << "seed " << seed;
    if (!both.conflicts.empty()) continue;
    ++clean;
    EXPECT_TRUE(Within(Lines(Diff(x, both.root)), Lines(Diff(b, y)))) << "seed " << seed;
    EXPECT_TRUE(Within(Lines(Diff(y, both.root)), Lines(Diff(b, x)))) << "seed " << seed;
    Save(both.root);
    EXPECT_TRUE(SameNode(Read(dir.File("built.xml")), both.root)) << "seed " << seed;
  }
  EXPECT_GT(clean, 20);
}

}  // namespace
