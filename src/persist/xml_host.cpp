// SPDX-License-Identifier: MIT
#include "persist/xml_host.h"

#include <mutex>

#include <libxml/parser.h>

namespace zav::xml {

void InitParser() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

}  // namespace zav::xml
