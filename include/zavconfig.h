// SPDX-License-Identifier: MIT
/**
 * @file zavconfig.h
 * @brief C interface of the configuration server.
 *
 * A configuration store holds logical names, sessions, driver sessions, hardware assets, software
 * modules and published APIs, with their physical and virtual names, ranges and data components.
 * Callers reach every object through opaque 32-bit handles (ViSession): each call that yields an
 * object issues a fresh handle, which the caller releases with ZavConfig_DisposeHandle (a store
 * handle is released by ZavConfig_Close instead).
 *
 * Every function returns a ViStatus: 0 (VI_SUCCESS) on success, one of the negative
 * ZAVCONFIG_ERROR_* codes on failure. On failure no output is written unless the function says
 * otherwise, and the code with a message is recorded for the calling thread, where
 * ZavConfig_GetError reads it.
 *
 * String getters (names ending in PropertyViString) take a buffer size in bytes including the
 * terminating NUL and return 0 when the whole value was copied, or the size needed (length + 1)
 * when the value was cut or BufferSize was 0 (the buffer may then be NULL). A negative BufferSize
 * copies the whole value unchecked: the caller vouches that it fits. Input strings given as NULL
 * are taken as "".
 *
 * All functions may be called from any thread; the library serialises them internally.
 *
 * A handle is live from the call that issued it until it is released, and only while the object it
 * designates exists: a handle that is 0, was never issued, was released, is of another kind than
 * the function expects, or whose object was destroyed fails with ZAVCONFIG_ERROR_INVALID_HANDLE.
 * Besides the codes each function lists, any function can fail with ZAVCONFIG_ERROR_UNRECOVERABLE
 * when memory or a system service fails.
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

/** 0xBFFA0000: a failure other than a rule of the store (allocation, platform service). */
#define ZAVCONFIG_ERROR_UNRECOVERABLE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0000))
/** 0xBFFA0010: a value given to a set or remove breaks a rule of the item. */
#define ZAVCONFIG_ERROR_INVALID_VALUE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0010))
/** 0xBFFA0058: NULL output pointer (or NULL item added to a collection). */
#define ZAVCONFIG_ERROR_NULL_POINTER ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA0058))
/** 0xBFFA1200: reading or validating the store document failed. */
#define ZAVCONFIG_ERROR_DESERIALIZE_FAILED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1200))
/** 0xBFFA1201: the store was already deserialized once. */
#define ZAVCONFIG_ERROR_ALREADY_DESERIALIZED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1201))
/** 0xBFFA1202: writing the store document failed. */
#define ZAVCONFIG_ERROR_SERIALIZE_FAILED ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1202))
/** 0xBFFA1203: no logical name or session of that name. */
#define ZAVCONFIG_ERROR_SESSION_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1203))
/** 0xBFFA1204: the published API is not in the store's global collection. */
#define ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1204))
/** 0xBFFA1205: an add or rename conflicts with the collection's content or ownership. */
#define ZAVCONFIG_ERROR_ALREADY_EXISTS ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1205))
/** 0xBFFA1206: the master store is not configured or its file cannot be found. */
#define ZAVCONFIG_ERROR_MASTER_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1206))
/** 0xBFFA1207: no such item (by name, by index, or on remove). */
#define ZAVCONFIG_ERROR_NOT_FOUND ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1207))
/** 0xBFFA1208: invalid data component type or content. */
#define ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1208))
/** 0xBFFA1209: remove refused while other items reference the item. */
#define ZAVCONFIG_ERROR_HAS_REFERENCES ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1209))
/** 0xBFFA1220: handle 0, unknown, stale, of the wrong kind, or a component of the wrong type. */
#define ZAVCONFIG_ERROR_INVALID_HANDLE ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1220))
/** 0xBFFA1221: the property ID is not accepted by that function. */
#define ZAVCONFIG_ERROR_INVALID_PROPERTY_ID ((ViStatus)(ZAVCONFIG_ERROR_BASE + 0x3FFA1221))
/** 0xBFFA1223: two registry views name different master stores; with its single registry file
 *  this build never returns it. */
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

/**
 * @name Stores, handles and errors
 * @{
 */

/**
 * @brief Creates an empty store.
 * @param[out] ConfigStoreHandle Receives the store handle, which owns the store until
 *                               ZavConfig_Close().
 * @retval VI_SUCCESS                   Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER ConfigStoreHandle is NULL.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Initialize(ViSession* ConfigStoreHandle);

/**
 * @brief Destroys a store with all its collections and items and releases its handle.
 *
 * Handles issued for objects of the store stay registered; every use of them then fails with
 * ZAVCONFIG_ERROR_INVALID_HANDLE, and they may still be disposed.
 * @param[in]  ConfigStoreHandle A store handle from ZavConfig_Initialize().
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live store handle (also for 0
 *                                        and handles of other kinds); nothing is closed.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Close(ViSession ConfigStoreHandle);

/**
 * @brief Releases a handle other than a store handle; the object it designates is untouched.
 * @param[in]  Handle Any handle issued by this library except a store handle; a handle whose object
 *                    is gone is accepted.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE Handle is 0, a store handle, already released, or was
 *                                        never issued.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DisposeHandle(ViSession Handle);

/**
 * @brief Reads the calling thread's last recorded error without clearing it.
 *
 * Messages start with "ZAV Configuration Server C API: ". This function takes no lock and records
 * nothing. For longer messages call ZavSession_GetError() with a buffer size of your own.
 * @param[out] ErrorCode        Receives the status code (0 when none was recorded); may be NULL.
 * @param[out] ErrorDescription Receives the message, cut to ZAVCONFIG_ERROR_DESCRIPTION_SIZE bytes
 *                              with its NUL; must hold that many bytes. When NULL, nothing is
 *                              copied.
 * @return 0 when the message was copied; the size it needs (length + 1) when ErrorDescription is
 *         NULL.
 * @retval VI_SUCCESS Success.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetError(ViStatus* ErrorCode,
                                                         ViChar ErrorDescription[]);

/**
 * @brief Clears the calling thread's recorded error: it then reads as code 0 and "".
 * @retval VI_SUCCESS Success.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_ClearError(void);

/** @} */

/**
 * @name Store as a whole
 * @{
 */

