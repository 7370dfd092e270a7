// SPDX-License-Identifier: MIT
/* A driver as a user builds it against an installed zavconfig: it opens the master store the
 * registry names, resolves a logical name, and reports failures through the error library. */
#include <stdio.h>

#include "zavconfig.h"
#include "zavcshared.h"

#if !defined(ZAVCONFIG_VERSION_MAJOR) || ZAVCONFIG_VERSION_MAJOR < 1
#error "zavconfig.h lacks its version"
#endif

static int failed(const char* what) {
  ViStatus code = 0;
  ViChar text[1024];
  ZavSession_GetError(0, &code, (ViInt32)sizeof text, text);
  printf("%s failed (0x%08X): %s\n", what, (unsigned)code, text);
  return 1;
}

int main(int argc, char** argv) {
  const char* name = argc > 1 ? argv[1] : "SampleDMM";
  ViSession store = 0, session = 0;
  ViChar location[1024], text[256];
  int status = 1;

  printf("zavconfig %d.%d.%d\n", ZAVCONFIG_VERSION_MAJOR, ZAVCONFIG_VERSION_MINOR,
         ZAVCONFIG_VERSION_PATCH);
  if (ZavConfig_Initialize(&store) < 0) return failed("Initialize");
  if (ZavConfig_GetConfigStorePropertyViString(store, ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION,
                                               (ViInt32)sizeof location, location) < 0)
    status = failed("master location");
  else if (ZavConfig_Deserialize(store, location) < 0)
    status = failed("Deserialize");
  else if (ZavConfig_GetDriverSession(store, name, &session) < 0)
    status = failed("GetDriverSession");
  else if (ZavConfig_GetDriverSessionPropertyViString(session, ZAVCONFIG_VAL_SESSION_NAME,
                                                      (ViInt32)sizeof text, text) < 0)
    status = failed("session name");
  else {
    printf("%s -> %s\n", name, text);
    status = 0;
  }
  if (session) ZavConfig_DisposeHandle(session);
  ZavConfig_Close(store);
  return status;
}
