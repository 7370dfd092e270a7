// SPDX-License-Identifier: MIT
/* The C side of bench/python_bench.py, loaded into the same Python process with ctypes so both
 * sides run with the same library, heap and caches. Each function does in C what the Python
 * package does for the same task, the way a C program would (fixed buffers, one call per
 * value), and returns the CPU time (user + system) it took, read from the process clock around
 * the calls alone.
 *
 *   double zavbench_open_resolve(const char* store_path, const char* name)
 *     opens the store file, resolves name as Store.resolve does, closes the store;
 *     a negative result when a call failed.
 *   double zavbench_property_reads(const char* store_path, const char* name, int count,
 *                                  int kind)
 *     count reads of one property of the driver session name leads to: kind 0 a string (the
 *     driver setup), 1 a boolean (simulate); the store is opened before the clock starts. */
#include <string.h>
#include <time.h>

#include "zavconfig.h"

#define EXPORT __attribute__((visibility("default")))

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

/* Every value is read into this buffer and its first byte summed, so no read can be skipped. */
static ViChar text[1024];
static volatile unsigned sink;

#define TRY(call)          \
  do {                     \
    if ((call) < 0) ok = 0; \
  } while (0)

static int Settings(ViSession collection, int* okp) {
  int ok = *okp;
  ViInt32 count = 0;
  TRY(ZavConfig_GetDataComponentCount(collection, &count));
  for (ViInt32 i = 1; i <= count; ++i) {
    ViSession c = 0;
    TRY(ZavConfig_GetDataComponentItemByIndex(collection, i, &c));
    TRY(ZavConfig_GetDataComponentPropertyViString(c, ZAVCONFIG_VAL_DATA_COMPONENT_NAME,
                                                   sizeof text, text));
    sink += (unsigned char)text[0];
    TRY(ZavConfig_GetDataComponentPropertyViString(c, ZAVCONFIG_VAL_DATA_COMPONENT_TYPE,
                                                   sizeof text, text));
    if (strcmp(text, "Structure") == 0) {
      ViSession members = 0;
      TRY(ZavConfig_GetStructureDataComponentCollection(c, &members));
      Settings(members, &ok);
      ZavConfig_DisposeHandle(members);
    } else if (strcmp(text, "Integer") == 0) {
      ViInt32 v = 0;
      TRY(ZavConfig_GetDataComponentPropertyViInt32(c, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, &v));
      sink += (unsigned)v;
    } else if (strcmp(text, "Real") == 0) {
      ViReal64 v = 0;
      TRY(ZavConfig_GetDataComponentPropertyViReal64(c, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, &v));
      sink += (unsigned)v;
    } else if (strcmp(text, "Boolean") == 0) {
      ViBoolean v = 0;
      TRY(ZavConfig_GetDataComponentPropertyViBoolean(c, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
                                                      &v));
      sink += v;
    } else {
      TRY(ZavConfig_GetDataComponentPropertyViString(c, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
                                                     sizeof text, text));
      sink += (unsigned char)text[0];
    }
    ZavConfig_DisposeHandle(c);
  }
  *okp = ok;
  return ok;
}

EXPORT double zavbench_open_resolve(const char* path, const char* name) {
  int ok = 1;
  double start = Now();
  ViSession store = 0, session = 0, names = 0, logical = 0, module = 0, asset = 0, virtuals = 0,
            settings = 0;
  TRY(ZavConfig_Initialize(&store));
  TRY(ZavConfig_Deserialize(store, path));
  TRY(ZavConfig_GetDriverSession(store, name, &session));
  /* Whether the name is a logical name. */
  TRY(ZavConfig_GetConfigStoreLogicalNameCollection(store, &names));
  if (ZavConfig_GetLogicalNameItemByName(names, name, &logical) == 0)
    ZavConfig_DisposeHandle(logical);
  ZavConfig_DisposeHandle(names);
  TRY(ZavConfig_GetSessionSoftwareModuleReference(session, &module));
  if (module) {
    TRY(ZavConfig_GetSoftwareModulePropertyViString(module, ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME,
                                                    sizeof text, text));
    TRY(ZavConfig_GetSoftwareModulePropertyViString(
        module, ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH, sizeof text, text));
    TRY(ZavConfig_GetSoftwareModulePropertyViString(module, ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX,
                                                    sizeof text, text));
    ZavConfig_DisposeHandle(module);
  }
  TRY(ZavConfig_GetSessionHardwareAssetReference(session, &asset));
  if (asset) {
    TRY(ZavConfig_GetHardwareAssetPropertyViString(asset, ZAVCONFIG_VAL_HARDWARE_ASSET_NAME,
                                                   sizeof text, text));
    TRY(ZavConfig_GetHardwareAssetPropertyViString(
        asset, ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR, sizeof text, text));
    ZavConfig_DisposeHandle(asset);
  }
  TRY(ZavConfig_GetSessionVirtualNameCollection(session, &virtuals));
  ViInt32 count = 0;
  TRY(ZavConfig_GetVirtualNameCount(virtuals, &count));
  for (ViInt32 i = 1; i <= count; ++i) {
    ViSession v = 0;
    TRY(ZavConfig_GetVirtualNameItemByIndex(virtuals, i, &v));
    TRY(ZavConfig_GetVirtualNamePropertyViString(v, ZAVCONFIG_VAL_VIRTUAL_NAME_NAME, sizeof text,
                                                 text));
    TRY(ZavConfig_GetVirtualNamePropertyViString(v, ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO,
                                                 sizeof text, text));
    ZavConfig_DisposeHandle(v);
  }
  ZavConfig_DisposeHandle(virtuals);
  TRY(ZavConfig_GetConfigComponentDataComponentCollection(session, &settings));
  Settings(settings, &ok);
  ZavConfig_DisposeHandle(settings);
  TRY(ZavConfig_GetDriverSessionPropertyViString(session, ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP,
                                                 sizeof text, text));
  for (ViAttr flag = ZAVCONFIG_VAL_DRIVER_SESSION_CACHE;
       flag <= ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE; ++flag) {
    ViBoolean b = 0;
    TRY(ZavConfig_GetDriverSessionPropertyViBoolean(session, flag, &b));
    sink += b;
  }
  TRY(ZavConfig_GetSessionPropertyViString(session, ZAVCONFIG_VAL_SESSION_NAME, sizeof text, text));
  TRY(ZavConfig_GetSessionPropertyViString(session, ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME,
                                           sizeof text, text));
  ZavConfig_DisposeHandle(session);
  ZavConfig_Close(store);
  double spent = Now() - start;
  return ok ? spent : -1.0;
}

EXPORT double zavbench_property_reads(const char* path, const char* name, int count, int kind) {
  int ok = 1;
  ViSession store = 0, session = 0;
  TRY(ZavConfig_Initialize(&store));
  TRY(ZavConfig_Deserialize(store, path));
  TRY(ZavConfig_GetDriverSession(store, name, &session));
  if (!ok) {
    ZavConfig_Close(store);
    return -1.0;
  }
  double start = Now();
  if (kind == 0) {
    for (int i = 0; i < count; ++i) {
      TRY(ZavConfig_GetDriverSessionPropertyViString(
          session, ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP, sizeof text, text));
      sink += (unsigned char)text[0];
    }
  } else {
    for (int i = 0; i < count; ++i) {
      ViBoolean b = 0;
      TRY(ZavConfig_GetDriverSessionPropertyViBoolean(session, ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE,
                                                      &b));
      sink += b;
    }
  }
  double spent = Now() - start;
  ZavConfig_DisposeHandle(session);
  ZavConfig_Close(store);
  return ok ? spent : -1.0;
}
