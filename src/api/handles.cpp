#include "api/handles.h"

#include <array>
#include <cstdint>
#include <set>
#include <stdexcept>

namespace {
// Every live table, so that a value is never issued twice while any table holds it.
std::set<const tHandleTableBase*>& AllTables() {
  static std::set<const tHandleTableBase*> tables;
  return tables;
}

[[noreturn]] void ThrowNoSuchHandle() {
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE, "ZavConfiguration Server: Handle does not exist.");
}
}  // namespace

ViSession tHandleCounter::Next() {
  for (uint64_t tried = 0; tried <= UINT32_MAX; ++tried) {
    const ViSession value = next_++;
    if (value == 0) continue;
    bool taken = false;
    for (const tHandleTableBase* table : AllTables()) taken = taken || table->Contains(value);
    if (!taken) return value;
  }
  throw std::length_error("every handle value is in use");
}

tHandleCounter& HandleCounter() {
  static tHandleCounter counter;
  return counter;
}

tHandleTableBase::tHandleTableBase() { AllTables().insert(this); }
tHandleTableBase::~tHandleTableBase() { AllTables().erase(this); }

ViSession tHandleTableBase::Insert(void* object, std::weak_ptr<const void> alive) {
  ViSession value = HandleCounter().Next();
  cells_.emplace(value, tCell{object, std::move(alive)});
  return value;
}

void* tHandleTableBase::Find(ViSession handle) const {
  auto it = cells_.find(handle);
  if (it == cells_.end() || it->second.alive.expired()) ThrowNoSuchHandle();
  return it->second.object;
}

void tHandleTableBase::Release(ViSession handle) {
  if (cells_.erase(handle) == 0) ThrowNoSuchHandle();
}

std::array<tHandleTableBase*, 22> tHandleTables::DisposalOrder() {
  return {
      &logicalName,     &logicalNameCollection,  &driverSession,
      &driverSessionCollection, &softwareModule, &softwareModuleCollection,
      &hardwareAsset,   &hardwareAssetCollection, &session,
      &sessionCollection, &dataComponent,        &dataComponentCollection,
      &publishedAPI,    &publishedAPICollection, &virtualName,
      &virtualNameCollection, &virtualRange,     &virtualRangeCollection,
      &physicalName,    &physicalNameCollection, &physicalRange,
      &physicalRangeCollection};
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
