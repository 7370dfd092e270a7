// SPDX-License-Identifier: MIT
// Handle tables: the only way a caller reaches a model object. A handle is a 32-bit value from
// one process-wide counter; each kind of object has its own table, so a handle of one kind is
// unknown to every other kind's table. All tables keep their handles in one table of cells (the
// handle, its table, the object and a watch of its life) indexed by the value's low bits, so a
// handle is found, issued or released with one look-up whatever its kind. Issuing allocates
// only when the table must grow (and an object's life-table slot the first time anything watches
// it); releasing allocates only when it halves a table that has become mostly empty, and keeps
// the larger table when that fails.
//
// The counter counts up from 1 and wraps after 0xFFFFFFFF. It never issues 0, nor a value any
// table holds (a handle whose object is gone is held until it is disposed), and it passes over
// a value whose cell another held value takes. So a disposed value comes back only once the
// counter has gone round all 32 bits: a caller that keeps using a disposed handle may reach
// another object after about four billion further handles.
#pragma once

#include <cstdint>

#include "model/error.h"
#include "model/config_store.h"

// The next handle value. Counting starts where a test wants it, so the wrap can be reached.
class tHandleCounter {
 public:
  explicit tHandleCounter(ViSession next = 1) : next_(next) {}
  // The next value that is neither 0 nor held by a table. Throws when every value is held
  // (which memory would not allow long before).
  ViSession Next();

 private:
  ViSession next_;
};

// The counter every table issues from.
tHandleCounter& HandleCounter();

class tHandleTableBase {
 public:
  bool Contains(ViSession handle) const;
  // Drops the handle; the object is untouched. Works for handles whose object is gone.
  void Release(ViSession handle);

 protected:
  tHandleTableBase() = default;
  tHandleTableBase(const tHandleTableBase&) = delete;
  tHandleTableBase& operator=(const tHandleTableBase&) = delete;

  ViSession Insert(void* object, tLifeWatch alive);
  // The object of a registered handle whose object still exists; otherwise throws.
  void* Find(ViSession handle) const;
};

template <class T>
class tHandleTable : public tHandleTableBase {
 public:
  ViSession NewHandle(T* object) { return Insert(object, object->Life().Watch()); }
  T* Lookup(ViSession handle) const { return static_cast<T*>(Find(handle)); }
};

// The 23 tables, shared by every store of the process.
struct tHandleTables {
  tHandleTable<tZavConfigStore> store;
  tHandleTable<tZavCollection<tZavLogicalName>> logicalNameCollection;
  tHandleTable<tZavLogicalName> logicalName;
  tHandleTable<tZavCollection<tZavSession>> sessionCollection;
  tHandleTable<tZavSession> session;
  tHandleTable<tZavDriverSessionCollection> driverSessionCollection;
  tHandleTable<tZavDriverSession> driverSession;
  tHandleTable<tZavCollection<tZavHardwareAsset>> hardwareAssetCollection;
  tHandleTable<tZavHardwareAsset> hardwareAsset;
  tHandleTable<tZavCollection<tZavSoftwareModule>> softwareModuleCollection;
  tHandleTable<tZavSoftwareModule> softwareModule;
  tHandleTable<iZavPublishedAPICollection> publishedAPICollection;
  tHandleTable<tZavPublishedAPI> publishedAPI;
  tHandleTable<tZavCollection<tZavPhysicalName>> physicalNameCollection;
  tHandleTable<tZavPhysicalName> physicalName;
  tHandleTable<tZavCollection<tZavPhysicalRange>> physicalRangeCollection;
  tHandleTable<tZavPhysicalRange> physicalRange;
  tHandleTable<tZavCollection<tZavVirtualName>> virtualNameCollection;
  tHandleTable<tZavVirtualName> virtualName;
  tHandleTable<tZavCollection<tZavVirtualRange>> virtualRangeCollection;
  tHandleTable<tZavVirtualRange> virtualRange;
  tHandleTable<tZavCollection<iZavDataComponent>> dataComponentCollection;
  tHandleTable<iZavDataComponent> dataComponent;

  // Releases a handle of any table but the store table; false when there is none such.
  bool Dispose(ViSession handle);
};

tHandleTables& Handles();

// A session parameter accepts session and driver session handles alike.
tZavSession* LookupSessionHandle(ViSession handle);
