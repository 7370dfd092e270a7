// SPDX-License-Identifier: MIT
// zavconfig.hpp - a header-only C++17 interface over the configuration server's C functions.
//
// Every object here owns the library handle it was given and releases it in its destructor, so
// nothing is ever disposed twice or forgotten; objects move but do not copy. Every failing call
// throws zav::Error with the status code and the message the library recorded. Nothing here
// reaches past the C functions of zavconfig.h and zavcshared.h.
//
//   zav::Store store = zav::Store::open("bench.xml");
//   zav::DriverSession dmm = store.getDriverSession("SampleDMM");
//   if (dmm.simulate()) ...
//   for (zav::LogicalName name : store.logicalNames()) std::cout << name.name() << '\n';
//
// Items stay usable as long as their store is open; after the store is closed every use throws
// (ZAVCONFIG_ERROR_INVALID_HANDLE) and destroying them is still safe.
#ifndef ZAVCONFIG_HPP
#define ZAVCONFIG_HPP

// Said here rather than as an error deep in the header: a project that compiles with pkg-config
// chooses its own standard (the CMake package asks for C++17 itself).
#if __cplusplus < 201703L
#error "zavconfig.hpp needs C++17 or later: compile with -std=c++17"
#endif

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>

#include "zavconfig.h"
#include "zavcshared.h"

namespace zav {

// A failed library call: the status code and the library's message for it.
class Error : public std::runtime_error {
 public:
  Error(ViStatus code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ViStatus code() const noexcept { return code_; }

 private:
  ViStatus code_;
};

// An edit of a store file (Store::edit) that did not happen: nothing was written. code() is
// ZAVCONFIG_ERROR_SERIALIZE_FAILED; reason() tells why.
class EditError : public Error {
 public:
  enum class Reason {
    Locked,      // another editor held the lock for longer than the edit would wait
    Changed,     // the file changed on disk after it was read (a writer that took no lock)
    ReadOnly,    // the user may not write the file, or nobody may
    LockFailed,  // the lock file could not be made or locked (the message says why)
  };
  EditError(Reason reason, const std::string& message)
      : Error(ZAVCONFIG_ERROR_SERIALIZE_FAILED, message), reason_(reason) {}
  Reason reason() const noexcept { return reason_; }

 private:
  Reason reason_;
};

// A document the reader refused, seen through the parts of its message: "Deserialize failed.
// Parsing error number: N, Description: text (line L)". The format is documented, so callers
// read the line from here instead of taking the text apart themselves.
class ParsingError {
 public:
  // The parts of error's message; nothing when error is not a parsing error.
  static std::optional<ParsingError> of(const Error& error) {
    static const char kLead[] = "Deserialize failed. Parsing error number: ";
    static const char kDescription[] = ", Description: ";
    const std::string message = error.what();
    size_t lead = message.find(kLead);
    if (lead == std::string::npos) return std::nullopt;
    size_t at = lead + sizeof kLead - 1;
    size_t digits = at;
    while (digits < message.size() && message[digits] >= '0' && message[digits] <= '9') ++digits;
    if (digits == at || message.compare(digits, sizeof kDescription - 1, kDescription) != 0)
      return std::nullopt;
    ParsingError parts;
    parts.number_ = ToInt(message.substr(at, digits - at));
    parts.description_ = message.substr(digits + sizeof kDescription - 1);
    // "(line L)" closes the message when the parser knew the line.
    size_t open = parts.description_.rfind("(line ");
    if (open != std::string::npos && parts.description_.back() == ')') {
      std::string line = parts.description_.substr(open + 6, parts.description_.size() - open - 7);
      if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) {
        parts.line_ = ToInt(line);
        parts.description_.erase(open);
        while (!parts.description_.empty() && parts.description_.back() == ' ')
          parts.description_.pop_back();
      }
    }
    return parts;
  }

  // The XML parser's error number.
  int number() const noexcept { return number_; }
  // What the parser said, without the line.
  const std::string& description() const noexcept { return description_; }
  // The line of the document, from 1; 0 when the message names none.
  int line() const noexcept { return line_; }

 private:
  static int ToInt(const std::string& digits) {
    long value = 0;
    for (char c : digits) {
      value = value * 10 + (c - '0');
      if (value > 0x7FFFFFFF) return 0x7FFFFFFF;
    }
    return static_cast<int>(value);
  }

  int number_ = 0;
  std::string description_;
  int line_ = 0;
};

// The kinds a data component collection can create directly.
enum class ValueKind : ViInt32 {
  Boolean = ZAVCONFIG_DATA_COMPONENT_BOOLEAN,
  Integer = ZAVCONFIG_DATA_COMPONENT_INTEGER,
  Real = ZAVCONFIG_DATA_COMPONENT_REAL,
  String = ZAVCONFIG_DATA_COMPONENT_STRING,
};

namespace detail {

// The whole recorded message, however long: ZavConfig_GetError stops at 255 bytes, and messages
// that quote paths can be longer.
inline std::string LastErrorMessage() {
  ViStatus code = 0;
  ViStatus needed = ZavSession_GetError(0, &code, 0, nullptr);
  if (needed <= 1) return std::string();
  std::string text(static_cast<size_t>(needed), '\0');
  if (ZavSession_GetError(0, &code, needed, &text[0]) < 0) return std::string();
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

// Throws the recorded error when status is a failure; returns the status otherwise.
inline ViStatus Check(ViStatus status) {
  if (status < 0) {
    std::string message = LastErrorMessage();
    throw Error(status, message.empty() ? "status " + std::to_string(status) : message);
  }
  return status;
}

using StringGetter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViInt32, ViChar*);
using StringSetter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViConstString);
using Int32Getter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViInt32*);
using Int32Setter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViInt32);
using BooleanGetter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViBoolean*);
using BooleanSetter = ViStatus(ZAVCONFIG_FUNC*)(ViSession, ViAttr, ViBoolean);

// Reads into a small buffer first, which holds nearly every value whole in one call; a longer
// value is read again at the size the library asks for, and again if it grew in between.
inline std::string GetString(StringGetter get, ViSession handle, ViAttr id) {
  ViChar small[256];
  ViInt32 size = Check(get(handle, id, static_cast<ViInt32>(sizeof small), small));
  if (size == 0) return std::string(small);
  std::string value;
  while (size > 1) {
    value.assign(static_cast<size_t>(size), '\0');
    ViStatus status = Check(get(handle, id, size, &value[0]));
    if (status == 0) break;
    size = status;
  }
  value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
  return value;
}