/**
 * @brief Writes a store to a file.
 *
 * The document is written to a new file that replaces the old one only when it is complete, so a
 * reader never sees it half written.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  Location          Path of the file; a relative path is taken from the current
 *                               directory. One missing parent directory is created. NULL is taken
 *                               as "".
 * @retval VI_SUCCESS                       Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE   ConfigStoreHandle is not a live handle of a store.
 * @retval ZAVCONFIG_ERROR_SERIALIZE_FAILED The path is not valid or has no directory, the parent
 *                                          directory cannot be created, the file cannot be written,
 *                                          or the store holds text that XML cannot carry or is
 *                                          nested too deep. An existing file is left whole.
 * @retval ZAVCONFIG_ERROR_MASTER_NOT_FOUND The store does not know its master location yet and the
 *                                          registry's MasterStore is empty or names no existing
 *                                          file: the document records that location.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Serialize(ViSession ConfigStoreHandle,
                                                          ViConstString Location);

/**
 * @brief Reads a store file into a store, validating it against the schema.
 *
 * On success the location becomes the store's ZAVCONFIG_VAL_CONFIG_STORE_ACTUAL_LOCATION. The
 * registry read is ZAV_REGISTRY, else the user's ~/.config/zav/registry.ini when it exists, else
 * the install's etc/zav/registry.ini.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  Location          Path of the file; a relative path is taken from the current
 *                               directory. NULL is taken as "".
 * @retval VI_SUCCESS                           Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE       ConfigStoreHandle is not a live handle of a store.
 * @retval ZAVCONFIG_ERROR_ALREADY_DESERIALIZED The store was read successfully before; a store is
 *                                              read at most once.
 * @retval ZAVCONFIG_ERROR_DESERIALIZE_FAILED   The path is not valid or the file is not readable;
 *                                              the registry's ZavDataDir is empty or the schema
 *                                              cannot be read from it; or the document is not well
 *                                              formed or the schema rejects it. The store is then
 *                                              left empty and may be read again.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Deserialize(ViSession ConfigStoreHandle,
                                                            ViConstString Location);

/**
 * @brief Reads a string property of a store.
 *
 * The master location is read from the registry once and then kept by the store. The process
 * default location is the environment variable ZAVCONFIGSERVERDEFAULT ("" when unset).
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_CONFIG_STORE_NAME, _DESCRIPTION,
 *                               _MASTER_LOCATION, _ACTUAL_LOCATION, _PROCESS_DEFAULT_LOCATION,
 *                               _REVISION and _VENDOR (1 to 7).
 * @param[in]  BufferSize        Size of Value in bytes, NUL included. 0 asks for the size needed; a
 *                               negative size copies the whole value unchecked (the caller vouches
 *                               that it fits).
 * @param[out] Value             Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                               NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      ConfigStoreHandle is not a live store handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_MASTER_NOT_FOUND    ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION was asked
 *                                             for while the registry's MasterStore is empty or
 *                                             names no existing file.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets the description or the process default location of a store.
 *
 * The process default location is the environment variable ZAVCONFIGSERVERDEFAULT: setting it
 * changes it for the whole process and every store in it.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION and
 *                               ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION.
 * @param[in]  Value             The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      ConfigStoreHandle is not a live store handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetConfigStorePropertyViString(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the version of the store format (1.22).
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MAJOR_VERSION and
 *                               ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION.
 * @param[out] Value             Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      ConfigStoreHandle is not a live store handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePropertyViInt32(
    ViSession ConfigStoreHandle, ViAttr PropertyID, ViInt32* Value);

/**
 * @brief Finds a session by logical name or by session name.
 *
 * A logical name wins over a session of the same name.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[in]  Name              A logical name, else the name of a session. NULL is taken as "".
 * @param[out] SessionHandle     Receives a new session handle (also for a driver session); 0 when
 *                               the logical name refers to no session, and after any failure.
 * @retval VI_SUCCESS                        Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER      SessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE    ConfigStoreHandle is not a live handle of a store.
 * @retval ZAVCONFIG_ERROR_SESSION_NOT_FOUND No logical name and no session has that name.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSession(ViSession ConfigStoreHandle,
                                                           ViConstString Name,
                                                           ViSession* SessionHandle);

/**
 * @brief Finds a driver session by logical name or by driver session name, as a driver does when it
 *        is opened.
 * @param[in]  ConfigStoreHandle   A store handle.
 * @param[in]  Name                A logical name that refers to a driver session, else the name of
 *                                 a driver session. NULL is taken as "".
 * @param[out] DriverSessionHandle Receives a new driver session handle; 0 after any failure.
 * @retval VI_SUCCESS                        Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER      DriverSessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE    ConfigStoreHandle is not a live handle of a store.
 * @retval ZAVCONFIG_ERROR_SESSION_NOT_FOUND Neither a logical name leading to a driver session nor
 *                                           a driver session has that name.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSession(ViSession ConfigStoreHandle,
                                                                 ViConstString Name,
                                                                 ViSession* DriverSessionHandle);

/**
 * @brief Gets the store's logical name collection.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new logical name collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreLogicalNameCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the store's session collection.
 *
 * The collection holds the driver sessions too.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new session collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the store's driver session collection.
 *
 * The collection is a view of the store's sessions that are driver sessions.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new driver session collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreDriverSessionCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the store's hardware asset collection.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new hardware asset collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreHardwareAssetCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the store's software module collection.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new software module collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStoreSoftwareModuleCollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the store's global published API collection.
 * @param[in]  ConfigStoreHandle A store handle.
 * @param[out] CollectionHandle  Receives a new published API collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigStoreHandle is not a live handle of a store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigStorePublishedAPICollection(
    ViSession ConfigStoreHandle, ViSession* CollectionHandle);

/** @} */

/**
 * @name Collections and items
 *
 * Every kind of item has the same functions: a count; a look-up by Index, which runs from 1 in
 * the order the items were added; a look-up by name (exact and case-sensitive; not for published
 * APIs and ranges); a create, which names the new item, adds it and writes its handle, and leaves
 * nothing behind when it fails; and a destroy, which removes and destroys the item and releases
 * the handle passed.
 * @{
 */

/* --- logical names ------------------------------------------------------------------------ */

/**
 * @brief Counts the logical names of a collection.
 * @param[in]  CollectionHandle A logical name collection handle, from
 *                              ZavConfig_GetConfigStoreLogicalNameCollection().
 * @param[out] Count            Receives the number of logical names.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a logical name
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count);

/**
 * @brief Gets the logical name at a position of a collection.
 * @param[in]  CollectionHandle  A logical name collection handle, from
 *                               ZavConfig_GetConfigStoreLogicalNameCollection().
 * @param[in]  Index             1-based position, in the order the logical names were added.
 * @param[out] LogicalNameHandle Receives a new logical name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   LogicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a logical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* LogicalNameHandle);

/**
 * @brief Gets the logical name of a given name from a collection.
 * @param[in]  CollectionHandle  A logical name collection handle, from
 *                               ZavConfig_GetConfigStoreLogicalNameCollection().
 * @param[in]  Name              Name to find; the match is exact and case-sensitive. NULL is taken
 *                               as "".
 * @param[out] LogicalNameHandle Receives a new logical name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   LogicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a logical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No logical name of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* LogicalNameHandle);

/**
 * @brief Creates a logical name in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle  A logical name collection handle, from
 *                               ZavConfig_GetConfigStoreLogicalNameCollection().
 * @param[in]  Name              Name of the new logical name, unique in the collection. NULL is
 *                               taken as "".
 * @param[out] LogicalNameHandle Receives a handle to the new logical name.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   LogicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a logical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A logical name of that name is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateLogicalName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViSession* LogicalNameHandle);

/**
 * @brief Removes a logical name from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle  A logical name collection handle, from
 *                               ZavConfig_GetConfigStoreLogicalNameCollection().
 * @param[in]  LogicalNameHandle A logical name handle to the item; it is released on success. Other
 *                               handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or LogicalNameHandle is not a live handle
 *                                        of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that logical name.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyLogicalName(ViSession CollectionHandle,
                                                                   ViSession LogicalNameHandle);

/**
 * @brief Gets the session a logical name refers to.
 * @param[in]  LogicalNameHandle A logical name handle.
 * @param[out] SessionHandle     Receives a new session handle (also for a driver session); 0 when
 *                               there is none, and after any failure.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE LogicalNameHandle is not a live logical name handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession* SessionHandle);

/**
 * @brief Points a logical name at a session.
 *
 * A session that a logical name refers to cannot be destroyed.
 * @param[in]  LogicalNameHandle A logical name handle.
 * @param[in]  SessionHandle     A session or driver session handle. 0 clears the reference.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE LogicalNameHandle or SessionHandle is not a live handle of
 *                                        the right kind.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetLogicalNameSessionReference(
    ViSession LogicalNameHandle, ViSession SessionHandle);

/* --- sessions ----------------------------------------------------------------------------- */

