// SPDX-License-Identifier: MIT
// The public headers as a C99 program sees them: this unit is built with -std=c99
// -pedantic-errors. Members of every function family are assigned to pointers of the family's
// shape, so a prototype whose parameters drift fails to compile here; that every declared
// function is exported is the business of check_exports.sh. zavcshared.h comes first to show
// that it stands on its own.
#include "zavcshared.h"
#include "zavconfig.h"
#include "zavtypes.h"

#define ZAV_STATIC_CHECK(name, cond) typedef char zav_check_##name[(cond) ? 1 : -1]
ZAV_STATIC_CHECK(signed32, sizeof(ViStatus) == 4 && (ViStatus)-1 < 0 && (ViInt32)-1 < 0);
ZAV_STATIC_CHECK(unsigned32, sizeof(ViSession) == 4 && (ViSession)-1 > 0 && (ViAttr)-1 > 0);
ZAV_STATIC_CHECK(others, sizeof(ViBoolean) == 2 && (ViBoolean)-1 > 0 && sizeof(ViReal64) == 8);

// External linkage: the tables need no use to be kept, and the link needs every function.
#define ZAV_SHAPE(table, params, ...) \
  ViStatus(ZAVCONFIG_FUNC* const zav_c99_##table[]) params = {__VA_ARGS__}
ZAV_SHAPE(count, (ViSession, ViInt32*), ZavConfig_GetSessionCount, ZavConfig_GetVirtualNameCount);
ZAV_SHAPE(by_index, (ViSession, ViInt32, ViSession*), ZavConfig_GetSessionItemByIndex);
ZAV_SHAPE(by_name, (ViSession, ViConstString, ViSession*), ZavConfig_GetSession, ZavConfig_CreateSession);
ZAV_SHAPE(two, (ViSession, ViConstString, ViConstString, ViSession*), ZavConfig_CreateVirtualName);
ZAV_SHAPE(pair, (ViSession, ViSession), ZavConfig_DestroySession, ZavConfig_AddPublishedAPIReference);
ZAV_SHAPE(handle_out, (ViSession, ViSession*), ZavConfig_GetLogicalNameSessionReference);
ZAV_SHAPE(get_string, (ViSession, ViAttr, ViInt32, ViChar[]), ZavConfig_GetSessionPropertyViString);
ZAV_SHAPE(set_string, (ViSession, ViAttr, ViConstString), ZavConfig_SetSessionPropertyViString);
ZAV_SHAPE(get_int, (ViSession, ViAttr, ViInt32*), ZavConfig_GetPublishedAPIPropertyViInt32);
ZAV_SHAPE(set_int, (ViSession, ViAttr, ViInt32), ZavConfig_SetPublishedAPIPropertyViInt32);
ZAV_SHAPE(get_bool, (ViSession, ViAttr, ViBoolean*), ZavConfig_GetDataComponentPropertyViBoolean);
ZAV_SHAPE(set_bool, (ViSession, ViAttr, ViBoolean), ZavConfig_SetDataComponentPropertyViBoolean);
ZAV_SHAPE(get_real, (ViSession, ViAttr, ViReal64*), ZavConfig_GetDataComponentPropertyViReal64);
ZAV_SHAPE(set_real, (ViSession, ViAttr, ViReal64), ZavConfig_SetDataComponentPropertyViReal64);
ZAV_SHAPE(handle, (ViSession), ZavConfig_Close, ZavConfig_DisposeHandle, ZavSession_ClearError);
ZAV_SHAPE(new_store, (ViSession*), ZavConfig_Initialize);
ZAV_SHAPE(get_error, (ViStatus*, ViChar[]), ZavConfig_GetError);
ZAV_SHAPE(clear_error, (void), ZavConfig_ClearError);
ZAV_SHAPE(store_io, (ViSession, ViConstString), ZavConfig_Serialize, ZavConfig_Deserialize);
ZAV_SHAPE(data, (ViSession, ViInt32, ViConstString, ViSession*), ZavConfig_CreateDataComponent);
ZAV_SHAPE(st, (ViSession, ViConstString, ViInt32, ViConstString, ViSession*), ZavConfig_CreateStructure);
ZAV_SHAPE(api_ref, (ViSession, ViConstString, ViSession, ViSession*), ZavConfig_CreateAPIReference);
ZAV_SHAPE(set_error, (ViSession, ViStatus, ViConstString), ZavSession_SetError);
ZAV_SHAPE(session_error, (ViSession, ViStatus*, ViInt32, ViChar[]), ZavSession_GetError);

int zav_header_c99_check(void) {
  ViChar description[ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
  return sizeof description == 256 && VI_TRUE == 1 && VI_FALSE == 0 &&
         ZAVCONFIG_ERROR_NULL_POINTER == -1074134952 && ZAVCONFIG_VAL_DATA_COMPONENT_UNITS == 10;
}
