/* The public headers as a C99 program sees them. This unit is built with -std=c99
 * -pedantic-errors, so a header that needs C++ or a compiler extension fails the build here.
 * Every exported function is also assigned to a pointer of the shape its family is documented
 * to have: a prototype whose parameters drift fails to compile, and one the libraries do not
 * export fails to link. zavcshared.h comes first to show that it stands on its own. */
#include "zavcshared.h"
#include "zavconfig.h"
#include "zavtypes.h"

#define ZAV_STATIC_CHECK(name, cond) typedef char zav_check_##name[(cond) ? 1 : -1]

ZAV_STATIC_CHECK(status_width, sizeof(ViStatus) == 4);
ZAV_STATIC_CHECK(int32_width, sizeof(ViInt32) == 4);
ZAV_STATIC_CHECK(uint32_width, sizeof(ViUInt32) == 4);
ZAV_STATIC_CHECK(session_width, sizeof(ViSession) == 4);
ZAV_STATIC_CHECK(attr_width, sizeof(ViAttr) == 4);
ZAV_STATIC_CHECK(boolean_width, sizeof(ViBoolean) == 2);
ZAV_STATIC_CHECK(real_width, sizeof(ViReal64) == 8);
ZAV_STATIC_CHECK(status_signed, (ViStatus)-1 < 0);
ZAV_STATIC_CHECK(int32_signed, (ViInt32)-1 < 0);
ZAV_STATIC_CHECK(session_unsigned, (ViSession)-1 > 0);
ZAV_STATIC_CHECK(attr_unsigned, (ViAttr)-1 > 0);
ZAV_STATIC_CHECK(boolean_unsigned, (ViBoolean)-1 > 0);
/* The status codes must be usable in constant expressions, and negative. */
ZAV_STATIC_CHECK(unrecoverable_negative, ZAVCONFIG_ERROR_UNRECOVERABLE < 0);
ZAV_STATIC_CHECK(mismatch_negative, ZAVCONFIG_ERROR_MASTER_REGISTRY_MISMATCH < 0);
ZAV_STATIC_CHECK(description_size, ZAVCONFIG_ERROR_DESCRIPTION_SIZE == 256);

typedef ViStatus(ZAVCONFIG_FUNC* tCount)(ViSession, ViInt32*);
typedef ViStatus(ZAVCONFIG_FUNC* tByIndex)(ViSession, ViInt32, ViSession*);
typedef ViStatus(ZAVCONFIG_FUNC* tByName)(ViSession, ViConstString, ViSession*);
typedef ViStatus(ZAVCONFIG_FUNC* tPair)(ViSession, ViSession);
typedef ViStatus(ZAVCONFIG_FUNC* tHandleOut)(ViSession, ViSession*);
typedef ViStatus(ZAVCONFIG_FUNC* tCreate2)(ViSession, ViConstString, ViConstString, ViSession*);
typedef ViStatus(ZAVCONFIG_FUNC* tGetString)(ViSession, ViAttr, ViInt32, ViChar[]);
typedef ViStatus(ZAVCONFIG_FUNC* tSetString)(ViSession, ViAttr, ViConstString);
typedef ViStatus(ZAVCONFIG_FUNC* tGetInt)(ViSession, ViAttr, ViInt32*);
typedef ViStatus(ZAVCONFIG_FUNC* tSetInt)(ViSession, ViAttr, ViInt32);
typedef ViStatus(ZAVCONFIG_FUNC* tGetBool)(ViSession, ViAttr, ViBoolean*);
typedef ViStatus(ZAVCONFIG_FUNC* tSetBool)(ViSession, ViAttr, ViBoolean);

static const tCount counts[] = {
    ZavConfig_GetLogicalNameCount,   ZavConfig_GetSessionCount,
    ZavConfig_GetDriverSessionCount, ZavConfig_GetHardwareAssetCount,
    ZavConfig_GetSoftwareModuleCount, ZavConfig_GetPublishedAPICount,
    ZavConfig_GetPhysicalNameCount,  ZavConfig_GetPhysicalRangeCount,
    ZavConfig_GetVirtualNameCount,   ZavConfig_GetVirtualRangeCount,
    ZavConfig_GetDataComponentCount};
static const tByIndex by_index[] = {
    ZavConfig_GetLogicalNameItemByIndex,    ZavConfig_GetSessionItemByIndex,
    ZavConfig_GetDriverSessionItemByIndex,  ZavConfig_GetHardwareAssetItemByIndex,
    ZavConfig_GetSoftwareModuleItemByIndex, ZavConfig_GetPublishedAPIItemByIndex,
    ZavConfig_GetPhysicalNameItemByIndex,   ZavConfig_GetPhysicalRangeItemByIndex,
    ZavConfig_GetVirtualNameItemByIndex,    ZavConfig_GetVirtualRangeItemByIndex,
    ZavConfig_GetDataComponentItemByIndex};
