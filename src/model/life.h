// SPDX-License-Identifier: MIT
// Liveness of model objects, and references that never outlive their target.
//
// Handles and references between items are plain pointers in the object model; a store can be
// closed, or an item destroyed, while a caller still holds a handle to it or an item of another
// store still points at it. Every model object therefore carries a token that dies with it, and
// whoever keeps a pointer across calls keeps a weak view of the token next to it. The token is
// made when it is first watched: most items are never reached by a handle or a reference, and
// they pay for no token of their own.
#pragma once

#include <memory>

class tLifeToken {
 public:
  tLifeToken() = default;
  // A copied object is a new object with a life of its own.
  tLifeToken(const tLifeToken&) {}
  tLifeToken& operator=(const tLifeToken&) { return *this; }

  std::weak_ptr<const void> Watch() const {
    if (!alive_) alive_ = std::make_shared<char>(0);
    return alive_;
  }

 private:
  mutable std::shared_ptr<char> alive_;
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

  T* Get() const { return alive_.expired() ? nullptr : target_; }

  // Releases the old target first, then takes the new one (null allowed). Watching the new
  // target is the one step that can fail, and it comes before anything changes.
  void Set(T* target) {
    std::weak_ptr<const void> alive = target ? target->Life().Watch() : std::weak_ptr<const void>();
    if (Counted) {
      if (T* old = Get()) old->DecrementRefCount();
    }
    target_ = target;
    alive_ = std::move(alive);
    if (Counted && target) target->IncrementRefCount();
  }

 private:
  T* target_ = nullptr;
  std::weak_ptr<const void> alive_;
};

template <class T>
using tCountedRef = tItemRef<T, true>;
template <class T>
using tLinkRef = tItemRef<T, false>;
