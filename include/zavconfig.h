/*
 * zavconfig.h - C interface of the configuration server.
 *
 * A configuration store holds logical names, sessions, driver sessions, hardware assets,
 * software modules and published APIs, with their physical and virtual names, ranges and data
 * components. Callers reach every object through opaque 32-bit handles (ViSession): each call
 * that yields an object issues a fresh handle, which the caller releases with
 * ZavConfig_DisposeHandle (a store handle is released by ZavConfig_Close instead).
 *
 * Every function returns a ViStatus: 0 (VI_SUCCESS) on success, one of the negative
 * ZAVCONFIG_ERROR_* codes on failure. On failure no output is written unless the function says
 * otherwise, and the code with a message is recorded for the calling thread, where
 * ZavConfig_GetError reads it.
 *
 * String getters (names ending in PropertyViString) take a buffer size in bytes including the
 * terminating NUL and return 0 when the whole value was copied, or the size needed (length + 1)
 * when the value was cut or BufferSize was 0 (the buffer may then be NULL). A negative
 * BufferSize copies the whole value unchecked: the caller vouches that it fits.
 * Input strings given as NULL are taken as "".
 *
 * All functions may be called from any thread; the library serialises them internally.
 */
#ifndef ZAVCONFIG_H
#define ZAVCONFIG_H

#include "zavtypes.h"

/* Calling convention of every exported function: standard call on 32-bit Windows. */
#ifndef ZAVCONFIG_FUNC
#if defined(_WIN32) && !defined(_WIN64)
#define ZAVCONFIG_FUNC __stdcall
#else
#define ZAVCONFIG_FUNC
#endif
#endif

/* Export marker; the library's own build defines it to make the functions visible. */
#ifndef ZAVCONFIG_API
#define ZAVCONFIG_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Version of this interface; it is the version of the library that installs the header. */
#define ZAVCONFIG_VERSION_MAJOR 1
#define ZAVCONFIG_VERSION_MINOR 0
#define ZAVCONFIG_VERSION_PATCH 0

/* Size of the description buffer that ZavConfig_GetError fills, NUL included. */
#define ZAVCONFIG_ERROR_DESCRIPTION_SIZE 256

/* Kind numbers for ZavConfig_CreateDataComponent and ZavConfig_CreateStructure. */
#define ZAVCONFIG_DATA_COMPONENT_BOOLEAN 1
#define ZAVCONFIG_DATA_COMPONENT_INTEGER 2
#define ZAVCONFIG_DATA_COMPONENT_REAL 3
#define ZAVCONFIG_DATA_COMPONENT_STRING 4

/* ------------------------------------------------------------------------------------------
 * Status codes. The documented values are 0xBFFAxxxx; they are built as offsets from the most
 * negative 32-bit value so that each one is a negative ViStatus in C and C++ alike, with no
 * out-of-range conversion from an unsigned literal.
 * ------------------------------------------------------------------------------------------ */
#define ZAVCONFIG_ERROR_BASE ((ViStatus)(-2147483647 - 1))

