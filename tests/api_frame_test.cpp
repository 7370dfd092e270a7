// The frame every exported function runs in: opening and closing stores, handle issue and
// disposal, handles of the wrong kind or of objects that are gone, output pointer checks, the
// ViString output convention, and the per-thread error record.
#include <atomic>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

#include "api_fixtures.h"

namespace zavapi {
namespace {

class ApiFrame : public ApiTest {};

const std::string kCloseInvalid =
    "ZavConfig_Close: Invalid handle parameter value, or handle does not exist.";
const std::string kDisposeInvalid =
    "ZavConfig_DisposeHandle: Invalid handle parameter value, or handle does not exist.";
const std::string kDisposeNull = "ZavConfig_DisposeHandle: NULL handle parameter value.";
constexpr ViStatus kInvalidHandle = ZAVCONFIG_ERROR_INVALID_HANDLE;

TEST_F(ApiFrame, OpenCloseAndDispose) {
  ExpectNullOutput(ZavConfig_Initialize(nullptr));
  ExpectError(ZavConfig_Close(0), kInvalidHandle, kCloseInvalid);
  ExpectError(ZavConfig_DisposeHandle(0), kInvalidHandle, kDisposeNull);
  // Only a store handle closes a store; only ZavConfig_Close releases it.
  const ViSession sessions = Sessions(store_);
  ExpectError(ZavConfig_Close(sessions), kInvalidHandle, kCloseInvalid);
  ExpectError(ZavConfig_DisposeHandle(store_), kInvalidHandle, kDisposeInvalid);
  Issue(ZavConfig_CreateSession, sessions, "StillOpen");
  ExpectOk(ZavConfig_DisposeHandle(sessions));
  ExpectError(ZavConfig_DisposeHandle(sessions), kInvalidHandle, kDisposeInvalid);
  ViInt32 count = 0;
  ExpectNoHandle(ZavConfig_GetSessionCount(sessions, &count));
  EXPECT_EQ(CountOf(ZavConfig_GetSessionCount, Sessions(store_)), 1);
}

TEST_F(ApiFrame, EveryCallIssuesAFreshHandle) {
  const ViSession first = LogicalNames(store_), second = LogicalNames(store_);
  EXPECT_NE(first, second);
  CreateLogicalName(store_, "Dmm");
  const ViSession a = Issue(ZavConfig_GetLogicalNameItemByName, first, "Dmm");
  const ViSession b = Issue(ZavConfig_GetLogicalNameItemByName, second, "Dmm");
  EXPECT_NE(a, b);
  ExpectOk(ZavConfig_DisposeHandle(a));
  ExpectOk(ZavConfig_DisposeHandle(first));
  EXPECT_EQ(GetString(ZavConfig_GetLogicalNamePropertyViString, b, 1), "Dmm");
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, second), 1);
  ExpectNoHandle(ZavConfig_GetLogicalNamePropertyViString(a, 1, 0, nullptr));
}

// One call per kind of handle: a count for collections, the name for items.
struct Use {
  const char* kind;
  ViSession handle;
  std::function<ViStatus(ViSession)> call;
};
Use Collection(const char* kind, ViSession handle, CountGetter count) {
  return {kind, handle, [count](ViSession h) {
            ViInt32 n;
            return count(h, &n);
          }};
}
Use Item(const char* kind, ViSession handle, StringGetter get) {
  return {kind, handle, [get](ViSession h) {
            char name[32];
            return get(h, 1, sizeof name, name);
          }};
}

