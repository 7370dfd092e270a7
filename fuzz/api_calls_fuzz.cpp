// SPDX-License-Identifier: MIT
// Turns bytes into a sequence of C API calls on two stores, with handles of every kind picked
// from those issued so far (or of the wrong kind, stale or made up). After each call the status
// must be one that function documents, a failure must be recorded with the same code, and what
// the call changed must read back: counts move by one, names and references read as set, and a
// store that writes reads back with the same counts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "zavconfig.h"
#include "zavcshared.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "api_calls_fuzz: %s\n", what.c_str());
  std::abort();
}

// The sandbox: a registry naming a master store and the schema, and a file to save to.
struct tSandbox {
  std::string dir, file;
  tSandbox() {
    char pattern[] = "/tmp/zavapifuzz.XXXXXX";
    dir = mkdtemp(pattern);
    file = dir + "/store.xml";
    const std::string registry = dir + "/registry.ini", master = dir + "/master.xml";
    const std::string text = "[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=" + master +
                             "\n[Software\\ZAV]\nZavDataDir=" ZAV_SOURCE_DIR "/data/\n";
    for (const auto& [path, content] :
         {std::pair{registry, text}, std::pair{master, std::string()}}) {
      FILE* out = std::fopen(path.c_str(), "w");
      std::fputs(content.c_str(), out);
      std::fclose(out);
    }
    setenv("ZAV_REGISTRY", registry.c_str(), 1);
  }
};

ViStatus CreateApi(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreatePublishedAPI(c, n, "T", out);
}
ViStatus CreateComponent(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreateDataComponent(c, ZAVCONFIG_DATA_COMPONENT_STRING, n, out);
}
ViStatus CreateVirtual(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreateVirtualName(c, n, "Ch", out);
}
ViStatus CreatePhysical(ViSession c, ViConstString n, ViSession* out) {
  return ZavConfig_CreatePhysicalName(c, n, "Rc", out);
}

enum Kind {
  kLogical,
  kSession,
  kDriver,
  kAsset,
  kModule,
  kApi,
  kComponent,
  kVirtual,
  kPhysical,
  kKindCount,
  kStore = kKindCount
};

struct tKind {
  ViStatus (*count)(ViSession, ViInt32*);
  ViStatus (*byIndex)(ViSession, ViInt32, ViSession*);
  ViStatus (*byName)(ViSession, ViConstString, ViSession*);  // null: no lookup by name
  ViStatus (*create)(ViSession, ViConstString, ViSession*);
  ViStatus (*destroy)(ViSession, ViSession);
  ViStatus (*get)(ViSession, ViAttr, ViInt32, ViChar[]);
  ViStatus (*set)(ViSession, ViAttr, ViConstString);
};
#define ZAV_KIND(K, byName, create)                                                               \
  tKind {                                                                                         \
    ZavConfig_Get##K##Count, ZavConfig_Get##K##ItemByIndex, byName, create, ZavConfig_Destroy##K, \
        ZavConfig_Get##K##PropertyViString, ZavConfig_Set##K##PropertyViString                    \
  }
#define ZAV_NAMED_KIND(K, create) ZAV_KIND(K, ZavConfig_Get##K##ItemByName, create)
const tKind kKinds[kKindCount] = {
    ZAV_NAMED_KIND(LogicalName, ZavConfig_CreateLogicalName),
    ZAV_NAMED_KIND(Session, ZavConfig_CreateSession),
    ZAV_NAMED_KIND(DriverSession, ZavConfig_CreateDriverSession),
    ZAV_NAMED_KIND(HardwareAsset, ZavConfig_CreateHardwareAsset),
    ZAV_NAMED_KIND(SoftwareModule, ZavConfig_CreateSoftwareModule),
    ZAV_KIND(PublishedAPI, nullptr, CreateApi),
    ZAV_NAMED_KIND(DataComponent, CreateComponent),
    ZAV_NAMED_KIND(VirtualName, CreateVirtual),
    ZAV_NAMED_KIND(PhysicalName, CreatePhysical),
};
ViStatus (*const kStoreCollections[])(ViSession, ViSession*) = {
    ZavConfig_GetConfigStoreLogicalNameCollection,
    ZavConfig_GetConfigStoreSessionCollection,
    ZavConfig_GetConfigStoreDriverSessionCollection,
    ZavConfig_GetConfigStoreHardwareAssetCollection,
    ZavConfig_GetConfigStoreSoftwareModuleCollection,
    ZavConfig_GetConfigStorePublishedAPICollection};

constexpr ViStatus kHandle = ZAVCONFIG_ERROR_INVALID_HANDLE, kNotFound = ZAVCONFIG_ERROR_NOT_FOUND;

struct tEntry {
  ViSession handle;
  int kind;
  bool collection;
};