static const tByName by_name[] = {
    ZavConfig_GetLogicalNameItemByName,   ZavConfig_GetSessionItemByName,
    ZavConfig_GetDriverSessionItemByName, ZavConfig_GetHardwareAssetItemByName,
    ZavConfig_GetSoftwareModuleItemByName, ZavConfig_GetPhysicalNameItemByName,
    ZavConfig_GetVirtualNameItemByName,   ZavConfig_GetDataComponentItemByName,
    /* store-level look-ups and the one-string creators share the shape */
    ZavConfig_GetSession, ZavConfig_GetDriverSession, ZavConfig_CreateLogicalName,
    ZavConfig_CreateSession, ZavConfig_CreateDriverSession, ZavConfig_CreateHardwareAsset,
    ZavConfig_CreateSoftwareModule, ZavConfig_CreatePhysicalRange,
    ZavConfig_CreateVirtualRange};
static const tCreate2 create_two_strings[] = {
    ZavConfig_CreatePublishedAPI, ZavConfig_CreatePhysicalName, ZavConfig_CreateVirtualName};
static const tPair pairs[] = {
    ZavConfig_DestroyLogicalName,    ZavConfig_DestroySession,
    ZavConfig_DestroyDriverSession,  ZavConfig_DestroyHardwareAsset,
    ZavConfig_DestroySoftwareModule, ZavConfig_DestroyPublishedAPI,
    ZavConfig_DestroyPhysicalName,   ZavConfig_DestroyPhysicalRange,
    ZavConfig_DestroyVirtualName,    ZavConfig_DestroyVirtualRange,
    ZavConfig_DestroyDataComponent,  ZavConfig_SetLogicalNameSessionReference,
    ZavConfig_SetSessionHardwareAssetReference, ZavConfig_SetSessionSoftwareModuleReference,
    ZavConfig_AddPublishedAPIReference, ZavConfig_RemovePublishedAPIReference,
    ZavConfig_SetAPIReferencePublishedAPIReference};
static const tHandleOut handle_out[] = {
    ZavConfig_GetConfigStoreLogicalNameCollection,
    ZavConfig_GetConfigStoreSessionCollection,
    ZavConfig_GetConfigStoreDriverSessionCollection,
    ZavConfig_GetConfigStoreHardwareAssetCollection,
    ZavConfig_GetConfigStoreSoftwareModuleCollection,
    ZavConfig_GetConfigStorePublishedAPICollection,
    ZavConfig_GetSessionVirtualNameCollection,
    ZavConfig_GetSoftwareModulePhysicalNameCollection,
    ZavConfig_GetSoftwareModulePublishedAPICollection,
    ZavConfig_GetPhysicalNamePhysicalRangeCollection,
    ZavConfig_GetPhysicalNameChildPhysicalNameCollection,
    ZavConfig_GetVirtualNameVirtualRangeCollection,
    ZavConfig_GetLogicalNameSessionReference,
    ZavConfig_GetSessionHardwareAssetReference,
    ZavConfig_GetSessionSoftwareModuleReference,
    ZavConfig_GetConfigComponentDataComponentCollection,
    ZavConfig_GetStructureDataComponentCollection,
    ZavConfig_GetAPIReferencePublishedAPIReference};
static const tGetString get_strings[] = {
    ZavConfig_GetConfigStorePropertyViString,    ZavConfig_GetLogicalNamePropertyViString,
    ZavConfig_GetSessionPropertyViString,        ZavConfig_GetDriverSessionPropertyViString,
    ZavConfig_GetHardwareAssetPropertyViString,  ZavConfig_GetSoftwareModulePropertyViString,
    ZavConfig_GetPublishedAPIPropertyViString,   ZavConfig_GetPhysicalNamePropertyViString,
    ZavConfig_GetPhysicalRangePropertyViString,  ZavConfig_GetVirtualNamePropertyViString,
    ZavConfig_GetVirtualRangePropertyViString,   ZavConfig_GetDataComponentPropertyViString};
static const tSetString set_strings[] = {
    ZavConfig_SetConfigStorePropertyViString,    ZavConfig_SetLogicalNamePropertyViString,
    ZavConfig_SetSessionPropertyViString,        ZavConfig_SetDriverSessionPropertyViString,
    ZavConfig_SetHardwareAssetPropertyViString,  ZavConfig_SetSoftwareModulePropertyViString,
    ZavConfig_SetPublishedAPIPropertyViString,   ZavConfig_SetPhysicalNamePropertyViString,
    ZavConfig_SetPhysicalRangePropertyViString,  ZavConfig_SetVirtualNamePropertyViString,
    ZavConfig_SetVirtualRangePropertyViString,   ZavConfig_SetDataComponentPropertyViString};
static const tGetInt get_ints[] = {
    ZavConfig_GetConfigStorePropertyViInt32,   ZavConfig_GetPublishedAPIPropertyViInt32,
    ZavConfig_GetPhysicalRangePropertyViInt32, ZavConfig_GetVirtualRangePropertyViInt32,
    ZavConfig_GetDataComponentPropertyViInt32};
