// SPDX-License-Identifier: MIT
// Liveness of model objects, and references that never outlive their target.
//
// Handles and references between items are plain pointers in the object model; a store can be
// closed, or an item destroyed, while a caller still holds a handle to it or an item of another
// store still points at it. Every model object therefore carries a token that dies with it, and
// whoever keeps a pointer across calls keeps a watch of the token next to it.
//
// A token is a slot in one process-wide table of generations, taken when the object is first
// watched: most items are never reached by a handle or a reference, and they never take one. The
// object keeps its slot and the slot's generation, so watching reads only the object; its
// destruction gives the slot a value no watch holds and frees it. A watch is alive while its slot
// still holds its generation. Generations come from one 64-bit count that never wraps in practice,
// so a slot taken again by another object never brings an old watch back to life.
//
// The table has no lock of its own: the library creates, watches and destroys model objects only
// under the API lock (the stores still open when the process exits are closed under it too), and
// a program that uses the model directly must do so from one thread. The table is never
// destroyed, so objects destroyed at exit can still free their slots.
#pragma once

#include <cstdint>

// Where a watched object was when it was watched; alive while the object exists. A default watch
// is never alive.
class tLifeWatch {
 public:
  tLifeWatch() = default;
  tLifeWatch(uint32_t slot, uint64_t generation) : generation_(generation), slot_(slot) {}

  bool Alive() const { return slot_ != 0 && GenerationOf(slot_) == generation_; }

 private:
  static uint64_t GenerationOf(uint32_t slot);

  uint64_t generation_ = 0;
  uint32_t slot_ = 0;
};

class tLifeToken {
 public:
  tLifeToken() = default;
  // A copied object is a new object with a life of its own.
  tLifeToken(const tLifeToken&) {}
  tLifeToken& operator=(const tLifeToken&) { return *this; }
  ~tLifeToken() {
    if (slot_ != 0) Free(slot_);
  }

  // Takes a slot the first time, which may throw std::bad_alloc; never fails afterwards.
  tLifeWatch Watch() const {
    if (slot_ == 0) Acquire();
    return tLifeWatch(slot_, generation_);
  }

 private:
  void Acquire() const;
  static void Free(uint32_t slot) noexcept;

  mutable uint64_t generation_ = 0;
  mutable uint32_t slot_ = 0;
};

// A pointer to another item that reads as null once the target has been destroyed. When Counted
// is set it also holds one count on the target's reference count while the target lives, which is
// what keeps a referenced item from being removed from its collection.
template <class T, bool Counted>
class tItemRef {
 public:
  tItemRef() = default;
  tItemRef(const tItemRef&) = delete;
  tItemRef& operator=(const tItemRef&) = delete;
  ~tItemRef() { Set(nullptr); }

  T* Get() const { return alive_.Alive() ? target_ : nullptr; }

  // Releases the old target first, then takes the new one (null allowed). Watching the new
  // target is the one step that can fail, and it comes before anything changes.
  void Set(T* target) {
    const tLifeWatch alive = target ? target->Life().Watch() : tLifeWatch();
    if (Counted) {
      if (T* old = Get()) old->DecrementRefCount();
    }
    target_ = target;
    alive_ = alive;
    if (Counted && target) target->IncrementRefCount();
  }

 private:
  T* target_ = nullptr;
  tLifeWatch alive_;
};

template <class T>
using tCountedRef = tItemRef<T, true>;
template <class T>
using tLinkRef = tItemRef<T, false>;