class tRun {
 public:
  tRun(const uint8_t* data, size_t size) : data_(data), size_(size) {
    for (int s = 0; s < 2; ++s) Open(s);
  }
  ~tRun() {
    for (const tEntry& e : pool_)
      if (e.kind == kStore)
        ZavConfig_Close(e.handle);
      else
        ZavConfig_DisposeHandle(e.handle);
  }

  void Step() {
    switch (Byte() % 12) {
      case 0:
        Create();
        break;
      case 1:
        Destroy();
        break;
      case 2:
        Fetch();
        break;
      case 3:
        SetString();
        break;
      case 4:
        GetString();
        break;
      case 5:
        Dispose();
        break;
      case 6:
        Reference();
        break;
      case 7:
        Child();
        break;
      case 8:
        ApiReference();
        break;
      case 9:
        Resolve();
        break;
      case 10:
        RoundTrip();
        break;
      default:
        Reopen();
        break;
    }
  }
  bool More() const { return pos_ < size_ && pool_.size() < 4000; }

 private:
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::string Text() {
    std::string text;
    // Mostly a few letters, so names meet; now and then any byte but NUL, which ends a C string.
    for (int n = Byte() % 6; n > 0; --n) {
      const char c = static_cast<char>(Byte() % 4 ? 'a' + Byte() % 3 : Byte());
      text += c ? c : '_';
    }
    return text;
  }
  // A handle of the wanted kind and form most of the time; else any handle, 0 or a made-up one.
  ViSession Pick(int kind, bool collection, int* found = nullptr) {
    const uint8_t b = Byte();
    if (found) *found = -1;
    if (b >= 0xF0) return b == 0xFF ? 0 : 0xFFFFFF00u + b;
    std::vector<size_t> fit;
    for (size_t i = 0; i < pool_.size(); ++i)
      if (b >= 0xC0 || (pool_[i].kind == kind && pool_[i].collection == collection))
        fit.push_back(i);
    if (fit.empty()) return 0;
    const size_t i = fit[b % fit.size()];
    if (found) *found = static_cast<int>(i);
    return pool_[i].handle;
  }
  void Keep(ViSession handle, int kind, bool collection) {
    if (handle == 0) Fail("a call succeeded without a handle");
    pool_.push_back({handle, kind, collection});
  }

  // The status must be one of `allowed` (or a string getter's needed size); a failure must be
  // recorded with the same code and the library's prefix.
  ViStatus Check(ViStatus status, const char* call, std::initializer_list<ViStatus> allowed,
                 bool sizeResult = false) {
    // ZAV_FUZZ_TRACE=1 lists the calls of a reproduced input.
    static const bool trace = std::getenv("ZAV_FUZZ_TRACE") != nullptr;
    if (trace) std::fprintf(stderr, "%s -> %d\n", call, static_cast<int>(status));
    if (status > 0 && sizeResult) return status;
    bool ok = status == 0 || status == kHandle;
    for (ViStatus code : allowed) ok = ok || status == code;
    if (!ok) Fail(std::string(call) + " returned an undocumented status " + std::to_string(status));
    if (status < 0) {
      ViStatus recorded = 0;
      char text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
      ZavConfig_GetError(&recorded, text);
      if (recorded != status || std::string(text).rfind("ZAV Configuration Server C API: ", 0) != 0)
        Fail(std::string(call) + " recorded " + std::to_string(recorded) + " \"" + text + "\"");
    }
    return status;
  }
  ViInt32 CountOf(int kind, ViSession collection) {
    ViInt32 n = -1;
    return Check(kKinds[kind].count(collection, &n), "count", {}) == 0 ? n : -1;
  }
  std::string NameOf(int kind, ViSession item) {
    char name[64] = "";
    const ViStatus needed = kKinds[kind].get(item, 1, 0, nullptr);
    if (needed <= 0) Fail("a name's size query returned " + std::to_string(needed));
    if (needed <= static_cast<ViStatus>(sizeof name) &&
        Check(kKinds[kind].get(item, 1, sizeof name, name), "get name", {}) != 0)
      Fail("a name could not be read");
    return name;
  }

