// SPDX-License-Identifier: MIT
// Memory for the objects of the store model (items and their collections).
//
// A large store is millions of small objects, made in one burst when a document is read and
// freed together when the store closes. The general allocator hands them out from a heap that
// grows a 4 KiB page at a time, and each first touch of a page is a fault: on a large read the
// faults and the allocator's bookkeeping cost as much as parsing the document. The pool keeps
// objects of one size together in 2 MiB chunks of their own; once a size holds more than a
// chunk's worth, further chunks are given to the kernel as candidates for huge pages, so a big
// store faults a few hundred times instead of tens of thousands. A chunk whose objects are all
// freed goes back to the system; small stores touch no more memory than they use.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

#include <mutex>

namespace zav {
namespace platform {

// The pool itself; the process has one (behind AllocateObject), tests make their own.
//
// Memory comes from the system in 2 MiB chunks, aligned to their size, so the chunk of an object
// is found from its address. A chunk is cut into runs of 64 KiB and each run holds objects of
// one size (sizes are rounded up to 16 bytes): the sizes share the chunks, so a huge page fills
// up whatever mix of objects a store holds. A run whose objects are all freed can serve any
// size again; a chunk whose runs are all free goes back to the system.
class tObjectPool {
 public:
  static constexpr std::size_t kChunkSize = std::size_t{2} << 20;
  static constexpr std::size_t kRunSize = std::size_t{64} << 10;
  static constexpr std::size_t kGranule = 16;     // object sizes are rounded up to this
  static constexpr std::size_t kLargest = 1024;   // larger objects: the general allocator

  tObjectPool() = default;
  tObjectPool(const tObjectPool&) = delete;
  tObjectPool& operator=(const tObjectPool&) = delete;
  // Returns every chunk; only for a pool whose objects are all freed (tests).
  ~tObjectPool();

  // `size` is at most kLargest and not 0.
  void* Allocate(std::size_t size);
  void Free(void* object, std::size_t size) noexcept;
  // Chunks held from the system now.
  std::size_t ChunkCount() const;

 private:
  struct tRun;
  struct tChunk;
  static constexpr std::size_t kSizes = kLargest / kGranule;
  static constexpr std::size_t kRuns = kChunkSize / kRunSize;

  tRun* NewRun(std::size_t sizeIndex);
  tChunk* NewChunk();
  void ReleaseRun(tRun* run) noexcept;

  mutable std::mutex lock_;
  tRun* withRoom_[kSizes] = {};  // per size: runs with a free place
  tChunk* withFreeRuns_ = nullptr;
  std::size_t chunks_ = 0;
};

// An object of `size` bytes (any size; large ones come from the general allocator). Throws
// std::bad_alloc when no memory is left.
void* AllocateObject(std::size_t size);
// Frees what AllocateObject returned for the same size.
void FreeObject(void* object, std::size_t size) noexcept;

// A table of `bytes` bytes that a caller fills itself (large ones are mapped on huge pages), and
// its release with the same size. Throws std::bad_alloc when no memory is left.
void* AllocateTable(std::size_t bytes);
void FreeTable(void* table, std::size_t bytes) noexcept;

// An array of plain entries in AllocateTable's memory, released with it.
template <class T>
struct tTableRelease {
  std::size_t capacity;
  void operator()(T* table) const noexcept { FreeTable(table, capacity * sizeof(T)); }
};
template <class T>
using tTable = std::unique_ptr<T[], tTableRelease<T>>;

// `capacity` value-initialised entries.
template <class T>
tTable<T> NewTable(std::size_t capacity) {
  static_assert(std::is_trivially_destructible<T>::value, "entries are released without destruction");
  void* memory = AllocateTable(capacity * sizeof(T));
  std::uninitialized_fill_n(static_cast<T*>(memory), capacity, T());
  return tTable<T>(static_cast<T*>(memory), tTableRelease<T>{capacity});
}

// Gives a class's objects the pool's memory: `new` and `delete` of the class and of every class
// derived from it (a virtual destructor passes the size of the object actually deleted).
struct tPooled {
  static void* operator new(std::size_t size) { return AllocateObject(size); }
  static void operator delete(void* object, std::size_t size) noexcept { FreeObject(object, size); }
};

}  // namespace platform
}  // namespace zav
