// SPDX-License-Identifier: MIT
#include "persist/store_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "model/config_store.h"

namespace zav::persist {

namespace {
// The length of the UTF-8 sequence at p, whose lead byte is 0x80 or more, with its code point
// in `cp`; 0 when it is not a well-formed sequence (a stray continuation byte, an overlong form,
// a surrogate, a code point beyond U+10FFFF, or a sequence cut short).
int Utf8Sequence(const unsigned char* p, const unsigned char* end, uint32_t& cp) {
  const unsigned char c = *p;
  int extra;
  if (c >= 0xC2 && c <= 0xDF) extra = 1, cp = c & 0x1F;
  else if (c >= 0xE0 && c <= 0xEF) extra = 2, cp = c & 0x0F;
  else if (c >= 0xF0 && c <= 0xF4) extra = 3, cp = c & 0x07;
  else return 0;
  if (end - p <= extra) return 0;
  for (int i = 1; i <= extra; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return extra + 1;
}

// XML 1.0 carries every code point a sequence can encode but these two.
bool IsXmlCodePoint(uint32_t cp) { return cp != 0xFFFE && cp != 0xFFFF; }
}  // namespace

bool CheckXmlText(const std::string& text, bool& xmlChars) {
  xmlChars = true;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    if (*p < 0x80) {
      if (*p < 0x20 && *p != '\t' && *p != '\n' && *p != '\r') xmlChars = false;
      ++p;
      continue;
    }
    uint32_t cp;
    const int length = Utf8Sequence(p, end, cp);
    if (length == 0) return false;
    if (!IsXmlCodePoint(cp)) xmlChars = false;
    p += length;
  }
  return true;
}

namespace {

// The deepest element a store document may have: the reader refuses anything deeper, so a
// store nested deeper is refused rather than written to a file that cannot be read back.
constexpr unsigned kMaxDepth = 257;

[[noreturn]] void SerializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_SERIALIZE_FAILED, "Serialize failed. " + text);
}

// The item whose values are being written, for messages: its element and the item (null for
// the store itself). Its name is looked up only when a message needs it.
struct tWhere {
  const char* element;
  const iConfigStoreItem* item;
};

std::string NameOf(const tWhere& where) {
  if (std::strcmp(where.element, "ZavPublishedAPI") == 0)
    return static_cast<const tZavPublishedAPI*>(where.item)->GetName();
  return static_cast<const iZavCollectionItem*>(where.item)->GetName();
}

// --------------------------------------------------------------------------------------------
// The one walk over a store in document order. It drives a sink through every element, and
// calls Issue at the exact point where each item takes its id number: most items after their
// children, sessions, hardware assets and software modules right after their data components.
// The walk runs twice, first with the numbering sink, then with the writing sink, so ids and
// text come from the same definition of the order. Values reach the sink as getters, which the
// numbering sink never calls. Nested structures and physical names cost no machine stack,
// however deep the model lets callers nest them.
template <class Sink>
class tWalk {
 public:
  explicit tWalk(Sink& sink) : s_(sink) {}
  void Store(tZavConfigStore* store);

 private:
  // Items that hold lists of their own kind (a structure's members, a physical name's nested
  // names), walked with an explicit stack: begin(item) writes the item up to its nested list
  // and returns that list (null: it has none, not even an empty one), end(item) what follows it.
  template <class T, class Begin, class End>
  void Nested(const char* element, tZavCollection<T>* list, Begin begin, End end);
  void Components(tZavCollection<iZavDataComponent>* list);
  void PhysicalNames(tZavCollection<tZavPhysicalName>* list);
  void PhysicalRanges(tZavPhysicalName* name);
  void VirtualNames(tZavCollection<tZavVirtualName>* list);
  // The start of a configuration component: its element, Name, Description, data components,
  // then its id.
  void ConfigCommon(iZavConfigComponent* item, const char* element);
  void Session(tZavSession* session, const char* element);

  Sink& s_;
};

#define ZAV_GET(expr) [&] { return (expr); }