// Owns one handle of any kind but the store kind and disposes it when it goes.
class Handle {
 public:
  Handle() = default;
  explicit Handle(ViSession value) : value_(value) {}
  ~Handle() { reset(); }
  Handle(Handle&& other) noexcept : value_(other.release()) {}
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = other.release();
    }
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  ViSession get() const noexcept { return value_; }
  // Gives the handle up without disposing it (the library already released it).
  ViSession release() noexcept { return std::exchange(value_, 0); }
  void reset() noexcept {
    // Disposing fails only for a handle the library no longer knows, which is then gone anyway.
    if (value_ != 0) ZavConfig_DisposeHandle(value_);
    value_ = 0;
  }

 private:
  ViSession value_ = 0;
};

// Calls a function that writes a new handle and takes ownership of it.
template <class F>
ViSession Issue(F&& call) {
  ViSession out = 0;
  ViStatus status = call(&out);
  if (status < 0) {
    // Some getters write 0 on failure; a handle written anyway is not leaked.
    if (out != 0) ZavConfig_DisposeHandle(out);
    Check(status);
  }
  return out;
}

}  // namespace detail

// The common part of every item and collection: the handle it owns.
class Object {
 public:
  ViSession handle() const noexcept { return handle_.get(); }

 protected:
  Object() = default;
  explicit Object(ViSession handle) : handle_(handle) {}

  std::string str(detail::StringGetter get, ViAttr id) const {
    return detail::GetString(get, handle(), id);
  }
  void setStr(detail::StringSetter set, ViAttr id, const std::string& value) {
    detail::Check(set(handle(), id, value.c_str()));
  }
  ViInt32 int32(detail::Int32Getter get, ViAttr id) const {
    ViInt32 value = 0;
    detail::Check(get(handle(), id, &value));
    return value;
  }
  void setInt32(detail::Int32Setter set, ViAttr id, ViInt32 value) {
    detail::Check(set(handle(), id, value));
  }
  bool boolean(detail::BooleanGetter get, ViAttr id) const {
    ViBoolean value = VI_FALSE;
    detail::Check(get(handle(), id, &value));
    return value != VI_FALSE;
  }
  void setBoolean(detail::BooleanSetter set, ViAttr id, bool value) {
    detail::Check(set(handle(), id, value ? VI_TRUE : VI_FALSE));
  }
  // The library released the handle itself (a destroy call): forget it.
  void forget() noexcept { handle_.release(); }

 private:
  detail::Handle handle_;
  template <class, class>
  friend class Collection;
};

template <class Item, class Traits>
class Collection;

// Each collection kind's functions.
#define ZAV_COLLECTION_TRAITS(Kind, Count, ByIndex, ByName, Destroy)                           \
  struct Kind {                                                                                \
    static constexpr auto count = Count;                                                       \
    static constexpr auto byIndex = ByIndex;                                                   \
    static constexpr auto byName = ByName;                                                     \
    static constexpr bool hasByName = !std::is_null_pointer_v<std::decay_t<decltype(ByName)>>; \
    static constexpr auto destroy = Destroy;                                                   \
  };

namespace traits {
ZAV_COLLECTION_TRAITS(LogicalNames, ZavConfig_GetLogicalNameCount,
                      ZavConfig_GetLogicalNameItemByIndex, ZavConfig_GetLogicalNameItemByName,
                      ZavConfig_DestroyLogicalName)
ZAV_COLLECTION_TRAITS(Sessions, ZavConfig_GetSessionCount, ZavConfig_GetSessionItemByIndex,
                      ZavConfig_GetSessionItemByName, ZavConfig_DestroySession)
ZAV_COLLECTION_TRAITS(DriverSessions, ZavConfig_GetDriverSessionCount,
                      ZavConfig_GetDriverSessionItemByIndex, ZavConfig_GetDriverSessionItemByName,
                      ZavConfig_DestroyDriverSession)
ZAV_COLLECTION_TRAITS(HardwareAssets, ZavConfig_GetHardwareAssetCount,
                      ZavConfig_GetHardwareAssetItemByIndex, ZavConfig_GetHardwareAssetItemByName,
                      ZavConfig_DestroyHardwareAsset)
ZAV_COLLECTION_TRAITS(SoftwareModules, ZavConfig_GetSoftwareModuleCount,
                      ZavConfig_GetSoftwareModuleItemByIndex, ZavConfig_GetSoftwareModuleItemByName,
                      ZavConfig_DestroySoftwareModule)
ZAV_COLLECTION_TRAITS(PublishedApis, ZavConfig_GetPublishedAPICount,
                      ZavConfig_GetPublishedAPIItemByIndex, nullptr, ZavConfig_DestroyPublishedAPI)
ZAV_COLLECTION_TRAITS(PhysicalNames, ZavConfig_GetPhysicalNameCount,
                      ZavConfig_GetPhysicalNameItemByIndex, ZavConfig_GetPhysicalNameItemByName,
                      ZavConfig_DestroyPhysicalName)
ZAV_COLLECTION_TRAITS(PhysicalRanges, ZavConfig_GetPhysicalRangeCount,
                      ZavConfig_GetPhysicalRangeItemByIndex, nullptr,
                      ZavConfig_DestroyPhysicalRange)
ZAV_COLLECTION_TRAITS(VirtualNames, ZavConfig_GetVirtualNameCount,
                      ZavConfig_GetVirtualNameItemByIndex, ZavConfig_GetVirtualNameItemByName,
                      ZavConfig_DestroyVirtualName)
ZAV_COLLECTION_TRAITS(VirtualRanges, ZavConfig_GetVirtualRangeCount,
                      ZavConfig_GetVirtualRangeItemByIndex, nullptr, ZavConfig_DestroyVirtualRange)
ZAV_COLLECTION_TRAITS(DataComponents, ZavConfig_GetDataComponentCount,
                      ZavConfig_GetDataComponentItemByIndex, ZavConfig_GetDataComponentItemByName,
                      ZavConfig_DestroyDataComponent)
}  // namespace traits
#undef ZAV_COLLECTION_TRAITS