/**
 * @brief Counts the sessions of a collection.
 * @param[in]  CollectionHandle A session collection handle, from
 *                              ZavConfig_GetConfigStoreSessionCollection().
 * @param[out] Count            Receives the number of sessions.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a session
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionCount(ViSession CollectionHandle,
                                                                ViInt32* Count);

/**
 * @brief Gets the session at a position of a collection.
 * @param[in]  CollectionHandle A session collection handle, from
 *                              ZavConfig_GetConfigStoreSessionCollection().
 * @param[in]  Index            1-based position, in the order the sessions were added.
 * @param[out] SessionHandle    Receives a new session handle (a session handle also for a driver
 *                              session).
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByIndex(ViSession CollectionHandle,
                                                                      ViInt32 Index,
                                                                      ViSession* SessionHandle);

/**
 * @brief Gets the session of a given name from a collection.
 * @param[in]  CollectionHandle A session collection handle, from
 *                              ZavConfig_GetConfigStoreSessionCollection().
 * @param[in]  Name             Name to find; the match is exact and case-sensitive. NULL is taken
 *                              as "".
 * @param[out] SessionHandle    Receives a new session handle (a session handle also for a driver
 *                              session).
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No session of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionItemByName(ViSession CollectionHandle,
                                                                     ViConstString Name,
                                                                     ViSession* SessionHandle);

/**
 * @brief Creates a session in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle A session collection handle, from
 *                              ZavConfig_GetConfigStoreSessionCollection().
 * @param[in]  Name             Name of the new session, unique in the collection. NULL is taken as
 *                              "".
 * @param[out] SessionHandle    Receives a handle to the new session.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A session of that name is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSession(ViSession CollectionHandle,
                                                              ViConstString Name,
                                                              ViSession* SessionHandle);

/**
 * @brief Removes a session from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle A session collection handle, from
 *                              ZavConfig_GetConfigStoreSessionCollection().
 * @param[in]  SessionHandle    A session or driver session handle to the item; it is released on
 *                              success. Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or SessionHandle is not a live handle of
 *                                        the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that session.
 * @retval ZAVCONFIG_ERROR_HAS_REFERENCES A logical name refers to the session.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySession(ViSession CollectionHandle,
                                                               ViSession SessionHandle);

/**
 * @brief Gets a session's virtual name collection.
 * @param[in]  SessionHandle    A session or driver session handle.
 * @param[out] CollectionHandle Receives a new virtual name collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SessionHandle is not a live session or driver session
 *                                        handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionVirtualNameCollection(
    ViSession SessionHandle, ViSession* CollectionHandle);

/**
 * @brief Gets a session's hardware asset.
 * @param[in]  SessionHandle       A session or driver session handle.
 * @param[out] HardwareAssetHandle Receives a new hardware asset handle; 0 when there is none, and
 *                                 after any failure.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   HardwareAssetHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SessionHandle is not a live session or driver session
 *                                        handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession* HardwareAssetHandle);

/**
 * @brief Sets a session's hardware asset.
 *
 * A hardware asset that a session refers to cannot be destroyed.
 * @param[in]  SessionHandle       A session or driver session handle.
 * @param[in]  HardwareAssetHandle A hardware asset handle. 0 clears the reference.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SessionHandle or HardwareAssetHandle is not a live handle
 *                                        of the right kind.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionHardwareAssetReference(
    ViSession SessionHandle, ViSession HardwareAssetHandle);

/**
 * @brief Gets a session's software module.
 * @param[in]  SessionHandle        A session or driver session handle.
 * @param[out] SoftwareModuleHandle Receives a new software module handle; 0 when there is none, and
 *                                  after any failure.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SoftwareModuleHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SessionHandle is not a live session or driver session
 *                                        handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession* SoftwareModuleHandle);

/**
 * @brief Sets a session's software module.
 *
 * This also sets the session's software module name (ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME),
 * drops the data components the previous module supplied, and gives the session copies of the new
 * module's components whose used-in-session value is "Required".
 * @param[in]  SessionHandle        A session or driver session handle.
 * @param[in]  SoftwareModuleHandle A software module handle. 0 clears the reference.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SessionHandle or SoftwareModuleHandle is not a live handle
 *                                        of the right kind.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS The session already has a data component named like one
 *                                        the module supplies.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionSoftwareModuleReference(
    ViSession SessionHandle, ViSession SoftwareModuleHandle);

/* --- driver sessions ---------------------------------------------------------------------- */

/**
 * @brief Counts the driver sessions of a collection.
 * @param[in]  CollectionHandle A driver session collection handle, from
 *                              ZavConfig_GetConfigStoreDriverSessionCollection().
 * @param[out] Count            Receives the number of driver sessions.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a driver session
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/**
 * @brief Gets the driver session at a position of a collection.
 * @param[in]  CollectionHandle    A driver session collection handle, from
 *                                 ZavConfig_GetConfigStoreDriverSessionCollection().
 * @param[in]  Index               1-based position, in the order the driver sessions were added.
 * @param[out] DriverSessionHandle Receives a new driver session handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   DriverSessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a driver session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DriverSessionHandle);

/**
 * @brief Gets the driver session of a given name from a collection.
 * @param[in]  CollectionHandle    A driver session collection handle, from
 *                                 ZavConfig_GetConfigStoreDriverSessionCollection().
 * @param[in]  Name                Name to find; the match is exact and case-sensitive. NULL is
 *                                 taken as "".
 * @param[out] DriverSessionHandle Receives a new driver session handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   DriverSessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a driver session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No driver session of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle);

/**
 * @brief Creates a driver session in a collection.
 *
 * The new driver session joins both the session and the driver session collections of the store;
 * its six options are off. A failed create leaves nothing behind.
 * @param[in]  CollectionHandle    A driver session collection handle, from
 *                                 ZavConfig_GetConfigStoreDriverSessionCollection().
 * @param[in]  Name                Name of the new driver session, unique in the collection. NULL is
 *                                 taken as "".
 * @param[out] DriverSessionHandle Receives a handle to the new driver session.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   DriverSessionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a driver session
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A driver session of that name is already in the
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDriverSession(
    ViSession CollectionHandle, ViConstString Name, ViSession* DriverSessionHandle);

/**
 * @brief Removes a driver session from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle    A driver session collection handle, from
 *                                 ZavConfig_GetConfigStoreDriverSessionCollection().
 * @param[in]  DriverSessionHandle A driver session handle to the item; it is released on success.
 *                                 Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or DriverSessionHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that driver session.
 * @retval ZAVCONFIG_ERROR_HAS_REFERENCES A logical name refers to the session.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDriverSession(
    ViSession CollectionHandle, ViSession DriverSessionHandle);

/* --- hardware assets ---------------------------------------------------------------------- */

/**
 * @brief Counts the hardware assets of a collection.
 * @param[in]  CollectionHandle A hardware asset collection handle, from
 *                              ZavConfig_GetConfigStoreHardwareAssetCollection().
 * @param[out] Count            Receives the number of hardware assets.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a hardware asset
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/**
 * @brief Gets the hardware asset at a position of a collection.
 * @param[in]  CollectionHandle    A hardware asset collection handle, from
 *                                 ZavConfig_GetConfigStoreHardwareAssetCollection().
 * @param[in]  Index               1-based position, in the order the hardware assets were added.
 * @param[out] HardwareAssetHandle Receives a new hardware asset handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   HardwareAssetHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a hardware asset
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* HardwareAssetHandle);

/**
 * @brief Gets the hardware asset of a given name from a collection.
 * @param[in]  CollectionHandle    A hardware asset collection handle, from
 *                                 ZavConfig_GetConfigStoreHardwareAssetCollection().
 * @param[in]  Name                Name to find; the match is exact and case-sensitive. NULL is
 *                                 taken as "".
 * @param[out] HardwareAssetHandle Receives a new hardware asset handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   HardwareAssetHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a hardware asset
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No hardware asset of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle);

/**
 * @brief Creates a hardware asset in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle    A hardware asset collection handle, from
 *                                 ZavConfig_GetConfigStoreHardwareAssetCollection().
 * @param[in]  Name                Name of the new hardware asset, unique in the collection. NULL is
 *                                 taken as "".
 * @param[out] HardwareAssetHandle Receives a handle to the new hardware asset.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   HardwareAssetHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a hardware asset
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A hardware asset of that name is already in the
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateHardwareAsset(
    ViSession CollectionHandle, ViConstString Name, ViSession* HardwareAssetHandle);

/**
 * @brief Removes a hardware asset from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle    A hardware asset collection handle, from
 *                                 ZavConfig_GetConfigStoreHardwareAssetCollection().
 * @param[in]  HardwareAssetHandle A hardware asset handle to the item; it is released on success.
 *                                 Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or HardwareAssetHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that hardware asset.
 * @retval ZAVCONFIG_ERROR_HAS_REFERENCES A session refers to the hardware asset.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyHardwareAsset(
    ViSession CollectionHandle, ViSession HardwareAssetHandle);

/* --- software modules --------------------------------------------------------------------- */

