// SPDX-License-Identifier: MIT
#include "platform/object_pool.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/environment.h"

namespace zav {
namespace platform {

// Two-way lists through `previous` and `next`, with a flag telling whether the element is in.
template <class T>
void Push(T*& head, T* element) noexcept {
  element->previous = nullptr;
  element->next = head;
  if (head) head->previous = element;
  head = element;
  element->listed = true;
}
template <class T>
void Take(T*& head, T* element) noexcept {
  if (element->previous) element->previous->next = element->next;
  else head = element->next;
  if (element->next) element->next->previous = element->previous;
  element->previous = element->next = nullptr;
  element->listed = false;
}

struct tObjectPool::tRun {
  tRun* previous;
  tRun* next;
  bool listed;         // in its size's list of runs with room, or its chunk's list of free runs
  std::size_t sizeIndex;
  std::size_t live;    // objects handed out and not freed
  void* freed;         // freed objects, each holding the next one's address
  char* unused;        // objects never handed out start here
  char* end;
};

// The header at the start of a chunk: its runs' descriptions; the first run's objects start
// after it.
struct tObjectPool::tChunk {
  tChunk* previous;
  tChunk* next;
  bool listed;         // in the pool's list of chunks with free runs
  std::size_t usedRuns;
  tRun* freeRuns;      // linked through tRun::next
  tRun runs[kRuns];
};

namespace {
constexpr std::size_t kHugePage = tObjectPool::kChunkSize;

// A zero-filled region of `size` bytes (a multiple of kHugePage) aligned to kHugePage, or null.
// The kernel aligns nothing beyond a page, so more is mapped and the ends are cut off.
void* MapAligned(std::size_t size) {
  const std::size_t mappedSize = size + kHugePage;
  void* mapped = mmap(nullptr, mappedSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  munmap(reinterpret_cast<void*>(aligned + size), start + mappedSize - aligned - size);
  return reinterpret_cast<void*>(aligned);
}
void* MapChunk() { return MapAligned(kHugePage); }

template <class T>
T* ChunkOf(const void* address) {
  return reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(address) & ~(tObjectPool::kChunkSize - 1));
}
}  // namespace

tObjectPool::~tObjectPool() {
  while (tChunk* chunk = withFreeRuns_) {
    Take(withFreeRuns_, chunk);
    munmap(chunk, kChunkSize);
  }
}

std::size_t tObjectPool::ChunkCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return chunks_;
}

tObjectPool::tChunk* tObjectPool::NewChunk() {
  void* memory = MapChunk();
  if (!memory) throw std::bad_alloc();
  // The first chunk stays on small pages, so a small store touches only what it uses. Beyond
  // it, huge pages save most of the faults of a large store (a refusal costs nothing).
  if (chunks_ > 0) madvise(memory, kChunkSize, MADV_HUGEPAGE);
  auto* chunk = new (memory) tChunk{};
  char* base = static_cast<char*>(memory);
  // Runs in address order on the free list; NewRun sets where a run's objects start.
  for (std::size_t r = kRuns; r-- > 0;) {
    tRun& run = chunk->runs[r];
    run.end = base + (r + 1) * kRunSize;
    run.next = chunk->freeRuns;
    chunk->freeRuns = &run;
  }
  ++chunks_;
  Push(withFreeRuns_, chunk);
  return chunk;
}

tObjectPool::tRun* tObjectPool::NewRun(std::size_t sizeIndex) {
  tChunk* chunk = withFreeRuns_ ? withFreeRuns_ : NewChunk();
  tRun* run = chunk->freeRuns;
  chunk->freeRuns = run->next;
  if (!chunk->freeRuns) Take(withFreeRuns_, chunk);
  ++chunk->usedRuns;
  const std::size_t index = static_cast<std::size_t>(run - chunk->runs);
  char* base = reinterpret_cast<char*>(chunk);
  run->sizeIndex = sizeIndex;
  run->live = 0;
  run->freed = nullptr;
  // The first run's objects come after the chunk's header.
  run->unused = index == 0 ? base + (sizeof(tChunk) + kGranule - 1) / kGranule * kGranule : base + index * kRunSize;
  Push(withRoom_[sizeIndex], run);
  return run;
}

void tObjectPool::ReleaseRun(tRun* run) noexcept {
  Take(withRoom_[run->sizeIndex], run);
  tChunk* chunk = ChunkOf<tChunk>(run);
  run->next = chunk->freeRuns;
  chunk->freeRuns = run;
  if (!chunk->listed) Push(withFreeRuns_, chunk);
  // An empty chunk goes back to the system, but the last one is kept, so that making and
  // freeing one object over and over does not map and unmap a chunk each time.
  if (--chunk->usedRuns == 0 && chunks_ > 1) {
    Take(withFreeRuns_, chunk);
    --chunks_;
    munmap(chunk, kChunkSize);
  }
}

void* tObjectPool::Allocate(std::size_t bytes) {
  const std::size_t sizeIndex = (bytes - 1) / kGranule;
  const std::size_t objectSize = (sizeIndex + 1) * kGranule;
  std::lock_guard<std::mutex> guard(lock_);
  tRun* run = withRoom_[sizeIndex] ? withRoom_[sizeIndex] : NewRun(sizeIndex);
  void* object;
  if (run->freed) {
    object = run->freed;
    run->freed = *static_cast<void**>(object);
  } else {
    object = run->unused;
    run->unused += objectSize;
  }
  ++run->live;
  if (!run->freed && static_cast<std::size_t>(run->end - run->unused) < objectSize)
    Take(withRoom_[sizeIndex], run);
  return object;
}

void tObjectPool::Free(void* object, std::size_t) noexcept {
  tChunk* chunk = ChunkOf<tChunk>(object);
  const std::size_t index =
      static_cast<std::size_t>(static_cast<char*>(object) - reinterpret_cast<char*>(chunk)) / kRunSize;
  tRun* run = &chunk->runs[index];
  std::lock_guard<std::mutex> guard(lock_);
  *static_cast<void**>(object) = run->freed;
  run->freed = object;
  if (!run->listed) Push(withRoom_[run->sizeIndex], run);
  if (--run->live == 0) ReleaseRun(run);
}

namespace {
// The process's pool, never destroyed: objects may be freed by the destructors of other
// statics, in any order, at exit.
tObjectPool& ProcessPool() {
  static tObjectPool* pool = new tObjectPool;
  return *pool;
}

// Whether objects come from the pool, decided once for the life of the process. Memory checkers
// (the address sanitizer, or any tool that watches the general allocator, when the variable
// ZAV_OBJECT_POOL is "0") see a use after free or a leak of a model object only when it comes
// from the general allocator; so does a test that makes allocations fail.
bool Pooled() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#else
  static const bool pooled = GetEnvironmentValue("ZAV_OBJECT_POOL") != "0";
  return pooled;
#endif
}

bool FromPool(std::size_t size) { return size > 0 && size <= tObjectPool::kLargest && Pooled(); }
}  // namespace

void* AllocateObject(std::size_t size) {
  return FromPool(size) ? ProcessPool().Allocate(size) : ::operator new(size);
}

void FreeObject(void* object, std::size_t size) noexcept {
  if (!object) return;
  if (FromPool(size)) ProcessPool().Free(object, size);
  else ::operator delete(object);
}

// Tables below a huge page come from the general allocator; larger ones are mapped whole, on
// huge pages: a look-up in a table of millions of entries lands anywhere in it, and on small
// pages nearly every one of them would also miss the address cache.
void* AllocateTable(std::size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  const std::size_t size = (bytes + kHugePage - 1) & ~(kHugePage - 1);
  void* table = MapAligned(size);
  if (!table) throw std::bad_alloc();
  madvise(table, size, MADV_HUGEPAGE);
  return table;
}

void FreeTable(void* table, std::size_t bytes) noexcept {
  if (!table) return;
  if (bytes < kHugePage) ::operator delete(table);
  else munmap(table, (bytes + kHugePage - 1) & ~(kHugePage - 1));
}

}  // namespace platform
}  // namespace zav