// A collection of items of one kind. Items are counted from 0 here; iteration yields a fresh
// item object (with its own handle) for each element.
template <class Item, class Traits>
class Collection : public Object {
 public:
  explicit Collection(ViSession handle) : Object(handle) {}

  size_t size() const {
    ViInt32 count = 0;
    detail::Check(Traits::count(handle(), &count));
    return static_cast<size_t>(count);
  }
  bool empty() const { return size() == 0; }

  Item at(size_t index) const {
    return Item(detail::Issue([&](ViSession* out) {
      return Traits::byIndex(handle(), static_cast<ViInt32>(index + 1), out);
    }));
  }

  // The item of that name, or nothing when the collection has none; other failures throw.
  std::optional<Item> find(const std::string& name) const {
    if constexpr (Traits::hasByName) {
      ViSession out = 0;
      ViStatus status = Traits::byName(handle(), name.c_str(), &out);
      if (status == ZAVCONFIG_ERROR_NOT_FOUND) return std::nullopt;
      if (status < 0) detail::Check(status);
      return Item(out);
    } else {
      for (Item item : *this)
        if (item.name() == name) return item;
      return std::nullopt;
    }
  }

  // The item of that name; ZAVCONFIG_ERROR_NOT_FOUND when there is none.
  Item get(const std::string& name) const {
    if constexpr (Traits::hasByName) {
      return Item(detail::Issue(
          [&](ViSession* out) { return Traits::byName(handle(), name.c_str(), out); }));
    } else {
      std::optional<Item> item = find(name);
      if (!item)
        throw Error(ZAVCONFIG_ERROR_NOT_FOUND, "No item named '" + name + "' in the collection.");
      return std::move(*item);
    }
  }

  // Removes and destroys the item; its object is spent afterwards.
  void destroy(Item& item) {
    detail::Check(Traits::destroy(handle(), item.handle()));
    item.forget();
  }

  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Item;

    iterator(const Collection* owner, size_t index) : owner_(owner), index_(index) {}
    Item operator*() const { return owner_->at(index_); }
    iterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator==(const iterator& other) const { return index_ == other.index_; }
    bool operator!=(const iterator& other) const { return index_ != other.index_; }

   private:
    const Collection* owner_;
    size_t index_;
  };
  // The count is taken when the loop starts.
  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, size()); }

 protected:
  template <class F>
  Item create(F&& call) {
    return Item(detail::Issue(std::forward<F>(call)));
  }
};

class Session;
class DriverSession;
class HardwareAsset;
class SoftwareModule;
class PublishedApi;
class DataComponent;

// --- published APIs --------------------------------------------------------------------------

class PublishedApi : public Object {
 public:
  explicit PublishedApi(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetPublishedAPIPropertyViString, ZAVCONFIG_VAL_PUBLISHED_API_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetPublishedAPIPropertyViString, ZAVCONFIG_VAL_PUBLISHED_API_NAME, v);
  }
  std::string type() const {
    return str(ZavConfig_GetPublishedAPIPropertyViString, ZAVCONFIG_VAL_PUBLISHED_API_TYPE);
  }
  void setType(const std::string& v) {
    setStr(ZavConfig_SetPublishedAPIPropertyViString, ZAVCONFIG_VAL_PUBLISHED_API_TYPE, v);
  }
  int majorVersion() const {
    return int32(ZavConfig_GetPublishedAPIPropertyViInt32,
                 ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION);
  }
  void setMajorVersion(int v) {
    setInt32(ZavConfig_SetPublishedAPIPropertyViInt32, ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION,
             v);
  }
  int minorVersion() const {
    return int32(ZavConfig_GetPublishedAPIPropertyViInt32,
                 ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION);
  }
  void setMinorVersion(int v) {
    setInt32(ZavConfig_SetPublishedAPIPropertyViInt32, ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION,
             v);
  }
};

// The store's global collection of published APIs. APIs are keyed by all four fields, so a look
// up by name finds the first API of that name.
class PublishedApiCollection : public Collection<PublishedApi, traits::PublishedApis> {
 public:
  using Collection::Collection;
  PublishedApi create(const std::string& name, const std::string& type) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreatePublishedAPI(handle(), name.c_str(), type.c_str(), out);
    });
  }
};

// A software module's list of the published APIs it implements: references to global ones.
class PublishedApiReferences : public Collection<PublishedApi, traits::PublishedApis> {
 public:
  using Collection::Collection;
  void add(const PublishedApi& api) {
    detail::Check(ZavConfig_AddPublishedAPIReference(handle(), api.handle()));
  }
  void remove(const PublishedApi& api) {
    detail::Check(ZavConfig_RemovePublishedAPIReference(handle(), api.handle()));
  }
  void destroy(PublishedApi&) = delete;  // only the global collection destroys APIs
};

// --- data components -------------------------------------------------------------------------

class DataComponentCollection;