/* 0xBFFA0000: a failure other than a rule of the store (allocation, platform service). */
#define ZAVCONFIG_ERROR_UNRECOVERABLE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0000))
/* 0xBFFA0010: a value given to a set or remove breaks a rule of the item. */
#define ZAVCONFIG_ERROR_INVALID_VALUE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0010))
/* 0xBFFA0058: NULL output pointer (or NULL item added to a collection). */
#define ZAVCONFIG_ERROR_NULL_POINTER ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0058))
/* 0xBFFA1200: reading or validating the store document failed. */
#define ZAVCONFIG_ERROR_DESERIALIZE_FAILED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1200))
/* 0xBFFA1201: the store was already deserialized once. */
#define ZAVCONFIG_ERROR_ALREADY_DESERIALIZED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1201))
/* 0xBFFA1202: writing the store document failed. */
#define ZAVCONFIG_ERROR_SERIALIZE_FAILED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1202))
/* 0xBFFA1203: no logical name or session of that name. */
#define ZAVCONFIG_ERROR_SESSION_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1203))
/* 0xBFFA1204: the published API is not in the store's global collection. */
#define ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1204))
/* 0xBFFA1205: an add or rename conflicts with the collection's content or ownership. */
#define ZAVCONFIG_ERROR_ALREADY_EXISTS ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1205))
/* 0xBFFA1206: the master store is not configured or its file cannot be found. */
#define ZAVCONFIG_ERROR_MASTER_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1206))
/* 0xBFFA1207: no such item (by name, by index, or on remove). */
#define ZAVCONFIG_ERROR_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1207))
/* 0xBFFA1208: invalid data component type or content. */
#define ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1208))
/* 0xBFFA1209: remove refused while other items reference the item. */
#define ZAVCONFIG_ERROR_HAS_REFERENCES ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1209))
/* 0xBFFA1220: handle 0, unknown, stale, of the wrong kind, or a component of the wrong type. */
#define ZAVCONFIG_ERROR_INVALID_HANDLE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1220))
/* 0xBFFA1221: the property ID is not accepted by that function. */
#define ZAVCONFIG_ERROR_INVALID_PROPERTY_ID ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1221))
/* 0xBFFA1223: two registry views name different master stores. */
#define ZAVCONFIG_ERROR_MASTER_REGISTRY_MISMATCH ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1223))

/* ------------------------------------------------------------------------------------------
 * Property IDs (ViAttr). Numbers are per item kind: the same number means different fields for
 * different kinds; name is 1 and description is 2 wherever an item has them.
 * ------------------------------------------------------------------------------------------ */

/* Store: 1-7 through the ViString functions, 8-9 through ZavConfig_GetConfigStorePropertyViInt32. */
#define ZAVCONFIG_VAL_CONFIG_STORE_NAME (1u)                          /* R  */
#define ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION (2u)                   /* RW */
#define ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION (3u)               /* R  */
#define ZAVCONFIG_VAL_CONFIG_STORE_ACTUAL_LOCATION (4u)               /* R  */
#define ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION (5u)      /* RW */
#define ZAVCONFIG_VAL_CONFIG_STORE_REVISION (6u)                      /* R  */
#define ZAVCONFIG_VAL_CONFIG_STORE_VENDOR (7u)                        /* R  */
#define ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MAJOR_VERSION (8u)   /* R, ViInt32 */
#define ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION (9u)   /* R, ViInt32 */

/* Logical name (ViString). */
#define ZAVCONFIG_VAL_LOGICAL_NAME_NAME (1u)
#define ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION (2u)

/* Session and driver session (ViString); 3 is read-only. */
#define ZAVCONFIG_VAL_SESSION_NAME (1u)
#define ZAVCONFIG_VAL_SESSION_DESCRIPTION (2u)
#define ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME (3u)

/* Driver session: 4-9 ViBoolean, 10 ViString. */
#define ZAVCONFIG_VAL_DRIVER_SESSION_CACHE (4u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK (5u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS (6u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK (7u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS (8u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE (9u)
#define ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP (10u)

/* Hardware asset (ViString). */
#define ZAVCONFIG_VAL_HARDWARE_ASSET_NAME (1u)
#define ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION (2u)
#define ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR (3u)