/**
 * @brief Counts the software modules of a collection.
 * @param[in]  CollectionHandle A software module collection handle, from
 *                              ZavConfig_GetConfigStoreSoftwareModuleCollection().
 * @param[out] Count            Receives the number of software modules.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a software module
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleCount(ViSession CollectionHandle,
                                                                       ViInt32* Count);

/**
 * @brief Gets the software module at a position of a collection.
 * @param[in]  CollectionHandle     A software module collection handle, from
 *                                  ZavConfig_GetConfigStoreSoftwareModuleCollection().
 * @param[in]  Index                1-based position, in the order the software modules were added.
 * @param[out] SoftwareModuleHandle Receives a new software module handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SoftwareModuleHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a software module
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* SoftwareModuleHandle);

/**
 * @brief Gets the software module of a given name from a collection.
 * @param[in]  CollectionHandle     A software module collection handle, from
 *                                  ZavConfig_GetConfigStoreSoftwareModuleCollection().
 * @param[in]  Name                 Name to find; the match is exact and case-sensitive. NULL is
 *                                  taken as "".
 * @param[out] SoftwareModuleHandle Receives a new software module handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SoftwareModuleHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a software module
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No software module of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModuleItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle);

/**
 * @brief Creates a software module in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle     A software module collection handle, from
 *                                  ZavConfig_GetConfigStoreSoftwareModuleCollection().
 * @param[in]  Name                 Name of the new software module, unique in the collection. NULL
 *                                  is taken as "".
 * @param[out] SoftwareModuleHandle Receives a handle to the new software module.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   SoftwareModuleHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a software module
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A software module of that name is already in the
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateSoftwareModule(
    ViSession CollectionHandle, ViConstString Name, ViSession* SoftwareModuleHandle);

/**
 * @brief Removes a software module from its collection, destroys it and releases the handle passed.
 *
 * Sessions that use the module are unlinked from it but keep its name and their data components.
 * @param[in]  CollectionHandle     A software module collection handle, from
 *                                  ZavConfig_GetConfigStoreSoftwareModuleCollection().
 * @param[in]  SoftwareModuleHandle A software module handle to the item; it is released on success.
 *                                  Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or SoftwareModuleHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that software module.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroySoftwareModule(
    ViSession CollectionHandle, ViSession SoftwareModuleHandle);

/**
 * @brief Gets a software module's physical name collection.
 * @param[in]  SoftwareModuleHandle A software module handle.
 * @param[out] CollectionHandle     Receives a new physical name collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SoftwareModuleHandle is not a live software module handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePhysicalNameCollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle);

/**
 * @brief Gets a software module's list of the published APIs it implements.
 *
 * The list refers to APIs of the global collection; change it with
 * ZavConfig_AddPublishedAPIReference() and ZavConfig_RemovePublishedAPIReference().
 * @param[in]  SoftwareModuleHandle A software module handle.
 * @param[out] CollectionHandle     Receives a new published API collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE SoftwareModuleHandle is not a live software module handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePublishedAPICollection(
    ViSession SoftwareModuleHandle, ViSession* CollectionHandle);

/* --- published APIs ----------------------------------------------------------------------- */

/**
 * @brief Counts the published APIs of a collection.
 * @param[in]  CollectionHandle A published API collection handle, from
 *                              ZavConfig_GetConfigStorePublishedAPICollection() or
 *                              ZavConfig_GetSoftwareModulePublishedAPICollection().
 * @param[out] Count            Receives the number of published APIs.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a published API
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPICount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/**
 * @brief Gets the published API at a position of a collection.
 * @param[in]  CollectionHandle   A published API collection handle, from
 *                                ZavConfig_GetConfigStorePublishedAPICollection() or
 *                                ZavConfig_GetSoftwareModulePublishedAPICollection().
 * @param[in]  Index              1-based position, in the order the published APIs were added.
 * @param[out] PublishedAPIHandle Receives a new published API handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PublishedAPIHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a published API
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PublishedAPIHandle);

/**
 * @brief Creates a published API in a collection.
 *
 * The API starts at version 0.0; name, type and versions together are its key. A failed create
 * leaves nothing behind.
 * @param[in]  CollectionHandle   A published API collection handle, from
 *                                ZavConfig_GetConfigStorePublishedAPICollection() or
 *                                ZavConfig_GetSoftwareModulePublishedAPICollection().
 * @param[in]  Name               Name of the new published API, unique in the collection. NULL is
 *                                taken as "".
 * @param[in]  Type               Type of the new published API. NULL is taken as "".
 * @param[out] PublishedAPIHandle Receives a handle to the new published API.
 * @retval VI_SUCCESS                               Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER             PublishedAPIHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE            Name or Type is empty.
 * @retval ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION The collection is a software module's list, not
 *                                                  the store's global collection.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE           CollectionHandle is not a live handle of a
 *                                                  published API collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS           A published API of that name and type and with
 *                                                  version 0.0 is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePublishedAPI(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString Type,
                                                                   ViSession* PublishedAPIHandle);

/**
 * @brief Removes a published API from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle   A published API collection handle, from
 *                                ZavConfig_GetConfigStorePublishedAPICollection() or
 *                                ZavConfig_GetSoftwareModulePublishedAPICollection().
 * @param[in]  PublishedAPIHandle A published API handle to the item; it is released on success.
 *                                Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or PublishedAPIHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that published API.
 * @retval ZAVCONFIG_ERROR_HAS_REFERENCES A software module's list or an API reference component
 *                                        refers to the API.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPublishedAPI(ViSession CollectionHandle,
                                                                    ViSession PublishedAPIHandle);

/**
 * @brief Adds a published API to a software module's list of the APIs it implements.
 *
 * A listed API cannot be destroyed until it is removed from every list.
 * @param[in]  CollectionHandle   A software module's published API collection, from
 *                                ZavConfig_GetSoftwareModulePublishedAPICollection().
 * @param[in]  PublishedAPIHandle A published API of the same store's global collection.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or PublishedAPIHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS The API belongs to another store or to none, or the list
 *                                        already holds an API with its key.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_AddPublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle);

/**
 * @brief Removes a published API from a software module's list; the API itself stays.
 * @param[in]  CollectionHandle   A software module's published API collection.
 * @param[in]  PublishedAPIHandle A published API handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or PublishedAPIHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The list does not hold that API, or the API belongs to
 *                                        another store.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_RemovePublishedAPIReference(
    ViSession CollectionHandle, ViSession PublishedAPIHandle);

/* --- physical names and ranges ------------------------------------------------------------ */

