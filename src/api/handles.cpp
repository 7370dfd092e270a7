// SPDX-License-Identifier: MIT
#include "api/handles.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>


namespace {
struct tCell {
  ViSession handle = 0;  // 0: the cell is empty
  const tHandleTableBase* table = nullptr;
  void* object = nullptr;
  tLifeWatch alive;
};

// Every held handle of the process, each in the cell its value's low bits name: a power-of-two
// number of cells, at most half of them held. A look-up reads one cell, and values issued one
// after another sit in cells one after another, so a program that makes and drops handles in
// order walks the table in order. The counter skips a value whose cell is taken (by a value
// with the same low bits), which costs at most one step per held cell each time the count goes
// round the table: at most half a step per handle on average.
//
// Doubling the table keeps every held value in a cell of its own (values whose low bits differ
// still differ with one more bit). Halving it is tried once the table is an eighth full, and
// only done when no two held values would share a cell: it is only to give memory back.
class tCells {
 public:
  tCell* Find(ViSession handle) const {
    if (capacity_ == 0) return nullptr;
    tCell& cell = cells_[handle & mask_];
    return cell.handle == handle && handle != 0 ? &cell : nullptr;
  }
  // Whether a new value may be issued: it is not 0 and its cell is free.
  bool CanTake(ViSession handle) const {
    return handle != 0 && (capacity_ == 0 || cells_[handle & mask_].handle == 0);
  }

  // Makes room for one more handle; the one step that can fail, and it changes nothing then.
  void Reserve() {
    if ((count_ + 1) * 2 <= capacity_) return;
    const size_t capacity = capacity_ == 0 ? kMinCapacity : capacity_ * 2;
    Move(NewCells(capacity), capacity);
  }
  // Adds a cell whose value CanTake(), after Reserve().
  void Add(const tCell& cell) noexcept {
    cells_[cell.handle & mask_] = cell;
    ++count_;
  }

  void Erase(tCell* cell) noexcept {
    *cell = tCell();
    --count_;
    if (capacity_ > kMinCapacity && count_ * 8 <= capacity_ && count_ <= shrinkAt_) Shrink();
  }

 private:
  static constexpr size_t kMinCapacity = 16;

  using tTable = std::unique_ptr<tCell[]>;
  static tTable NewCells(size_t capacity) { return tTable(new tCell[capacity]()); }

  // A refused attempt is tried again only once half of the handles held then are gone, so the
  // look over the table is paid for by those releases.
  void Shrink() noexcept {
    const size_t capacity = capacity_ / 2;
    shrinkAt_ = count_ / 2;
    for (size_t i = 0; i < capacity; ++i)
      if (cells_[i].handle != 0 && cells_[i + capacity].handle != 0) return;
    try {
      Move(NewCells(capacity), capacity);
    } catch (const std::bad_alloc&) {
      // Without memory for the smaller table, the table stays as it is.
    }
  }

  // Moves every held cell into `cells`, an empty table of `capacity` cells where none of them
  // shares a cell with another.
  void Move(tTable cells, size_t capacity) noexcept {
    tTable old = std::move(cells_);
    const size_t oldCapacity = capacity_;
    cells_ = std::move(cells);
    capacity_ = capacity;
    mask_ = capacity - 1;
    shrinkAt_ = SIZE_MAX;
    for (size_t i = 0; i < oldCapacity; ++i)
      if (old[i].handle != 0) cells_[old[i].handle & mask_] = old[i];
  }

  tTable cells_;
  size_t capacity_ = 0;
  size_t count_ = 0;
  size_t mask_ = 0;
  size_t shrinkAt_ = SIZE_MAX;  // held handles at or below which halving is tried
};

tCells& Cells() {
  static tCells cells;
  return cells;
}

[[noreturn]] void ThrowNoSuchHandle() {
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE, "ZavConfiguration Server: Handle does not exist.");
}

tCell* CellOf(ViSession handle, const tHandleTableBase* table) {
  tCell* cell = Cells().Find(handle);
  return cell && cell->table == table ? cell : nullptr;
}
}  // namespace

ViSession tHandleCounter::Next() {
  for (uint64_t tried = 0; tried <= UINT32_MAX; ++tried) {
    const ViSession value = next_++;
    if (Cells().CanTake(value)) return value;
  }
  throw std::length_error("every handle value is in use");
}

tHandleCounter& HandleCounter() {
  static tHandleCounter counter;
  return counter;
}

bool tHandleTableBase::Contains(ViSession handle) const { return CellOf(handle, this) != nullptr; }

ViSession tHandleTableBase::Insert(void* object, tLifeWatch alive) {
  Cells().Reserve();
  const ViSession value = HandleCounter().Next();
  Cells().Add(tCell{value, this, object, alive});
  return value;
}

void* tHandleTableBase::Find(ViSession handle) const {
  const tCell* cell = CellOf(handle, this);
  if (!cell || !cell->alive.Alive()) ThrowNoSuchHandle();
  return cell->object;
}

void tHandleTableBase::Release(ViSession handle) {
  tCell* cell = CellOf(handle, this);
  if (!cell) ThrowNoSuchHandle();
  Cells().Erase(cell);
}

bool tHandleTables::Dispose(ViSession handle) {
  tCell* cell = Cells().Find(handle);
  if (!cell || cell->table == &store) return false;
  Cells().Erase(cell);
  return true;
}

tHandleTables& Handles() {
  static tHandleTables tables;
  return tables;
}

tZavSession* LookupSessionHandle(ViSession handle) {
  tHandleTables& tables = Handles();
  if (tables.session.Contains(handle)) return tables.session.Lookup(handle);
  return tables.driverSession.Lookup(handle);
}
