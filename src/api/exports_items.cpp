// Exported collection and item functions: count, item by index and by name, create, destroy,
// child collections and references between items.
#include "api/families.h"

using namespace zav;

namespace {
tHandleTables& H() { return Handles(); }

auto Physical(ViConstString name, ViConstString rcName) {
  auto item = std::make_unique<tZavPhysicalName>();
  item->SetCheckedName(InputString(name));
  item->SetRCName(InputString(rcName));
  return item;
}

auto Virtual(ViConstString name, ViConstString mapTo) {
  auto item = std::make_unique<tZavVirtualName>();
  item->SetCheckedName(InputString(name));
  item->SetMapTo(InputString(mapTo));
  return item;
}

auto PublishedAPI(ViConstString name, ViConstString type) {
  auto item = std::make_unique<tZavPublishedAPI>();
  item->SetName(InputString(name));
  item->SetType(InputString(type));
  return item;
}

// Destroying a session accepts a driver session handle too; the handle given is released from
// whichever table holds it.
struct tSessionHandleKind : tSessionKind {
  void Release(ViSession handle) const {
    if (H().session.Contains(handle))
      H().session.Release(handle);
    else
      H().driverSession.Release(handle);
  }
};
}  // namespace

// Count and item by index of a kind; keyed kinds also have item by name.
#define ZAV_INDEXED_ACCESS(Kind, Collections, Items)                                          \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Get##Kind##Count(ViSession CollectionHandle, \
                                                                   ViInt32* Count) {           \
    return CountOf(Collections, CollectionHandle, Count);                                      \
  }                                                                                            \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Get##Kind##ItemByIndex(                      \
      ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {                      \
    return ItemByIndex(Collections, Items, CollectionHandle, Index, ItemHandle);               \
  }
#define ZAV_KEYED_ACCESS(Kind, Collections, Items)                                             \
  ZAV_INDEXED_ACCESS(Kind, Collections, Items)                                                 \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Get##Kind##ItemByName(                       \
      ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {                 \
    return ItemByName(Collections, Items, CollectionHandle, Name, ItemHandle);                 \
  }

// Create and destroy of the kinds whose items are named with the plain checked setter and held
// by the collection's own add and remove.
#define ZAV_NAMED_CREATE_DESTROY(Kind, Type, Collections, Items)                                \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Create##Kind(                                \
      ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {                 \
    return CreateItem(Collections, Items, CollectionHandle, ItemHandle,                        \
                      [&] { return NewNamed<Type>(Name); }, kAdd);                             \
  }                                                                                            \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Destroy##Kind(ViSession CollectionHandle,    \
                                                               ViSession ItemHandle) {         \
    return DestroyItem(Collections, Items, CollectionHandle, ItemHandle, kRemove);             \
  }