/* Software module (ViString); 3 and 7 address the same field in this build. */
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME (1u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION (2u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH (3u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX (4u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_PROG_ID (5u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS (6u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH (7u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64 (8u)
#define ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME (9u)

/* Published API: 1-2 ViString, 3-4 ViInt32; all four form the API's key. */
#define ZAVCONFIG_VAL_PUBLISHED_API_NAME (1u)
#define ZAVCONFIG_VAL_PUBLISHED_API_TYPE (2u)
#define ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION (3u)
#define ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION (4u)

/* Physical name (ViString). */
#define ZAVCONFIG_VAL_PHYSICAL_NAME_NAME (1u)
#define ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME (2u)

/* Physical range: 1 ViString, 2-3 ViInt32. */
#define ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME (1u)
#define ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN (2u)
#define ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX (3u)

/* Virtual name (ViString). */
#define ZAVCONFIG_VAL_VIRTUAL_NAME_NAME (1u)
#define ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO (2u)

/* Virtual range: 1 ViString, 2-4 ViInt32. */
#define ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME (1u)
#define ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN (2u)
#define ZAVCONFIG_VAL_VIRTUAL_RANGE_MAX (3u)
#define ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX (4u)

/* Data component: 3 ViInt32, 5 ViBoolean, 7 read-only, 9 typed by the component's kind,
 * 10 only on integer and real components; the others ViString. */
#define ZAVCONFIG_VAL_DATA_COMPONENT_NAME (1u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION (2u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID (3u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_HELP_FILE_PATH (4u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY (5u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_SOFTWARE_MODULE_KEY (6u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_TYPE (7u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION (8u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_VALUE (9u)
#define ZAVCONFIG_VAL_DATA_COMPONENT_UNITS (10u)

/* ==========================================================================================
 * Stores, handles and errors
 * ========================================================================================== */

/** Creates an empty store and writes its handle; the handle owns the store until
 *  ZavConfig_Close. Fails with ZAVCONFIG_ERROR_NULL_POINTER for a NULL output. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Initialize(ViSession* ConfigStoreHandle);

/** Destroys the store with all its collections and items and releases the store handle.
 *  Handles issued for its objects stay registered but may only be disposed.
 *  Fails with ZAVCONFIG_ERROR_INVALID_HANDLE when the handle is not a store handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Close(ViSession ConfigStoreHandle);

/** Releases any handle except a store handle; the designated object is untouched.
 *  Fails with ZAVCONFIG_ERROR_INVALID_HANDLE for 0, a store handle or an unknown handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DisposeHandle(ViSession Handle);

/** Reads the calling thread's last recorded error: its code (when ErrorCode is not NULL) and
 *  its message, at most ZAVCONFIG_ERROR_DESCRIPTION_SIZE bytes with the NUL. Does not clear it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetError(ViStatus* ErrorCode,
                                                         ViChar ErrorDescription[]);

/** Clears the calling thread's recorded error (code 0, empty message). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_ClearError(void);

/* ==========================================================================================
 * Store as a whole
 * ========================================================================================== */

/** Writes the store document to the file Location, creating a missing parent directory.
 *  Fails with ZAVCONFIG_ERROR_SERIALIZE_FAILED (the old file is then left whole), or with
 *  ZAVCONFIG_ERROR_MASTER_NOT_FOUND when the master location is needed and not configured. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Serialize(ViSession ConfigStoreHandle,
                                                          ViConstString Location);

/** Reads and validates the store document at the file Location into the store; succeeds at
 *  most once per store. Fails with ZAVCONFIG_ERROR_ALREADY_DESERIALIZED or
 *  ZAVCONFIG_ERROR_DESERIALIZE_FAILED (after which another attempt is allowed). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Deserialize(ViSession ConfigStoreHandle,
                                                            ViConstString Location);

/** Reads store property 1-7 (ZAVCONFIG_VAL_CONFIG_STORE_*) into Value as a string getter;
 *  other IDs fail with ZAVCONFIG_ERROR_INVALID_PROPERTY_ID. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets the store description (2) or the process default location (5, a process-wide
 *  environment setting); other IDs fail with ZAVCONFIG_ERROR_INVALID_PROPERTY_ID. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViConstString Value);

/** Reads the major (8) or minor (9) version number of the store format;
 *  other IDs fail with ZAVCONFIG_ERROR_INVALID_PROPERTY_ID. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViInt32(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32* Value);

/** Resolves Name through a logical name, else as a session name, and writes a session handle
 *  (0 after any failure). Fails with ZAVCONFIG_ERROR_SESSION_NOT_FOUND. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSession(ViSession ConfigStoreHandle,
                                                           ViConstString Name,
                                                           ViSession* SessionHandle);

/** Resolves Name through a logical name that leads to a driver session, else as a driver
 *  session name, and writes a driver session handle (0 after any failure).
 *  Fails with ZAVCONFIG_ERROR_SESSION_NOT_FOUND. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSession(ViSession ConfigStoreHandle,
                                                                 ViConstString Name,
                                                                 ViSession* DriverSessionHandle);

/** Writes a new handle to the store's logical name collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreLogicalNameCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** Writes a new handle to the store's session collection (driver sessions included). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** Writes a new handle to the store's driver session collection, a view of the sessions that
 *  are driver sessions. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreDriverSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** Writes a new handle to the store's hardware asset collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreHardwareAssetCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** Writes a new handle to the store's software module collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSoftwareModuleCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** Writes a new handle to the store's global published API collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePublishedAPICollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/* ==========================================================================================
 * Collections and items. Common to every kind:
 *   Get<Kind>Count        writes the number of items;
 *   Get<Kind>ItemByIndex  Index runs from 1 in the order items were added, else
 *                         ZAVCONFIG_ERROR_NOT_FOUND;
 *   Get<Kind>ItemByName   exact, case-sensitive match, else ZAVCONFIG_ERROR_NOT_FOUND;
 *   Create<Kind>          names the new item, adds it and writes its handle; a failed create
 *                         leaves nothing behind (ZAVCONFIG_ERROR_INVALID_VALUE for an empty
 *                         name, ZAVCONFIG_ERROR_ALREADY_EXISTS for a name in use);
 *   Destroy<Kind>         removes and destroys the item and releases the handle passed
 *                         (ZAVCONFIG_ERROR_NOT_FOUND, ZAVCONFIG_ERROR_HAS_REFERENCES).
 * ========================================================================================== */

/* --- logical names ------------------------------------------------------------------------ */

/** Writes the number of logical names in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count);

/** Writes a handle to the logical name at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* LogicalNameHandle);

/** Writes a handle to the logical name called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* LogicalNameHandle);

/** Creates a logical name called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateLogicalName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViSession* LogicalNameHandle);

/** Removes and destroys the logical name and releases LogicalNameHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyLogicalName(ViSession CollectionHandle,
                                                                   ViSession LogicalNameHandle);

/** Writes a session handle for the session the logical name refers to, or 0 when it refers to
 *  none (0 also after any failure). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession* SessionHandle);

/** Points the logical name at a session or driver session (either handle kind); 0 clears it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession SessionHandle);

/* --- sessions ----------------------------------------------------------------------------- */

/** Writes the number of sessions in the collection, driver sessions included. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionCount(ViSession CollectionHandle,
                                                                ViInt32* Count);

/** Writes a session handle for the session at the 1-based Index (a driver session too). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByIndex(ViSession CollectionHandle,
                                                                      ViInt32 Index,
                                                                      ViSession* SessionHandle);

/** Writes a session handle for the session called Name (a driver session too). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByName(ViSession CollectionHandle,
                                                                     ViConstString Name,
                                                                     ViSession* SessionHandle);

/** Creates a session called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSession(ViSession CollectionHandle,
                                                              ViConstString Name,
                                                              ViSession* SessionHandle);

/** Removes and destroys the session and releases SessionHandle, which may also be a driver
 *  session handle. Fails with ZAVCONFIG_ERROR_HAS_REFERENCES while a logical name uses it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySession(ViSession CollectionHandle,
                                                               ViSession SessionHandle);

/** Writes a new handle to the session's virtual name collection (driver session handles too). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionVirtualNameCollection(
    ViSession SessionHandle, ViSession* CollectionHandle);

/** Writes a handle to the session's hardware asset, or 0 when it has none. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession* HardwareAssetHandle);

/** Sets the session's hardware asset; 0 clears it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession HardwareAssetHandle);

/** Writes a handle to the session's software module, or 0 when it has none. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession* SoftwareModuleHandle);

/** Sets the session's software module (0 clears it); this also updates the session's software
 *  module name and takes over the module's required data components. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession SoftwareModuleHandle);

/* --- driver sessions ---------------------------------------------------------------------- */

/** Writes the number of driver sessions in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/** Writes a driver session handle for the driver session at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DriverSessionHandle);

/** Writes a driver session handle for the driver session called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle);

/** Creates a driver session called Name; it joins both the session and the driver session
 *  collections of the store. Writes its driver session handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDriverSession(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle);

/** Removes and destroys the driver session and releases DriverSessionHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDriverSession(
    ViSession CollectionHandle, ViSession DriverSessionHandle);

/* --- hardware assets ---------------------------------------------------------------------- */

/** Writes the number of hardware assets in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/** Writes a handle to the hardware asset at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* HardwareAssetHandle);

/** Writes a handle to the hardware asset called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle);

/** Creates a hardware asset called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateHardwareAsset(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle);

/** Removes and destroys the hardware asset and releases HardwareAssetHandle.
 *  Fails with ZAVCONFIG_ERROR_HAS_REFERENCES while a session uses it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyHardwareAsset(
    ViSession CollectionHandle, ViSession HardwareAssetHandle);

/* --- software modules --------------------------------------------------------------------- */

/** Writes the number of software modules in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleCount(ViSession CollectionHandle,
                                                                       ViInt32* Count);

/** Writes a handle to the software module at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* SoftwareModuleHandle);

/** Writes a handle to the software module called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle);

/** Creates a software module called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSoftwareModule(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle);

/** Removes and destroys the software module and releases SoftwareModuleHandle; sessions that
 *  use it are unlinked but keep its name and their data components. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySoftwareModule(
    ViSession CollectionHandle, ViSession SoftwareModuleHandle);

/** Writes a new handle to the software module's physical name collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePhysicalNameCollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle);

/** Writes a new handle to the module's collection of references to published APIs; it is
 *  changed with ZavConfig_AddPublishedAPIReference and ZavConfig_RemovePublishedAPIReference. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePublishedAPICollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle);

/* --- published APIs ----------------------------------------------------------------------- */

/** Writes the number of published APIs in the collection (global or a module's). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPICount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/** Writes a handle to the published API at the 1-based Index. APIs are keyed by name, type and
 *  versions together, so there is no lookup by name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PublishedAPIHandle);

/** Creates a published API with Name and Type (both non-empty) in the store's global
 *  collection and writes its handle; a module's collection fails with
 *  ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePublishedAPI(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString Type,
                                                                   ViSession* PublishedAPIHandle);

/** Removes and destroys the published API and releases PublishedAPIHandle.
 *  Fails with ZAVCONFIG_ERROR_HAS_REFERENCES while a module or component refers to it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPublishedAPI(ViSession CollectionHandle,
                                                                    ViSession PublishedAPIHandle);

/** Adds a reference to a published API of the same store to a module's collection.
 *  An API of another store fails with ZAVCONFIG_ERROR_ALREADY_EXISTS. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_AddPublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle);

/** Removes a reference to a published API from a module's collection; the API itself stays.
 *  Fails with ZAVCONFIG_ERROR_NOT_FOUND when the collection does not refer to it. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_RemovePublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle);

/* --- physical names and ranges ------------------------------------------------------------ */

/** Writes the number of physical names in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameCount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/** Writes a handle to the physical name at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalNameHandle);

/** Writes a handle to the physical name called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalNameHandle);

/** Creates a physical name; Name may use only 'a'-'z', 'A'-'Z', '0'-'9', '!' and '_', and
 *  RCName must not be empty (else ZAVCONFIG_ERROR_INVALID_VALUE). Writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalName(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString RCName,
                                                                   ViSession* PhysicalNameHandle);

/** Removes and destroys the physical name with its ranges and children; releases
 *  PhysicalNameHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalName(ViSession CollectionHandle,
                                                                    ViSession PhysicalNameHandle);

/** Writes a new handle to the physical name's range collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePhysicalRangeCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle);

/** Writes a new handle to the collection of the physical name's own child physical names. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameChildPhysicalNameCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle);

/** Writes the number of physical ranges in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/** Writes a handle to the physical range at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalRangeHandle);

/** Creates a physical range called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalRangeHandle);

/** Removes and destroys the physical range and releases PhysicalRangeHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalRange(
    ViSession CollectionHandle, ViSession PhysicalRangeHandle);

/* --- virtual names and ranges ------------------------------------------------------------- */

/** Writes the number of virtual names in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count);

/** Writes a handle to the virtual name at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualNameHandle);

/** Writes a handle to the virtual name called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualNameHandle);

/** Creates a virtual name mapped to MapTo; Name may use only 'a'-'z', 'A'-'Z', '0'-'9', '!'
 *  and '_', and MapTo must not be empty (else ZAVCONFIG_ERROR_INVALID_VALUE). Writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViConstString MapTo,
                                                                  ViSession* VirtualNameHandle);

/** Removes and destroys the virtual name with its ranges and releases VirtualNameHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualName(ViSession CollectionHandle,
                                                                   ViSession VirtualNameHandle);

/** Writes a new handle to the virtual name's range collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameVirtualRangeCollection(
    ViSession VirtualNameHandle, ViSession* CollectionHandle);

/** Writes the number of virtual ranges in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeCount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/** Writes a handle to the virtual range at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualRangeHandle);

/** Creates a virtual range called Name in the collection and writes its handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualRangeHandle);

/** Removes and destroys the virtual range and releases VirtualRangeHandle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualRange(
    ViSession CollectionHandle, ViSession VirtualRangeHandle);

/* --- data component collections ----------------------------------------------------------- */

/** Writes the number of data components in the collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/** Writes a handle to the data component at the 1-based Index. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DataComponentHandle);

/** Writes a handle to the data component called Name. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DataComponentHandle);

/** Removes and destroys the data component and releases DataComponentHandle. The last member
 *  of a structure cannot be removed (ZAVCONFIG_ERROR_INVALID_VALUE). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDataComponent(
    ViSession CollectionHandle, ViSession DataComponentHandle);

/* ==========================================================================================
 * Item properties. Each function accepts only the property IDs listed for it; any other ID
 * fails with ZAVCONFIG_ERROR_INVALID_PROPERTY_ID. The handle is checked before the ID.
 * Booleans are read back as 1 or 0; any non-zero value sets true.
 * ========================================================================================== */

/** Reads a logical name property (NAME, DESCRIPTION) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNamePropertyViString(
    ViSession LogicalNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a logical name property (NAME, DESCRIPTION); a name must be non-empty and unique in
 *  its collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetLogicalNamePropertyViString(
    ViSession LogicalNameHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a session property (NAME, DESCRIPTION, SOFTWARE_MODULE_NAME) as a string; driver
 *  session handles are accepted. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionPropertyViString(
    ViSession SessionHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a session property (NAME, DESCRIPTION); driver session handles are accepted. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionPropertyViString(
    ViSession SessionHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a driver session string property (NAME, DESCRIPTION, SOFTWARE_MODULE_NAME,
 *  DRIVER_SETUP). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionPropertyViString(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a driver session string property (NAME, DESCRIPTION, DRIVER_SETUP). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViString(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a driver session flag (CACHE through SIMULATE, IDs 4-9) as 1 or 0. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionPropertyViBoolean(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViBoolean* Value);

/** Sets a driver session flag (CACHE through SIMULATE, IDs 4-9). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViBoolean(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViBoolean Value);

/** Reads a hardware asset property (NAME, DESCRIPTION, IO_RESOURCE_DESCRIPTOR) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetPropertyViString(
    ViSession HardwareAssetHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a hardware asset property (NAME, DESCRIPTION, IO_RESOURCE_DESCRIPTOR). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetHardwareAssetPropertyViString(
    ViSession HardwareAssetHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a software module property (IDs 1-9) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePropertyViString(
    ViSession SoftwareModuleHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a software module property (IDs 1-9); PLATFORM_MODULE_PATH and MODULE_PATH are one
 *  field here. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSoftwareModulePropertyViString(
    ViSession SoftwareModuleHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a published API property (NAME, TYPE) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViString(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a published API's NAME or TYPE (non-empty); fails with ZAVCONFIG_ERROR_ALREADY_EXISTS
 *  when the new key is taken in its collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViString(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a published API's MAJOR_VERSION or MINOR_VERSION. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViInt32(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32* Value);

/** Sets a published API's MAJOR_VERSION or MINOR_VERSION; fails with
 *  ZAVCONFIG_ERROR_ALREADY_EXISTS when the new key is taken in its collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViInt32(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32 Value);

/** Reads a physical name property (NAME, RC_NAME) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePropertyViString(
    ViSession PhysicalNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a physical name property (NAME with its character set, RC_NAME non-empty). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalNamePropertyViString(
    ViSession PhysicalNameHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a physical range's NAME. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViString(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a physical range's NAME. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViString(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a physical range's MIN or MAX. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViInt32(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32* Value);

/** Sets a physical range's MIN or MAX, unchecked. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViInt32(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32 Value);

/** Reads a virtual name property (NAME, MAP_TO) as a string. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNamePropertyViString(
    ViSession VirtualNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a virtual name property (NAME with its character set; MAP_TO, which may be empty only
 *  when the name has ranges). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualNamePropertyViString(
    ViSession VirtualNameHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a virtual range's NAME. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViString(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a virtual range's NAME. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViString(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViConstString Value);

/** Reads a virtual range's MIN, MAX or STARTING_PHYSICAL_INDEX. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViInt32(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32* Value);

/** Sets a virtual range's MIN, MAX or STARTING_PHYSICAL_INDEX. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViInt32(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32 Value);

/* ==========================================================================================
 * Data components: typed settings of sessions, driver sessions, hardware assets, software
 * modules and structures. Property functions that need a particular kind of component
 * (VALUE, UNITS) fail with ZAVCONFIG_ERROR_INVALID_HANDLE on a component of another kind.
 * ========================================================================================== */

/** Writes a new handle to the data component collection of a hardware asset, session, driver
 *  session or software module; any other handle fails with ZAVCONFIG_ERROR_INVALID_HANDLE. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigComponentDataComponentCollection(
    ViSession ConfigComponentHandle, ViSession* CollectionHandle);

/** Writes a new handle to the member collection of a structure component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetStructureDataComponentCollection(
    ViSession DataComponentHandle, ViSession* CollectionHandle);

/** Creates a component of kind DataComponentType (ZAVCONFIG_DATA_COMPONENT_*) called Name in
 *  the collection and writes its handle; another kind number fails with
 *  ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDataComponent(
    ViSession CollectionHandle, ViInt32 DataComponentType, ViConstString Name,
    ViSession* DataComponentHandle);

/** Creates a structure called Name together with its first member, of kind
 *  NewDataComponentType called NewDataComponentName, and writes the structure's handle. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateStructure(
    ViSession CollectionHandle, ViConstString Name, ViInt32 NewDataComponentType,
    ViConstString NewDataComponentName, ViSession* DataComponentHandle);

/** Creates an API reference called Name that points to a published API of the store's global
 *  collection, and writes its handle. PublishedAPIHandle 0 fails. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateAPIReference(
    ViSession CollectionHandle, ViConstString Name, ViSession PublishedAPIHandle,
    ViSession* DataComponentHandle);

/** Reads READ_ONLY of any component, or VALUE of a boolean component, as 1 or 0. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean* Value);

/** Reads HELP_CONTEXT_ID of any component, or VALUE of an integer component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32* Value);

/** Reads VALUE of a real component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64* Value);

/** Sets READ_ONLY of any component, or VALUE of a boolean component (non-zero is true). */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean Value);

/** Sets HELP_CONTEXT_ID of any component, or VALUE of an integer component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 Value);

/** Sets VALUE of a real component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64 Value);

/** Reads a string property of a component: 1, 2, 4, 6, 7, 8 of any kind; VALUE of a string or
 *  API reference component; UNITS of a real or integer component. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/** Sets a string property of a component: 1, 2, 4, 6, 8 of any kind; VALUE of a string or
 *  API reference component; UNITS of a real or integer component. TYPE is read-only. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViConstString Value);

/** Writes a handle to the published API an API reference component points to.
 *  A component of another kind fails with ZAVCONFIG_ERROR_INVALID_HANDLE. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession* PublishedAPIHandle);

/** Points an API reference component at a published API of the store's global collection.
 *  0 is refused (ZAVCONFIG_ERROR_INVALID_VALUE) while the component is in a collection. */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession PublishedAPIHandle);

#ifdef __cplusplus
}
#endif

#endif /* ZAVCONFIG_H */