template <class Sink>
template <class T, class Begin, class End>
void tWalk<Sink>::Nested(const char* element, tZavCollection<T>* list, Begin begin, End end) {
  struct tLevel {
    tZavCollection<T>* list;
    long index;
    long count;
    T* owner;  // the item these are nested in; null at the top
  };
  std::vector<tLevel> levels;
  auto open = [&](tZavCollection<T>* items, T* owner) {
    const long count = items->Count();
    if (count == 0) return false;
    s_.Open(element);
    levels.push_back({items, 0, count, owner});
    return true;
  };
  if (!open(list, nullptr)) return s_.Empty(element);
  while (!levels.empty()) {
    tLevel& level = levels.back();
    if (level.index == level.count) {
      T* owner = level.owner;
      levels.pop_back();
      s_.Close(element);
      if (owner) end(owner);  // its nested items are done: what follows them
      continue;
    }
    T* item = level.list->ItemByIndex(++level.index);
    tZavCollection<T>* nested = begin(item);
    if (nested && open(nested, item)) continue;
    if (nested) s_.Empty(element);
    end(item);
  }
}

namespace {
// The element of a data component: "Zav" and its Type.
const char* ComponentElement(const iZavDataComponent& c) {
  if (c.IsType(kTypeAPIReference)) return "ZavAPIReference";
  if (c.IsType(kTypeBoolean)) return "ZavBoolean";
  if (c.IsType(kTypeInteger)) return "ZavInteger";
  if (c.IsType(kTypeReal)) return "ZavReal";
  if (c.IsType(kTypeString)) return "ZavString";
  return "ZavStructure";
}
}  // namespace

template <class Sink>
void tWalk<Sink>::Components(tZavCollection<iZavDataComponent>* list) {
  auto begin = [&](iZavDataComponent* c) -> tZavCollection<iZavDataComponent>* {
    const char* element = ComponentElement(*c);
    const tWhere where{element, c};
    s_.OpenItem(element, c);
    s_.Text("Name", ZAV_GET(c->GetName()), where);
    s_.Text("Description", ZAV_GET(c->GetDescription()), where);
    s_.Boolean("ReadOnly", ZAV_GET(c->GetReadOnly()));
    s_.Text("UsedInSession", ZAV_GET(c->GetUsedInSession()), where);
    s_.Text("Type", ZAV_GET(c->GetType()), where);
    s_.Integer("HelpContextID", ZAV_GET(c->GetHelpContextID()));
    s_.Text("HelpFilePath", ZAV_GET(c->GetHelpFilePath()), where);
    s_.Text("SoftwareModuleKey", ZAV_GET(c->GetSoftwareModuleKey()), where);
    if (c->IsType(kTypeAPIReference)) {
      auto* reference = static_cast<tZavAPIReference*>(c);
      s_.Text("Value", ZAV_GET(reference->GetValue()), where);
      s_.Ref("ZavPublishedAPI", reference->GetPublishedAPIReference());
    } else if (c->IsType(kTypeBoolean)) {
      s_.Boolean("Value", ZAV_GET(static_cast<tZavBoolean*>(c)->GetValue()));
    } else if (c->IsType(kTypeInteger)) {
      auto* integer = static_cast<tZavInteger*>(c);
      s_.Text("Units", ZAV_GET(integer->GetUnits()), where);
      s_.Integer("Value", ZAV_GET(integer->GetValue()));
    } else if (c->IsType(kTypeReal)) {
      auto* real = static_cast<tZavReal*>(c);
      s_.Text("Units", ZAV_GET(real->GetUnits()), where);
      s_.Real("Value", ZAV_GET(real->GetValue()));
    } else if (c->IsType(kTypeString)) {
      s_.Text("Value", ZAV_GET(static_cast<tZavString*>(c)->GetValue()), where);
    } else {
      return static_cast<tZavStructure*>(c)->GetDataComponents();  // its members come next
    }
    return nullptr;
  };
  auto end = [&](iZavDataComponent* c) {
    s_.Issue(c, false);
    s_.CloseItem();
  };
  Nested("DataComponents", list, begin, end);
}

template <class Sink>
void tWalk<Sink>::PhysicalRanges(tZavPhysicalName* name) {
  auto* ranges = name->GetPhysicalRanges();
  const long count = ranges->Count();
  if (count == 0) return s_.Empty("PhysicalRanges");
  s_.Open("PhysicalRanges");
  for (long r = 1; r <= count; ++r) {
    tZavPhysicalRange* range = ranges->ItemByIndex(r);
    s_.OpenItem("ZavPhysicalRange", range);
    s_.Text("Name", ZAV_GET(range->GetName()), tWhere{"ZavPhysicalRange", range});
    s_.Integer("Max", ZAV_GET(range->GetMax()));
    s_.Integer("Min", ZAV_GET(range->GetMin()));
    s_.Issue(range, false);
    s_.CloseItem();
  }
  s_.Close("PhysicalRanges");
}

