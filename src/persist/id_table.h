// SPDX-License-Identifier: MIT
// The ids of the items a store document has given so far, for its references to resolve.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "persist/document_model.h"

namespace zav::persist {

// Ids the writer makes ("p" and a decimal number without leading zeros) sit in a vector by
// number; any other id in a hash map. The vector only takes numbers below a bound that grows
// with the ids registered, so a hostile "p999999999" cannot make it large; a number once below
// the bound stays below it, and a look-up tries the vector first, so the latest registration of
// an id always wins.
class tIdTable {
 public:
  struct tEntry {
    iConfigStoreItem* item = nullptr;
    tElementKind kind = tElementKind::kText;
  };

  void Register(const std::string& id, iConfigStoreItem* item, tElementKind kind) {
    ++registered_;
    const uint32_t number = Number(id);
    if (number && number < Bound()) {
      if (number >= byNumber_.size()) byNumber_.resize(std::max<size_t>(number + 1, byNumber_.size() * 2));
      byNumber_[number] = {item, kind};
    } else {
      byText_[id] = {item, kind};
    }
  }
  // The item registered last under `id`, or an entry without item.
  tEntry Resolve(const std::string& id) const {
    const uint32_t number = Number(id);
    if (number && number < byNumber_.size() && byNumber_[number].item) return byNumber_[number];
    auto it = byText_.find(id);
    return it == byText_.end() ? tEntry{} : it->second;
  }

 private:
  size_t Bound() const { return 4 * registered_ + 4096; }
  static uint32_t Number(const std::string& id) {
    if (id.size() < 2 || id.size() > 10 || id[0] != 'p' || id[1] == '0') return 0;
    uint32_t n = 0;
    for (size_t i = 1; i < id.size(); ++i) {
      if (id[i] < '0' || id[i] > '9') return 0;
      n = n * 10 + static_cast<uint32_t>(id[i] - '0');
    }
    return n < (1u << 30) ? n : 0;
  }

  size_t registered_ = 0;
  std::vector<tEntry> byNumber_;
  std::unordered_map<std::string, tEntry> byText_;
};

}  // namespace zav::persist
