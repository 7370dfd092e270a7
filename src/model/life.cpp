// SPDX-License-Identifier: MIT
#include "model/life.h"

#include <stdexcept>
#include <vector>

namespace {
// A slot holds either the generation of the object that has it, or, while free, this mark and
// the next free slot (0 ends the list). Generations count up from 1 and never reach the mark.
constexpr uint64_t kFree = uint64_t{1} << 63;

struct tLifeSlots {
  // Slot 0 is never handed out: a token without a slot has 0.
  std::vector<uint64_t> slots{kFree};
  uint32_t firstFree = 0;
  uint64_t nextGeneration = 1;
};

// Made on first use and never destroyed (the allocation stays reachable from here).
tLifeSlots& LifeSlots() {
  static tLifeSlots* const table = new tLifeSlots;
  return *table;
}
}  // namespace

uint64_t tLifeWatch::GenerationOf(uint32_t slot) { return LifeSlots().slots[slot]; }

void tLifeToken::Acquire() const {
  tLifeSlots& table = LifeSlots();
  uint32_t slot = table.firstFree;
  if (slot == 0) {
    if (table.slots.size() > UINT32_MAX) throw std::length_error("every life slot is in use");
    table.slots.push_back(kFree);
    slot = static_cast<uint32_t>(table.slots.size() - 1);
  } else {
    table.firstFree = static_cast<uint32_t>(table.slots[slot] & ~kFree);
  }
  generation_ = table.nextGeneration++;
  table.slots[slot] = generation_;
  slot_ = slot;
}

void tLifeToken::Free(uint32_t slot) noexcept {
  tLifeSlots& table = LifeSlots();
  table.slots[slot] = kFree | table.firstFree;
  table.firstFree = slot;
}