TEST_F(ApiFrame, HandleOfAnotherKindIsUnknown) {
  const ViSession module = CreateSoftwareModule(store_, "Drv");
  const ViSession physNames = Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection, module);
  const ViSession physName = Issue(ZavConfig_CreatePhysicalName, physNames, "Ch", "Rc");
  const ViSession physRanges = Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection, physName);
  const ViSession session = CreateSession(store_, "S");
  const ViSession virtNames = Issue(ZavConfig_GetSessionVirtualNameCollection, session);
  const ViSession virtName = Issue(ZavConfig_CreateVirtualName, virtNames, "V", "Ch");
  const ViSession virtRanges = Issue(ZavConfig_GetVirtualNameVirtualRangeCollection, virtName);
  const ViSession components = DataComponentsOf(session);
  const Use uses[] = {
      {"store", store_,
       [](ViSession h) {
         ViInt32 n;
         return ZavConfig_GetConfigStorePropertyViInt32(h, 8, &n);
       }},
      Collection("logical names", LogicalNames(store_), ZavConfig_GetLogicalNameCount),
      Item("logical name", CreateLogicalName(store_, "L"),
           ZavConfig_GetLogicalNamePropertyViString),
      Collection("sessions", Sessions(store_), ZavConfig_GetSessionCount),
      Item("session", session, ZavConfig_GetSessionPropertyViString),
      Collection("driver sessions", DriverSessions(store_), ZavConfig_GetDriverSessionCount),
      Item("driver session", CreateDriverSession(store_, "D"),
           ZavConfig_GetDriverSessionPropertyViString),
      Collection("hardware assets", HardwareAssets(store_), ZavConfig_GetHardwareAssetCount),
      Item("hardware asset", CreateHardwareAsset(store_, "Hw"),
           ZavConfig_GetHardwareAssetPropertyViString),
      Collection("software modules", SoftwareModules(store_), ZavConfig_GetSoftwareModuleCount),
      Item("software module", module, ZavConfig_GetSoftwareModulePropertyViString),
      Collection("published APIs", PublishedAPIs(store_), ZavConfig_GetPublishedAPICount),
      Item("published API", CreatePublishedAPI(store_, "Api", "C"),
           ZavConfig_GetPublishedAPIPropertyViString),
      Collection("physical names", physNames, ZavConfig_GetPhysicalNameCount),
      Item("physical name", physName, ZavConfig_GetPhysicalNamePropertyViString),
      Collection("physical ranges", physRanges, ZavConfig_GetPhysicalRangeCount),
      Item("physical range", Issue(ZavConfig_CreatePhysicalRange, physRanges, "R"),
           ZavConfig_GetPhysicalRangePropertyViString),
      Collection("virtual names", virtNames, ZavConfig_GetVirtualNameCount),
      Item("virtual name", virtName, ZavConfig_GetVirtualNamePropertyViString),
      Collection("virtual ranges", virtRanges, ZavConfig_GetVirtualRangeCount),
      Item("virtual range", Issue(ZavConfig_CreateVirtualRange, virtRanges, "R"),
           ZavConfig_GetVirtualRangePropertyViString),
      Collection("data components", components, ZavConfig_GetDataComponentCount),
      Item("data component", CreateDataComponent(components, 2, "I"),
           ZavConfig_GetDataComponentPropertyViString),
  };
  for (const Use& use : uses) {
    SCOPED_TRACE(use.kind);
    ExpectOk(use.call(use.handle));
    for (const Use& other : uses) {
      // Session functions take driver session handles as well.
      const bool accepted =
          std::string(use.kind) == "session" && std::string(other.kind) == "driver session";
      if (&other == &use || accepted) continue;
      SCOPED_TRACE(std::string("given a handle of ") + other.kind);
      ExpectNoHandle(use.call(other.handle));
    }
    ExpectNoHandle(use.call(0));
    ExpectNoHandle(use.call(kBogusHandle));
  }
}

TEST_F(ApiFrame, HandlesOfObjectsThatAreGoneAreRejectedButDisposable) {
  // Destroyed through another handle; a new item of the same name is not reached either.
  const ViSession names = LogicalNames(store_);
  const ViSession first = Issue(ZavConfig_CreateLogicalName, names, "Old");
  const ViSession second = Issue(ZavConfig_GetLogicalNameItemByName, names, "Old");
  ExpectOk(ZavConfig_DestroyLogicalName(names, first));
  Issue(ZavConfig_CreateLogicalName, names, "Old");
  ExpectNoHandle(ZavConfig_SetLogicalNamePropertyViString(second, 2, "x"));
  ViSession reference = 5;
  ExpectNoHandle(ZavConfig_GetLogicalNameSessionReference(second, &reference));
  EXPECT_EQ(reference, 0u);
  ExpectNoHandle(ZavConfig_DestroyLogicalName(names, second));
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, names), 1);

  // Destroyed with their owner: the physical name tree of a module.
  const ViSession modules = SoftwareModules(store_);
  const ViSession module = Issue(ZavConfig_CreateSoftwareModule, modules, "Drv");
  const ViSession physName =
      Issue(ZavConfig_CreatePhysicalName,
            Issue(ZavConfig_GetSoftwareModulePhysicalNameCollection, module), "Ch", "Rc");
  const ViSession ranges = Issue(ZavConfig_GetPhysicalNamePhysicalRangeCollection, physName);
  ExpectOk(ZavConfig_DestroySoftwareModule(modules, module));
  ExpectNoHandle(ZavConfig_GetPhysicalNamePropertyViString(physName, 2, 0, nullptr));
  ExpectNoHandle(ZavConfig_CreatePhysicalRange(ranges, "R", &reference));

  // Destroyed with their store.
  ViSession other = 0;
  AssertOk(ZavConfig_Initialize(&other));
  const ViSession otherNames = LogicalNames(other);
  const ViSession otherName = Issue(ZavConfig_CreateLogicalName, otherNames, "Gone");
  ExpectOk(ZavConfig_Close(other));
  ExpectError(ZavConfig_Close(other), kInvalidHandle, kCloseInvalid);
  ViInt32 count = 7;
  ExpectNoHandle(ZavConfig_GetLogicalNameCount(otherNames, &count));
  EXPECT_EQ(count, 7);
  ExpectNoHandle(ZavConfig_CreateLogicalName(otherNames, "Late", &reference));
  ExpectNoHandle(ZavConfig_GetLogicalNamePropertyViString(otherName, 1, 0, nullptr));
  for (ViSession handle : {second, physName, ranges, otherNames, otherName})
    ExpectOk(ZavConfig_DisposeHandle(handle));
}