/**
 * @brief Counts the physical names of a collection.
 * @param[in]  CollectionHandle A physical name collection handle, from
 *                              ZavConfig_GetSoftwareModulePhysicalNameCollection() or
 *                              ZavConfig_GetPhysicalNameChildPhysicalNameCollection().
 * @param[out] Count            Receives the number of physical names.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical name
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameCount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/**
 * @brief Gets the physical name at a position of a collection.
 * @param[in]  CollectionHandle   A physical name collection handle, from
 *                                ZavConfig_GetSoftwareModulePhysicalNameCollection() or
 *                                ZavConfig_GetPhysicalNameChildPhysicalNameCollection().
 * @param[in]  Index              1-based position, in the order the physical names were added.
 * @param[out] PhysicalNameHandle Receives a new physical name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PhysicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalNameHandle);

/**
 * @brief Gets the physical name of a given name from a collection.
 * @param[in]  CollectionHandle   A physical name collection handle, from
 *                                ZavConfig_GetSoftwareModulePhysicalNameCollection() or
 *                                ZavConfig_GetPhysicalNameChildPhysicalNameCollection().
 * @param[in]  Name               Name to find; the match is exact and case-sensitive. NULL is taken
 *                                as "".
 * @param[out] PhysicalNameHandle Receives a new physical name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PhysicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No physical name of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalNameHandle);

/**
 * @brief Creates a physical name in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle   A physical name collection handle, from
 *                                ZavConfig_GetSoftwareModulePhysicalNameCollection() or
 *                                ZavConfig_GetPhysicalNameChildPhysicalNameCollection().
 * @param[in]  Name               Name of the new physical name, unique in the collection. NULL is
 *                                taken as "".
 * @param[in]  RCName             Repeated-capability name of the new physical name. NULL is taken
 *                                as "".
 * @param[out] PhysicalNameHandle Receives a handle to the new physical name.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PhysicalNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty or uses a character other than 'a'-'z',
 *                                        'A'-'Z', '0'-'9', '!' and '_', or RCName is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A physical name of that name is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalName(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViConstString RCName,
                                                                   ViSession* PhysicalNameHandle);

/**
 * @brief Removes a physical name from its collection, destroys it and releases the handle passed.
 *
 * Its ranges and child physical names go with it.
 * @param[in]  CollectionHandle   A physical name collection handle, from
 *                                ZavConfig_GetSoftwareModulePhysicalNameCollection() or
 *                                ZavConfig_GetPhysicalNameChildPhysicalNameCollection().
 * @param[in]  PhysicalNameHandle A physical name handle to the item; it is released on success.
 *                                Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or PhysicalNameHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that physical name.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalName(ViSession CollectionHandle,
                                                                    ViSession PhysicalNameHandle);

/**
 * @brief Gets a physical name's range collection.
 * @param[in]  PhysicalNameHandle A physical name handle.
 * @param[out] CollectionHandle   Receives a new physical range collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE PhysicalNameHandle is not a live physical name handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePhysicalRangeCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the collection of a physical name's own child physical names.
 * @param[in]  PhysicalNameHandle A physical name handle.
 * @param[out] CollectionHandle   Receives a new physical name collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE PhysicalNameHandle is not a live physical name handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNameChildPhysicalNameCollection(
    ViSession PhysicalNameHandle, ViSession* CollectionHandle);

/**
 * @brief Counts the physical ranges of a collection.
 * @param[in]  CollectionHandle A physical range collection handle, from
 *                              ZavConfig_GetPhysicalNamePhysicalRangeCollection().
 * @param[out] Count            Receives the number of physical ranges.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical range
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/**
 * @brief Gets the physical range at a position of a collection.
 * @param[in]  CollectionHandle    A physical range collection handle, from
 *                                 ZavConfig_GetPhysicalNamePhysicalRangeCollection().
 * @param[in]  Index               1-based position, in the order the physical ranges were added.
 * @param[out] PhysicalRangeHandle Receives a new physical range handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PhysicalRangeHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical range
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* PhysicalRangeHandle);

/**
 * @brief Creates a physical range in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle    A physical range collection handle, from
 *                                 ZavConfig_GetPhysicalNamePhysicalRangeCollection().
 * @param[in]  Name                Name of the new physical range, unique in the collection. NULL is
 *                                 taken as "".
 * @param[out] PhysicalRangeHandle Receives a handle to the new physical range.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PhysicalRangeHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a physical range
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A physical range of that name is already in the
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreatePhysicalRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* PhysicalRangeHandle);

/**
 * @brief Removes a physical range from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle    A physical range collection handle, from
 *                                 ZavConfig_GetPhysicalNamePhysicalRangeCollection().
 * @param[in]  PhysicalRangeHandle A physical range handle to the item; it is released on success.
 *                                 Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or PhysicalRangeHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that physical range.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyPhysicalRange(
    ViSession CollectionHandle, ViSession PhysicalRangeHandle);

/* --- virtual names and ranges ------------------------------------------------------------- */

/**
 * @brief Counts the virtual names of a collection.
 * @param[in]  CollectionHandle A virtual name collection handle, from
 *                              ZavConfig_GetSessionVirtualNameCollection().
 * @param[out] Count            Receives the number of virtual names.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual name
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameCount(ViSession CollectionHandle,
                                                                    ViInt32* Count);

/**
 * @brief Gets the virtual name at a position of a collection.
 * @param[in]  CollectionHandle  A virtual name collection handle, from
 *                               ZavConfig_GetSessionVirtualNameCollection().
 * @param[in]  Index             1-based position, in the order the virtual names were added.
 * @param[out] VirtualNameHandle Receives a new virtual name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   VirtualNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualNameHandle);

/**
 * @brief Gets the virtual name of a given name from a collection.
 * @param[in]  CollectionHandle  A virtual name collection handle, from
 *                               ZavConfig_GetSessionVirtualNameCollection().
 * @param[in]  Name              Name to find; the match is exact and case-sensitive. NULL is taken
 *                               as "".
 * @param[out] VirtualNameHandle Receives a new virtual name handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   VirtualNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No virtual name of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualNameHandle);

/**
 * @brief Creates a virtual name in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle  A virtual name collection handle, from
 *                               ZavConfig_GetSessionVirtualNameCollection().
 * @param[in]  Name              Name of the new virtual name, unique in the collection. NULL is
 *                               taken as "".
 * @param[in]  MapTo             Name the virtual name maps to. NULL is taken as "".
 * @param[out] VirtualNameHandle Receives a handle to the new virtual name.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   VirtualNameHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty or uses a character other than 'a'-'z',
 *                                        'A'-'Z', '0'-'9', '!' and '_', or MapTo is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual name
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A virtual name of that name is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualName(ViSession CollectionHandle,
                                                                  ViConstString Name,
                                                                  ViConstString MapTo,
                                                                  ViSession* VirtualNameHandle);

/**
 * @brief Removes a virtual name from its collection, destroys it and releases the handle passed.
 *
 * Its ranges go with it.
 * @param[in]  CollectionHandle  A virtual name collection handle, from
 *                               ZavConfig_GetSessionVirtualNameCollection().
 * @param[in]  VirtualNameHandle A virtual name handle to the item; it is released on success. Other
 *                               handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or VirtualNameHandle is not a live handle
 *                                        of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that virtual name.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualName(ViSession CollectionHandle,
                                                                   ViSession VirtualNameHandle);

/**
 * @brief Gets a virtual name's range collection.
 * @param[in]  VirtualNameHandle A virtual name handle.
 * @param[out] CollectionHandle  Receives a new virtual range collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE VirtualNameHandle is not a live virtual name handle.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNameVirtualRangeCollection(
    ViSession VirtualNameHandle, ViSession* CollectionHandle);

/**
 * @brief Counts the virtual ranges of a collection.
 * @param[in]  CollectionHandle A virtual range collection handle, from
 *                              ZavConfig_GetVirtualNameVirtualRangeCollection().
 * @param[out] Count            Receives the number of virtual ranges.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual range
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeCount(ViSession CollectionHandle,
                                                                     ViInt32* Count);

/**
 * @brief Gets the virtual range at a position of a collection.
 * @param[in]  CollectionHandle   A virtual range collection handle, from
 *                                ZavConfig_GetVirtualNameVirtualRangeCollection().
 * @param[in]  Index              1-based position, in the order the virtual ranges were added.
 * @param[out] VirtualRangeHandle Receives a new virtual range handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   VirtualRangeHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual range
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangeItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* VirtualRangeHandle);

/**
 * @brief Creates a virtual range in a collection.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle   A virtual range collection handle, from
 *                                ZavConfig_GetVirtualNameVirtualRangeCollection().
 * @param[in]  Name               Name of the new virtual range, unique in the collection. NULL is
 *                                taken as "".
 * @param[out] VirtualRangeHandle Receives a handle to the new virtual range.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   VirtualRangeHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a virtual range
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS A virtual range of that name is already in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateVirtualRange(
    ViSession CollectionHandle, ViConstString Name, ViSession* VirtualRangeHandle);

/**
 * @brief Removes a virtual range from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle   A virtual range collection handle, from
 *                                ZavConfig_GetVirtualNameVirtualRangeCollection().
 * @param[in]  VirtualRangeHandle A virtual range handle to the item; it is released on success.
 *                                Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or VirtualRangeHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that virtual range.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyVirtualRange(
    ViSession CollectionHandle, ViSession VirtualRangeHandle);

/* --- data component collections ----------------------------------------------------------- */

