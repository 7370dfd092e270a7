// SPDX-License-Identifier: MIT
/* Reads one store file through the C API and exits: the whole-process side of the read
 * benchmark. The registry (ZAV_REGISTRY) must name the data directory with the schema.
 *   read_store FILE [--peak]   exit status 0 when the store was read; --peak prints the
 *                              process's peak resident memory in kB, from /proc (VmHWM).
 * The kernel's own accounting of a child (wait4) also counts what the parent held when it
 * forked, so a small process started from a large one would be measured too big. */
#include <stdio.h>
#include <string.h>

#include "zavconfig.h"

static long PeakResidentKb(void) {
  char line[256];
  long kb = -1;
  FILE* status = fopen("/proc/self/status", "r");
  if (!status) return -1;
  while (fgets(line, sizeof line, status))
    if (strncmp(line, "VmHWM:", 6) == 0) sscanf(line + 6, "%ld", &kb);
  fclose(status);
  return kb;
}

int main(int argc, char** argv) {
  ViSession store = 0;
  ViStatus status;
  if (argc < 2 || argc > 3 || (argc == 3 && strcmp(argv[2], "--peak") != 0)) {
    fprintf(stderr, "usage: read_store FILE [--peak]\n");
    return 2;
  }
  if (ZavConfig_Initialize(&store) != 0) return 1;
  status = ZavConfig_Deserialize(store, argv[1]);
  if (status != 0) {
    ViChar text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE];
    ZavConfig_GetError(&status, text);
    fprintf(stderr, "%s\n", text);
  }
  ZavConfig_Close(store);
  if (argc == 3) printf("%ld\n", PeakResidentKb());
  return status == 0 ? 0 : 1;
}