template <class Sink>
void tWalk<Sink>::PhysicalNames(tZavCollection<tZavPhysicalName>* list) {
  auto begin = [&](tZavPhysicalName* name) {
    const tWhere where{"ZavPhysicalName", name};
    s_.OpenItem("ZavPhysicalName", name);
    s_.Text("Name", ZAV_GET(name->GetName()), where);
    s_.Text("RCName", ZAV_GET(name->GetRCName()), where);
    return name->GetPhysicalNames();
  };
  // After a name's nested names: its ranges, its id, its end.
  auto end = [&](tZavPhysicalName* name) {
    PhysicalRanges(name);
    s_.Issue(name, false);
    s_.CloseItem();
  };
  Nested("PhysicalNames", list, begin, end);
}

template <class Sink>
void tWalk<Sink>::VirtualNames(tZavCollection<tZavVirtualName>* list) {
  const long count = list->Count();
  if (count == 0) return s_.Empty("VirtualNames");
  s_.Open("VirtualNames");
  for (long i = 1; i <= count; ++i) {
    tZavVirtualName* name = list->ItemByIndex(i);
    const tWhere where{"ZavVirtualName", name};
    s_.OpenItem("ZavVirtualName", name);
    s_.Text("Name", ZAV_GET(name->GetName()), where);
    s_.Text("MapTo", ZAV_GET(name->GetMapTo()), where);
    auto* ranges = name->GetVirtualRanges();
    const long rangeCount = ranges->Count();
    if (rangeCount == 0) {
      s_.Empty("VirtualRanges");
    } else {
      s_.Open("VirtualRanges");
      for (long r = 1; r <= rangeCount; ++r) {
        tZavVirtualRange* range = ranges->ItemByIndex(r);
        s_.OpenItem("ZavVirtualRange", range);
        s_.Text("Name", ZAV_GET(range->GetName()), tWhere{"ZavVirtualRange", range});
        s_.Integer("Max", ZAV_GET(range->GetMax()));
        s_.Integer("Min", ZAV_GET(range->GetMin()));
        s_.Integer("StartingPhysicalIndex", ZAV_GET(range->GetStartingPhysicalIndex()));
        s_.Issue(range, false);
        s_.CloseItem();
      }
      s_.Close("VirtualRanges");
    }
    s_.Issue(name, false);
    s_.CloseItem();
  }
  s_.Close("VirtualNames");
}

template <class Sink>
void tWalk<Sink>::ConfigCommon(iZavConfigComponent* item, const char* element) {
  const tWhere where{element, item};
  s_.OpenItem(element, item);
  s_.Text("Name", ZAV_GET(item->GetName()), where);
  s_.Text("Description", ZAV_GET(item->GetDescription()), where);
  Components(item->GetDataComponents());
  s_.Issue(item, true);
}

template <class Sink>
void tWalk<Sink>::Session(tZavSession* session, const char* element) {
  const tWhere where{element, session};
  ConfigCommon(session, element);
  if (tZavHardwareAsset* asset = session->GetHardwareAsset()) s_.Ref("ZavHardwareAsset", asset);
  if (tZavSoftwareModule* module = session->GetSoftwareModule()) s_.Ref("ZavSoftwareModuleRef", module);
  VirtualNames(session->GetVirtualNames());
  s_.Text("SoftwareModuleName", ZAV_GET(session->GetSoftwareModuleName()), where);
  if (session->IsDriverSession()) {
    auto* driver = static_cast<tZavDriverSession*>(session);
    s_.Boolean("Cache", ZAV_GET(driver->GetCache()));
    s_.Text("DriverSetup", ZAV_GET(driver->GetDriverSetup()), where);
    s_.Boolean("InterchangeCheck", ZAV_GET(driver->GetInterchangeCheck()));
    s_.Boolean("QueryInstrStatus", ZAV_GET(driver->GetQueryInstrStatus()));
    s_.Boolean("RangeCheck", ZAV_GET(driver->GetRangeCheck()));
    s_.Boolean("RecordCoercions", ZAV_GET(driver->GetRecordCoercions()));
    s_.Boolean("Simulate", ZAV_GET(driver->GetSimulate()));
  }
  s_.CloseItem();
}

