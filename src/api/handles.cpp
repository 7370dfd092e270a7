// SPDX-License-Identifier: MIT
#include "api/handles.h"

#include <cstddef>
#include <memory>
#include <new>
#include <stdexcept>

#include "platform/object_pool.h"

namespace {
struct tCell {
  ViSession handle = 0;  // 0: the cell is empty
  const tHandleTableBase* table = nullptr;
  void* object = nullptr;
  tLifeWatch alive;
};

// Every held handle of the process. Open addressing with linear probing over a power-of-two
// number of cells, at most half of them used; a cell is emptied by shifting the cells of its run
// back, so no tombstones build up and a probe stops at the first empty cell. The table grows by
// doubling and halves once it is an eighth full, so a steady number of handles never allocates.
//
// Values are placed by a multiplicative hash, not as they are: held values from a counter form
// runs, and with the value as its own position the count wrapping past the table's size would
// land every new value at the start of such a run and walk all of it.
class tCells {
 public:
  tCell* Find(ViSession handle) const {
    if (handle == 0 || count_ == 0) return nullptr;
    for (size_t i = Home(handle);; i = Next(i)) {
      if (cells_[i].handle == handle) return &cells_[i];
      if (cells_[i].handle == 0) return nullptr;
    }
  }

  // Adds a cell whose value no cell holds. Growing is the one step that can fail, and it comes
  // before anything changes.
  void Add(const tCell& cell) {
    if ((count_ + 1) * 2 > capacity_) {
      const size_t capacity = capacity_ == 0 ? kMinCapacity : capacity_ * 2;
      Move(NewCells(capacity), capacity);
    }
    Place(cell);
    ++count_;
  }

  void Erase(tCell* cell) noexcept {
    size_t hole = static_cast<size_t>(cell - cells_.get());
    for (size_t i = Next(hole); cells_[i].handle != 0; i = Next(i)) {
      // The cell at i may fill the hole when the hole lies on its probe path from its home.
      if (((i - Home(cells_[i].handle)) & mask_) >= ((i - hole) & mask_)) {
        cells_[hole] = cells_[i];
        hole = i;
      }
    }
    cells_[hole] = tCell();
    --count_;
    if (capacity_ > kMinCapacity && count_ * 8 <= capacity_) {
      // Shrinking is only to give memory back: without it, the table stays as it is.
      const size_t capacity = capacity_ / 2;
      try {
        Move(NewCells(capacity), capacity);
      } catch (const std::bad_alloc&) {
      }
    }
  }

 private:
  static constexpr size_t kMinCapacity = 16;

  size_t Home(ViSession handle) const {
    return static_cast<size_t>((uint64_t{handle} * 0x9E3779B97F4A7C15u) >> shift_);
  }
  size_t Next(size_t i) const { return (i + 1) & mask_; }

  void Place(const tCell& cell) noexcept {
    size_t i = Home(cell.handle);
    while (cells_[i].handle != 0) i = Next(i);
    cells_[i] = cell;
  }

  // Tables of many cells are mapped on huge pages: a million held handles are looked up all over
  // a table of tens of megabytes.
  struct tRelease {
    size_t capacity;
    void operator()(tCell* cells) const noexcept {
      zav::platform::FreeTable(cells, capacity * sizeof(tCell));
    }
  };
  using tTable = std::unique_ptr<tCell[], tRelease>;
  static tTable NewCells(size_t capacity) {
    void* memory = zav::platform::AllocateTable(capacity * sizeof(tCell));
    std::uninitialized_fill_n(static_cast<tCell*>(memory), capacity, tCell());
    return tTable(static_cast<tCell*>(memory), tRelease{capacity});
  }

  // Moves every cell into `cells`, an empty table of `capacity` cells.
  void Move(tTable cells, size_t capacity) noexcept {
    tTable old = std::move(cells_);
    const size_t oldCapacity = capacity_;
    cells_ = std::move(cells);
    capacity_ = capacity;
    mask_ = capacity - 1;
    shift_ = 64;
    for (size_t size = 1; size < capacity; size *= 2) --shift_;
    for (size_t i = 0; i < oldCapacity; ++i)
      if (old[i].handle != 0) Place(old[i]);
  }

  tTable cells_{nullptr, tRelease{0}};
  size_t capacity_ = 0;
  size_t count_ = 0;
  size_t mask_ = 0;
  unsigned shift_ = 64;
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
    if (value != 0 && !Cells().Find(value)) return value;
  }
  throw std::length_error("every handle value is in use");
}

tHandleCounter& HandleCounter() {
  static tHandleCounter counter;
  return counter;
}

bool tHandleTableBase::Contains(ViSession handle) const { return CellOf(handle, this) != nullptr; }

ViSession tHandleTableBase::Insert(void* object, tLifeWatch alive) {
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