// A typed setting. type() is one of "Boolean", "Integer", "Real", "String", "Structure",
// "APIReference"; the value accessors of another kind throw ZAVCONFIG_ERROR_INVALID_HANDLE.
class DataComponent : public Object {
 public:
  explicit DataComponent(ViSession handle) : Object(handle) {}
  std::string name() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_NAME); }
  void setName(const std::string& v) { set(ZAVCONFIG_VAL_DATA_COMPONENT_NAME, v); }
  std::string description() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION); }
  void setDescription(const std::string& v) { set(ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION, v); }
  std::string type() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_TYPE); }
  std::string usedInSession() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION); }
  void setUsedInSession(const std::string& v) {
    set(ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION, v);
  }
  std::string helpFilePath() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_HELP_FILE_PATH); }
  void setHelpFilePath(const std::string& v) {
    set(ZAVCONFIG_VAL_DATA_COMPONENT_HELP_FILE_PATH, v);
  }
  std::string softwareModuleKey() const {
    return get(ZAVCONFIG_VAL_DATA_COMPONENT_SOFTWARE_MODULE_KEY);
  }
  void setSoftwareModuleKey(const std::string& v) {
    set(ZAVCONFIG_VAL_DATA_COMPONENT_SOFTWARE_MODULE_KEY, v);
  }
  int helpContextId() const {
    return int32(ZavConfig_GetDataComponentPropertyViInt32,
                 ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID);
  }
  void setHelpContextId(int v) {
    setInt32(ZavConfig_SetDataComponentPropertyViInt32,
             ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID, v);
  }
  bool readOnly() const {
    return boolean(ZavConfig_GetDataComponentPropertyViBoolean,
                   ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY);
  }
  void setReadOnly(bool v) {
    setBoolean(ZavConfig_SetDataComponentPropertyViBoolean, ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY,
               v);
  }

  // Integer and Real only.
  std::string units() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_UNITS); }
  void setUnits(const std::string& v) { set(ZAVCONFIG_VAL_DATA_COMPONENT_UNITS, v); }

  bool booleanValue() const {
    return boolean(ZavConfig_GetDataComponentPropertyViBoolean, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE);
  }
  void setBooleanValue(bool v) {
    setBoolean(ZavConfig_SetDataComponentPropertyViBoolean, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, v);
  }
  ViInt32 integerValue() const {
    return int32(ZavConfig_GetDataComponentPropertyViInt32, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE);
  }
  void setIntegerValue(ViInt32 v) {
    setInt32(ZavConfig_SetDataComponentPropertyViInt32, ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, v);
  }
  double realValue() const {
    ViReal64 value = 0;
    detail::Check(ZavConfig_GetDataComponentPropertyViReal64(
        handle(), ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, &value));
    return value;
  }
  void setRealValue(double v) {
    detail::Check(ZavConfig_SetDataComponentPropertyViReal64(
        handle(), ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, v));
  }
  // String and APIReference.
  std::string stringValue() const { return get(ZAVCONFIG_VAL_DATA_COMPONENT_VALUE); }
  void setStringValue(const std::string& v) { set(ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, v); }

  // Structure only.
  inline DataComponentCollection members() const;

  // APIReference only; nothing when the reference is empty.
  std::optional<PublishedApi> publishedApi() const {
    ViSession api = detail::Issue([&](ViSession* out) {
      return ZavConfig_GetAPIReferencePublishedAPIReference(handle(), out);
    });
    if (api == 0) return std::nullopt;
    return PublishedApi(api);
  }
  void setPublishedApi(const PublishedApi& api) {
    detail::Check(ZavConfig_SetAPIReferencePublishedAPIReference(handle(), api.handle()));
  }

 private:
  std::string get(ViAttr id) const { return str(ZavConfig_GetDataComponentPropertyViString, id); }
  void set(ViAttr id, const std::string& v) {
    setStr(ZavConfig_SetDataComponentPropertyViString, id, v);
  }
};

class DataComponentCollection : public Collection<DataComponent, traits::DataComponents> {
 public:
  using Collection::Collection;
  DataComponent create(ValueKind kind, const std::string& name) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreateDataComponent(handle(), static_cast<ViInt32>(kind), name.c_str(), out);
    });
  }
  // A structure is created with its first member.
  DataComponent createStructure(const std::string& name, ValueKind memberKind,
                                const std::string& memberName) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreateStructure(handle(), name.c_str(), static_cast<ViInt32>(memberKind),
                                       memberName.c_str(), out);
    });
  }
  DataComponent createApiReference(const std::string& name, const PublishedApi& api) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreateAPIReference(handle(), name.c_str(), api.handle(), out);
    });
  }
};

inline DataComponentCollection DataComponent::members() const {
  return DataComponentCollection(detail::Issue([&](ViSession* out) {
    return ZavConfig_GetStructureDataComponentCollection(handle(), out);
  }));
}

// Sessions, driver sessions, hardware assets and software modules all carry settings.
inline DataComponentCollection DataComponentsOf(ViSession owner) {
  return DataComponentCollection(detail::Issue([&](ViSession* out) {
    return ZavConfig_GetConfigComponentDataComponentCollection(owner, out);
  }));
}

// --- physical and virtual names --------------------------------------------------------------

class PhysicalRange : public Object {
 public:
  explicit PhysicalRange(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetPhysicalRangePropertyViString, ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetPhysicalRangePropertyViString, ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME, v);
  }
  int min() const {
    return int32(ZavConfig_GetPhysicalRangePropertyViInt32, ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN);
  }
  void setMin(int v) {
    setInt32(ZavConfig_SetPhysicalRangePropertyViInt32, ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN, v);
  }
  int max() const {
    return int32(ZavConfig_GetPhysicalRangePropertyViInt32, ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX);
  }
  void setMax(int v) {
    setInt32(ZavConfig_SetPhysicalRangePropertyViInt32, ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX, v);
  }
};

class PhysicalRangeCollection : public Collection<PhysicalRange, traits::PhysicalRanges> {
 public:
  using Collection::Collection;
  PhysicalRange create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreatePhysicalRange(handle(), name.c_str(), out); });
  }
};

class PhysicalNameCollection;

class PhysicalName : public Object {
 public:
  explicit PhysicalName(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetPhysicalNamePropertyViString, ZAVCONFIG_VAL_PHYSICAL_NAME_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetPhysicalNamePropertyViString, ZAVCONFIG_VAL_PHYSICAL_NAME_NAME, v);
  }
  std::string rcName() const {
    return str(ZavConfig_GetPhysicalNamePropertyViString, ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME);
  }
  void setRcName(const std::string& v) {
    setStr(ZavConfig_SetPhysicalNamePropertyViString, ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME, v);
  }
  PhysicalRangeCollection ranges() const {
    return PhysicalRangeCollection(detail::Issue([&](ViSession* out) {
      return ZavConfig_GetPhysicalNamePhysicalRangeCollection(handle(), out);
    }));
  }
  inline PhysicalNameCollection children() const;
};

class PhysicalNameCollection : public Collection<PhysicalName, traits::PhysicalNames> {
 public:
  using Collection::Collection;
  PhysicalName create(const std::string& name, const std::string& rcName) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreatePhysicalName(handle(), name.c_str(), rcName.c_str(), out);
    });
  }
};

inline PhysicalNameCollection PhysicalName::children() const {
  return PhysicalNameCollection(detail::Issue([&](ViSession* out) {
    return ZavConfig_GetPhysicalNameChildPhysicalNameCollection(handle(), out);
  }));
}