TEST_F(ApiFrame, NullOutputIsReportedBeforeTheHandle) {
  const ViSession h = kBogusHandle;
  const std::function<ViStatus()> calls[] = {
      [=] { return ZavConfig_GetLogicalNameCount(h, nullptr); },
      [=] { return ZavConfig_GetSessionItemByIndex(h, 1, nullptr); },
      [=] { return ZavConfig_GetHardwareAssetItemByName(h, "x", nullptr); },
      [=] { return ZavConfig_CreateSoftwareModule(h, "", nullptr); },
      [=] { return ZavConfig_CreatePublishedAPI(h, "", "", nullptr); },
      [=] { return ZavConfig_GetSessionHardwareAssetReference(h, nullptr); },
      [=] { return ZavConfig_GetVirtualNameVirtualRangeCollection(h, nullptr); },
      [=] { return ZavConfig_GetConfigStoreSessionCollection(h, nullptr); },
      [=] { return ZavConfig_GetDriverSession(h, "x", nullptr); },
      [=] { return ZavConfig_GetConfigStorePropertyViInt32(h, 99, nullptr); },
      [=] { return ZavConfig_GetDriverSessionPropertyViBoolean(h, 99, nullptr); },
      [=] { return ZavConfig_GetDataComponentPropertyViReal64(h, 99, nullptr); },
      [=] { return ZavConfig_GetConfigComponentDataComponentCollection(h, nullptr); },
      [=] { return ZavConfig_CreateDataComponent(h, 99, "", nullptr); },
      [=] { return ZavConfig_CreateStructure(h, "", 99, "", nullptr); },
      [=] { return ZavConfig_CreateAPIReference(h, "", h, nullptr); },
      [=] { return ZavConfig_GetAPIReferencePublishedAPIReference(h, nullptr); },
  };
  for (size_t i = 0; i < std::size(calls); ++i) {
    SCOPED_TRACE(i);
    ExpectNullOutput(calls[i]());
  }
}

TEST_F(ApiFrame, StringOutputConvention) {
  const ViSession name = CreateLogicalName(store_, "Conv");
  SetString(ZavConfig_SetLogicalNamePropertyViString, name, 2, "ABCDEFGH");
  char buffer[16];
  auto get = [&](ViInt32 size, bool withBuffer = true) {
    std::memset(buffer, '#', sizeof buffer);
    return ZavConfig_GetLogicalNamePropertyViString(name, 2, size, withBuffer ? buffer : nullptr);
  };
  EXPECT_EQ(get(0, false), 9);
  EXPECT_EQ(get(0), 9);
  EXPECT_EQ(buffer[0], '#');  // nothing copied
  EXPECT_EQ(get(5), 9);
  EXPECT_STREQ(buffer, "ABCD");
  EXPECT_EQ(buffer[5], '#');
  EXPECT_EQ(get(9), 0);
  EXPECT_STREQ(buffer, "ABCDEFGH");
  EXPECT_EQ(buffer[9], '#');
  EXPECT_EQ(get(12), 0);  // the rest of the buffer is filled with NUL
  EXPECT_EQ(std::string(buffer, 13), std::string("ABCDEFGH\0\0\0\0#", 13));
  EXPECT_EQ(get(-1), 0);
  EXPECT_EQ(std::string(buffer, 10), std::string("ABCDEFGH\0#", 10));
  ExpectNullOutput(get(3, false));
}