/**
 * @brief Counts the data components of a collection.
 * @param[in]  CollectionHandle A data component collection handle, from
 *                              ZavConfig_GetConfigComponentDataComponentCollection() or
 *                              ZavConfig_GetStructureDataComponentCollection().
 * @param[out] Count            Receives the number of data components.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   Count is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a data component
 *                                        collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentCount(ViSession CollectionHandle,
                                                                      ViInt32* Count);

/**
 * @brief Gets the data component at a position of a collection.
 * @param[in]  CollectionHandle    A data component collection handle, from
 *                                 ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                 ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  Index               1-based position, in the order the data components were added.
 * @param[out] DataComponentHandle Receives a new data component handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   DataComponentHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a data component
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      Index is below 1 or above the count.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByIndex(
    ViSession CollectionHandle, ViInt32 Index, ViSession* DataComponentHandle);

/**
 * @brief Gets the data component of a given name from a collection.
 * @param[in]  CollectionHandle    A data component collection handle, from
 *                                 ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                 ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  Name                Name to find; the match is exact and case-sensitive. NULL is
 *                                 taken as "".
 * @param[out] DataComponentHandle Receives a new data component handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   DataComponentHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle is not a live handle of a data component
 *                                        collection.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      No data component of that name is in the collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentItemByName(
    ViSession CollectionHandle, ViConstString Name, ViSession* DataComponentHandle);

/**
 * @brief Removes a data component from its collection, destroys it and releases the handle passed.
 * @param[in]  CollectionHandle    A data component collection handle, from
 *                                 ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                 ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  DataComponentHandle A data component handle to the item; it is released on success.
 *                                 Other handles to the item may then only be disposed.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE CollectionHandle or DataComponentHandle is not a live
 *                                        handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_FOUND      The collection does not hold that data component.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE  The component is the last member of a structure, which
 *                                        must keep one.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_DestroyDataComponent(
    ViSession CollectionHandle, ViSession DataComponentHandle);

/** @} */

/**
 * @name Item properties
 *
 * Each function accepts only the property IDs listed for it; any other ID
 * fails with ZAVCONFIG_ERROR_INVALID_PROPERTY_ID. The handle is checked before the ID.
 * Booleans are read back as 1 or 0; any non-zero value sets true.
 * @{
 */