extern "C" {

ZAV_KEYED_ACCESS(LogicalName, H().logicalNameCollection, H().logicalName)
ZAV_KEYED_ACCESS(Session, H().sessionCollection, H().session)
ZAV_KEYED_ACCESS(DriverSession, H().driverSessionCollection, H().driverSession)
ZAV_KEYED_ACCESS(HardwareAsset, H().hardwareAssetCollection, H().hardwareAsset)
ZAV_KEYED_ACCESS(SoftwareModule, H().softwareModuleCollection, H().softwareModule)
ZAV_INDEXED_ACCESS(PublishedAPI, H().publishedAPICollection, H().publishedAPI)
ZAV_KEYED_ACCESS(PhysicalName, H().physicalNameCollection, H().physicalName)
ZAV_INDEXED_ACCESS(PhysicalRange, H().physicalRangeCollection, H().physicalRange)
ZAV_KEYED_ACCESS(VirtualName, H().virtualNameCollection, H().virtualName)
ZAV_INDEXED_ACCESS(VirtualRange, H().virtualRangeCollection, H().virtualRange)
ZAV_KEYED_ACCESS(DataComponent, H().dataComponentCollection, H().dataComponent)

ZAV_NAMED_CREATE_DESTROY(LogicalName, tZavLogicalName, H().logicalNameCollection, H().logicalName)
ZAV_NAMED_CREATE_DESTROY(HardwareAsset, tZavHardwareAsset, H().hardwareAssetCollection,
                         H().hardwareAsset)
ZAV_NAMED_CREATE_DESTROY(SoftwareModule, tZavSoftwareModule, H().softwareModuleCollection,
                         H().softwareModule)
ZAV_NAMED_CREATE_DESTROY(PhysicalRange, tZavPhysicalRange, H().physicalRangeCollection,
                         H().physicalRange)
ZAV_NAMED_CREATE_DESTROY(VirtualRange, tZavVirtualRange, H().virtualRangeCollection,
                         H().virtualRange)

// --- logical names ---------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession* SessionHandle) {
  return GetReference(H().logicalName, H().session, LogicalNameHandle, SessionHandle,
                      [](tZavLogicalName& name) { return name.GetSession(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession SessionHandle) {
  return SetReference(H().logicalName, kAnySession, LogicalNameHandle, SessionHandle,
                      [](tZavLogicalName& name, tZavSession* s) { name.SetSession(s); });
}

// --- sessions --------------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSession(ViSession CollectionHandle,
                                                              ViConstString Name,
                                                              ViSession* SessionHandle) {
  return CreateItem(H().sessionCollection, H().session, CollectionHandle, SessionHandle,
                    [&] { return NewNamed<tZavSession>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySession(ViSession CollectionHandle,
                                                               ViSession SessionHandle) {
  tSessionHandleKind sessions;
  return DestroyItem(H().sessionCollection, sessions, CollectionHandle, SessionHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionVirtualNameCollection(
    ViSession SessionHandle, ViSession* CollectionHandle) {
  return ChildCollection(kAnySession, H().virtualNameCollection, SessionHandle, CollectionHandle,
                         [](tZavSession& s) { return s.GetVirtualNames(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession* HardwareAssetHandle) {
  return GetReference(kAnySession, H().hardwareAsset, SessionHandle, HardwareAssetHandle,
                      [](tZavSession& s) { return s.GetHardwareAsset(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession HardwareAssetHandle) {
  return SetReference(kAnySession, H().hardwareAsset, SessionHandle, HardwareAssetHandle,
                      [](tZavSession& s, tZavHardwareAsset* a) { s.SetHardwareAsset(a); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession* SoftwareModuleHandle) {
  return GetReference(kAnySession, H().softwareModule, SessionHandle, SoftwareModuleHandle,
                      [](tZavSession& s) { return s.GetSoftwareModule(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession SoftwareModuleHandle) {
  return SetReference(kAnySession, H().softwareModule, SessionHandle, SoftwareModuleHandle,
                      [](tZavSession& s, tZavSoftwareModule* m) { s.SetSoftwareModule(m); });
}

// --- driver sessions -------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDriverSession(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle) {
  return CreateItem(H().driverSessionCollection, H().driverSession, CollectionHandle,
                    DriverSessionHandle, [&] { return NewNamed<tZavDriverSession>(Name); },
                    [](tZavDriverSessionCollection& c, std::unique_ptr<tZavDriverSession> s) {
                      return c.AddDriverSession(std::move(s));
                    });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDriverSession(
    ViSession CollectionHandle, ViSession DriverSessionHandle) {
  return DestroyItem(H().driverSessionCollection, H().driverSession, CollectionHandle,
                     DriverSessionHandle,
                     [](tZavDriverSessionCollection& c, tZavDriverSession* s) {
                       c.RemoveDriverSession(s);
                     });
}


// --- software modules ------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePhysicalNameCollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle) {
  return ChildCollection(H().softwareModule, H().physicalNameCollection, SoftwareModuleHandle,
                         CollectionHandle, [](tZavSoftwareModule& m) { return m.GetPhysicalNames(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePublishedAPICollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle) {
  return ChildCollection(H().softwareModule, H().publishedAPICollection, SoftwareModuleHandle,
                         CollectionHandle, [](tZavSoftwareModule& m) { return m.GetPublishedAPIs(); });
}

// --- published APIs --------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePublishedAPI(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString Type,
                                                                   ViSession* PublishedAPIHandle) {
  return CreateItem(H().publishedAPICollection, H().publishedAPI, CollectionHandle,
                    PublishedAPIHandle, [&] { return PublishedAPI(Name, Type); },
                    [](iZavPublishedAPICollection& c, std::unique_ptr<tZavPublishedAPI> a) {
                      return c.AddToGlobal(std::move(a));
                    });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPublishedAPI(ViSession CollectionHandle,
                                                                    ViSession PublishedAPIHandle) {
  return DestroyItem(H().publishedAPICollection, H().publishedAPI, CollectionHandle,
                     PublishedAPIHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_AddPublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    iZavPublishedAPICollection* list = H().publishedAPICollection.Lookup(CollectionHandle);
    list->AddReference(H().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_RemovePublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    iZavPublishedAPICollection* list = H().publishedAPICollection.Lookup(CollectionHandle);
    list->RemoveReference(H().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}

// --- physical names and ranges ---------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalName(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString RCName,
                                                                   ViSession* PhysicalNameHandle) {
  return CreateItem(H().physicalNameCollection, H().physicalName, CollectionHandle,
                    PhysicalNameHandle, [&] { return Physical(Name, RCName); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalName(ViSession CollectionHandle,
                                                                    ViSession PhysicalNameHandle) {
  return DestroyItem(H().physicalNameCollection, H().physicalName, CollectionHandle,
                     PhysicalNameHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePhysicalRangeCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(H().physicalName, H().physicalRangeCollection, PhysicalNameHandle,
                         CollectionHandle, [](tZavPhysicalName& n) { return n.GetPhysicalRanges(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameChildPhysicalNameCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(H().physicalName, H().physicalNameCollection, PhysicalNameHandle,
                         CollectionHandle, [](tZavPhysicalName& n) { return n.GetPhysicalNames(); });
}

// --- virtual names and ranges ----------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViConstString MapTo,
                                                                  ViSession* VirtualNameHandle) {
  return CreateItem(H().virtualNameCollection, H().virtualName, CollectionHandle,
                    VirtualNameHandle, [&] { return Virtual(Name, MapTo); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualName(ViSession CollectionHandle,
                                                                   ViSession VirtualNameHandle) {
  return DestroyItem(H().virtualNameCollection, H().virtualName, CollectionHandle,
                     VirtualNameHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameVirtualRangeCollection(
    ViSession VirtualNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(H().virtualName, H().virtualRangeCollection, VirtualNameHandle,
                         CollectionHandle, [](tZavVirtualName& n) { return n.GetVirtualRanges(); });
}

// --- data components (creation and typed access are with the data component functions) -

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDataComponent(
    ViSession CollectionHandle, ViSession DataComponentHandle) {
  return DestroyItem(H().dataComponentCollection, H().dataComponent, CollectionHandle,
                     DataComponentHandle, kRemove);
}

}  // extern "C"
