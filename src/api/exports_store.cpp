// SPDX-License-Identifier: MIT
// Exported functions of the frame and of whole stores: open, close, dispose, errors, reading and
// writing store documents, store properties, name resolution and the six store collections.
#include "api/frame.h"
#include "zavcshared.h"

using namespace zav;

namespace {

std::string StoreString(tZavConfigStore& store, ViAttr id) {
  switch (id) {
    case ZAVCONFIG_VAL_CONFIG_STORE_NAME: return store.GetName();
    case ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION: return store.GetDescription();
    case ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION: return store.GetMasterLocation();
    case ZAVCONFIG_VAL_CONFIG_STORE_ACTUAL_LOCATION: return store.GetActualLocation();
    case ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION:
      return store.GetProcessDefaultLocation();
    case ZAVCONFIG_VAL_CONFIG_STORE_REVISION: return store.GetRevision();
    case ZAVCONFIG_VAL_CONFIG_STORE_VENDOR: return store.GetVendor();
    default:
      ThrowZavError(ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
                    "ZavConfig_GetConfigStorePropertyViString: Invalid value for PropertyID "
                    "parameter.");
  }
}

// The six store collection getters differ only in the collection and its table.
template <class C, class Get>
ViStatus GetStoreCollection(ViSession storeHandle, ViSession* collectionHandle, Get collection,
                            tHandleTable<C>& table) {
  return ApiCall([&] {
    CheckOutputPointer(collectionHandle);
    tZavConfigStore* store = Handles().store.Lookup(storeHandle);
    *collectionHandle = table.NewHandle((store->*collection)());
    return VI_SUCCESS;
  });
}

}  // namespace

extern "C" {

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Initialize(ViSession* ConfigStoreHandle) {
  return ApiCall([&] {
    CheckOutputPointer(ConfigStoreHandle);
    *ConfigStoreHandle = OpenStore();
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Close(ViSession ConfigStoreHandle) {
  return ApiCall([&] {
    CloseStore(ConfigStoreHandle);
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DisposeHandle(ViSession Handle) {
  return ApiCall([&] {
    if (Handle == 0)
      ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE,
                    "ZavConfig_DisposeHandle: NULL handle parameter value.");
    if (Handles().Dispose(Handle)) return VI_SUCCESS;
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE,
                  "ZavConfig_DisposeHandle: Invalid handle parameter value, or handle does not "
                  "exist.");
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetError(ViStatus* ErrorCode,
                                                         ViChar ErrorDescription[]) {
  return ZavSession_GetError(0, ErrorCode, 0, ErrorDescription);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_ClearError(void) { return ZavSession_ClearError(0); }

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Deserialize(ViSession ConfigStoreHandle,
                                                            ViConstString Location) {
  return ApiCall([&] {
    std::string location = InputString(Location);
    Handles().store.Lookup(ConfigStoreHandle)->Deserialize(location);
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Serialize(ViSession ConfigStoreHandle,
                                                          ViConstString Location) {
  return ApiCall([&] {
    std::string location = InputString(Location);
    Handles().store.Lookup(ConfigStoreHandle)->Serialize(location);
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]) {
  return ApiCall([&] {
    tZavConfigStore* store = Handles().store.Lookup(ConfigStoreHandle);
    return CopyStringOut(StoreString(*store, PropertyID), BufferSize, Value);
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViConstString Value) {
  return ApiCall([&] {
    tZavConfigStore* store = Handles().store.Lookup(ConfigStoreHandle);
    switch (PropertyID) {
      case ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION:
        store->SetDescription(InputString(Value));
        break;
      case ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION:
        store->SetProcessDefaultLocation(InputString(Value));
        break;
      default:
        ThrowZavError(ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
                      "ZavConfig_SetConfigStorePropertyViString: Invalid value for PropertyID "
                      "parameter.");
    }
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViInt32(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32* Value) {
  return ApiCall([&] {
    CheckOutputPointer(Value);
    tZavConfigStore* store = Handles().store.Lookup(ConfigStoreHandle);
    switch (PropertyID) {
      case ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MAJOR_VERSION:
        *Value = static_cast<ViInt32>(store->GetSpecificationMajorVersion());
        break;
      case ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION:
        *Value = static_cast<ViInt32>(store->GetSpecificationMinorVersion());
        break;
      default:
        ThrowZavError(ZAVCONFIG_ERROR_INVALID_PROPERTY_ID,
                      "ZavConfig_GetConfigStorePropertyViInt32: Invalid value for PropertyID "
                      "parameter.");
    }
    return VI_SUCCESS;
  });
}

// A logical name without a session resolves to no session: the caller gets handle 0.
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSession(ViSession ConfigStoreHandle,
                                                           ViConstString Name,
                                                           ViSession* SessionHandle) {
  return ApiCall([&] {
    CheckOutputPointer(SessionHandle);
    *SessionHandle = 0;
    std::string name = InputString(Name);
    tZavSession* session = Handles().store.Lookup(ConfigStoreHandle)->GetSession(name);
    if (session) *SessionHandle = Handles().session.NewHandle(session);
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSession(ViSession ConfigStoreHandle,
                                                                 ViConstString Name,
                                                                 ViSession* DriverSessionHandle) {
  return ApiCall([&] {
    CheckOutputPointer(DriverSessionHandle);
    *DriverSessionHandle = 0;
    std::string name = InputString(Name);
    tZavDriverSession* session = Handles().store.Lookup(ConfigStoreHandle)->GetDriverSession(name);
    *DriverSessionHandle = Handles().driverSession.NewHandle(session);
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreLogicalNameCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle, &tZavConfigStore::GetLogicalNames,
                            Handles().logicalNameCollection);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle, &tZavConfigStore::GetSessions,
                            Handles().sessionCollection);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreDriverSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle,
                            &tZavConfigStore::GetDriverSessions, Handles().driverSessionCollection);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreHardwareAssetCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle,
                            &tZavConfigStore::GetHardwareAssets, Handles().hardwareAssetCollection);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSoftwareModuleCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle,
                            &tZavConfigStore::GetSoftwareModules,
                            Handles().softwareModuleCollection);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePublishedAPICollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle) {
  return GetStoreCollection(ConfigStoreHandle, CollectionHandle,
                            &tZavConfigStore::GetPublishedAPIs, Handles().publishedAPICollection);
}

}  // extern "C"
