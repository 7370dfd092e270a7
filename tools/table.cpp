// SPDX-License-Identifier: MIT
#include "table.hpp"

#include <algorithm>

namespace zavtool {

void Table::Print(std::ostream& out, const std::string& indent) const {
  std::vector<size_t> widths;
  for (const auto& row : rows_)
    for (size_t i = 0; i + 1 < row.size(); ++i) {
      if (widths.size() <= i) widths.resize(i + 1, 0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  for (const auto& row : rows_) {
    std::string line = indent;
    for (size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
}

}  // namespace zavtool
