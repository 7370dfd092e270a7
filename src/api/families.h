// SPDX-License-Identifier: MIT
// The function families of the C API, each written once: count, item by index, item by name,
// create, destroy, child collections, references, and typed properties selected by ID. An
// exported function names its handle kinds, its property table or model call, and one family.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "api/frame.h"

namespace zav {

// A handle kind that accepts session and driver session handles alike.
struct tSessionKind {
  tZavSession* Lookup(ViSession handle) const { return LookupSessionHandle(handle); }
};
inline constexpr tSessionKind kAnySession{};

// --- collections and items -----------------------------------------------------------------

template <class CKind>
ViStatus CountOf(CKind& collections, ViSession collection, ViInt32* count) {
  return ApiCall([&] {
    CheckOutputPointer(count);
    *count = static_cast<ViInt32>(collections.Lookup(collection)->Count());
    return VI_SUCCESS;
  });
}

template <class CKind, class T>
ViStatus ItemByIndex(CKind& collections, tHandleTable<T>& items, ViSession collection,
                     ViInt32 index, ViSession* item) {
  return ApiCall([&] {
    CheckOutputPointer(item);
    T* found = collections.Lookup(collection)->ItemByIndex(index);
    *item = items.NewHandle(found);
    return VI_SUCCESS;
  });
}

template <class CKind, class T>
ViStatus ItemByName(CKind& collections, tHandleTable<T>& items, ViSession collection,
                    ViConstString name, ViSession* item) {
  return ApiCall([&] {
    CheckOutputPointer(item);
    std::string key = InputString(name);
    T* found = collections.Lookup(collection)->ItemByName(key);
    *item = items.NewHandle(found);
    return VI_SUCCESS;
  });
}

// Builds and names the new item (make), then looks the collection up and hands the item over to
// it (add). The item is destroyed if any step fails, so a failed create leaves nothing behind.
template <class CKind, class T, class Make, class Add>
ViStatus CreateItem(CKind& collections, tHandleTable<T>& items, ViSession collection,
                    ViSession* item, Make make, Add add) {
  return ApiCall([&] {
    CheckOutputPointer(item);
    auto created = make();
    auto* target = collections.Lookup(collection);
    T* added = add(*target, std::move(created));
    *item = items.NewHandle(added);
    return VI_SUCCESS;
  });
}

// The usual add and remove of a collection.
inline constexpr auto kAdd = [](auto& collection, auto item) { return collection.Add(std::move(item)); };
inline constexpr auto kRemove = [](auto& collection, auto* item) { collection.Remove(item); };

// A new item named through the kind's plain, checked name setter.
template <class T>
std::unique_ptr<T> NewNamed(ViConstString name) {
  auto item = std::make_unique<T>();
  item->SetName(InputString(name), true);
  return item;
}

// Looks up the collection, then the item; removes (and so destroys) the item and releases the
// handle the caller passed.
template <class CKind, class IKind, class Remove>
ViStatus DestroyItem(CKind& collections, IKind& items, ViSession collection, ViSession item,
                     Remove remove) {
  return ApiCall([&] {
    auto* from = collections.Lookup(collection);
    auto* found = items.Lookup(item);
    remove(*from, found);
    items.Release(item);
    return VI_SUCCESS;
  });
}

template <class IKind, class C, class Child>
ViStatus ChildCollection(IKind& items, tHandleTable<C>& collections, ViSession item,
                         ViSession* collection, Child child) {
  return ApiCall([&] {
    CheckOutputPointer(collection);
    *collection = collections.NewHandle(child(*items.Lookup(item)));
    return VI_SUCCESS;
  });
}

// The getters of the item references (a logical name's session, a session's hardware asset and
// software module): the output is 0 from the start, so it is 0 after any failure and when there
// is no reference.
template <class IKind, class R, class Get>
ViStatus GetReference(IKind& items, tHandleTable<R>& references, ViSession item,
                      ViSession* reference, Get get) {
  return ApiCall([&] {
    CheckOutputPointer(reference);
    *reference = 0;
    R* target = get(*items.Lookup(item));
    if (target) *reference = references.NewHandle(target);
    return VI_SUCCESS;
  });
}

// Handle 0 sets an empty reference; the item is looked up before the referenced handle.
template <class IKind, class RKind, class Set>
ViStatus SetReference(IKind& items, RKind& references, ViSession item, ViSession reference,
                      Set set) {
  return ApiCall([&] {
    auto* owner = items.Lookup(item);
    auto* target = reference == 0 ? nullptr : references.Lookup(reference);
    set(*owner, target);
    return VI_SUCCESS;
  });
}

// --- properties ------------------------------------------------------------------------------

// One row of a property table: the ID and the field's getter and setter (null where the ID is
// not readable or not writable through this value type).
template <class T, class V>
struct tProperty {
  ViAttr id;
  V (*get)(T&);
  void (*set)(T&, const V&);
};

template <class T, class V>
using tProperties = std::initializer_list<tProperty<T, V>>;

[[noreturn]] void ThrowInvalidPropertyID(const char* function);

template <class T, class V>
auto GetterOf(tProperties<T, V> table, ViAttr id, const char* function) {
  for (const auto& row : table)
    if (row.id == id && row.get) return row.get;
  ThrowInvalidPropertyID(function);
}

template <class T, class V>
auto SetterOf(tProperties<T, V> table, ViAttr id, const char* function) {
  for (const auto& row : table)
    if (row.id == id && row.set) return row.set;
  ThrowInvalidPropertyID(function);
}

// ViString getter: the handle is looked up before the ID is examined.
template <class IKind, class T>
ViStatus GetStringProperty(IKind& items, tProperties<T, std::string> table, const char* function,
                           ViSession item, ViAttr id, ViInt32 bufferSize, ViChar value[]) {
  return ApiCall([&] {
    T* object = items.Lookup(item);
    std::string text = GetterOf(table, id, function)(*object);
    return CopyStringOut(text, bufferSize, value);
  });
}

template <class IKind, class T>
ViStatus SetStringProperty(IKind& items, tProperties<T, std::string> table, const char* function,
                           ViSession item, ViAttr id, ViConstString value) {
  return ApiCall([&] {
    T* object = items.Lookup(item);
    SetterOf(table, id, function)(*object, InputString(value));
    return VI_SUCCESS;
  });
}

// Getters of plain values (ViInt32, ViReal64; ViBoolean through bool): the output pointer is
// checked first, then the handle, then the ID.
template <class Out, class IKind, class T, class V>
ViStatus GetValueProperty(IKind& items, tProperties<T, V> table, const char* function,
                          ViSession item, ViAttr id, Out* value) {
  return ApiCall([&] {
    CheckOutputPointer(value);
    T* object = items.Lookup(item);
    V field = GetterOf(table, id, function)(*object);
    *value = static_cast<Out>(field);
    return VI_SUCCESS;
  });
}

template <class In, class IKind, class T, class V>
ViStatus SetValueProperty(IKind& items, tProperties<T, V> table, const char* function,
                          ViSession item, ViAttr id, In value) {
  return ApiCall([&] {
    T* object = items.Lookup(item);
    SetterOf(table, id, function)(*object, static_cast<V>(value));
    return VI_SUCCESS;
  });
}

}  // namespace zav