  void Open(int slot) {
    ViSession store = 0;
    if (ZavConfig_Initialize(&store) != 0) Fail("initialize failed");
    stores_[slot] = store;
    Keep(store, kStore, false);
    for (int k = kLogical; k <= kApi; ++k) {
      ViSession collection = 0;
      Check(kStoreCollections[k](store, &collection), "store collection", {});
      Keep(collection, k, true);
    }
  }
  void Create() {
    const int kind = Byte() % kKindCount;
    const ViSession collection = Pick(kind, true);
    const std::string name = Text();
    const ViInt32 before = CountOf(kind, collection);
    ViSession item = 0;
    if (Check(kKinds[kind].create(collection, name.c_str(), &item), "create",
              {ZAVCONFIG_ERROR_ALREADY_EXISTS, ZAVCONFIG_ERROR_INVALID_VALUE,
               ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION}) != 0)
      return;
    Keep(item, kind, false);
    if (CountOf(kind, collection) != before + 1) Fail("a create did not add one item");
    if (NameOf(kind, item) != name.substr(0, 63)) Fail("a created item has another name");
    ViSession found = 0;
    if (kKinds[kind].byName &&
        Check(kKinds[kind].byName(collection, name.c_str(), &found), "by name", {}) == 0)
      Keep(found, kind, false);
  }
  void Destroy() {
    const int kind = Byte() % kKindCount;
    int at = -1;
    const ViSession collection = Pick(kind, true), item = Pick(kind, false, &at);
    const ViInt32 before = CountOf(kind, collection);
    if (Check(kKinds[kind].destroy(collection, item), "destroy",
              {kNotFound, ZAVCONFIG_ERROR_HAS_REFERENCES, ZAVCONFIG_ERROR_INVALID_VALUE}) != 0)
      return;
    if (CountOf(kind, collection) != before - 1) Fail("a destroy did not remove one item");
    if (ZavConfig_DisposeHandle(item) != kHandle) Fail("a destroy kept the item's handle");
    ZavConfig_ClearError();
    pool_.erase(pool_.begin() + at);
  }
  void Fetch() {
    const int kind = Byte() % kKindCount;
    const ViSession collection = Pick(kind, true);
    const ViInt32 count = CountOf(kind, collection), index = Byte() % 8;
    ViSession item = 0;
    const ViStatus status =
        Check(kKinds[kind].byIndex(collection, index, &item), "by index", {kNotFound});
    if (count >= 0 && (status == 0) != (index >= 1 && index <= count))
      Fail("fetching index " + std::to_string(index) + " of " + std::to_string(count) + " gave " +
           std::to_string(status));
    if (status == 0) Keep(item, kind, false);
  }
  void SetString() {
    const int kind = Byte() % kKindCount;
    const ViSession item = Pick(kind, false);
    const ViAttr id = Byte() % 4 ? 1 + Byte() % 2 : Byte();
    const std::string value = Text();
    if (Check(kKinds[kind].set(item, id, value.c_str()), "set string",
              {ZAVCONFIG_ERROR_INVALID_PROPERTY_ID, ZAVCONFIG_ERROR_INVALID_VALUE,
               ZAVCONFIG_ERROR_ALREADY_EXISTS, ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
               ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION}) == 0 &&
        id == 1 && NameOf(kind, item) != value.substr(0, 63))
      Fail("a name does not read back as set");
  }
  void GetString() {
    const int kind = Byte() % kKindCount;
    const ViSession item = Pick(kind, false);
    const ViAttr id = Byte() % 12;
    const ViInt32 size = static_cast<int8_t>(Byte());
    std::vector<ViChar> buffer(300, '#');
    ViChar* out = Byte() % 8 ? buffer.data() : nullptr;
    // A negative size promises room for the whole value: it is only given with the room.
    const ViStatus needed = kKinds[kind].get(item, id, 0, nullptr);
    if (size < 0 && out && (needed < 0 || needed > 300)) return;
    const ViStatus status =
        Check(kKinds[kind].get(item, id, size, out), "get string",
              {ZAVCONFIG_ERROR_INVALID_PROPERTY_ID, ZAVCONFIG_ERROR_NULL_POINTER}, true);
    if (status >= 0 && needed < 0) Fail("a getter failed only on a size query");
    if (status >= 0 && size > 0 && out && out[std::min<ViInt32>(size, needed) - 1] != '\0')
      Fail("a string getter left its output unterminated");
  }
  void Dispose() {
    int at = -1;
    const ViSession handle = Pick(Byte() % kKindCount, Byte() % 2, &at);
    const ViStatus status = Check(ZavConfig_DisposeHandle(handle), "dispose", {});
    const bool store = at >= 0 && pool_[at].kind == kStore;
    if ((status == 0) != (at >= 0 && !store)) Fail("dispose gave " + std::to_string(status));
    if (status == 0) pool_.erase(pool_.begin() + at);
  }
  void Reference() {
    static const struct {
      int from, to;
      ViStatus (*get)(ViSession, ViSession*);
      ViStatus (*set)(ViSession, ViSession);
    } refs[] = {{kLogical, kSession, ZavConfig_GetLogicalNameSessionReference,
                 ZavConfig_SetLogicalNameSessionReference},
                {kSession, kAsset, ZavConfig_GetSessionHardwareAssetReference,
                 ZavConfig_SetSessionHardwareAssetReference},
                {kSession, kModule, ZavConfig_GetSessionSoftwareModuleReference,
                 ZavConfig_SetSessionSoftwareModuleReference}};
    const auto& ref = refs[Byte() % 3];
    const ViSession from = Pick(ref.from, false), to = Byte() % 4 ? Pick(ref.to, false) : 0;
    if (Byte() % 2 &&
        Check(ref.set(from, to), "set reference", {ZAVCONFIG_ERROR_INVALID_VALUE}) == 0 && to) {
      ViSession read = 0;
      Check(ref.get(from, &read), "get reference", {});
      if (read == 0 || NameOf(ref.to, read) != NameOf(ref.to, to))
        Fail("a reference reads as another");
      Keep(read, ref.to, false);
    }
    ViSession read = 0;
    if (Check(ref.get(from, &read), "get reference", {}) == 0 && read) Keep(read, ref.to, false);
  }
  void Child() {
    static const struct {
      int parent, child;
      ViStatus (*get)(ViSession, ViSession*);
    } children[] = {{kSession, kComponent, ZavConfig_GetConfigComponentDataComponentCollection},
                    {kAsset, kComponent, ZavConfig_GetConfigComponentDataComponentCollection},
                    {kModule, kComponent, ZavConfig_GetConfigComponentDataComponentCollection},
                    {kSession, kVirtual, ZavConfig_GetSessionVirtualNameCollection},
                    {kModule, kPhysical, ZavConfig_GetSoftwareModulePhysicalNameCollection},
                    {kModule, kApi, ZavConfig_GetSoftwareModulePublishedAPICollection},
                    {kPhysical, kPhysical, ZavConfig_GetPhysicalNameChildPhysicalNameCollection}};
    const auto& c = children[Byte() % 7];
    ViSession collection = 0;
    if (Check(c.get(Pick(c.parent, false), &collection), "child collection", {}) == 0)
      Keep(collection, c.child, true);
  }
  void ApiReference() {
    const ViSession collection = Pick(kApi, true), api = Pick(kApi, false);
    const ViInt32 before = CountOf(kApi, collection);
    const bool add = Byte() % 2;
    const ViStatus status =
        add ? Check(ZavConfig_AddPublishedAPIReference(collection, api), "add reference",
                    {ZAVCONFIG_ERROR_ALREADY_EXISTS, ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION,
                     ZAVCONFIG_ERROR_NULL_POINTER})
            : Check(ZavConfig_RemovePublishedAPIReference(collection, api), "remove reference",
                    {kNotFound});
    if (status == 0 && CountOf(kApi, collection) != before + (add ? 1 : -1))
      Fail("a published API reference did not change the count by one");
  }
  void Resolve() {
    ViSession session = 0;
    const std::string name = Text();
    if (Check(ZavConfig_GetSession(Pick(kStore, false), name.c_str(), &session), "get session",
              {ZAVCONFIG_ERROR_SESSION_NOT_FOUND}) == 0 &&
        session)
      Keep(session, kSession, false);
  }
  // A store that writes reads back into a new store with the same number of every item.
  void RoundTrip() {
    if (++roundTrips_ > 3) return;
    static tSandbox sandbox;
    const ViSession store = stores_[Byte() % 2];
    if (Check(ZavConfig_Serialize(store, sandbox.file.c_str()), "serialize",
              {ZAVCONFIG_ERROR_SERIALIZE_FAILED}) != 0)
      return;
    ViSession copy = 0;
    ZavConfig_Initialize(&copy);
    if (Check(ZavConfig_Deserialize(copy, sandbox.file.c_str()), "deserialize", {}) != 0)
      Fail("a written store does not read back");
    for (int k = kLogical; k <= kApi; ++k) {
      ViSession mine = 0, theirs = 0;
      kStoreCollections[k](store, &mine);
      kStoreCollections[k](copy, &theirs);
      if (CountOf(k, mine) != CountOf(k, theirs)) Fail("a store read back with other counts");
      ZavConfig_DisposeHandle(mine);
      ZavConfig_DisposeHandle(theirs);
    }
    ZavConfig_Close(copy);
  }
  // Closes a store (its other handles go stale) and opens a new one in its place.
  void Reopen() {
    const int slot = Byte() % 2;
    if (ZavConfig_Close(stores_[slot]) != 0) Fail("close failed");
    for (size_t i = 0; i < pool_.size(); ++i)
      if (pool_[i].handle == stores_[slot]) pool_.erase(pool_.begin() + i);
    Open(slot);
  }

  const uint8_t* data_;
  size_t size_, pos_ = 0;
  std::vector<tEntry> pool_;
  ViSession stores_[2] = {0, 0};
  int roundTrips_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tRun run(data, size);
  while (run.More()) run.Step();
  return 0;
}
