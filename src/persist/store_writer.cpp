// SPDX-License-Identifier: MIT
#include "persist/store_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "model/config_store.h"

namespace zav::persist {

bool CheckXmlText(const std::string& text, bool& xmlChars) {
  xmlChars = true;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    unsigned char c = *p;
    if (c < 0x80) {
      if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') xmlChars = false;
      ++p;
      continue;
    }
    uint32_t cp;
    int extra;
    if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F;
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F;
      extra = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07;
      extra = 3;
    } else {
      return false;  // a continuation byte, an overlong lead (C0, C1) or beyond U+10FFFF
    }
    if (end - p <= extra) return false;
    for (int i = 1; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    if (cp == 0xFFFE || cp == 0xFFFF) xmlChars = false;
    p += extra + 1;
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
// numbering sink never calls. Nested structures and physical names are walked with an explicit
// stack: any nesting the model allows costs no machine stack.
template <class Sink>
class tWalk {
 public:
  explicit tWalk(Sink& sink) : s_(sink) {}
  void Store(tZavConfigStore* store);

 private:
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
void tWalk<Sink>::Components(tZavCollection<iZavDataComponent>* list) {
  struct tLevel {
    tZavCollection<iZavDataComponent>* list;
    long index;
    long count;
    iZavDataComponent* owner;  // the structure whose members these are; null at the top
  };
  std::vector<tLevel> levels;
  auto open = [&](tZavCollection<iZavDataComponent>* members, iZavDataComponent* owner) {
    const long count = members->Count();
    if (count == 0) return false;
    s_.Open("DataComponents");
    levels.push_back({members, 0, count, owner});
    return true;
  };
  if (!open(list, nullptr)) {
    s_.Empty("DataComponents");
    return;
  }
  while (!levels.empty()) {
    tLevel& level = levels.back();
    if (level.index == level.count) {
      iZavDataComponent* owner = level.owner;
      levels.pop_back();
      s_.Close("DataComponents");
      if (owner) {  // the structure's members are done, and with them the structure
        s_.Issue(owner, false);
        s_.CloseItem();
      }
      continue;
    }
    iZavDataComponent* c = level.list->ItemByIndex(++level.index);
    // The element is "Zav" and the component's Type.
    auto* reference = dynamic_cast<tZavAPIReference*>(c);
    auto* boolean = reference ? nullptr : dynamic_cast<tZavBoolean*>(c);
    auto* integer = reference || boolean ? nullptr : dynamic_cast<tZavInteger*>(c);
    auto* real = reference || boolean || integer ? nullptr : dynamic_cast<tZavReal*>(c);
    auto* string = reference || boolean || integer || real ? nullptr : dynamic_cast<tZavString*>(c);
    auto* structure = reference || boolean || integer || real || string ? nullptr : dynamic_cast<tZavStructure*>(c);
    const char* element = reference ? "ZavAPIReference" : boolean ? "ZavBoolean" : integer ? "ZavInteger"
                          : real ? "ZavReal" : string ? "ZavString" : "ZavStructure";
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
    if (reference) {
      s_.Text("Value", ZAV_GET(reference->GetValue()), where);
      s_.Ref("ZavPublishedAPI", reference->GetPublishedAPIReference());
    } else if (boolean) {
      s_.Boolean("Value", ZAV_GET(boolean->GetValue()));
    } else if (integer) {
      s_.Text("Units", ZAV_GET(integer->GetUnits()), where);
      s_.Integer("Value", ZAV_GET(integer->GetValue()));
    } else if (real) {
      s_.Text("Units", ZAV_GET(real->GetUnits()), where);
      s_.Real("Value", ZAV_GET(real->GetValue()));
    } else if (string) {
      s_.Text("Value", ZAV_GET(string->GetValue()), where);
    } else if (structure) {
      // Its members come next; the structure is finished when their list closes.
      if (open(structure->GetDataComponents(), structure)) continue;
      s_.Empty("DataComponents");
    }
    s_.Issue(c, false);
    s_.CloseItem();
  }
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
  struct tLevel {
    tZavCollection<tZavPhysicalName>* list;
    long index;
    long count;
    tZavPhysicalName* owner;  // the name these are nested in; null at the top
  };
  std::vector<tLevel> levels;
  auto open = [&](tZavCollection<tZavPhysicalName>* names, tZavPhysicalName* owner) {
    const long count = names->Count();
    if (count == 0) return false;
    s_.Open("PhysicalNames");
    levels.push_back({names, 0, count, owner});
    return true;
  };
  // After a name's nested names: its ranges, its id, its end.
  auto finish = [&](tZavPhysicalName* name) {
    PhysicalRanges(name);
    s_.Issue(name, false);
    s_.CloseItem();
  };
  if (!open(list, nullptr)) return s_.Empty("PhysicalNames");
  while (!levels.empty()) {
    tLevel& level = levels.back();
    if (level.index == level.count) {
      tZavPhysicalName* owner = level.owner;
      levels.pop_back();
      s_.Close("PhysicalNames");
      if (owner) finish(owner);
      continue;
    }
    tZavPhysicalName* name = level.list->ItemByIndex(++level.index);
    const tWhere where{"ZavPhysicalName", name};
    s_.OpenItem("ZavPhysicalName", name);
    s_.Text("Name", ZAV_GET(name->GetName()), where);
    s_.Text("RCName", ZAV_GET(name->GetRCName()), where);
    if (open(name->GetPhysicalNames(), name)) continue;
    s_.Empty("PhysicalNames");
    finish(name);
  }
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
      // One UTF-8 sequence: no overlong forms, no surrogates, nothing above U+10FFFF, and
      // neither U+FFFE nor U+FFFF.
      int extra;
      uint32_t cp;
      if (c >= 0xC2 && c <= 0xDF) extra = 1, cp = c & 0x1F;
      else if (c >= 0xE0 && c <= 0xEF) extra = 2, cp = c & 0x0F;
      else if (c >= 0xF0 && c <= 0xF4) extra = 3, cp = c & 0x07;
      else return false;
      if (end - p <= extra) return false;
      for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (p[i] & 0x3F);
      }
      if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
          (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF)
        return false;
      out_.append(reinterpret_cast<const char*>(p), static_cast<size_t>(extra + 1));
      p += extra + 1;
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