/**
 * @brief Reads a string property of a logical name.
 * @param[in]  LogicalNameHandle A logical name handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_LOGICAL_NAME_NAME and
 *                               ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION.
 * @param[in]  BufferSize        Size of Value in bytes, NUL included. 0 asks for the size needed; a
 *                               negative size copies the whole value unchecked (the caller vouches
 *                               that it fits).
 * @param[out] Value             Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                               NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      LogicalNameHandle is not a live logical name handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNamePropertyViString(
    ViSession LogicalNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a logical name.
 * @param[in]  LogicalNameHandle A logical name handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_LOGICAL_NAME_NAME and
 *                               ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION.
 * @param[in]  Value             The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      LogicalNameHandle is not a live logical name handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetLogicalNamePropertyViString(
    ViSession LogicalNameHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads a string property of a session or driver session.
 * @param[in]  SessionHandle A session or driver session handle.
 * @param[in]  PropertyID    One of ZAVCONFIG_VAL_SESSION_NAME, ZAVCONFIG_VAL_SESSION_DESCRIPTION
 *                           and ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME.
 * @param[in]  BufferSize    Size of Value in bytes, NUL included. 0 asks for the size needed; a
 *                           negative size copies the whole value unchecked (the caller vouches that
 *                           it fits).
 * @param[out] Value         Receives the value, cut to BufferSize - 1 bytes and a NUL; may be NULL
 *                           when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      SessionHandle is not a live session or driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionPropertyViString(
    ViSession SessionHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets the name or description of a session or driver session.
 *
 * The software module name follows ZavConfig_SetSessionSoftwareModuleReference().
 * @param[in]  SessionHandle A session or driver session handle.
 * @param[in]  PropertyID    One of ZAVCONFIG_VAL_SESSION_NAME and
 *                           ZAVCONFIG_VAL_SESSION_DESCRIPTION.
 * @param[in]  Value         The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      SessionHandle is not a live session or driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionPropertyViString(
    ViSession SessionHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads a string property of a driver session.
 * @param[in]  DriverSessionHandle A driver session handle (a session handle is refused).
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_SESSION_NAME,
 *                                 ZAVCONFIG_VAL_SESSION_DESCRIPTION,
 *                                 ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME and
 *                                 ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP.
 * @param[in]  BufferSize          Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                 a negative size copies the whole value unchecked (the caller
 *                                 vouches that it fits).
 * @param[out] Value               Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                 NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DriverSessionHandle is not a live driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionPropertyViString(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a driver session.
 * @param[in]  DriverSessionHandle A driver session handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_SESSION_NAME,
 *                                 ZAVCONFIG_VAL_SESSION_DESCRIPTION and
 *                                 ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP.
 * @param[in]  Value               The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DriverSessionHandle is not a live driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViString(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads an option of a driver session.
 * @param[in]  DriverSessionHandle A driver session handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, _INTERCHANGE_CHECK,
 *                                 _QUERY_INSTR_STATUS, _RANGE_CHECK, _RECORD_COERCIONS and
 *                                 _SIMULATE (4 to 9).
 * @param[out] Value               Receives the value, 1 for true and 0 for false.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DriverSessionHandle is not a live driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionPropertyViBoolean(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViBoolean* Value);

/**
 * @brief Sets an option of a driver session.
 * @param[in]  DriverSessionHandle A driver session handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, _INTERCHANGE_CHECK,
 *                                 _QUERY_INSTR_STATUS, _RANGE_CHECK, _RECORD_COERCIONS and
 *                                 _SIMULATE (4 to 9).
 * @param[in]  Value               The new value; any value but 0 is true.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DriverSessionHandle is not a live driver session
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViBoolean(
    ViSession DriverSessionHandle, ViAttr PropertyID, ViBoolean Value);

/**
 * @brief Reads a string property of a hardware asset.
 * @param[in]  HardwareAssetHandle A hardware asset handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_HARDWARE_ASSET_NAME, _DESCRIPTION and
 *                                 _IO_RESOURCE_DESCRIPTOR.
 * @param[in]  BufferSize          Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                 a negative size copies the whole value unchecked (the caller
 *                                 vouches that it fits).
 * @param[out] Value               Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                 NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      HardwareAssetHandle is not a live hardware asset
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetPropertyViString(
    ViSession HardwareAssetHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a hardware asset.
 * @param[in]  HardwareAssetHandle A hardware asset handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_HARDWARE_ASSET_NAME, _DESCRIPTION and
 *                                 _IO_RESOURCE_DESCRIPTOR.
 * @param[in]  Value               The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      HardwareAssetHandle is not a live hardware asset
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetHardwareAssetPropertyViString(
    ViSession HardwareAssetHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads a string property of a software module.
 *
 * ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH and ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH
 * read the same field.
 * @param[in]  SoftwareModuleHandle A software module handle.
 * @param[in]  PropertyID           One of the ZAVCONFIG_VAL_SOFTWARE_MODULE_* IDs 1 to 9.
 * @param[in]  BufferSize           Size of Value in bytes, NUL included. 0 asks for the size
 *                                  needed; a negative size copies the whole value unchecked (the
 *                                  caller vouches that it fits).
 * @param[out] Value                Receives the value, cut to BufferSize - 1 bytes and a NUL; may
 *                                  be NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      SoftwareModuleHandle is not a live software module
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePropertyViString(
    ViSession SoftwareModuleHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a software module.
 *
 * ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH and ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH
 * set the same field.
 * @param[in]  SoftwareModuleHandle A software module handle.
 * @param[in]  PropertyID           One of the ZAVCONFIG_VAL_SOFTWARE_MODULE_* IDs 1 to 9.
 * @param[in]  Value                The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      SoftwareModuleHandle is not a live software module
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSoftwareModulePropertyViString(
    ViSession SoftwareModuleHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the name or type of a published API.
 * @param[in]  PublishedAPIHandle A published API handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PUBLISHED_API_NAME and
 *                                ZAVCONFIG_VAL_PUBLISHED_API_TYPE.
 * @param[in]  BufferSize         Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                a negative size copies the whole value unchecked (the caller
 *                                vouches that it fits).
 * @param[out] Value              Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PublishedAPIHandle is not a live published API
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViString(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets the name or type of a published API.
 *
 * The software modules' lists that hold the API follow the new key.
 * @param[in]  PublishedAPIHandle A published API handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PUBLISHED_API_NAME and
 *                                ZAVCONFIG_VAL_PUBLISHED_API_TYPE.
 * @param[in]  Value              The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PublishedAPIHandle is not a live published API
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new value is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The changed key (name, type and versions) is already
 *                                             used in the API's collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViString(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the major or minor version of a published API.
 * @param[in]  PublishedAPIHandle A published API handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION and
 *                                ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION.
 * @param[out] Value              Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PublishedAPIHandle is not a live published API
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViInt32(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32* Value);

/**
 * @brief Sets the major or minor version of a published API.
 * @param[in]  PublishedAPIHandle A published API handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION and
 *                                ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION.
 * @param[in]  Value              The new value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PublishedAPIHandle is not a live published API
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The changed key (name, type and versions) is already
 *                                             used in the API's collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViInt32(
    ViSession PublishedAPIHandle, ViAttr PropertyID, ViInt32 Value);

/**
 * @brief Reads a string property of a physical name.
 * @param[in]  PhysicalNameHandle A physical name handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PHYSICAL_NAME_NAME and
 *                                ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME.
 * @param[in]  BufferSize         Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                a negative size copies the whole value unchecked (the caller
 *                                vouches that it fits).
 * @param[out] Value              Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalNameHandle is not a live physical name
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePropertyViString(
    ViSession PhysicalNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a physical name.
 * @param[in]  PhysicalNameHandle A physical name handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_PHYSICAL_NAME_NAME and
 *                                ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME.
 * @param[in]  Value              The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalNameHandle is not a live physical name
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty or uses a character other than
 *                                             'a'-'z', 'A'-'Z', '0'-'9', '!' and '_', or the new RC
 *                                             name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalNamePropertyViString(
    ViSession PhysicalNameHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the name of a physical range.
 * @param[in]  PhysicalRangeHandle A physical range handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME.
 * @param[in]  BufferSize          Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                 a negative size copies the whole value unchecked (the caller
 *                                 vouches that it fits).
 * @param[out] Value               Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                 NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalRangeHandle is not a live physical range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViString(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets the name of a physical range.
 * @param[in]  PhysicalRangeHandle A physical range handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME.
 * @param[in]  Value               The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalRangeHandle is not a live physical range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViString(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the lower or upper bound of a physical range.
 * @param[in]  PhysicalRangeHandle A physical range handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN and
 *                                 ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX.
 * @param[out] Value               Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalRangeHandle is not a live physical range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViInt32(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32* Value);

/**
 * @brief Sets the lower or upper bound of a physical range.
 *
 * The bounds are not checked against each other.
 * @param[in]  PhysicalRangeHandle A physical range handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN and
 *                                 ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX.
 * @param[in]  Value               The new value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      PhysicalRangeHandle is not a live physical range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViInt32(
    ViSession PhysicalRangeHandle, ViAttr PropertyID, ViInt32 Value);

/**
 * @brief Reads a string property of a virtual name.
 * @param[in]  VirtualNameHandle A virtual name handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_VIRTUAL_NAME_NAME and
 *                               ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO.
 * @param[in]  BufferSize        Size of Value in bytes, NUL included. 0 asks for the size needed; a
 *                               negative size copies the whole value unchecked (the caller vouches
 *                               that it fits).
 * @param[out] Value             Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                               NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualNameHandle is not a live virtual name handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNamePropertyViString(
    ViSession VirtualNameHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a virtual name.
 * @param[in]  VirtualNameHandle A virtual name handle.
 * @param[in]  PropertyID        One of ZAVCONFIG_VAL_VIRTUAL_NAME_NAME and
 *                               ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO.
 * @param[in]  Value             The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualNameHandle is not a live virtual name handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty or uses a character other than
 *                                             'a'-'z', 'A'-'Z', '0'-'9', '!' and '_', or the map-to
 *                                             name is empty while the virtual name has no ranges.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualNamePropertyViString(
    ViSession VirtualNameHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads the name of a virtual range.
 * @param[in]  VirtualRangeHandle A virtual range handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME.
 * @param[in]  BufferSize         Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                a negative size copies the whole value unchecked (the caller
 *                                vouches that it fits).
 * @param[out] Value              Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualRangeHandle is not a live virtual range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViString(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets the name of a virtual range.
 * @param[in]  VirtualRangeHandle A virtual range handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME.
 * @param[in]  Value              The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualRangeHandle is not a live virtual range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViString(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Reads a bound or the starting physical index of a virtual range.
 * @param[in]  VirtualRangeHandle A virtual range handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN, _MAX and
 *                                _STARTING_PHYSICAL_INDEX.
 * @param[out] Value              Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualRangeHandle is not a live virtual range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViInt32(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32* Value);

/**
 * @brief Sets a bound or the starting physical index of a virtual range.
 * @param[in]  VirtualRangeHandle A virtual range handle.
 * @param[in]  PropertyID         One of ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN, _MAX and
 *                                _STARTING_PHYSICAL_INDEX.
 * @param[in]  Value              The new value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      VirtualRangeHandle is not a live virtual range
 *                                             handle.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViInt32(
    ViSession VirtualRangeHandle, ViAttr PropertyID, ViInt32 Value);

/** @} */

/**
 * @name Data components
 *
 * Typed settings of sessions, driver sessions, hardware assets, software
 * modules and structures. Property functions that need a particular kind of component
 * (VALUE, UNITS) fail with ZAVCONFIG_ERROR_INVALID_HANDLE on a component of another kind.
 * @{
 */