TEST_F(ApiFrame, ErrorRecordIsReadWithoutClearing) {
  ViStatus code = 1;
  char text[2 * ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
  auto read = [&] {
    EXPECT_EQ(ZavConfig_GetError(&code, text), VI_SUCCESS);
    return std::string(text);
  };
  EXPECT_EQ(read(), "");
  EXPECT_EQ(code, VI_SUCCESS);
  EXPECT_EQ(ZavConfig_DisposeHandle(0), kInvalidHandle);
  EXPECT_EQ(read(), kPrefix + kDisposeNull);
  EXPECT_EQ(read(), kPrefix + kDisposeNull);  // reading does not clear
  EXPECT_EQ(code, kInvalidHandle);
  CreateLogicalName(store_, "Fine");  // nor does a successful call
  EXPECT_EQ(read(), kPrefix + kDisposeNull);
  EXPECT_EQ(ZavConfig_ClearError(), VI_SUCCESS);
  EXPECT_EQ(read(), "");
  EXPECT_EQ(code, VI_SUCCESS);

  // A long message: ZavConfig_GetError delivers its first 255 bytes, the record holds it all.
  const std::string longName(400, 'n');
  ViSession out = 0;
  EXPECT_EQ(ZavConfig_GetLogicalNameItemByName(LogicalNames(store_), longName.c_str(), &out),
            ZAVCONFIG_ERROR_NOT_FOUND);
  const std::string full =
      kPrefix + "Search by name failed. Item " + longName + " does not exist in the collection.";
  EXPECT_EQ(LastErrorText(), full);
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(read(), full.substr(0, ZAVCONFIG_ERROR_DESCRIPTION_SIZE - 1));
  EXPECT_EQ(text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE], '#');
}

TEST_F(ApiFrame, ErrorsArePerThread) {
  struct Seen {
    ViStatus code = 1;
    std::string text = "unset";
  } seenA, seenB, seenFresh;
  std::atomic<int> recorded{0};
  auto worker = [&recorded](std::function<ViStatus()> fail, Seen* seen, int wait) {
    if (fail) fail();
    ++recorded;
    while (recorded.load() < wait) std::this_thread::yield();  // the other record exists too
    seen->code = LastErrorCode();
    seen->text = LastErrorText();
  };
  std::thread a(
      worker, [] { return ZavConfig_Close(0); }, &seenA, 2);
  std::thread b(
      worker, [] { return ZavConfig_DisposeHandle(0); }, &seenB, 2);
  a.join();
  b.join();
  std::thread(worker, nullptr, &seenFresh, 0).join();
  EXPECT_EQ(seenA.code, kInvalidHandle);
  EXPECT_EQ(seenA.text, kPrefix + kCloseInvalid);
  EXPECT_EQ(seenB.code, kInvalidHandle);
  EXPECT_EQ(seenB.text, kPrefix + kDisposeNull);
  EXPECT_EQ(seenFresh.code, VI_SUCCESS);
  EXPECT_EQ(seenFresh.text, "");
  EXPECT_EQ(LastErrorCode(), VI_SUCCESS);  // nothing was recorded on this thread
}

TEST_F(ApiFrame, ConcurrentCallsStayConsistent) {
  constexpr int kThreads = 4, kItems = 40;
  const ViSession shared = LogicalNames(store_);
  std::atomic<int> failures{0};
  std::vector<ViInt32> ownCounts(kThreads, -1);
  std::vector<std::vector<ViSession>> sharedHandles(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      auto ok = [&failures](ViStatus status) { failures += status != VI_SUCCESS; };
      ViSession own = 0, sessions = 0;
      ok(ZavConfig_Initialize(&own));
      ok(ZavConfig_GetConfigStoreSessionCollection(own, &sessions));
      for (int i = 0; i < kItems; ++i) {
        const std::string name = "T" + std::to_string(t) + "_" + std::to_string(i);
        ViSession session = 0, again = 0, logical = 0;
        char text[32] = {};
        ok(ZavConfig_CreateSession(sessions, name.c_str(), &session));
        ok(ZavConfig_GetSessionItemByName(sessions, name.c_str(), &again));
        ok(ZavConfig_SetSessionPropertyViString(again, 2, name.c_str()));
        ok(ZavConfig_GetSessionPropertyViString(session, 2, sizeof text, text));
        failures += name != text;
        ok(ZavConfig_CreateLogicalName(shared, name.c_str(), &logical));
        ok(ZavConfig_DisposeHandle(again));
        ok(ZavConfig_DisposeHandle(session));
        sharedHandles[t].push_back(logical);
      }
      ok(ZavConfig_GetSessionCount(sessions, &ownCounts[t]));
      ok(ZavConfig_Close(own));
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(ownCounts, std::vector<ViInt32>(kThreads, kItems));
  EXPECT_EQ(CountOf(ZavConfig_GetLogicalNameCount, shared), kThreads * kItems);
  std::set<ViSession> distinct;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kItems; ++i) {
      distinct.insert(sharedHandles[t][i]);
      EXPECT_EQ(GetString(ZavConfig_GetLogicalNamePropertyViString, sharedHandles[t][i], 1),
                "T" + std::to_string(t) + "_" + std::to_string(i));
    }
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads * kItems));
}

}  // namespace
}  // namespace zavapi