template <class Sink>
void tWalk<Sink>::Store(tZavConfigStore* store) {
  const tWhere self{nullptr, nullptr};
  s_.OpenRoot();
  s_.Text("Name", ZAV_GET(store->GetName()), self);
  s_.Text("Description", ZAV_GET(store->GetDescription()), self);
  s_.Text("Vendor", ZAV_GET(store->GetVendor()), self);
  s_.Text("Revision", ZAV_GET(store->GetRevision()), self);
  s_.Integer("SpecificationMajorVersion", ZAV_GET(store->GetSpecificationMajorVersion()));
  s_.Integer("SpecificationMinorVersion", ZAV_GET(store->GetSpecificationMinorVersion()));
  s_.Text("MasterLocation", ZAV_GET(store->GetMasterLocation()), self);
  s_.Text("ProcessDefaultLocation", ZAV_GET(store->GetProcessDefaultLocation()), self);
  s_.Text("ActualLocation", ZAV_GET(store->GetActualLocation()), self);

  // A list element around the items of a global collection, `each` writing one item.
  auto list = [&](const char* element, auto* collection, auto each) {
    const long count = collection->Count();
    if (count == 0) return s_.Empty(element);
    s_.Open(element);
    for (long i = 1; i <= count; ++i) each(collection->ItemByIndex(i));
    s_.Close(element);
  };
  list("PublishedAPIs", store->GetPublishedAPIs(), [&](tZavPublishedAPI* api) {
    const tWhere where{"ZavPublishedAPI", api};
    s_.OpenItem("ZavPublishedAPI", api);
    s_.Text("Name", ZAV_GET(api->GetName()), where);
    s_.Integer("MajorVersion", ZAV_GET(api->GetMajorVersion()));
    s_.Integer("MinorVersion", ZAV_GET(api->GetMinorVersion()));
    s_.Text("Type", ZAV_GET(api->GetType()), where);
    s_.Issue(api, true);
    s_.CloseItem();
  });
  list("SoftwareModules", store->GetSoftwareModules(), [&](tZavSoftwareModule* module) {
    const tWhere where{"ZavSoftwareModule", module};
    ConfigCommon(module, "ZavSoftwareModule");
    s_.Text("ModulePath", ZAV_GET(module->GetModulePath()), where);
    s_.Text("Prefix", ZAV_GET(module->GetPrefix()), where);
    s_.Text("ProgID", ZAV_GET(module->GetProgID()), where);
    s_.Text("SupportedInstrumentModels", ZAV_GET(module->GetSupportedInstrumentModels()), where);
    PhysicalNames(module->GetPhysicalNames());
    tZavPublishedAPIReferences* refs = module->GetPublishedAPIs();
    list("PublishedAPIs", refs, [&](tZavPublishedAPI* api) { s_.Ref("ZavPublishedAPI", api); });
    s_.Text("AssemblyQualifiedClassName", ZAV_GET(module->GetAssemblyQualifiedClassName()), where);
    s_.Text("ModulePath64", ZAV_GET(module->GetModulePath64()), where);
    s_.CloseItem();
  });
  list("HardwareAssets", store->GetHardwareAssets(), [&](tZavHardwareAsset* asset) {
    ConfigCommon(asset, "ZavHardwareAsset");
    s_.Text("IOResourceDescriptor", ZAV_GET(asset->GetIOResourceDescriptor()),
            tWhere{"ZavHardwareAsset", asset});
    s_.CloseItem();
  });
  list("DriverSessions", store->GetDriverSessions(),
       [&](tZavDriverSession* session) { Session(session, "ZavDriverSession"); });
  // Driver sessions are in the session collection too, but written once, above.
  auto* sessions = store->GetSessions();
  const long sessionCount = sessions->Count();
  bool any = false;
  for (long i = 1; i <= sessionCount; ++i) {
    tZavSession* session = sessions->ItemByIndex(i);
    if (session->IsDriverSession()) continue;
    if (!any) s_.Open("Sessions"), any = true;
    Session(session, "ZavSession");
  }
  if (any)
    s_.Close("Sessions");
  else
    s_.Empty("Sessions");
  list("LogicalNames", store->GetLogicalNames(), [&](tZavLogicalName* logicalName) {
    const tWhere where{"ZavLogicalName", logicalName};
    s_.OpenItem("ZavLogicalName", logicalName);
    s_.Text("Name", ZAV_GET(logicalName->GetName()), where);
    s_.Text("Description", ZAV_GET(logicalName->GetDescription()), where);
    if (tZavSession* session = logicalName->GetSession())
      s_.Ref(session->IsDriverSession() ? "ZavDriverSession" : "ZavSession", session);
    s_.Issue(logicalName, false);
    s_.CloseItem();
  });
  s_.CloseRoot();
}

