// SPDX-License-Identifier: MIT
#include "persist/store_values.h"

#include <cstdlib>
#include <locale.h>

namespace zav::persist {

bool ParseBoolean(const std::string& text) { return text != "0"; }

int32_t ParseInteger(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Anything beyond 2^31 clamps either way, so accumulation stops growing there.
  const int64_t cap = int64_t{1} << 32;
  int64_t value = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < cap) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

double ParseReal(const std::string& text) {
  // One "C" locale for the process, made on first use and never freed: strtod_l reads it
  // without touching the process or thread locale.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (!cLocale) return std::strtod(text.c_str(), nullptr);
  return strtod_l(text.c_str(), nullptr, cLocale);
}

}  // namespace zav::persist
