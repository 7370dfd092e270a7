// SPDX-License-Identifier: MIT
// Stores kept in version control: semantic diff, three-way merge, JSON import and export, and
// the git configuration that puts the first two behind `git diff` and `git merge`.
#include "station_commands.hpp"

#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

#include "commands.hpp"
#include "snapshot_json.hpp"
#include "store_compare.hpp"

namespace zavtool {

namespace {

// diff(1)'s exit statuses: the stores are the same, they differ, or one could not be compared.
enum DiffExit { kSame = 0, kDifferent = 1, kTrouble = 2 };

// What git hands over for a file that does not exist on one side (/dev/null), or for the base
// of a file both branches added (an empty file), is an empty store.
bool Absent(const std::string& path) {
  struct stat st;
  return path == "/dev/null" ||
         (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0);
}

// A store that could not be read, and which.
struct Unreadable {
  std::string file;
  zav::Error error;
};

int FailToRead(const std::string& context, const Unreadable& u) {
  return Fail(context, u.file + ": " + u.error.what(), Hints(u.error, u.file));
}

Node Load(const std::string& path, const KeyOnly& keyOnly = {}) {
  // Not even a description: a file that is not there says nothing.
  if (Absent(path)) return Node{"", {std::string()}, std::vector<std::vector<Node>>(6)};
  try {
    return Capture(zav::Store::open(path), keyOnly);
  } catch (const zav::Error& e) {
    throw Unreadable{path, e};
  }
}

// The base of a merge, read for the keys alone of what ours and theirs hold alike.
Node LoadBase(const std::string& path, const Node& ours, const Node& theirs) {
  return Load(path, AlikeInBoth(ours, theirs));
}

struct Options {
  std::vector<std::string> files;
  std::string output;
  bool json = false, ours = false, theirs = false, lines = false;
  bool global = false, print = false;
  std::string pattern = "*.xml";
};

int DiffCommand(const Options& o) {
  // git runs an external diff as: path old-file old-hex old-mode new-file new-hex new-mode, and
  // stops at a non-zero exit; the two files are the second and the fifth.
  bool git = o.files.size() == 7;
  if (!git && o.files.size() != 2) {
    std::cerr << "zavconfig: diff: give two stores (or the seven arguments git gives an external "
                 "diff)\n";
    return kUsage;
  }
  try {
    Node a = Load(o.files[git ? 1 : 0]), b = Load(o.files[git ? 4 : 1]);
    std::vector<Change> changes = Diff(a, b);
    if (o.json) {
      std::cout << ChangesJson(changes).dump(2) << "\n";
    } else {
      if (git && !changes.empty()) std::cout << "zavconfig diff " << o.files[0] << "\n";
      PrintChanges(changes, std::cout);
    }
    return git || changes.empty() ? kSame : kDifferent;
  } catch (const Unreadable& u) {
    FailToRead("diff", u);
    return kTrouble;
  }
}

int MergeCommand(const Options& o) {
  const std::string& target = o.output.empty() ? o.files[1] : o.output;
  Side side = o.ours ? Side::Ours : o.theirs ? Side::Theirs : Side::None;
  MergeResult merged;
  try {
    Node ours = Load(o.files[1]), theirs = Load(o.files[2]);
    merged = Merge(LoadBase(o.files[0], ours, theirs), ours, theirs, side);
  } catch (const Unreadable& u) {
    FailToRead("merge", u);
    return kTrouble;
  }
  const char* settled = side == Side::Ours     ? " (took ours)"
                        : side == Side::Theirs ? " (took theirs)"
                                               : "";
  for (const Conflict& c : merged.conflicts)
    std::cout << "conflict: " << ConflictText(c) << settled << "\n";
  if (!merged.conflicts.empty() && side == Side::None) {
    Fail("merge", std::to_string(merged.conflicts.size()) +
                      " conflict(s); nothing written (--ours or --theirs settles each for that "
                      "side)");
    return kFault;
  }
  const std::string context = "merge: cannot write the merged store to " + target;
  try {
    zav::Store store;
    Build(merged.root, store);
    store.serialize(target);
  } catch (const zav::Error& e) {
    Fail(context, e, target);
    return kTrouble;
  } catch (const SnapshotError& e) {
    Fail(context, e.what());
    return kTrouble;
  }
  return kOk;
}

int ImportCommand(const Options& o) {
  const std::string& source = o.files[0];
  Json json;
  try {
    if (source == "-") {
      json = Json::parse(std::cin);
    } else {
      std::ifstream in(source, std::ios::binary);
      if (!in) return Fail("import", "cannot read " + source);
      json = Json::parse(in);
    }
  } catch (const Json::exception& e) {
    return Fail("import", (source == "-" ? std::string("standard input") : source) +
                              " is not JSON: " + e.what());
  }
  try {
    std::set<std::string> takeModuleSettings;
    Node root = SnapshotFromJson(json, &takeModuleSettings);
    zav::Store store;
    Build(root, store, takeModuleSettings);
    store.serialize(o.output);
    return kOk;
  } catch (const zav::Error& e) {
    return Fail("import", e, o.output);
  } catch (const SnapshotError& e) {
    return Fail("import", e.what());
  }
}

int ExportCommand(const Options& o) {
  std::string file = o.files.empty() ? "" : o.files[0];
  try {
    OpenStore open = Open(file);
    Node root = Capture(open.store);
    if (o.lines)
      PrintLines(root, std::cout);
    else
      std::cout << SnapshotJson(root, open.path).dump(2) << "\n";
    return kOk;
  } catch (const zav::Error& e) {
    if (!o.lines || file.empty()) return Fail("export", e, file);
    // git shows what textconv prints: a file that is not a readable store (one with conflict
    // markers, say) is shown as it is rather than not at all.
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail("export", e, file);
    std::cout << "# not a store the library reads: " << e.what() << "\n" << in.rdbuf();
    return kOk;
  }
}

}  // namespace

void AddStationCommands(CLI::App& app, Action& action) {
  static Options o;

  auto* diff = app.add_subcommand(
      "diff", "Show what differs between two stores, item by item (exit 0 same, 1 different)");
  diff->add_option("STORES", o.files, "Two stores (or the seven arguments of a git external diff)")
      ->required()
      ->expected(2, 7);
  diff->add_flag("--json", o.json, "Print JSON");
  diff->footer("Exit status: 0 the same, 1 different, 2 a store could not be read.");
  diff->callback([&] { action = [] { return DiffCommand(o); }; });

  auto* merge = app.add_subcommand(
      "merge", "Merge two changed versions of a store with their common base (a git merge driver)");
  merge->add_option("STORES", o.files, "BASE OURS THEIRS")->required()->expected(3);
  merge->add_option("-o,--output", o.output, "Write the result here (default: over OURS)");
  auto* ours = merge->add_flag("--ours", o.ours, "Settle every conflict for ours and write");
  merge->add_flag("--theirs", o.theirs, "Settle every conflict for theirs and write")
      ->excludes(ours);
  merge->footer(
      "Exit status: 0 merged (and written), 1 conflicts (nothing written), 2 a store could not "
      "be read, or the result built or written.");
  merge->callback([&] { action = [] { return MergeCommand(o); }; });

  auto* import = app.add_subcommand(
      "import", "Make a store from the JSON that `show --json` prints (- reads standard input)");
  import->add_option("FILE", o.files, "JSON file, or -")->required()->expected(1);
  import->add_option("-o,--output", o.output, "Store file to write")->required();
  import->callback([&] { action = [] { return ImportCommand(o);
};
}  // namespace zavtool
);

auto* exportCmd = app.add_subcommand(
    "export", "Print a store as JSON (as `show --json`), or with --lines one line per property");
exportCmd->add_option("FILE", o.files, "Store file (default: the master store)")->expected(0, 1);
exportCmd->add_flag("--lines", o.lines, "One line per item and property, for git's textconv");
exportCmd->callback([&] { action = [] { return ExportCommand(o); }; });

auto* git = app.add_subcommand("git-setup",
                               "Make git diff and merge stores with zavconfig in this repository");
git->add_flag("--global", o.global, "For every repository of the user instead");
git->add_flag("--print", o.print, "Print the configuration instead of writing it");
git->add_option("--pattern", o.pattern, "Files that are stores (default: *.xml)");
git->callback([&] { action = [] { return GitSetup(o.global, o.print, o.pattern); }; });
}

}  // namespace zavtool