/**
 * @brief Gets the data component collection of a hardware asset, session, driver session or
 *        software module.
 *
 * A session handle and a driver session handle to the same driver session reach the same
 * collection.
 * @param[in]  ConfigComponentHandle A hardware asset, session, driver session or software module
 *                                   handle.
 * @param[out] CollectionHandle      Receives a new data component collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ConfigComponentHandle is not a live handle of one of those
 *                                        four kinds.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigComponentDataComponentCollection(
    ViSession ConfigComponentHandle, ViSession* CollectionHandle);

/**
 * @brief Gets the member collection of a structure component.
 *
 * A structure always keeps at least one member.
 * @param[in]  DataComponentHandle A handle to a structure component.
 * @param[out] CollectionHandle    Receives a new data component collection handle.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   CollectionHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE DataComponentHandle is not a live data component handle,
 *                                        or the component is not a structure.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetStructureDataComponentCollection(
    ViSession DataComponentHandle, ViSession* CollectionHandle);

/**
 * @brief Creates a boolean, integer, real or string component in a collection.
 *
 * A new component has the default value of its kind. A failed create leaves nothing behind.
 * @param[in]  CollectionHandle    A data component collection handle, from
 *                                 ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                 ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  DataComponentType   ZAVCONFIG_DATA_COMPONENT_BOOLEAN, _INTEGER, _REAL or _STRING.
 * @param[in]  Name                Name of the new component, unique in the collection. NULL is
 *                                 taken as "".
 * @param[out] DataComponentHandle Receives a handle to the new component.
 * @retval VI_SUCCESS                             Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER           DataComponentHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT DataComponentType is not one of the four kinds.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE          Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE         CollectionHandle is not a live handle of a data
 *                                                component collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS         A component of that name is already in the
 *                                                collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateDataComponent(
    ViSession CollectionHandle, ViInt32 DataComponentType, ViConstString Name,
    ViSession* DataComponentHandle);

/**
 * @brief Creates a structure component together with its first member.
 *
 * A failed create leaves nothing behind.
 * @param[in]  CollectionHandle     A data component collection handle, from
 *                                  ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                  ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  Name                 Name of the structure, unique in the collection. NULL is taken
 *                                  as "".
 * @param[in]  NewDataComponentType Kind of the first member: ZAVCONFIG_DATA_COMPONENT_BOOLEAN,
 *                                  _INTEGER, _REAL or _STRING.
 * @param[in]  NewDataComponentName Name of the first member. NULL is taken as "".
 * @param[out] DataComponentHandle  Receives a handle to the structure; reach the member through
 *                                  ZavConfig_GetStructureDataComponentCollection().
 * @retval VI_SUCCESS                             Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER           DataComponentHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE          Name or NewDataComponentName is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT NewDataComponentType is not one of the four kinds.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE         CollectionHandle is not a live handle of a data
 *                                                component collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS         A component of that name is already in the
 *                                                collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateStructure(
    ViSession CollectionHandle, ViConstString Name, ViInt32 NewDataComponentType,
    ViConstString NewDataComponentName, ViSession* DataComponentHandle);

/**
 * @brief Creates a component that refers to a published API.
 *
 * A published API that a component refers to cannot be destroyed. A failed create leaves nothing
 * behind.
 * @param[in]  CollectionHandle    A data component collection handle, from
 *                                 ZavConfig_GetConfigComponentDataComponentCollection() or
 *                                 ZavConfig_GetStructureDataComponentCollection().
 * @param[in]  Name                Name of the new component, unique in the collection. NULL is
 *                                 taken as "".
 * @param[in]  PublishedAPIHandle  A published API of the store's global collection; 0 is refused.
 * @param[out] DataComponentHandle Receives a handle to the new component.
 * @retval VI_SUCCESS                               Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER             DataComponentHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE            Name is empty.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE           PublishedAPIHandle or CollectionHandle is not a
 *                                                  live handle of the right kind.
 * @retval ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION The published API is in no collection.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS           A component of that name is already in the
 *                                                  collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateAPIReference(
    ViSession CollectionHandle, ViConstString Name, ViSession PublishedAPIHandle,
    ViSession* DataComponentHandle);

/**
 * @brief Reads the read-only flag of any component or the value of a boolean component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY (any kind) and
 *                                 ZAVCONFIG_VAL_DATA_COMPONENT_VALUE (boolean components).
 * @param[out] Value               Receives the value, 1 for true and 0 for false.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a boolean component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean* Value);

/**
 * @brief Reads the help context ID of any component or the value of an integer component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID (any kind)
 *                                 and ZAVCONFIG_VAL_DATA_COMPONENT_VALUE (integer components).
 * @param[out] Value               Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a integer component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32* Value);

/**
 * @brief Reads the value of a real component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_VALUE.
 * @param[out] Value               Receives the value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a real component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64* Value);

/**
 * @brief Sets the read-only flag of any component or the value of a boolean component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY (any kind) and
 *                                 ZAVCONFIG_VAL_DATA_COMPONENT_VALUE (boolean components).
 * @param[in]  Value               The new value; any value but 0 is true.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a boolean component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean Value);

/**
 * @brief Sets the help context ID of any component or the value of an integer component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID (any kind)
 *                                 and ZAVCONFIG_VAL_DATA_COMPONENT_VALUE (integer components).
 * @param[in]  Value               The new value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a integer component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 Value);

/**
 * @brief Sets the value of a real component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_VALUE.
 * @param[in]  Value               The new value.
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or PropertyID is
 *                                             ZAVCONFIG_VAL_DATA_COMPONENT_VALUE and the component
 *                                             is not a real component.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64 Value);

/**
 * @brief Reads a string property of a data component.
 *
 * TYPE reads "Boolean", "Integer", "Real", "String", "Structure" or "APIReference". VALUE of an API
 * reference component is its own value text, not the published API.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_NAME, _DESCRIPTION,
 *                                 _HELP_FILE_PATH, _SOFTWARE_MODULE_KEY, _TYPE and _USED_IN_SESSION
 *                                 (any kind); _VALUE (string and API reference components); _UNITS
 *                                 (real and integer components).
 * @param[in]  BufferSize          Size of Value in bytes, NUL included. 0 asks for the size needed;
 *                                 a negative size copies the whole value unchecked (the caller
 *                                 vouches that it fits).
 * @param[out] Value               Receives the value, cut to BufferSize - 1 bytes and a NUL; may be
 *                                 NULL when BufferSize is 0.
 * @return 0 when the whole value was copied; the size needed (length + 1) when BufferSize is 0 or
 *         the value was cut; a negative status on failure:
 * @retval ZAVCONFIG_ERROR_NULL_POINTER        Value is NULL while BufferSize is above 0.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or the component is of a kind PropertyID does
 *                                             not apply to.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]);

/**
 * @brief Sets a string property of a data component.
 * @param[in]  DataComponentHandle A data component handle.
 * @param[in]  PropertyID          One of ZAVCONFIG_VAL_DATA_COMPONENT_NAME, _DESCRIPTION,
 *                                 _HELP_FILE_PATH, _SOFTWARE_MODULE_KEY and _USED_IN_SESSION (any
 *                                 kind); _VALUE (string and API reference components); _UNITS (real
 *                                 and integer components); ZAVCONFIG_VAL_DATA_COMPONENT_TYPE is
 *                                 read-only.
 * @param[in]  Value               The new value. NULL is taken as "".
 * @retval VI_SUCCESS                          Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE      DataComponentHandle is not a live data component
 *                                             handle, or the component is of a kind PropertyID does
 *                                             not apply to.
 * @retval ZAVCONFIG_ERROR_INVALID_PROPERTY_ID PropertyID is not one listed above.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE       The new name is empty, or the used-in-session value
 *                                             is not "None", "Optional" or "Required" (any letter
 *                                             case), or not "None" in a hardware asset's
 *                                             collection, or "None" for an API reference.
 * @retval ZAVCONFIG_ERROR_ALREADY_EXISTS      The new name is already used in the item's
 *                                             collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViConstString Value);

/**
 * @brief Gets the published API an API reference component refers to.
 * @param[in]  ApiReferenceHandle A handle to an API reference component.
 * @param[out] PublishedAPIHandle Receives a new published API handle; 0 when the component refers
 *                                to none.
 * @retval VI_SUCCESS                     Success.
 * @retval ZAVCONFIG_ERROR_NULL_POINTER   PublishedAPIHandle is NULL.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE ApiReferenceHandle is not a live data component handle, or
 *                                        the component is not an API reference.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession* PublishedAPIHandle);

/**
 * @brief Points an API reference component at another published API.
 *
 * A failed call changes nothing.
 * @param[in]  ApiReferenceHandle A handle to an API reference component.
 * @param[in]  PublishedAPIHandle A published API of the store's global collection; 0 only for a
 *                                component in no collection.
 * @retval VI_SUCCESS                               Success.
 * @retval ZAVCONFIG_ERROR_INVALID_HANDLE           ApiReferenceHandle is not a live handle of an
 *                                                  API reference component, or PublishedAPIHandle
 *                                                  is not a live published API handle.
 * @retval ZAVCONFIG_ERROR_INVALID_VALUE            PublishedAPIHandle is 0 and the component is in
 *                                                  a collection.
 * @retval ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION The published API is in no collection.
 */
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession PublishedAPIHandle);

/** @} */

#ifdef __cplusplus
}
#endif

#endif /* ZAVCONFIG_H */
