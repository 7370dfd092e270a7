/* Reads one store file through the C API and exits: the whole-process side of the read
 * benchmark. The registry (ZAV_REGISTRY) must name the data directory with the schema.
 *   read_store FILE        exit status 0 when the store was read */
#include <stdio.h>

#include "zavconfig.h"

int main(int argc, char** argv) {
  ViSession store = 0;
  ViStatus status;
  if (argc != 2) {
    fprintf(stderr, "usage: read_store FILE\n");
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
  return status == 0 ? 0 : 1;
}