#undef ZAV_GET

// --------------------------------------------------------------------------------------------
// What both sinks share: the depth of the element being entered, refused beyond the limit.
class tDepth {
 protected:
  void Enter(const char* element) {
    if (++depth_ > kMaxDepth)
      SerializeFailed(std::string("The items of the store are nested too deeply: element ") + element +
                      " would lie at depth " + std::to_string(depth_) + ", and a store document can hold " +
                      std::to_string(kMaxDepth) + ".");
  }
  void Leave() { --depth_; }
  unsigned depth_ = 0;
};

// The first walk: the id number of every item, in the order of the items' start tags, and of
// the items that references can name, by item.
class tNumbering : public tDepth {
 public:
  void OpenRoot() { Enter("ZavConfigStore"); }
  void CloseRoot() { Leave(); }
  void Open(const char* element) { Enter(element); }
  void Close(const char*) { Leave(); }
  void Empty(const char* element) { Enter(element), Leave(); }
  void OpenItem(const char* element, const void*) {
    Enter(element);
    open_.push_back(numbers_.size());
    numbers_.push_back(0);
  }
  void CloseItem() {
    Leave();
    open_.pop_back();
  }
  template <class Get>
  void Text(const char* element, Get, const tWhere&) {
    Enter(element), Leave();
  }
  template <class Get>
  void Integer(const char* element, Get) {
    Enter(element), Leave();
  }
  template <class Get>
  void Boolean(const char* element, Get) {
    Enter(element), Leave();
  }
  template <class Get>
  void Real(const char* element, Get) {
    Enter(element), Leave();
  }
  void Ref(const char* element, const void*) { Enter(element), Leave(); }
  void Issue(const void* item, bool referenced) {
    numbers_[open_.back()] = next_;
    if (referenced) referenced_.emplace(item, next_);
    ++next_;
  }

  std::vector<uint32_t> numbers_;
  std::unordered_map<const void*, uint32_t> referenced_;

 private:
  std::vector<size_t> open_;
  uint32_t next_ = 1;
};

// The second walk: the text. Indented by two spaces per level, one element per line, an empty
// element as <X/>, no declaration, a final line end.
class tWriting : public tDepth {
 public:
  tWriting(const tNumbering& numbering, std::string& out) : numbering_(numbering), out_(out) {}