class VirtualRange : public Object {
 public:
  explicit VirtualRange(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetVirtualRangePropertyViString, ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetVirtualRangePropertyViString, ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME, v);
  }
  int min() const {
    return int32(ZavConfig_GetVirtualRangePropertyViInt32, ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN);
  }
  void setMin(int v) {
    setInt32(ZavConfig_SetVirtualRangePropertyViInt32, ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN, v);
  }
  int max() const {
    return int32(ZavConfig_GetVirtualRangePropertyViInt32, ZAVCONFIG_VAL_VIRTUAL_RANGE_MAX);
  }
  void setMax(int v) {
    setInt32(ZavConfig_SetVirtualRangePropertyViInt32, ZAVCONFIG_VAL_VIRTUAL_RANGE_MAX, v);
  }
  int startingPhysicalIndex() const {
    return int32(ZavConfig_GetVirtualRangePropertyViInt32,
                 ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX);
  }
  void setStartingPhysicalIndex(int v) {
    setInt32(ZavConfig_SetVirtualRangePropertyViInt32,
             ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX, v);
  }
};

class VirtualRangeCollection : public Collection<VirtualRange, traits::VirtualRanges> {
 public:
  using Collection::Collection;
  VirtualRange create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreateVirtualRange(handle(), name.c_str(), out); });
  }
};

class VirtualName : public Object {
 public:
  explicit VirtualName(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetVirtualNamePropertyViString, ZAVCONFIG_VAL_VIRTUAL_NAME_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetVirtualNamePropertyViString, ZAVCONFIG_VAL_VIRTUAL_NAME_NAME, v);
  }
  std::string mapTo() const {
    return str(ZavConfig_GetVirtualNamePropertyViString, ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO);
  }
  void setMapTo(const std::string& v) {
    setStr(ZavConfig_SetVirtualNamePropertyViString, ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO, v);
  }
  VirtualRangeCollection ranges() const {
    return VirtualRangeCollection(detail::Issue([&](ViSession* out) {
      return ZavConfig_GetVirtualNameVirtualRangeCollection(handle(), out);
    }));
  }
};

class VirtualNameCollection : public Collection<VirtualName, traits::VirtualNames> {
 public:
  using Collection::Collection;
  VirtualName create(const std::string& name, const std::string& mapTo) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreateVirtualName(handle(), name.c_str(), mapTo.c_str(), out);
    });
  }
};

// --- software modules and hardware assets ----------------------------------------------------

class SoftwareModule : public Object {
 public:
  explicit SoftwareModule(ViSession handle) : Object(handle) {}
  std::string name() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME); }
  void setName(const std::string& v) { set(ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME, v); }
  std::string description() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION); }
  void setDescription(const std::string& v) { set(ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION, v); }
  // The shared library a driver session of this module loads.
  std::string modulePath() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH); }
  void setModulePath(const std::string& v) {
    set(ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH, v);
  }
  std::string modulePath64() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64); }
  void setModulePath64(const std::string& v) {
    set(ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64, v);
  }
  std::string prefix() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX); }
  void setPrefix(const std::string& v) { set(ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX, v); }
  std::string progId() const { return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_PROG_ID); }
  void setProgId(const std::string& v) { set(ZAVCONFIG_VAL_SOFTWARE_MODULE_PROG_ID, v); }
  std::string supportedInstrumentModels() const {
    return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS);
  }
  void setSupportedInstrumentModels(const std::string& v) {
    set(ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS, v);
  }
  std::string assemblyQualifiedClassName() const {
    return get(ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME);
  }
  void setAssemblyQualifiedClassName(const std::string& v) {
    set(ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME, v);
  }

  PhysicalNameCollection physicalNames() const {
    return PhysicalNameCollection(detail::Issue([&](ViSession* out) {
      return ZavConfig_GetSoftwareModulePhysicalNameCollection(handle(), out);
    }));
  }
  PublishedApiReferences publishedApis() const {
    return PublishedApiReferences(detail::Issue([&](ViSession* out) {
      return ZavConfig_GetSoftwareModulePublishedAPICollection(handle(), out);
    }));
  }
  DataComponentCollection dataComponents() const { return DataComponentsOf(handle()); }

 private:
  std::string get(ViAttr id) const { return str(ZavConfig_GetSoftwareModulePropertyViString, id); }
  void set(ViAttr id, const std::string& v) {
    setStr(ZavConfig_SetSoftwareModulePropertyViString, id, v);
  }
};

class SoftwareModuleCollection : public Collection<SoftwareModule, traits::SoftwareModules> {
 public:
  using Collection::Collection;
  SoftwareModule create(const std::string& name) {
    return Collection::create([&](ViSession* out) {
      return ZavConfig_CreateSoftwareModule(handle(), name.c_str(), out);
    });
  }
};

class HardwareAsset : public Object {
 public:
  explicit HardwareAsset(ViSession handle) : Object(handle) {}
  std::string name() const { return get(ZAVCONFIG_VAL_HARDWARE_ASSET_NAME); }
  void setName(const std::string& v) { set(ZAVCONFIG_VAL_HARDWARE_ASSET_NAME, v); }
  std::string description() const { return get(ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION); }
  void setDescription(const std::string& v) { set(ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION, v); }
  std::string ioResourceDescriptor() const {
    return get(ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR);
  }
  void setIoResourceDescriptor(const std::string& v) {
    set(ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR, v);
  }
  DataComponentCollection dataComponents() const { return DataComponentsOf(handle()); }

 private:
  std::string get(ViAttr id) const { return str(ZavConfig_GetHardwareAssetPropertyViString, id); }
  void set(ViAttr id, const std::string& v) {
    setStr(ZavConfig_SetHardwareAssetPropertyViString, id, v);
  }
};

class HardwareAssetCollection : public Collection<HardwareAsset, traits::HardwareAssets> {
 public:
  using Collection::Collection;
  HardwareAsset create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreateHardwareAsset(handle(), name.c_str(), out); });
  }
};

// --- sessions, driver sessions and logical names ---------------------------------------------

