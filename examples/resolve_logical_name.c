// SPDX-License-Identifier: MIT
/* What a driver does when a test program opens a logical name: read the master store named by
 * the registry, resolve the name to its driver session, and read what the driver needs.
 *
 *   resolve_logical_name [logical name] [store path]
 *
 * Without a store path the master store of the registry is read (see ZAV_REGISTRY). */
#include <stdio.h>

#include "zavconfig.h"

static int report(ViStatus status, const char* what) {
  ViStatus code = 0;
  ViChar text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
  if (status >= 0) return 0;
  ZavConfig_GetError(&code, text);
  fprintf(stderr, "%s failed (0x%08X): %s\n", what, (unsigned)status, text);
  return 1;
}

#define TRY(call)                               \
  do {                                          \
    if (report((call), #call)) goto failed;     \
  } while (0)

int main(int argc, char** argv) {
  const char* logicalName = argc > 1 ? argv[1] : "SampleDMM";
  ViSession store = 0, session = 0, module = 0, asset = 0, settings = 0, setting = 0;
  ViChar location[1024], text[1024], name[256], type[64];
  ViBoolean simulate = VI_FALSE, rangeCheck = VI_FALSE;
  ViInt32 count = 0, i;
  int status = 1;

  TRY(ZavConfig_Initialize(&store));
  if (argc > 2) {
    snprintf(location, sizeof location, "%s", argv[2]);
  } else {
    TRY(ZavConfig_GetConfigStorePropertyViString(store, ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION,
                                                 (ViInt32)sizeof location, location));
  }
  TRY(ZavConfig_Deserialize(store, location));
  printf("store      %s\n", location);

  TRY(ZavConfig_GetDriverSession(store, logicalName, &session));
  TRY(ZavConfig_GetDriverSessionPropertyViString(session, ZAVCONFIG_VAL_SESSION_NAME,
                                                 (ViInt32)sizeof text, text));
  printf("%-10s -> driver session %s\n", logicalName, text);
  TRY(ZavConfig_GetDriverSessionPropertyViBoolean(session, ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE,
                                                  &simulate));
  TRY(ZavConfig_GetDriverSessionPropertyViBoolean(session, ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK,
                                                  &rangeCheck));
  TRY(ZavConfig_GetDriverSessionPropertyViString(session, ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP,
                                                 (ViInt32)sizeof text, text));
  printf("simulate   %s, range check %s, driver setup \"%s\"\n", simulate ? "on" : "off",
         rangeCheck ? "on" : "off", text);

  TRY(ZavConfig_GetSessionSoftwareModuleReference(session, &module));
  if (module) {
    TRY(ZavConfig_GetSoftwareModulePropertyViString(
        module, ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH, (ViInt32)sizeof text, text));
    printf("driver     %s\n", text);
  }
  TRY(ZavConfig_GetSessionHardwareAssetReference(session, &asset));
  if (asset) {
    TRY(ZavConfig_GetHardwareAssetPropertyViString(
        asset, ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR, (ViInt32)sizeof text, text));
    printf("resource   %s\n", text);
  }

  TRY(ZavConfig_GetConfigComponentDataComponentCollection(session, &settings));
  TRY(ZavConfig_GetDataComponentCount(settings, &count));
  for (i = 1; i <= count; ++i) {
    TRY(ZavConfig_GetDataComponentItemByIndex(settings, i, &setting));
    TRY(ZavConfig_GetDataComponentPropertyViString(setting, ZAVCONFIG_VAL_DATA_COMPONENT_NAME,
                                                   (ViInt32)sizeof name, name));
    TRY(ZavConfig_GetDataComponentPropertyViString(setting, ZAVCONFIG_VAL_DATA_COMPONENT_TYPE,
                                                   (ViInt32)sizeof type, type));
    printf("setting    %s (%s)\n", name, type);
    TRY(ZavConfig_DisposeHandle(setting));
  }
  status = 0;

failed:
  /* Handles are released whatever happened; closing the store destroys its items. */
  if (settings) ZavConfig_DisposeHandle(settings);
  if (asset) ZavConfig_DisposeHandle(asset);
  if (module) ZavConfig_DisposeHandle(module);
  if (session) ZavConfig_DisposeHandle(session);
  if (store) ZavConfig_Close(store);
  return status;
}
