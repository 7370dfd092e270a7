// SPDX-License-Identifier: MIT
// Rows of cells printed in aligned columns, two spaces apart, without trailing blanks: the
// layout of every listing the utility prints.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zavtool {

class Table {
 public:
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  bool Empty() const { return rows_.empty(); }
  void Print(std::ostream& out, const std::string& indent) const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace zavtool
