// SPDX-License-Identifier: MIT
/* A configuration utility: builds a small store through the C API and writes it to a file.
 *
 *   create_store <path>
 *
 * The store holds a published API, a driver (software module) with physical names, ranges and
 * settings, an instrument (hardware asset), a driver session that uses both, with virtual names,
 * and the logical names test programs open. */
#include <stdio.h>

#include "zavconfig.h"

static int check(ViStatus status, const char* what) {
  if (status < 0) {
    ViStatus code = 0;
    ViChar text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
    ZavConfig_GetError(&code, text);
    fprintf(stderr, "%s failed (0x%08X): %s\n", what, (unsigned)status, text);
    return 0;
  }
  return 1;
}

#define CHECK(call) \
  do {              \
    if (!check((call), #call)) return 1; \
  } while (0)

int main(int argc, char** argv) {
  ViSession store, apis, api, modules, module, physicals, channel, ranges, range, settings, item;
  ViSession structure, assets, asset, sessions, session, virtuals, virtualName, names, name;
  if (argc != 2) {
    fprintf(stderr, "usage: %s <store path>\n", argv[0]);
    return 2;
  }

  CHECK(ZavConfig_Initialize(&store));
  CHECK(ZavConfig_SetConfigStorePropertyViString(store, ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION,
                                                 "Bench 4: one digital multimeter"));

  CHECK(ZavConfig_GetConfigStorePublishedAPICollection(store, &apis));
  CHECK(ZavConfig_CreatePublishedAPI(apis, "Dmm", "C", &api));
  CHECK(ZavConfig_SetPublishedAPIPropertyViInt32(api, ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION, 3));

  /* The driver: where it lives, what it offers, the settings sessions take over. */
  CHECK(ZavConfig_GetConfigStoreSoftwareModuleCollection(store, &modules));
  CHECK(ZavConfig_CreateSoftwareModule(modules, "acme34", &module));
  CHECK(ZavConfig_SetSoftwareModulePropertyViString(module, ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH,
                                                    "/usr/lib/zav/drivers/libacme34.so"));
  CHECK(ZavConfig_SetSoftwareModulePropertyViString(module, ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX,
                                                    "acme34"));
  CHECK(ZavConfig_SetSoftwareModulePropertyViString(
      module, ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS, "A3401,A3402"));
  CHECK(ZavConfig_GetSoftwareModulePublishedAPICollection(module, &item));
  CHECK(ZavConfig_AddPublishedAPIReference(item, api));
  CHECK(ZavConfig_GetSoftwareModulePhysicalNameCollection(module, &physicals));
  CHECK(ZavConfig_CreatePhysicalName(physicals, "Channel", "Channel", &channel));
  CHECK(ZavConfig_GetPhysicalNamePhysicalRangeCollection(channel, &ranges));
  CHECK(ZavConfig_CreatePhysicalRange(ranges, "Inputs", &range));
  CHECK(ZavConfig_SetPhysicalRangePropertyViInt32(range, ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN, 1));
  CHECK(ZavConfig_SetPhysicalRangePropertyViInt32(range, ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX, 4));
  CHECK(ZavConfig_GetConfigComponentDataComponentCollection(module, &settings));
  CHECK(ZavConfig_CreateDataComponent(settings, ZAVCONFIG_DATA_COMPONENT_INTEGER, "Timeout", &item));
  CHECK(ZavConfig_SetDataComponentPropertyViInt32(item, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, 2000));
  CHECK(ZavConfig_SetDataComponentPropertyViString(item, ZAVCONFIG_VAL_DATA_COMPONENT_UNITS, "ms"));
  CHECK(ZavConfig_SetDataComponentPropertyViString(item, ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION,
                                                   "Required"));
  CHECK(ZavConfig_CreateStructure(settings, "Configurable Initial Settings",
                                  ZAVCONFIG_DATA_COMPONENT_REAL, "Aperture", &structure));
  CHECK(ZavConfig_GetStructureDataComponentCollection(structure, &item));
  CHECK(ZavConfig_GetDataComponentItemByName(item, "Aperture", &item));
  CHECK(ZavConfig_SetDataComponentPropertyViReal64(item, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, 0.02));
  CHECK(ZavConfig_SetDataComponentPropertyViString(item, ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION,
                                                   "Required"));

  /* The instrument. */
  CHECK(ZavConfig_GetConfigStoreHardwareAssetCollection(store, &assets));
  CHECK(ZavConfig_CreateHardwareAsset(assets, "DMM_Rack4", &asset));
  CHECK(ZavConfig_SetHardwareAssetPropertyViString(
      asset, ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR, "TCPIP0::10.0.4.21::INSTR"));

  /* The driver session: the driver with the instrument, and the names the tests use. */
  CHECK(ZavConfig_GetConfigStoreDriverSessionCollection(store, &sessions));
  CHECK(ZavConfig_CreateDriverSession(sessions, "DMM_Rack4_acme34", &session));
  CHECK(ZavConfig_SetSessionSoftwareModuleReference(session, module));
  CHECK(ZavConfig_SetSessionHardwareAssetReference(session, asset));
  CHECK(ZavConfig_SetDriverSessionPropertyViBoolean(session, ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK,
                                                    VI_TRUE));
  CHECK(ZavConfig_SetDriverSessionPropertyViString(session, ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP,
                                                   "Model=A3401"));
  CHECK(ZavConfig_GetSessionVirtualNameCollection(session, &virtuals));
  CHECK(ZavConfig_CreateVirtualName(virtuals, "Probe", "Channel1", &virtualName));

  CHECK(ZavConfig_GetConfigStoreLogicalNameCollection(store, &names));
  CHECK(ZavConfig_CreateLogicalName(names, "SampleDMM", &name));
  CHECK(ZavConfig_SetLogicalNameSessionReference(name, session));

  CHECK(ZavConfig_Serialize(store, argv[1]));
  printf("wrote %s\n", argv[1]);
  /* Closing the store destroys its items; the item handles are then only disposed. */
  CHECK(ZavConfig_Close(store));
  return 0;
}