static const tSetInt set_ints[] = {
    ZavConfig_SetPublishedAPIPropertyViInt32, ZavConfig_SetPhysicalRangePropertyViInt32,
    ZavConfig_SetVirtualRangePropertyViInt32, ZavConfig_SetDataComponentPropertyViInt32};
static const tGetBool get_bools[] = {ZavConfig_GetDriverSessionPropertyViBoolean,
                                     ZavConfig_GetDataComponentPropertyViBoolean};
static const tSetBool set_bools[] = {ZavConfig_SetDriverSessionPropertyViBoolean,
                                     ZavConfig_SetDataComponentPropertyViBoolean};

/* The functions with a shape of their own. */
static ViStatus(ZAVCONFIG_FUNC* const initialize)(ViSession*) = ZavConfig_Initialize;
static ViStatus(ZAVCONFIG_FUNC* const close_store)(ViSession) = ZavConfig_Close;
static ViStatus(ZAVCONFIG_FUNC* const dispose)(ViSession) = ZavConfig_DisposeHandle;
static ViStatus(ZAVCONFIG_FUNC* const get_error)(ViStatus*, ViChar[]) = ZavConfig_GetError;
static ViStatus(ZAVCONFIG_FUNC* const clear_error)(void) = ZavConfig_ClearError;
static ViStatus(ZAVCONFIG_FUNC* const store_io[])(ViSession, ViConstString) = {
    ZavConfig_Serialize, ZavConfig_Deserialize};
static ViStatus(ZAVCONFIG_FUNC* const get_real)(ViSession, ViAttr, ViReal64*) =
    ZavConfig_GetDataComponentPropertyViReal64;
static ViStatus(ZAVCONFIG_FUNC* const set_real)(ViSession, ViAttr, ViReal64) =
    ZavConfig_SetDataComponentPropertyViReal64;
static ViStatus(ZAVCONFIG_FUNC* const create_component)(ViSession, ViInt32, ViConstString,
                                                        ViSession*) =
    ZavConfig_CreateDataComponent;
static ViStatus(ZAVCONFIG_FUNC* const create_structure)(ViSession, ViConstString, ViInt32,
                                                        ViConstString, ViSession*) =
    ZavConfig_CreateStructure;
static ViStatus(ZAVCONFIG_FUNC* const create_api_reference)(ViSession, ViConstString, ViSession,
                                                            ViSession*) =
    ZavConfig_CreateAPIReference;
static ViStatus(ZAVCONFIG_FUNC* const session_set_error)(ViSession, ViStatus, ViConstString) =
    ZavSession_SetError;
static ViStatus(ZAVCONFIG_FUNC* const session_get_error)(ViSession, ViStatus*, ViInt32,
                                                         ViChar[]) = ZavSession_GetError;
static ViStatus(ZAVCONFIG_FUNC* const session_clear_error)(ViSession) = ZavSession_ClearError;

#define ZAV_COUNT_OF(a) (sizeof(a) / sizeof((a)[0]))

/* The tables and the thirteen single pointers (ten of them ZavConfig_) hold every export once. */
ZAV_STATIC_CHECK(all_exports_listed,
                 ZAV_COUNT_OF(counts) + ZAV_COUNT_OF(by_index) + ZAV_COUNT_OF(by_name) +
                         ZAV_COUNT_OF(create_two_strings) + ZAV_COUNT_OF(pairs) +
                         ZAV_COUNT_OF(handle_out) + ZAV_COUNT_OF(get_strings) +
                         ZAV_COUNT_OF(set_strings) + ZAV_COUNT_OF(get_ints) +
                         ZAV_COUNT_OF(set_ints) + ZAV_COUNT_OF(get_bools) +
                         ZAV_COUNT_OF(set_bools) + ZAV_COUNT_OF(store_io) + 10 ==
                     126);

int zav_header_c99_check(void) {
  /* Resolved addresses: an export missing from a library would already have failed the link. */
  const int singles = initialize && close_store && dispose && get_error && clear_error &&
                      get_real && set_real && create_component && create_structure &&
                      create_api_reference && session_set_error && session_get_error &&
                      session_clear_error && counts[0] && by_index[0] && by_name[0] &&
                      create_two_strings[0] && pairs[0] && handle_out[0] && get_strings[0] &&
                      set_strings[0] && get_ints[0] && set_ints[0] && get_bools[0] &&
                      set_bools[0] && store_io[0];
  ViChar description[ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
  ViBoolean flag = VI_TRUE;
  ViAttr units = ZAVCONFIG_VAL_DATA_COMPONENT_UNITS;

  return singles && sizeof description == 256 && flag == 1 && VI_FALSE == 0 &&
         VI_SUCCESS == 0 && units == 10 &&
         ZAVCONFIG_ERROR_INVALID_HANDLE == (ViStatus)(-0x40000000 - 0x0005EDE0) &&
         ZAVCONFIG_ERROR_NULL_POINTER == -1074134952 &&
         ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION == 9 &&
         ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP == 10 && ZAVCONFIG_DATA_COMPONENT_STRING == 4;
}
