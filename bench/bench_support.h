// SPDX-License-Identifier: MIT
// What the in-process benchmarks share: the process's CPU clock and a check that stops the run
// at the first failing call, with the library's message.
#pragma once

#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "zavconfig.h"

namespace bench {

inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline void Check(ViStatus status, const char* what) {
  if (status < 0) {
    ViStatus code = 0;
    ViChar text[ZAVCONFIG_ERROR_DESCRIPTION_SIZE] = "";
    ZavConfig_GetError(&code, text);
    std::fprintf(stderr, "%s failed: %s\n", what, text);
    std::exit(1);
  }
}

}  // namespace bench
