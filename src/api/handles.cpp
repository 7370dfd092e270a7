#include "api/handles.h"

#include <array>
#include <set>

namespace {
// Every live table, so that a value is never issued twice while any table holds it.
std::set<const tHandleTableBase*>& AllTables() {
  static std::set<const tHandleTableBase*> tables;
  return tables;
}

ViSession NextHandleValue() {
  static ViSession next = 1;
  for (;;) {
    ViSession value = next++;
    if (value == 0) continue;  // after the counter wraps
    bool taken = false;
    for (const tHandleTableBase* table : AllTables()) taken = taken || table->Contains(value);
    if (!taken) return value;
  }
}

[[noreturn]] void ThrowNoSuchHandle() {
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE, "ZavConfiguration Server: Handle does not exist.");
}
}  // namespace

tHandleTableBase::tHandleTableBase() { AllTables().insert(this); }
tHandleTableBase::~tHandleTableBase() { AllTables().erase(this); }

ViSession tHandleTableBase::Insert(void* object, std::weak_ptr<const void> alive) {
  ViSession value = NextHandleValue();
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