// A session; a driver session reached through the session functions is a Session too.
class Session : public Object {
 public:
  explicit Session(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetSessionPropertyViString, ZAVCONFIG_VAL_SESSION_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetSessionPropertyViString, ZAVCONFIG_VAL_SESSION_NAME, v);
  }
  std::string description() const {
    return str(ZavConfig_GetSessionPropertyViString, ZAVCONFIG_VAL_SESSION_DESCRIPTION);
  }
  void setDescription(const std::string& v) {
    setStr(ZavConfig_SetSessionPropertyViString, ZAVCONFIG_VAL_SESSION_DESCRIPTION, v);
  }
  // The name of the module the session was linked to; kept when that module is destroyed.
  std::string softwareModuleName() const {
    return str(ZavConfig_GetSessionPropertyViString, ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME);
  }

  std::optional<HardwareAsset> hardwareAsset() const {
    ViSession asset = detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetSessionHardwareAssetReference(handle(), out); });
    if (asset == 0) return std::nullopt;
    return HardwareAsset(asset);
  }
  void setHardwareAsset(const HardwareAsset& asset) {
    detail::Check(ZavConfig_SetSessionHardwareAssetReference(handle(), asset.handle()));
  }
  void clearHardwareAsset() {
    detail::Check(ZavConfig_SetSessionHardwareAssetReference(handle(), 0));
  }

  std::optional<SoftwareModule> softwareModule() const {
    ViSession module = detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetSessionSoftwareModuleReference(handle(), out); });
    if (module == 0) return std::nullopt;
    return SoftwareModule(module);
  }
  // Linking a module also copies the settings the module requires into the session.
  void setSoftwareModule(const SoftwareModule& module) {
    detail::Check(ZavConfig_SetSessionSoftwareModuleReference(handle(), module.handle()));
  }
  void clearSoftwareModule() {
    detail::Check(ZavConfig_SetSessionSoftwareModuleReference(handle(), 0));
  }

  VirtualNameCollection virtualNames() const {
    return VirtualNameCollection(detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetSessionVirtualNameCollection(handle(), out); }));
  }
  DataComponentCollection dataComponents() const { return DataComponentsOf(handle()); }
};

class SessionCollection : public Collection<Session, traits::Sessions> {
 public:
  using Collection::Collection;
  Session create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreateSession(handle(), name.c_str(), out); });
  }
};

class DriverSession : public Session {
 public:
  explicit DriverSession(ViSession handle) : Session(handle) {}
  // Text handed to the driver when it initialises.
  std::string driverSetup() const {
    return str(ZavConfig_GetDriverSessionPropertyViString,
               ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP);
  }
  void setDriverSetup(const std::string& v) {
    setStr(ZavConfig_SetDriverSessionPropertyViString, ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP,
           v);
  }
  bool cache() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_CACHE); }
  void setCache(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, v); }
  bool interchangeCheck() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK); }
  void setInterchangeCheck(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK, v); }
  bool queryInstrStatus() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS); }
  void setQueryInstrStatus(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS, v); }
  bool rangeCheck() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK); }
  void setRangeCheck(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK, v); }
  bool recordCoercions() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS); }
  void setRecordCoercions(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS, v); }
  bool simulate() const { return flag(ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE); }
  void setSimulate(bool v) { setFlag(ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE, v); }

 private:
  bool flag(ViAttr id) const { return boolean(ZavConfig_GetDriverSessionPropertyViBoolean, id); }
  void setFlag(ViAttr id, bool v) {
    setBoolean(ZavConfig_SetDriverSessionPropertyViBoolean, id, v);
  }
};

// A driver session joins both the session and the driver session collections of its store.
class DriverSessionCollection : public Collection<DriverSession, traits::DriverSessions> {
 public:
  using Collection::Collection;
  DriverSession create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreateDriverSession(handle(), name.c_str(), out); });
  }
};

class LogicalName : public Object {
 public:
  explicit LogicalName(ViSession handle) : Object(handle) {}
  std::string name() const {
    return str(ZavConfig_GetLogicalNamePropertyViString, ZAVCONFIG_VAL_LOGICAL_NAME_NAME);
  }
  void setName(const std::string& v) {
    setStr(ZavConfig_SetLogicalNamePropertyViString, ZAVCONFIG_VAL_LOGICAL_NAME_NAME, v);
  }
  std::string description() const {
    return str(ZavConfig_GetLogicalNamePropertyViString, ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION);
  }
  void setDescription(const std::string& v) {
    setStr(ZavConfig_SetLogicalNamePropertyViString, ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION, v);
  }

  // The session the name leads to (possibly a driver session), or nothing.
  std::optional<Session> session() const {
    ViSession session = detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetLogicalNameSessionReference(handle(), out); });
    if (session == 0) return std::nullopt;
    return Session(session);
  }
  void setSession(const Session& session) {
    detail::Check(ZavConfig_SetLogicalNameSessionReference(handle(), session.handle()));
  }
  void clearSession() { detail::Check(ZavConfig_SetLogicalNameSessionReference(handle(), 0)); }
};

class LogicalNameCollection : public Collection<LogicalName, traits::LogicalNames> {
 public:
  using Collection::Collection;
  LogicalName create(const std::string& name) {
    return Collection::create(
        [&](ViSession* out) { return ZavConfig_CreateLogicalName(handle(), name.c_str(), out); });
  }
};

// --- editing a store file that others edit too --------------------------------------------

namespace detail {

inline std::string ErrnoText(int err) { return std::strerror(err); }

// The file `path` leads to through symbolic links (relative ones from the link's directory, at
// most 40), which need not exist: a dangling link names the file to create. The lock and the
// change check belong to that file, so editors that name it through different links agree.
inline std::string LinkTarget(const std::string& path) {
  std::string current = path;
  for (int followed = 0; followed < 40; ++followed) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(current.c_str(), &target[0], target.size());
    if (n <= 0 || static_cast<size_t>(n) == target.size()) return current;
    target.resize(static_cast<size_t>(n));
    const size_t slash = current.rfind('/');
    current = target[0] == '/' || slash == std::string::npos ? target
                                                             : current.substr(0, slash + 1) + target;
  }
  return current;
}

// What tells one version of a file from another without reading it. A save through the
// library always makes a new file (a new inode); an editor that writes in place changes the
// size or the times.
struct FileState {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{}, changed{};

  static FileState Of(const std::string& path) {
    FileState state;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return state;
    state.exists = true;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = info.st_size;
    state.modified = info.st_mtim;
    state.changed = info.st_ctim;
    return state;
  }
  bool operator==(const FileState& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
  bool operator!=(const FileState& o) const { return !(*this == o); }
};

// "pid=...\nuser=...\nhost=...\nsince=...\ncommand=...\n": who holds a lock, for those who
// wait for it.
inline std::string HolderRecord() {
  std::string user;
  char buffer[4096];
  struct passwd entry, *found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
    user = found->pw_name;
  else
    user = std::to_string(geteuid());
  char host[256] = "";
  gethostname(host, sizeof host - 1);
  char since[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  if (gmtime_r(&now, &utc)) std::strftime(since, sizeof since, "%Y-%m-%dT%H:%M:%SZ", &utc);
  std::string command;
  const int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0 && command.size() < 4096)
      command.append(buffer, static_cast<size_t>(n));
    close(fd);
    while (!command.empty() && command.back() == '\0') command.pop_back();
    for (char& c : command)
      if (c == '\0' || c == '\n') c = ' ';
  }
  return "pid=" + std::to_string(getpid()) + "\nuser=" + user + "\nhost=" + host +
         "\nsince=" + since + "\ncommand=" + command + "\n";
}

