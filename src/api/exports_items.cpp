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

extern "C" {

// --- logical names ---------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count) {
  return CountOf(H().logicalNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* LogicalNameHandle) {
  return ItemByIndex(H().logicalNameCollection, H().logicalName, CollectionHandle, Index,
                     LogicalNameHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* LogicalNameHandle) {
  return ItemByName(H().logicalNameCollection, H().logicalName, CollectionHandle, Name,
                    LogicalNameHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateLogicalName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViSession* LogicalNameHandle) {
  return CreateItem(H().logicalNameCollection, H().logicalName, CollectionHandle,
                    LogicalNameHandle, [&] { return NewNamed<tZavLogicalName>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyLogicalName(ViSession CollectionHandle,
                                                                   ViSession LogicalNameHandle) {
  return DestroyItem(H().logicalNameCollection, H().logicalName, CollectionHandle,
                     LogicalNameHandle, kRemove);
}
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

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionCount(ViSession CollectionHandle,
                                                                ViInt32* Count) {
  return CountOf(H().sessionCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByIndex(ViSession CollectionHandle,
                                                                      ViInt32 Index,
                                                                      ViSession* SessionHandle) {
  return ItemByIndex(H().sessionCollection, H().session, CollectionHandle, Index, SessionHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByName(ViSession CollectionHandle,
                                                                     ViConstString Name,
                                                                     ViSession* SessionHandle) {
  return ItemByName(H().sessionCollection, H().session, CollectionHandle, Name, SessionHandle);
}
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
                      [](tZavSession& s, tZavSoftwareModule* m) { s.SetSoftwareModule(m, false); });
}

// --- driver sessions -------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(H().driverSessionCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DriverSessionHandle) {
  return ItemByIndex(H().driverSessionCollection, H().driverSession, CollectionHandle, Index,
                     DriverSessionHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle) {
  return ItemByName(H().driverSessionCollection, H().driverSession, CollectionHandle, Name,
                    DriverSessionHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDriverSession(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle) {
  return CreateItem(H().driverSessionCollection, H().driverSession, CollectionHandle,
                    DriverSessionHandle, [&] { return NewNamed<tZavDriverSession>(Name); },
                    [](tZavDriverSessionCollection& c, tZavDriverSession* s) {
                      c.AddDriverSession(s);
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

// --- hardware assets -------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(H().hardwareAssetCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* HardwareAssetHandle) {
  return ItemByIndex(H().hardwareAssetCollection, H().hardwareAsset, CollectionHandle, Index,
                     HardwareAssetHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle) {
  return ItemByName(H().hardwareAssetCollection, H().hardwareAsset, CollectionHandle, Name,
                    HardwareAssetHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateHardwareAsset(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle) {
  return CreateItem(H().hardwareAssetCollection, H().hardwareAsset, CollectionHandle,
                    HardwareAssetHandle, [&] { return NewNamed<tZavHardwareAsset>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyHardwareAsset(
    ViSession CollectionHandle, ViSession HardwareAssetHandle) {
  return DestroyItem(H().hardwareAssetCollection, H().hardwareAsset, CollectionHandle,
                     HardwareAssetHandle, kRemove);
}

// --- software modules ------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleCount(ViSession CollectionHandle,
                                                                       ViInt32* Count) {
  return CountOf(H().softwareModuleCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* SoftwareModuleHandle) {
  return ItemByIndex(H().softwareModuleCollection, H().softwareModule, CollectionHandle, Index,
                     SoftwareModuleHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle) {
  return ItemByName(H().softwareModuleCollection, H().softwareModule, CollectionHandle, Name,
                    SoftwareModuleHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSoftwareModule(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle) {
  return CreateItem(H().softwareModuleCollection, H().softwareModule, CollectionHandle,
                    SoftwareModuleHandle, [&] { return NewNamed<tZavSoftwareModule>(Name); },
                    kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySoftwareModule(
    ViSession CollectionHandle, ViSession SoftwareModuleHandle) {
  return DestroyItem(H().softwareModuleCollection, H().softwareModule, CollectionHandle,
                     SoftwareModuleHandle, kRemove);
}
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

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPICount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(H().publishedAPICollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PublishedAPIHandle) {
  return ItemByIndex(H().publishedAPICollection, H().publishedAPI, CollectionHandle, Index,
                     PublishedAPIHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePublishedAPI(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString Type,
                                                                   ViSession* PublishedAPIHandle) {
  return CreateItem(H().publishedAPICollection, H().publishedAPI, CollectionHandle,
                    PublishedAPIHandle, [&] { return PublishedAPI(Name, Type); },
                    [](tZavPublishedAPICollection& c, tZavPublishedAPI* a) { c.AddToGlobal(a); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPublishedAPI(ViSession CollectionHandle,
                                                                    ViSession PublishedAPIHandle) {
  return DestroyItem(H().publishedAPICollection, H().publishedAPI, CollectionHandle,
                     PublishedAPIHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_AddPublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    tZavPublishedAPICollection* list = H().publishedAPICollection.Lookup(CollectionHandle);
    list->AddReference(H().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_RemovePublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    tZavPublishedAPICollection* list = H().publishedAPICollection.Lookup(CollectionHandle);
    list->RemoveReference(H().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}

// --- physical names and ranges ---------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameCount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(H().physicalNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalNameHandle) {
  return ItemByIndex(H().physicalNameCollection, H().physicalName, CollectionHandle, Index,
                     PhysicalNameHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalNameHandle) {
  return ItemByName(H().physicalNameCollection, H().physicalName, CollectionHandle, Name,
                    PhysicalNameHandle);
}
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
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(H().physicalRangeCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalRangeHandle) {
  return ItemByIndex(H().physicalRangeCollection, H().physicalRange, CollectionHandle, Index,
                     PhysicalRangeHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalRangeHandle) {
  return CreateItem(H().physicalRangeCollection, H().physicalRange, CollectionHandle,
                    PhysicalRangeHandle, [&] { return NewNamed<tZavPhysicalRange>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalRange(
    ViSession CollectionHandle, ViSession PhysicalRangeHandle) {
  return DestroyItem(H().physicalRangeCollection, H().physicalRange, CollectionHandle,
                     PhysicalRangeHandle, kRemove);
}

// --- virtual names and ranges ----------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count) {
  return CountOf(H().virtualNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualNameHandle) {
  return ItemByIndex(H().virtualNameCollection, H().virtualName, CollectionHandle, Index,
                     VirtualNameHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualNameHandle) {
  return ItemByName(H().virtualNameCollection, H().virtualName, CollectionHandle, Name,
                    VirtualNameHandle);
}
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
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeCount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(H().virtualRangeCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualRangeHandle) {
  return ItemByIndex(H().virtualRangeCollection, H().virtualRange, CollectionHandle, Index,
                     VirtualRangeHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualRangeHandle) {
  return CreateItem(H().virtualRangeCollection, H().virtualRange, CollectionHandle,
                    VirtualRangeHandle, [&] { return NewNamed<tZavVirtualRange>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualRange(
    ViSession CollectionHandle, ViSession VirtualRangeHandle) {
  return DestroyItem(H().virtualRangeCollection, H().virtualRange, CollectionHandle,
                     VirtualRangeHandle, kRemove);
}

// --- data components (creation and typed access are with the data component functions) -

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(H().dataComponentCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DataComponentHandle) {
  return ItemByIndex(H().dataComponentCollection, H().dataComponent, CollectionHandle, Index,
                     DataComponentHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DataComponentHandle) {
  return ItemByName(H().dataComponentCollection, H().dataComponent, CollectionHandle, Name,
                    DataComponentHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDataComponent(
    ViSession CollectionHandle, ViSession DataComponentHandle) {
  return DestroyItem(H().dataComponentCollection, H().dataComponent, CollectionHandle,
                     DataComponentHandle, kRemove);
}

}  // extern "C"