  void OpenRoot() {
    Enter("ZavConfigStore");
    out_ += "<ZavConfigStore xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\n";
  }
  void CloseRoot() {
    Leave();
    out_ += "</ZavConfigStore>\n";
  }
  void Open(const char* element) {
    Indent(), Enter(element);
    out_ += '<', out_ += element, out_ += ">\n";
  }
  void Close(const char* element) {
    Leave(), Indent();
    out_ += "</", out_ += element, out_ += ">\n";
  }
  void Empty(const char* element) {
    Indent(), Enter(element), Leave();
    out_ += '<', out_ += element, out_ += "/>\n";
  }
  void OpenItem(const char* element, const void*) {
    Indent(), Enter(element);
    open_.push_back(element);
    out_ += '<', out_ += element, out_ += " id=\"p";
    AppendNumber(numbering_.numbers_[nextItem_++]);
    out_ += "\">\n";
  }
  void CloseItem() {
    Leave(), Indent();
    out_ += "</", out_ += open_.back(), out_ += ">\n";
    open_.pop_back();
  }
  template <class Get>
  void Text(const char* element, Get get, const tWhere& where) {
    const std::string value = get();
    if (value.empty()) return Empty(element);
    Indent(), Enter(element), Leave();
    out_ += '<', out_ += element, out_ += '>';
    if (!Escape(value)) Refuse(element, value, where);
    out_ += "</", out_ += element, out_ += ">\n";
  }
  template <class Get>
  void Integer(const char* element, Get get) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<long>(get()));
    Raw(element, text, result.ptr);
  }
  template <class Get>
  void Boolean(const char* element, Get get) {
    const char* text = get() ? "1" : "0";
    Raw(element, text, text + 1);
  }
  template <class Get>
  void Real(const char* element, Get get) {
    // The general format with six significant digits is printf's %g, and to_chars never looks
    // at the process locale, so a decimal comma locale cannot leak into the file.
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(get()),
                                      std::chars_format::general, 6);
    Raw(element, text, result.ptr);
  }
  // A reference names an item that already has its id at this point of the document, or none.
  void Ref(const char* element, const void* item) {
    Indent(), Enter(element), Leave();
    out_ += '<', out_ += element, out_ += " idref=\"";
    if (item) {
      auto it = numbering_.referenced_.find(item);
      if (it != numbering_.referenced_.end() && it->second < issued_) {
        out_ += 'p';
        AppendNumber(it->second);
      }
    }
    out_ += "\"/>\n";
  }
  void Issue(const void*, bool) { ++issued_; }

 private:
  void Indent() { out_.append(2 * static_cast<size_t>(depth_), ' '); }
  void AppendNumber(uint32_t n) {
    char text[12];
    const auto result = std::to_chars(text, text + sizeof text, n);
    out_.append(text, result.ptr);
  }
  void Raw(const char* element, const char* begin, const char* end) {
    Indent(), Enter(element), Leave();
    out_ += '<', out_ += element, out_ += '>';
    out_.append(begin, end);
    out_ += "</", out_ += element, out_ += ">\n";
  }
  // Appends the text escaped for element content; false when it is not UTF-8 that XML 1.0 can
  // carry. Runs of plain characters are copied whole.
  bool Escape(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
      const auto* run = p;
      while (p < end && *p >= 0x20 && *p < 0x80 && *p != '<' && *p != '>' && *p != '&' && *p != '"') ++p;
      out_.append(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
      if (p == end) break;
      const unsigned char c = *p;
      switch (c) {
        case '<': out_ += "&lt;"; ++p; continue;
        case '>': out_ += "&gt;"; ++p; continue;
        case '&': out_ += "&amp;"; ++p; continue;
        case '"': out_ += "&quot;"; ++p; continue;
        case '\r': out_ += "&#13;"; ++p; continue;
        case '\t': case '\n': out_ += static_cast<char>(c); ++p; continue;
        default: break;
      }
      if (c < 0x80) return false;  // a control character
      uint32_t cp;
      const int length = Utf8Sequence(p, end, cp);
      if (length == 0 || !IsXmlCodePoint(cp)) return false;
      out_.append(reinterpret_cast<const char*>(p), static_cast<size_t>(length));
      p += length;
    }
    return true;
  }
  [[noreturn]] void Refuse(const char* element, const std::string& value, const tWhere& where) {
    bool xmlChars = true;
    const bool utf8 = CheckXmlText(value, xmlChars);
    std::string owner;
    if (!where.element)
      owner = "the configuration store";
    else if (std::strcmp(element, "Name") == 0)
      owner = std::string("a ") + where.element;  // the name itself is what cannot be shown
    else
      owner = std::string(where.element) + " '" + NameOf(where) + "'";
    SerializeFailed(std::string("The ") + element + " of " + owner +
                    (utf8 ? " holds a character that XML 1.0 cannot carry." : " is not valid UTF-8."));
  }

  const tNumbering& numbering_;
  std::string& out_;
  std::vector<const char*> open_;
  size_t nextItem_ = 0;
  uint32_t issued_ = 1;  // ids below this one have been issued
};

}  // namespace

void WriteConfigStore(tZavConfigStore* store, std::string& out) {
  tNumbering numbering;
  tWalk<tNumbering>(numbering).Store(store);
  std::string text;
  // About 160 bytes of text per item is typical; the string grows as it must beyond that.
  text.reserve(4096 + 160 * numbering.numbers_.size());
  tWriting writing(numbering, text);
  tWalk<tWriting>(writing).Store(store);
  out.swap(text);
}

}  // namespace zav::persist