// The holder record of a lock file as one phrase: "pid 1234, user ana on host7, since ...:
// command", or "holder unknown".
inline std::string DescribeHolder(const std::string& lockPath) {
  std::string text;
  const int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd >= 0) {
    char buffer[8192];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) text.assign(buffer, static_cast<size_t>(n));
    close(fd);
  }
  auto field = [&](const char* key) {
    const std::string prefix = std::string(key) + "=";
    for (size_t pos = 0; pos < text.size();) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      if (text.compare(pos, prefix.size(), prefix) == 0)
        return text.substr(pos + prefix.size(), end - pos - prefix.size());
      pos = end + 1;
    }
    return std::string();
  };
  const std::string pid = field("pid"), user = field("user"), host = field("host"),
                    since = field("since"), command = field("command");
  if (pid.empty()) return "holder unknown";
  std::string holder = "pid " + pid;
  if (!user.empty()) holder += ", user " + user + (host.empty() ? "" : " on " + host);
  if (!since.empty()) holder += ", since " + since;
  if (!command.empty()) holder += ": " + command;
  return holder;
}

}  // namespace detail

// The exclusive lock of a file that several programs edit (a store, the registry): an advisory
// lock on "<file>.lock" beside the file the path leads to. A lock file, not the file itself,
// because a save replaces the file with a new one, which would leave a lock on the old one
// behind. The holder writes who it is into the lock file, so that a program that waits in vain
// can say who holds it; the file is removed on release, and a holder that dies releases its
// lock with its last descriptor.
class FileLock {
 public:
  // Waits up to `timeout` for the lock; throws EditError (Locked when another holder kept it,
  // LockFailed when the lock file cannot be made).
  explicit FileLock(const std::string& path,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10))
      : target_(detail::LinkTarget(path)), lockPath_(target_ + ".lock") {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(5);
    for (;;) {
      bool writable = true;
      fd_ = open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
        writable = false;
        fd_ = open(lockPath_.c_str(), O_RDONLY | O_CLOEXEC);
      }
      if (fd_ < 0)
        throw EditError(EditError::Reason::LockFailed,
                        path + ": cannot make the lock file " + lockPath_ + ": " +
                            detail::ErrnoText(errno));
      if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        // The holder before us may have removed the file while we waited for it; a lock on a
        // file nobody else can open any more locks nothing.
        struct stat held, named;
        if (fstat(fd_, &held) == 0 && stat(lockPath_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
          if (writable) Record();
          return;
        }
      } else if (errno != EWOULDBLOCK && errno != EINTR) {
        const int err = errno;
        close(std::exchange(fd_, -1));
        throw EditError(EditError::Reason::LockFailed,
                        path + ": cannot lock " + lockPath_ + ": " + detail::ErrnoText(err));
      } else if (std::chrono::steady_clock::now() >= deadline) {
        close(std::exchange(fd_, -1));
        const auto seconds = std::chrono::duration_cast<std::chrono::duration<double>>(timeout);
        char waited[32];
        std::snprintf(waited, sizeof waited, "%g", seconds.count());
        throw EditError(EditError::Reason::Locked,
                        path + ": the store is locked by another editor (" +
                            detail::DescribeHolder(lockPath_) + "); gave up after " + waited +
                            " s");
      } else {
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
      }
      close(std::exchange(fd_, -1));
    }
  }
  ~FileLock() { release(); }
  FileLock(FileLock&& other) noexcept
      : target_(std::move(other.target_)),
        lockPath_(std::move(other.lockPath_)),
        fd_(std::exchange(other.fd_, -1)) {}
  FileLock& operator=(FileLock&& other) noexcept {
    if (this != &other) {
      release();
      target_ = std::move(other.target_);
      lockPath_ = std::move(other.lockPath_);
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // The file the locked path leads to, and its lock file.
  const std::string& target() const noexcept { return target_; }
  const std::string& lockPath() const noexcept { return lockPath_; }

  // Removes the lock file while still holding it, then lets go.
  void release() noexcept {
    if (fd_ < 0) return;
    unlink(lockPath_.c_str());
    close(std::exchange(fd_, -1));
  }

 private:
  void Record() {
    const std::string record = detail::HolderRecord();
    if (ftruncate(fd_, 0) == 0 && pwrite(fd_, record.data(), record.size(), 0) < 0) {
      // Who holds the lock is only a courtesy to those who wait.
    }
  }

  std::string target_;
  std::string lockPath_;
  int fd_ = -1;
};

// How Store::edit goes about it.
struct EditOptions {
  // How long to wait for another editor to finish.
  std::chrono::milliseconds lockTimeout = std::chrono::seconds(10);
  // Replace a store file the user may not write, or nobody may (no write permission bit).
  bool force = false;
  // Start from an empty store when the file does not exist yet.
  bool createIfMissing = false;
};

// --- the store -------------------------------------------------------------------------------

// An open store. It is destroyed, with every item in it, when the object goes or close() is
// called; nothing is written unless serialize() is.
class Store {
 public:
  // An empty store.
  Store() { detail::Check(ZavConfig_Initialize(&handle_)); }
  ~Store() { close(); }
  Store(Store&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
  Store& operator=(Store&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // A store read from the file at location.
  static Store open(const std::string& location) {
    Store store;
    store.deserialize(location);
    return store;
  }
  // The master store named by the registry.
  static Store openMaster() {
    Store store;
    store.deserialize(store.masterLocation());
    return store;
  }

  ViSession handle() const noexcept { return handle_; }
  bool isOpen() const noexcept { return handle_ != 0; }
  void close() noexcept {
    if (handle_ != 0) ZavConfig_Close(handle_);
    handle_ = 0;
  }

  // Reads the document at location; a store reads once in its life.
  void deserialize(const std::string& location) {
    detail::Check(ZavConfig_Deserialize(handle_, location.c_str()));
  }
  // Writes the document to location, atomically: a failure leaves the old file whole.
  void serialize(const std::string& location) const {
    detail::Check(ZavConfig_Serialize(handle_, location.c_str()));
  }

  // The safe way to change a store file that other people and programs change too: under the
  // file's lock (FileLock), reads the store, runs change(store) and saves the store back to
  // path, unless change throws or returns false. Nothing is written, and EditError is thrown,
  // when the file changed on disk after it was read (a writer that took no lock) or is
  // read-only (unless options.force). Returns whether the store was saved.
  template <class Change>
  static bool edit(const std::string& path, Change&& change, const EditOptions& options = {}) {
    FileLock lock(path, options.lockTimeout);
    const detail::FileState before = detail::FileState::Of(lock.target());
    if (before.exists && !options.force) {
      struct stat info;
      if (access(lock.target().c_str(), W_OK) != 0 ||
          (stat(lock.target().c_str(), &info) == 0 && (info.st_mode & 0222) == 0))
        throw EditError(EditError::Reason::ReadOnly,
                        path + ": the store file is read-only; nothing was written");
    }
    Store store;
    if (before.exists || !options.createIfMissing) store.deserialize(path);
    bool save = true;
    if constexpr (std::is_same_v<std::invoke_result_t<Change, Store&>, bool>)
      save = change(store);
    else
      change(store);
    if (!save) return false;
    if (detail::FileState::Of(lock.target()) != before)
      throw EditError(EditError::Reason::Changed,
                      path + ": the store changed on disk since it was read; nothing was written");
    store.serialize(path);
    return true;
  }

  std::string name() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_NAME); }
  std::string description() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION); }
  void setDescription(const std::string& v) { set(ZAVCONFIG_VAL_CONFIG_STORE_DESCRIPTION, v); }
  // The registry's master store; ZAVCONFIG_ERROR_MASTER_NOT_FOUND when it names no file.
  std::string masterLocation() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_MASTER_LOCATION); }
  // Where this store was read from ("" before it was).
  std::string actualLocation() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_ACTUAL_LOCATION); }
  std::string processDefaultLocation() const {
    return get(ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION);
  }
  // Process-wide: sets the environment of the whole process.
  void setProcessDefaultLocation(const std::string& v) {
    set(ZAVCONFIG_VAL_CONFIG_STORE_PROCESS_DEFAULT_LOCATION, v);
  }
  std::string revision() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_REVISION); }
  std::string vendor() const { return get(ZAVCONFIG_VAL_CONFIG_STORE_VENDOR); }
  int formatMajorVersion() const {
    return int32(ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MAJOR_VERSION);
  }
  int formatMinorVersion() const {
    return int32(ZAVCONFIG_VAL_CONFIG_STORE_SPECIFICATION_MINOR_VERSION);
  }

  // name through a logical name, else as a session name.
  Session getSession(const std::string& name) const {
    ViSession session = detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetSession(handle_, name.c_str(), out); });
    // A logical name that leads nowhere resolves to no session.
    if (session == 0)
      throw Error(ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                  "The '" + name + "' logical name references no session.");
    return Session(session);
  }
  // name through a logical name leading to a driver session, else as a driver session name.
  DriverSession getDriverSession(const std::string& name) const {
    return DriverSession(detail::Issue(
        [&](ViSession* out) { return ZavConfig_GetDriverSession(handle_, name.c_str(), out); }));
  }

  // The session a driver would get for name (through a logical name, else by session name), or
  // nothing when no logical name or session has that name or the logical name leads nowhere.
  std::optional<Session> findSession(const std::string& name) const {
    try {
      ViSession session = detail::Issue(
          [&](ViSession* out) { return ZavConfig_GetSession(handle_, name.c_str(), out); });
      if (session == 0) return std::nullopt;
      return Session(session);
    } catch (const Error& e) {
      if (e.code() != ZAVCONFIG_ERROR_SESSION_NOT_FOUND) throw;
      return std::nullopt;
    }
  }
  // Likewise for a driver session; nothing when the name leads to no driver session.
  std::optional<DriverSession> findDriverSession(const std::string& name) const {
    try {
      return DriverSession(detail::Issue(
          [&](ViSession* out) { return ZavConfig_GetDriverSession(handle_, name.c_str(), out); }));
    } catch (const Error& e) {
      if (e.code() != ZAVCONFIG_ERROR_SESSION_NOT_FOUND) throw;
      return std::nullopt;
    }
  }

  LogicalNameCollection logicalNames() const {
    return collection<LogicalNameCollection>(ZavConfig_GetConfigStoreLogicalNameCollection);
  }
  // Every session, driver sessions included.
  SessionCollection sessions() const {
    return collection<SessionCollection>(ZavConfig_GetConfigStoreSessionCollection);
  }
  DriverSessionCollection driverSessions() const {
    return collection<DriverSessionCollection>(ZavConfig_GetConfigStoreDriverSessionCollection);
  }
  HardwareAssetCollection hardwareAssets() const {
    return collection<HardwareAssetCollection>(ZavConfig_GetConfigStoreHardwareAssetCollection);
  }
  SoftwareModuleCollection softwareModules() const {
    return collection<SoftwareModuleCollection>(ZavConfig_GetConfigStoreSoftwareModuleCollection);
  }
  PublishedApiCollection publishedApis() const {
    return collection<PublishedApiCollection>(ZavConfig_GetConfigStorePublishedAPICollection);
  }

 private:
  std::string get(ViAttr id) const {
    return detail::GetString(ZavConfig_GetConfigStorePropertyViString, handle_, id);
  }
  void set(ViAttr id, const std::string& v) {
    detail::Check(ZavConfig_SetConfigStorePropertyViString(handle_, id, v.c_str()));
  }
  int int32(ViAttr id) const {
    ViInt32 value = 0;
    detail::Check(ZavConfig_GetConfigStorePropertyViInt32(handle_, id, &value));
    return value;
  }
  template <class C>
  C collection(ViStatus(ZAVCONFIG_FUNC* get)(ViSession, ViSession*)) const {
    return C(detail::Issue([&](ViSession* out) { return get(handle_, out); }));
  }

  ViSession handle_ = 0;
};

}  // namespace zav

#endif  // ZAVCONFIG_HPP
