// SPDX-License-Identifier: MIT
// Exported collection and item functions: count, item by index and by name, create, destroy,
// child collections and references between items.
#include "api/families.h"

using namespace zav;

namespace {
auto NewPhysicalName(ViConstString name, ViConstString rcName) {
  auto item = std::make_unique<tZavPhysicalName>();
  item->SetCheckedName(InputString(name));
  item->SetRCName(InputString(rcName));
  return item;
}

auto NewVirtualName(ViConstString name, ViConstString mapTo) {
  auto item = std::make_unique<tZavVirtualName>();
  item->SetCheckedName(InputString(name));
  item->SetMapTo(InputString(mapTo));
  return item;
}

auto NewPublishedAPI(ViConstString name, ViConstString type) {
  auto item = std::make_unique<tZavPublishedAPI>();
  item->SetName(InputString(name));
  item->SetType(InputString(type));
  return item;
}

// Destroying a session accepts a driver session handle too; the handle given is released from
// whichever table holds it.
struct tSessionHandleKind : tSessionKind {
  void Release(ViSession handle) const {
    if (Handles().session.Contains(handle))
      Handles().session.Release(handle);
    else
      Handles().driverSession.Release(handle);
  }
};
}  // namespace

extern "C" {

// --- LogicalName: count, item by index, item by name, create, destroy

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count) {
  return CountOf(Handles().logicalNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().logicalNameCollection, Handles().logicalName, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByName(ViSession CollectionHandle,
                                                                         ViConstString Name,
                                                                         ViSession* ItemHandle) {
  return ItemByName(Handles().logicalNameCollection, Handles().logicalName, CollectionHandle, Name,
                    ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateLogicalName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViSession* ItemHandle) {
  return CreateItem(
      Handles().logicalNameCollection, Handles().logicalName, CollectionHandle, ItemHandle,
      [&] { return NewNamed<tZavLogicalName>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyLogicalName(ViSession CollectionHandle,
                                                                   ViSession ItemHandle) {
  return DestroyItem(Handles().logicalNameCollection, Handles().logicalName, CollectionHandle,
                     ItemHandle, kRemove);
}

// --- Session: count, item by index, item by name

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionCount(ViSession CollectionHandle,
                                                                ViInt32* Count) {
  return CountOf(Handles().sessionCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByIndex(ViSession CollectionHandle,
                                                                      ViInt32 Index,
                                                                      ViSession* ItemHandle) {
  return ItemByIndex(Handles().sessionCollection, Handles().session, CollectionHandle, Index,
                     ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByName(ViSession CollectionHandle,
                                                                     ViConstString Name,
                                                                     ViSession* ItemHandle) {
  return ItemByName(Handles().sessionCollection, Handles().session, CollectionHandle, Name,
                    ItemHandle);
}

// --- DriverSession: count, item by index, item by name

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(Handles().driverSessionCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().driverSessionCollection, Handles().driverSession, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {
  return ItemByName(Handles().driverSessionCollection, Handles().driverSession, CollectionHandle,
                    Name, ItemHandle);
}

// --- HardwareAsset: count, item by index, item by name, create, destroy

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(Handles().hardwareAssetCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().hardwareAssetCollection, Handles().hardwareAsset, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {
  return ItemByName(Handles().hardwareAssetCollection, Handles().hardwareAsset, CollectionHandle,
                    Name, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateHardwareAsset(ViSession CollectionHandle,
                                                                    ViConstString Name,
                                                                    ViSession* ItemHandle) {
  return CreateItem(
      Handles().hardwareAssetCollection, Handles().hardwareAsset, CollectionHandle, ItemHandle,
      [&] { return NewNamed<tZavHardwareAsset>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyHardwareAsset(ViSession CollectionHandle,
                                                                     ViSession ItemHandle) {
  return DestroyItem(Handles().hardwareAssetCollection, Handles().hardwareAsset, CollectionHandle,
                     ItemHandle, kRemove);
}

// --- SoftwareModule: count, item by index, item by name, create, destroy

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleCount(ViSession CollectionHandle,
                                                                       ViInt32* Count) {
  return CountOf(Handles().softwareModuleCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().softwareModuleCollection, Handles().softwareModule, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {
  return ItemByName(Handles().softwareModuleCollection, Handles().softwareModule, CollectionHandle,
                    Name, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSoftwareModule(ViSession CollectionHandle,
                                                                     ViConstString Name,
                                                                     ViSession* ItemHandle) {
  return CreateItem(
      Handles().softwareModuleCollection, Handles().softwareModule, CollectionHandle, ItemHandle,
      [&] { return NewNamed<tZavSoftwareModule>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySoftwareModule(ViSession CollectionHandle,
                                                                      ViSession ItemHandle) {
  return DestroyItem(Handles().softwareModuleCollection, Handles().softwareModule, CollectionHandle,
                     ItemHandle, kRemove);
}

// --- PublishedAPI: count, item by index

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPICount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(Handles().publishedAPICollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().publishedAPICollection, Handles().publishedAPI, CollectionHandle,
                     Index, ItemHandle);
}

// --- PhysicalName: count, item by index, item by name

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameCount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(Handles().physicalNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().physicalNameCollection, Handles().physicalName, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {
  return ItemByName(Handles().physicalNameCollection, Handles().physicalName, CollectionHandle,
                    Name, ItemHandle);
}

// --- PhysicalRange: count, item by index, create, destroy

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(Handles().physicalRangeCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().physicalRangeCollection, Handles().physicalRange, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalRange(ViSession CollectionHandle,
                                                                    ViConstString Name,
                                                                    ViSession* ItemHandle) {
  return CreateItem(
      Handles().physicalRangeCollection, Handles().physicalRange, CollectionHandle, ItemHandle,
      [&] { return NewNamed<tZavPhysicalRange>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalRange(ViSession CollectionHandle,
                                                                     ViSession ItemHandle) {
  return DestroyItem(Handles().physicalRangeCollection, Handles().physicalRange, CollectionHandle,
                     ItemHandle, kRemove);
}

// --- VirtualName: count, item by index, item by name

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count) {
  return CountOf(Handles().virtualNameCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().virtualNameCollection, Handles().virtualName, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByName(ViSession CollectionHandle,
                                                                         ViConstString Name,
                                                                         ViSession* ItemHandle) {
  return ItemByName(Handles().virtualNameCollection, Handles().virtualName, CollectionHandle, Name,
                    ItemHandle);
}

// --- VirtualRange: count, item by index, create, destroy

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeCount(ViSession CollectionHandle,
                                                                     ViInt32* Count) {
  return CountOf(Handles().virtualRangeCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().virtualRangeCollection, Handles().virtualRange, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualRange(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViSession* ItemHandle) {
  return CreateItem(
      Handles().virtualRangeCollection, Handles().virtualRange, CollectionHandle, ItemHandle,
      [&] { return NewNamed<tZavVirtualRange>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualRange(ViSession CollectionHandle,
                                                                    ViSession ItemHandle) {
  return DestroyItem(Handles().virtualRangeCollection, Handles().virtualRange, CollectionHandle,
                     ItemHandle, kRemove);
}

// --- DataComponent: count, item by index, item by name

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentCount(ViSession CollectionHandle,
                                                                      ViInt32* Count) {
  return CountOf(Handles().dataComponentCollection, CollectionHandle, Count);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* ItemHandle) {
  return ItemByIndex(Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
                     Index, ItemHandle);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* ItemHandle) {
  return ItemByName(Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
                    Name, ItemHandle);
}

// --- logical names ---------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_GetLogicalNameSessionReference(ViSession LogicalNameHandle, ViSession* SessionHandle) {
  return GetReference(Handles().logicalName, Handles().session, LogicalNameHandle, SessionHandle,
                      [](tZavLogicalName& name) { return name.GetSession(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_SetLogicalNameSessionReference(ViSession LogicalNameHandle, ViSession SessionHandle) {
  return SetReference(Handles().logicalName, kAnySession, LogicalNameHandle, SessionHandle,
                      [](tZavLogicalName& name, tZavSession* s) { name.SetSession(s); });
}

// --- sessions --------------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSession(ViSession CollectionHandle,
                                                              ViConstString Name,
                                                              ViSession* SessionHandle) {
  return CreateItem(
      Handles().sessionCollection, Handles().session, CollectionHandle, SessionHandle,
      [&] { return NewNamed<tZavSession>(Name); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySession(ViSession CollectionHandle,
                                                               ViSession SessionHandle) {
  tSessionHandleKind sessions;
  return DestroyItem(Handles().sessionCollection, sessions, CollectionHandle, SessionHandle,
                     kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_GetSessionVirtualNameCollection(ViSession SessionHandle, ViSession* CollectionHandle) {
  return ChildCollection(kAnySession, Handles().virtualNameCollection, SessionHandle,
                         CollectionHandle, [](tZavSession& s) { return s.GetVirtualNames(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession* HardwareAssetHandle) {
  return GetReference(kAnySession, Handles().hardwareAsset, SessionHandle, HardwareAssetHandle,
                      [](tZavSession& s) { return s.GetHardwareAsset(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_SetSessionHardwareAssetReference(ViSession SessionHandle, ViSession HardwareAssetHandle) {
  return SetReference(kAnySession, Handles().hardwareAsset, SessionHandle, HardwareAssetHandle,
                      [](tZavSession& s, tZavHardwareAsset* a) { s.SetHardwareAsset(a); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession* SoftwareModuleHandle) {
  return GetReference(kAnySession, Handles().softwareModule, SessionHandle, SoftwareModuleHandle,
                      [](tZavSession& s) { return s.GetSoftwareModule(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession SoftwareModuleHandle) {
  return SetReference(kAnySession, Handles().softwareModule, SessionHandle, SoftwareModuleHandle,
                      [](tZavSession& s, tZavSoftwareModule* m) { s.SetSoftwareModule(m); });
}

// --- driver sessions -------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDriverSession(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle) {
  return CreateItem(
      Handles().driverSessionCollection, Handles().driverSession, CollectionHandle,
      DriverSessionHandle, [&] { return NewNamed<tZavDriverSession>(Name); },
      [](tZavDriverSessionCollection& c, std::unique_ptr<tZavDriverSession> s) {
        return c.AddDriverSession(std::move(s));
      });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_DestroyDriverSession(ViSession CollectionHandle, ViSession DriverSessionHandle) {
  return DestroyItem(Handles().driverSessionCollection, Handles().driverSession, CollectionHandle,
                     DriverSessionHandle, [](tZavDriverSessionCollection& c, tZavDriverSession* s) {
                       c.RemoveDriverSession(s);
                     });
}

// --- software modules ------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePhysicalNameCollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().softwareModule, Handles().physicalNameCollection,
                         SoftwareModuleHandle, CollectionHandle,
                         [](tZavSoftwareModule& m) { return m.GetPhysicalNames(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePublishedAPICollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().softwareModule, Handles().publishedAPICollection,
                         SoftwareModuleHandle, CollectionHandle,
                         [](tZavSoftwareModule& m) { return m.GetPublishedAPIs(); });
}

// --- published APIs --------------------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePublishedAPI(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString Type,
                                                                   ViSession* PublishedAPIHandle) {
  return CreateItem(
      Handles().publishedAPICollection, Handles().publishedAPI, CollectionHandle,
      PublishedAPIHandle, [&] { return NewPublishedAPI(Name, Type); },
      [](iZavPublishedAPICollection& c, std::unique_ptr<tZavPublishedAPI> a) {
        return c.AddToGlobal(std::move(a));
      });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPublishedAPI(ViSession CollectionHandle,
                                                                    ViSession PublishedAPIHandle) {
  return DestroyItem(Handles().publishedAPICollection, Handles().publishedAPI, CollectionHandle,
                     PublishedAPIHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_AddPublishedAPIReference(ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    iZavPublishedAPICollection* list = Handles().publishedAPICollection.Lookup(CollectionHandle);
    list->AddReference(Handles().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_RemovePublishedAPIReference(ViSession CollectionHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    iZavPublishedAPICollection* list = Handles().publishedAPICollection.Lookup(CollectionHandle);
    list->RemoveReference(Handles().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}

// --- physical names and ranges ---------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalName(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString RCName,
                                                                   ViSession* PhysicalNameHandle) {
  return CreateItem(
      Handles().physicalNameCollection, Handles().physicalName, CollectionHandle,
      PhysicalNameHandle, [&] { return NewPhysicalName(Name, RCName); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalName(ViSession CollectionHandle,
                                                                    ViSession PhysicalNameHandle) {
  return DestroyItem(Handles().physicalNameCollection, Handles().physicalName, CollectionHandle,
                     PhysicalNameHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePhysicalRangeCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().physicalName, Handles().physicalRangeCollection,
                         PhysicalNameHandle, CollectionHandle,
                         [](tZavPhysicalName& n) { return n.GetPhysicalRanges(); });
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameChildPhysicalNameCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().physicalName, Handles().physicalNameCollection,
                         PhysicalNameHandle, CollectionHandle,
                         [](tZavPhysicalName& n) { return n.GetPhysicalNames(); });
}

// --- virtual names and ranges ----------------------------------------------------------

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViConstString MapTo,
                                                                  ViSession* VirtualNameHandle) {
  return CreateItem(
      Handles().virtualNameCollection, Handles().virtualName, CollectionHandle, VirtualNameHandle,
      [&] { return NewVirtualName(Name, MapTo); }, kAdd);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualName(ViSession CollectionHandle,
                                                                   ViSession VirtualNameHandle) {
  return DestroyItem(Handles().virtualNameCollection, Handles().virtualName, CollectionHandle,
                     VirtualNameHandle, kRemove);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameVirtualRangeCollection(
    ViSession VirtualNameHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().virtualName, Handles().virtualRangeCollection, VirtualNameHandle,
                         CollectionHandle, [](tZavVirtualName& n) { return n.GetVirtualRanges(); });
}

// --- data components (creation and typed access are with the data component functions) -

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_DestroyDataComponent(ViSession CollectionHandle, ViSession DataComponentHandle) {
  return DestroyItem(Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
                     DataComponentHandle, kRemove);
}

}  // extern "C"
