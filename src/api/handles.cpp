// SPDX-License-Identifier: MIT
#include "api/handles.h"

#include <cstdint>
#include <stdexcept>
#include <unordered_map>

namespace {
struct tCell {
  const tHandleTableBase* table;
  void* object;
  std::weak_ptr<const void> alive;
};

// Every live handle of the process, with the table that issued it.
std::unordered_map<ViSession, tCell>& Cells() {
  static std::unordered_map<ViSession, tCell> cells;
  return cells;
}

[[noreturn]] void ThrowNoSuchHandle() {
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE, "ZavConfiguration Server: Handle does not exist.");
}

const tCell* CellOf(ViSession handle, const tHandleTableBase* table) {
  auto it = Cells().find(handle);
  return it == Cells().end() || it->second.table != table ? nullptr : &it->second;
}
}  // namespace

ViSession tHandleCounter::Next() {
  for (uint64_t tried = 0; tried <= UINT32_MAX; ++tried) {
    const ViSession value = next_++;
    if (value != 0 && Cells().count(value) == 0) return value;
  }
  throw std::length_error("every handle value is in use");
}

tHandleCounter& HandleCounter() {
  static tHandleCounter counter;
  return counter;
}

bool tHandleTableBase::Contains(ViSession handle) const { return CellOf(handle, this) != nullptr; }

ViSession tHandleTableBase::Insert(void* object, std::weak_ptr<const void> alive) {
  ViSession value = HandleCounter().Next();
  Cells().emplace(value, tCell{this, object, std::move(alive)});
  return value;
}

void* tHandleTableBase::Find(ViSession handle) const {
  const tCell* cell = CellOf(handle, this);
  if (!cell || cell->alive.expired()) ThrowNoSuchHandle();
  return cell->object;
}

void tHandleTableBase::Release(ViSession handle) {
  if (!Contains(handle)) ThrowNoSuchHandle();
  Cells().erase(handle);
}

bool tHandleTables::Dispose(ViSession handle) {
  auto it = Cells().find(handle);
  if (it == Cells().end() || it->second.table == &store) return false;
  Cells().erase(it);
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
