// SPDX-License-Identifier: MIT
#include "persist/store_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <locale.h>
#include <memory>
#include <unordered_map>
#include <vector>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include "model/config_store.h"
#include "persist/store_schema.h"
#include "persist/xml_host.h"

namespace zav::persist {

bool ParseBoolean(const std::string& text) { return text != "0"; }

int32_t ParseInteger(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Anything beyond 2^31 clamps either way, so accumulation stops growing there.
  const int64_t cap = int64_t{1} << 32;
  int64_t value = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < cap) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

double ParseReal(const std::string& text) {
  // One "C" locale for the process, made on first use and never freed: strtod_l reads it
  // without touching the process or thread locale.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (!cLocale) return std::strtod(text.c_str(), nullptr);
  return strtod_l(text.c_str(), nullptr, cLocale);
}

namespace {

// ---------------------------------------------------------------------------------------------
// The store document's tree. Every element is of one kind; the kind fixes its attributes and
// its content: text, nothing (a reference), or a sequence of child elements. The tables below
// are the store schema's content models, particle by particle, together with what the reader
// does with each child.

enum class K : uint8_t {
  Text, Ref,  // leaves
  Store,
  ApiList, Api,
  ModuleList, Module, ApiRefList,
  AssetList, Asset,
  DriverList, Driver,
  SessionList, Session,
  LogicalList, Logical,
  PhysList, Phys, PRangeList, PRange,
  VirtList, Virt, VRangeList, VRange,
  DataList, ApiRefComp, BoolComp, IntComp, RealComp, StrComp, StructComp,
};

// What the text of a text child, or the target of a reference child, is given to.
enum class F : uint8_t {
  Skip, StoreDescription,
  ApiName, ApiMajor, ApiMinor, ApiType,
  Name, Description,  // any item with a plain name setter / description
  HeldName,           // physical and virtual names: set after their lists
  ModulePath, Prefix, ProgID, Models, ClassName, Path64,
  IORes,
  Cache, DriverSetup, Interchange, QueryStatus, RangeCheck, Coercions, Simulate,
  RCName, MapTo, Max, Min, Start,
  ReadOnly, UsedInSession, HelpId, HelpPath, ModuleKey, Units, Value,
  // references
  ModuleApi, SessionAsset, SessionModule, LogicalSession, ComponentApi,
};

struct tParticle {
  const char* name;
  K kind;
  F field = F::Skip;
  bool optional = false;
  bool many = false;          // may repeat
  bool choiceWithNext = false;  // one choice group with the particle after it
  bool needsPrevious = false;   // only after the particle before it (an optional sequence)
};

struct tContent {
  const tParticle* particles;
  uint8_t count;
};

constexpr tParticle P(const char* name, K kind, F field = F::Skip) { return {name, kind, field}; }
constexpr tParticle Opt(const char* name, K kind, F field = F::Skip) {
  return {name, kind, field, true};
}
constexpr tParticle Many(const char* name, K kind) { return {name, kind, F::Skip, true, true}; }

const tParticle kStore[] = {
    P("Name", K::Text), P("Description", K::Text, F::StoreDescription), P("Vendor", K::Text),
    P("Revision", K::Text), P("SpecificationMajorVersion", K::Text),
    P("SpecificationMinorVersion", K::Text), P("MasterLocation", K::Text),
    P("ProcessDefaultLocation", K::Text), P("ActualLocation", K::Text),
    P("PublishedAPIs", K::ApiList), P("SoftwareModules", K::ModuleList),
    P("HardwareAssets", K::AssetList), P("DriverSessions", K::DriverList),
    P("Sessions", K::SessionList), P("LogicalNames", K::LogicalList)};
const tParticle kApiList[] = {Many("ZavPublishedAPI", K::Api)};
const tParticle kApi[] = {P("Name", K::Text, F::ApiName), P("MajorVersion", K::Text, F::ApiMajor),
                          P("MinorVersion", K::Text, F::ApiMinor), P("Type", K::Text, F::ApiType)};
const tParticle kModuleList[] = {Many("ZavSoftwareModule", K::Module)};
const tParticle kModule[] = {
    P("Name", K::Text, F::Name), P("Description", K::Text, F::Description),
    P("DataComponents", K::DataList), P("ModulePath", K::Text, F::ModulePath),
    P("Prefix", K::Text, F::Prefix), P("ProgID", K::Text, F::ProgID),
    P("SupportedInstrumentModels", K::Text, F::Models), P("PhysicalNames", K::PhysList),
    P("PublishedAPIs", K::ApiRefList), Opt("AssemblyQualifiedClassName", K::Text, F::ClassName),
    {"ModulePath64", K::Text, F::Path64, true, false, false, true}};
const tParticle kApiRefList[] = {{"ZavPublishedAPI", K::Ref, F::ModuleApi, true, true}};
const tParticle kAssetList[] = {Many("ZavHardwareAsset", K::Asset)};
const tParticle kAsset[] = {P("Name", K::Text, F::Name), P("Description", K::Text, F::Description),
                            P("DataComponents", K::DataList),
                            P("IOResourceDescriptor", K::Text, F::IORes)};
const tParticle kDriverList[] = {Many("ZavDriverSession", K::Driver)};
#define ZAV_SESSION_PARTICLES                                                                 \
  P("Name", K::Text, F::Name), P("Description", K::Text, F::Description),                      \
      P("DataComponents", K::DataList), Opt("ZavHardwareAsset", K::Ref, F::SessionAsset),      \
      Opt("ZavSoftwareModuleRef", K::Ref, F::SessionModule), P("VirtualNames", K::VirtList), \
      P("SoftwareModuleName", K::Text)
const tParticle kSession[] = {ZAV_SESSION_PARTICLES};
const tParticle kDriver[] = {
    ZAV_SESSION_PARTICLES, P("Cache", K::Text, F::Cache), P("DriverSetup", K::Text, F::DriverSetup),
    P("InterchangeCheck", K::Text, F::Interchange), P("QueryInstrStatus", K::Text, F::QueryStatus),
    P("RangeCheck", K::Text, F::RangeCheck), P("RecordCoercions", K::Text, F::Coercions),
    P("Simulate", K::Text, F::Simulate)};
#undef ZAV_SESSION_PARTICLES
const tParticle kSessionList[] = {Many("ZavSession", K::Session)};
const tParticle kLogicalList[] = {Many("ZavLogicalName", K::Logical)};
const tParticle kLogical[] = {
    P("Name", K::Text, F::Name), P("Description", K::Text, F::Description),
    {"ZavDriverSession", K::Ref, F::LogicalSession, true, false, true},
    {"ZavSession", K::Ref, F::LogicalSession, true}};
const tParticle kPhysList[] = {Many("ZavPhysicalName", K::Phys)};
const tParticle kPhys[] = {P("Name", K::Text, F::HeldName), P("RCName", K::Text, F::RCName),
                           P("PhysicalNames", K::PhysList), P("PhysicalRanges", K::PRangeList)};
const tParticle kPRangeList[] = {Many("ZavPhysicalRange", K::PRange)};
const tParticle kPRange[] = {P("Name", K::Text, F::Name), P("Max", K::Text, F::Max),
                             P("Min", K::Text, F::Min)};
const tParticle kVirtList[] = {Many("ZavVirtualName", K::Virt)};
const tParticle kVirt[] = {P("Name", K::Text, F::HeldName), P("MapTo", K::Text, F::MapTo),
                           P("VirtualRanges", K::VRangeList)};
const tParticle kVRangeList[] = {Many("ZavVirtualRange", K::VRange)};
const tParticle kVRange[] = {P("Name", K::Text, F::Name), P("Max", K::Text, F::Max),
                             P("Min", K::Text, F::Min),
                             P("StartingPhysicalIndex", K::Text, F::Start)};
const tParticle kDataList[] = {{"ZavAPIReference", K::ApiRefComp, F::Skip, true, true, true},
                               {"ZavBoolean", K::BoolComp, F::Skip, true, true, true},
                               {"ZavInteger", K::IntComp, F::Skip, true, true, true},
                               {"ZavReal", K::RealComp, F::Skip, true, true, true},
                               {"ZavString", K::StrComp, F::Skip, true, true, true},
                               {"ZavStructure", K::StructComp, F::Skip, true, true}};
#define ZAV_COMPONENT_PARTICLES                                                                \
  P("Name", K::Text, F::Name), P("Description", K::Text, F::Description),                       \
      P("ReadOnly", K::Text, F::ReadOnly), P("UsedInSession", K::Text, F::UsedInSession),       \
      P("Type", K::Text), P("HelpContextID", K::Text, F::HelpId),                               \
      P("HelpFilePath", K::Text, F::HelpPath), P("SoftwareModuleKey", K::Text, F::ModuleKey)
const tParticle kApiRefComp[] = {ZAV_COMPONENT_PARTICLES, P("Value", K::Text, F::Value),
                                 P("ZavPublishedAPI", K::Ref, F::ComponentApi)};
const tParticle kBoolComp[] = {ZAV_COMPONENT_PARTICLES, P("Value", K::Text, F::Value)};
const tParticle kNumberComp[] = {ZAV_COMPONENT_PARTICLES, P("Units", K::Text, F::Units),
                                 P("Value", K::Text, F::Value)};
const tParticle kStrComp[] = {ZAV_COMPONENT_PARTICLES, P("Value", K::Text, F::Value)};
const tParticle kStructComp[] = {ZAV_COMPONENT_PARTICLES, P("DataComponents", K::DataList)};
#undef ZAV_COMPONENT_PARTICLES

template <size_t N>
constexpr tContent C(const tParticle (&p)[N]) {
  return {p, static_cast<uint8_t>(N)};
}

// Indexed by K.
const tContent kContent[] = {
    {nullptr, 0}, {nullptr, 0}, C(kStore), C(kApiList), C(kApi), C(kModuleList), C(kModule),
    C(kApiRefList), C(kAssetList), C(kAsset), C(kDriverList), C(kDriver), C(kSessionList),
    C(kSession), C(kLogicalList), C(kLogical), C(kPhysList), C(kPhys), C(kPRangeList),
    C(kPRange), C(kVirtList), C(kVirt), C(kVRangeList), C(kVRange), C(kDataList),
    C(kApiRefComp), C(kBoolComp), C(kNumberComp), C(kNumberComp), C(kStrComp), C(kStructComp)};

bool IsItem(K kind) {
  switch (kind) {
    case K::Api: case K::Module: case K::Asset: case K::Driver: case K::Session:
    case K::Logical: case K::Phys: case K::PRange: case K::Virt: case K::VRange:
    case K::ApiRefComp: case K::BoolComp: case K::IntComp: case K::RealComp: case K::StrComp:
    case K::StructComp:
      return true;
    default:
      return false;
  }
}

bool IsBlank(const char* text, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r') return false;
  return true;
}

const char kXsiNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// ---------------------------------------------------------------------------------------------
// Ids of the items read so far. Ids the writer makes ("p" and a decimal number without leading
// zeros) sit in a vector by number; any other id in a hash map. The vector only takes numbers
// below a bound that grows with the ids registered, so a hostile "p999999999" cannot make it
// large; a number once below the bound stays below it, and a look-up tries the vector first, so
// the latest registration of an id always wins.
class tIdTable {
 public:
  struct tEntry {
    iConfigStoreItem* item = nullptr;
    K kind = K::Text;
  };

  void Register(const std::string& id, iConfigStoreItem* item, K kind) {
    ++registered_;
    const uint32_t number = Number(id);
    if (number && number < Bound()) {
      if (number >= byNumber_.size()) byNumber_.resize(std::max<size_t>(number + 1, byNumber_.size() * 2));
      byNumber_[number] = {item, kind};
    } else {
      byText_[id] = {item, kind};
    }
  }
  tEntry Resolve(const std::string& id) const {
    const uint32_t number = Number(id);
    if (number && number < byNumber_.size() && byNumber_[number].item) return byNumber_[number];
    auto it = byText_.find(id);
    return it == byText_.end() ? tEntry{} : it->second;
  }

 private:
  size_t Bound() const { return 4 * registered_ + 4096; }
  static uint32_t Number(const std::string& id) {
    if (id.size() < 2 || id.size() > 10 || id[0] != 'p' || id[1] == '0') return 0;
    uint32_t n = 0;
    for (size_t i = 1; i < id.size(); ++i) {
      if (id[i] < '0' || id[i] > '9') return 0;
      n = n * 10 + static_cast<uint32_t>(id[i] - '0');
    }
    return n < (1u << 30) ? n : 0;
  }

  size_t registered_ = 0;
  std::vector<tEntry> byNumber_;
  std::unordered_map<std::string, tEntry> byText_;
};

// ---------------------------------------------------------------------------------------------
// A new item, owned by the reader until its collection takes it.
template <class T>
T* NewItem(std::unique_ptr<iConfigStoreItem>& owned) {
  auto item = std::make_unique<T>();
  T* raw = item.get();
  owned = std::move(item);
  return raw;
}

// Hands the reader's item to its collection's add, which owns it from then on, also when the
// add refuses it (and destroys it).
template <class T>
std::unique_ptr<T> HandOver(std::unique_ptr<iConfigStoreItem>& owned) {
  return std::unique_ptr<T>(static_cast<T*>(owned.release()));
}

// One open element.
struct tFrame {
  const char* name;   // the element's name (from the content tables)
  K kind;
  F field;            // a text or reference element: what it sets in its parent's item
  uint8_t pos;        // the particle group its next child is matched against
  uint32_t taken;     // how often that group has been taken
  int line;           // of the start tag
  int namespaces;     // declared on this element
  iConfigStoreItem* item;  // the item an item element builds
  std::unique_ptr<iConfigStoreItem> owned;  // until its collection takes it
  std::string id;
  std::string held;   // a name set after the lists; a module's class name
  std::string held2;  // a module's 64-bit path
};

[[noreturn]] void Fault(int code, const std::string& text, int line) {
  throw tDocumentFault(code, text, line);
}

// The document reader: libxml2's SAX parser delivers the events, this class checks the tree
// against the content models above and builds the items, with an explicit stack of open
// elements (no recursion, whatever the nesting).
class tReader {
 public:
  tReader(tZavConfigStore* store) : store_(store) {}

  void Read(const tByteSource& source, const tStoreSchema* schema);

 private:
  // SAX entry points: nothing may escape into libxml2's C frames.
  static void OnStart(void* self, const xmlChar* localname, const xmlChar* prefix,
                      const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                      int nbAttributes, int nbDefaulted, const xmlChar** attributes);
  static void OnEnd(void* self, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri);
  static void OnText(void* self, const xmlChar* text, int size);
  static void OnCdata(void* self, const xmlChar* text, int size);
  static void OnDoctype(void* self, const xmlChar* name, const xmlChar* externalId,
                        const xmlChar* systemId);
  static void OnError(void* self, xmlErrorPtr error);
  // Where a schema validator's fault lies: the parser's line.
  static int Locate(void* self, const char** file, unsigned long* line) {
    *file = nullptr;
    *line = static_cast<unsigned long>(static_cast<tReader*>(self)->Line());
    return 0;
  }
  // Runs one event; a fault or failure is recorded and, when `stop`, halts the parser. The
  // error callback must not halt it: libxml2 still works on its input after reporting.
  template <class Event>
  static void Guard(void* self, Event event, bool stop = true);

  void Start(const char* name, const char* uri, int nbNamespaces, int nbAttributes,
             const xmlChar** attributes);
  void End();
  void Text(const char* text, size_t size, bool cdata);
  int Line() const { return ctxt_ && ctxt_->input ? ctxt_->input->line : 0; }
  void Stop() {
    if (ctxt_) xmlStopParser(ctxt_);
  }

  // The content model.
  const tParticle* Match(tFrame& parent, const char* name, const char* uri);
  void CheckComplete(const tFrame& frame);
  static std::string Expected(const tFrame& frame);
  static std::string Shown(const char* name, const char* uri) {
    return uri ? std::string("{") + uri + "}" + name : std::string(name);
  }

  // The model.
  template <class Step>
  void Build(Step step);
  void BeginItem(tFrame& frame);
  void EndItem(tFrame& frame);
  void SetField(tFrame& owner, F field, std::string& text);
  void SetReference(tFrame& owner, F field, const std::string& idref);
  template <class T>
  T* Resolve(const std::string& idref, K a, K b) const {
    tIdTable::tEntry entry = ids_.Resolve(idref);
    return entry.item && (entry.kind == a || entry.kind == b) ? static_cast<T*>(entry.item) : nullptr;
  }
  void Register(tFrame& frame, iConfigStoreItem* item) { ids_.Register(frame.id, item, frame.kind); }

  tZavConfigStore* store_;
  xmlParserCtxtPtr ctxt_ = nullptr;
  std::vector<tFrame> frames_;
  size_t depth_ = 0;
  int namespacesInScope_ = 0;
  std::string text_;
  tIdTable ids_;
  bool building_ = true;
  // The store's Description from the document, set once the document is known to be a store
  // document, so that a refused one leaves the store's own.
  std::string description_;
  bool hasDescription_ = false;
  // The first fault of the document's form, and the first failure of anything else.
  std::unique_ptr<tDocumentFault> fault_;
  std::exception_ptr failure_;   // stops the read at once (allocation failure and the like)
  std::exception_ptr modelError_;  // a model rule: the rest of the document is still checked
};

template <class Event>
void tReader::Guard(void* self, Event event, bool stop) {
  auto* reader = static_cast<tReader*>(self);
  if (reader->fault_ || reader->failure_) return;
  try {
    event(*reader);
  } catch (const tDocumentFault& fault) {
    try {
      reader->fault_ = std::make_unique<tDocumentFault>(fault);
    } catch (...) {
      reader->failure_ = std::current_exception();
    }
    if (stop) reader->Stop();
  } catch (...) {
    reader->failure_ = std::current_exception();
    if (stop) reader->Stop();
  }
}

void tReader::OnStart(void* self, const xmlChar* localname, const xmlChar*, const xmlChar* uri,
                      int nbNamespaces, const xmlChar**, int nbAttributes, int,
                      const xmlChar** attributes) {
  Guard(self, [&](tReader& r) {
    r.Start(reinterpret_cast<const char*>(localname), reinterpret_cast<const char*>(uri),
            nbNamespaces, nbAttributes, attributes);
  });
}

void tReader::OnEnd(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
  Guard(self, [](tReader& r) { r.End(); });
}

void tReader::OnText(void* self, const xmlChar* text, int size) {
  Guard(self, [&](tReader& r) { r.Text(reinterpret_cast<const char*>(text), static_cast<size_t>(size), false); });
}

void tReader::OnCdata(void* self, const xmlChar* text, int size) {
  Guard(self, [&](tReader& r) { r.Text(reinterpret_cast<const char*>(text), static_cast<size_t>(size), true); });
}

void tReader::OnDoctype(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
  // A document type declaration could declare entities or name external ones: refused before
  // libxml2 reads any of it.
  Guard(self, [](tReader& r) {
    Fault(XML_ERR_USER_STOP, "Document type declarations are not allowed", r.Line());
  });
}

void tReader::OnError(void* self, xmlErrorPtr error) {
  if (!error || error->level == XML_ERR_WARNING || error->level == XML_ERR_NONE) return;
  Guard(self, [&](tReader& r) {
    // libxml2 ran out of memory: that is no fault of the document.
    if (error->code == XML_ERR_NO_MEMORY) throw std::bad_alloc();
    std::string message = error->message ? error->message : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    r.fault_ = std::make_unique<tDocumentFault>(error->code, message, error->line);
    // libxml2 stops by itself after a fatal error; the read stops after a lesser one, too.
  }, false);
}

const tParticle* tReader::Match(tFrame& parent, const char* name, const char* uri) {
  const tContent& content = kContent[static_cast<size_t>(parent.kind)];
  const uint8_t pos = parent.pos;
  const uint32_t taken = parent.taken;
  while (parent.pos < content.count) {
    // The group: this particle and those joined to it by a choice.
    size_t end = parent.pos;
    while (content.particles[end].choiceWithNext) ++end;
    ++end;
    const tParticle& first = content.particles[parent.pos];
    if (!uri) {
      for (size_t i = parent.pos; i < end; ++i) {
        if (std::strcmp(content.particles[i].name, name) == 0 && (parent.taken == 0 || first.many)) {
          ++parent.taken;
          return &content.particles[i];
        }
      }
    }
    if (parent.taken == 0 && !first.optional) break;
    const bool taken = parent.taken > 0;
    parent.pos = static_cast<uint8_t>(end);
    parent.taken = 0;
    if (!taken)
      while (parent.pos < content.count && content.particles[parent.pos].needsPrevious) ++parent.pos;
  }
  parent.pos = pos;
  parent.taken = taken;
  Fault(XML_SCHEMAV_ELEMENT_CONTENT,
        "Element '" + Shown(name, uri) + "': This element is not expected." + Expected(parent),
        Line());
}

// The names that may come next, as libxml2 words it: " Expected is ( A )." or
// " Expected is one of ( A, B )."; empty when nothing may.
std::string tReader::Expected(const tFrame& frame) {
  const tContent& content = kContent[static_cast<size_t>(frame.kind)];
  std::vector<const char*> names;
  size_t pos = frame.pos;
  uint32_t taken = frame.taken;
  while (pos < content.count) {
    size_t end = pos;
    while (content.particles[end].choiceWithNext) ++end;
    ++end;
    const tParticle& first = content.particles[pos];
    if (taken == 0 || first.many)
      for (size_t i = pos; i < end; ++i) names.push_back(content.particles[i].name);
    if (taken == 0 && !first.optional) break;
    pos = end;
    taken = 0;
  }
  if (names.empty()) return std::string();
  std::string text = names.size() == 1 ? " Expected is ( " : " Expected is one of ( ";
  for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + std::string(names[i]);
  return text + " ).";
}

void tReader::CheckComplete(const tFrame& frame) {
  const tContent& content = kContent[static_cast<size_t>(frame.kind)];
  size_t pos = frame.pos;
  uint32_t taken = frame.taken;
  while (pos < content.count) {
    const tParticle& first = content.particles[pos];
    if (taken == 0 && !first.optional)
      Fault(XML_SCHEMAV_ELEMENT_CONTENT,
            std::string("Element '") + frame.name + "': Missing child element(s)." + Expected(frame),
            frame.line);
    while (content.particles[pos].choiceWithNext) ++pos;
    ++pos;
    taken = 0;
  }
}

template <class Step>
void tReader::Build(Step step) {
  if (!building_) return;
  try {
    step();
  } catch (const zav::tZavError&) {
    // A model rule refused a value: nothing more is built, but the rest of the document is
    // still checked, because a document the schema refuses is reported as such.
    modelError_ = std::current_exception();
    building_ = false;
  }
}

void tReader::Start(const char* name, const char* uri, int nbNamespaces, int nbAttributes,
                    const xmlChar** attributes) {
  const int line = Line();
  // libxml2's pull parser stops at this depth, its push parser does not; the limit is the
  // same whichever way the document is read.
  if (depth_ > xmlParserMaxDepth)
    Fault(XML_ERR_INTERNAL_ERROR,
          "Excessive depth in document: " + std::to_string(xmlParserMaxDepth) + " use XML_PARSE_HUGE option",
          line);
  namespacesInScope_ += nbNamespaces;
  if (namespacesInScope_ > kMaxNamespacesInScope)
    Fault(XML_ERR_USER_STOP,
          "More than " + std::to_string(kMaxNamespacesInScope) + " namespace declarations are in scope",
          line);

  K kind;
  F field = F::Skip;
  const char* known = "ZavConfigStore";
  if (depth_ == 0) {
    if (uri || std::strcmp(name, "ZavConfigStore") != 0)
      Fault(XML_SCHEMAV_CVC_ELT_1,
            "Element '" + Shown(name, uri) + "': No matching global declaration available for the validation root.",
            line);
    kind = K::Store;
  } else {
    tFrame& parent = frames_[depth_ - 1];
    if (parent.kind == K::Text)
      Fault(XML_SCHEMAV_CVC_TYPE_3_1_2,
            std::string("Element '") + parent.name + "': Element content is not allowed, because the type definition is simple.",
            line);
    if (parent.kind == K::Ref)
      Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_1,
            std::string("Element '") + parent.name + "': Element content is not allowed, because the content type is empty.",
            line);
    const tParticle* particle = Match(parent, name, uri);
    kind = particle->kind;
    field = particle->field;
    known = particle->name;
  }

  if (depth_ == frames_.size()) frames_.emplace_back();
  tFrame& frame = frames_[depth_];
  frame.name = known;
  frame.kind = kind;
  frame.field = field;
  frame.pos = 0;
  frame.taken = 0;
  frame.line = line;
  frame.namespaces = nbNamespaces;
  frame.item = nullptr;
  frame.owned.reset();
  frame.id.clear();
  frame.held.clear();
  frame.held2.clear();
  ++depth_;
  text_.clear();

  // Attributes: an item carries "id", a reference "idref", nothing else anything; of the
  // schema instance attributes only the location hints are let through.
  const bool item = IsItem(kind);
  const char* required = item ? "id" : kind == K::Ref ? "idref" : nullptr;
  // The element as messages show it; made only for a message.
  auto shown = [&] { return Shown(name, uri); };
  bool found = false;
  std::string value;
  for (int i = 0; i < nbAttributes; ++i) {
    const char* local = reinterpret_cast<const char*>(attributes[5 * i]);
    const char* attrUri = reinterpret_cast<const char*>(attributes[5 * i + 2]);
    if (!attrUri && required && std::strcmp(local, required) == 0) {
      found = true;
      value.assign(reinterpret_cast<const char*>(attributes[5 * i + 3]),
                   reinterpret_cast<const char*>(attributes[5 * i + 4]));
      continue;
    }
    if (attrUri && std::strcmp(attrUri, kXsiNamespace) == 0) {
      if (std::strcmp(local, "schemaLocation") == 0 || std::strcmp(local, "noNamespaceSchemaLocation") == 0)
        continue;
      if (std::strcmp(local, "type") == 0)
        Fault(XML_SCHEMAV_CVC_ELT_4_3,
              "Element '" + shown() + "': The type definition named by the attribute xsi:type may not replace the declared one.",
              line);
      if (std::strcmp(local, "nil") == 0)
        Fault(XML_SCHEMAV_CVC_ELT_3_1, "Element '" + shown() + "': The element is not 'nillable'.", line);
    }
    const std::string attr = Shown(local, attrUri);
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1,
          "Element '" + shown() + "', attribute '" + attr + "': The attribute '" + attr + "' is not allowed.",
          line);
  }
  if (required && !found)
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_4,
          "Element '" + shown() + "': The attribute '" + required + "' is required but missing.", line);

  if (item) {
    frame.id = std::move(value);
    Build([&] { BeginItem(frame); });
  } else if (kind == K::Ref) {
    // A reference belongs to the item it is a child of, or, in a module's list of published
    // APIs, to the module.
    tFrame& parent = frames_[depth_ - 2];
    tFrame& owner = parent.kind == K::ApiRefList ? frames_[depth_ - 3] : parent;
    Build([&] { SetReference(owner, field, value); });
  }
}

void tReader::Text(const char* text, size_t size, bool cdata) {
  if (depth_ == 0) return;  // white space around the root is the parser's business
  tFrame& frame = frames_[depth_ - 1];
  if (frame.kind == K::Text) {
    if (frame.field != F::Skip) text_.append(text, size);
    return;
  }
  if (frame.kind == K::Ref)
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_1,
          std::string("Element '") + frame.name + "': Character content is not allowed, because the content type is empty.",
          Line());
  if (cdata || !IsBlank(text, size))
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_3,
          std::string("Element '") + frame.name +
              "': Character content other than whitespace is not allowed because the content type is 'element-only'.",
          Line());
}

void tReader::End() {
  tFrame& frame = frames_[depth_ - 1];
  if (frame.kind != K::Text && frame.kind != K::Ref) CheckComplete(frame);
  namespacesInScope_ -= frame.namespaces;
  if (frame.kind == K::Text) {
    if (frame.field != F::Skip) Build([&] { SetField(frames_[depth_ - 2], frame.field, text_); });
    text_.clear();
  } else if (IsItem(frame.kind)) {
    Build([&] { EndItem(frame); });
  }
  frame.owned.reset();
  --depth_;
}

// --- building the items ------------------------------------------------------------------------

void tReader::BeginItem(tFrame& frame) {
  std::unique_ptr<iConfigStoreItem>& owned = frame.owned;
  switch (frame.kind) {
    case K::Api: frame.item = NewItem<tZavPublishedAPI>(owned); break;
    case K::Module: {
      // A module joins the store before its content is read.
      NewItem<tZavSoftwareModule>(owned);
      frame.item = store_->GetSoftwareModules()->Add(HandOver<tZavSoftwareModule>(owned));
      break;
    }
    case K::Asset: frame.item = NewItem<tZavHardwareAsset>(owned); break;
    case K::Driver: frame.item = NewItem<tZavDriverSession>(owned); break;
    case K::Session: frame.item = NewItem<tZavSession>(owned); break;
    case K::Logical: frame.item = NewItem<tZavLogicalName>(owned); break;
    case K::Phys: frame.item = NewItem<tZavPhysicalName>(owned); break;
    case K::PRange: frame.item = NewItem<tZavPhysicalRange>(owned); break;
    case K::Virt: frame.item = NewItem<tZavVirtualName>(owned); break;
    case K::VRange: frame.item = NewItem<tZavVirtualRange>(owned); break;
    case K::ApiRefComp: frame.item = NewItem<tZavAPIReference>(owned); break;
    case K::BoolComp: frame.item = NewItem<tZavBoolean>(owned); break;
    case K::IntComp: frame.item = NewItem<tZavInteger>(owned); break;
    case K::RealComp: frame.item = NewItem<tZavReal>(owned); break;
    case K::StrComp: frame.item = NewItem<tZavString>(owned); break;
    case K::StructComp: frame.item = NewItem<tZavStructure>(owned); break;
    default: break;
  }
}

// The data component collection of the item that owns a DataComponents list.
tZavCollection<iZavDataComponent>* DataComponentsOf(const tFrame& owner) {
  if (owner.kind == K::StructComp) return static_cast<tZavStructure*>(owner.item)->GetDataComponents();
  return static_cast<iZavConfigComponent*>(owner.item)->GetDataComponents();
}

void tReader::EndItem(tFrame& frame) {
  // frames_[depth_ - 2] is the list, frames_[depth_ - 3] the item or store that owns it.
  const tFrame& owner = frames_[depth_ - 3];
  std::unique_ptr<iConfigStoreItem>& owned = frame.owned;
  iConfigStoreItem* added = frame.item;
  switch (frame.kind) {
    case K::Api:
      added = store_->GetPublishedAPIs()->AddToGlobal(HandOver<tZavPublishedAPI>(owned));
      break;
    case K::Module: {
      auto* module = static_cast<tZavSoftwareModule*>(frame.item);
      module->SetAssemblyQualifiedClassName(frame.held);
      module->SetModulePath64(frame.held2);
      break;
    }
    case K::Asset:
      added = store_->GetHardwareAssets()->Add(HandOver<tZavHardwareAsset>(owned));
      break;
    case K::Driver:
    case K::Session:
      // A driver session joins the driver-session view with it.
      added = store_->GetSessions()->Add(HandOver<tZavSession>(owned));
      break;
    case K::Logical:
      added = store_->GetLogicalNames()->Add(HandOver<tZavLogicalName>(owned));
      break;
    case K::Phys: {
      auto* name = static_cast<tZavPhysicalName*>(frame.item);
      name->SetCheckedName(frame.held);
      auto* target = owner.kind == K::Module ? static_cast<tZavSoftwareModule*>(owner.item)->GetPhysicalNames()
                                             : static_cast<tZavPhysicalName*>(owner.item)->GetPhysicalNames();
      added = target->Add(HandOver<tZavPhysicalName>(owned));
      break;
    }
    case K::PRange: {
      added = static_cast<tZavPhysicalName*>(owner.item)->GetPhysicalRanges()->Add(
          HandOver<tZavPhysicalRange>(owned));
      break;
    }
    case K::Virt: {
      auto* name = static_cast<tZavVirtualName*>(frame.item);
      name->SetCheckedName(frame.held);
      added = static_cast<tZavSession*>(owner.item)->GetVirtualNames()->Add(HandOver<tZavVirtualName>(owned));
      break;
    }
    case K::VRange: {
      added = static_cast<tZavVirtualName*>(owner.item)->GetVirtualRanges()->Add(
          HandOver<tZavVirtualRange>(owned));
      break;
    }
    default: {  // the data components
      added = DataComponentsOf(owner)->Add(HandOver<iZavDataComponent>(owned));
      break;
    }
  }
  Register(frame, added);
}

void tReader::SetField(tFrame& owner, F field, std::string& text) {
  iConfigStoreItem* item = owner.item;
  switch (field) {
    case F::StoreDescription: description_.swap(text), hasDescription_ = true; return;
    case F::ApiName: static_cast<tZavPublishedAPI*>(item)->SetName(text); return;
    case F::ApiMajor: static_cast<tZavPublishedAPI*>(item)->SetMajorVersion(ParseInteger(text)); return;
    case F::ApiMinor: static_cast<tZavPublishedAPI*>(item)->SetMinorVersion(ParseInteger(text)); return;
    case F::ApiType: static_cast<tZavPublishedAPI*>(item)->SetType(text); return;
    case F::Name: static_cast<iZavCollectionItem*>(item)->SetName(text, true); return;
    case F::Description:
      if (owner.kind == K::Logical)
        static_cast<tZavLogicalName*>(item)->SetDescription(text);
      else if (owner.kind >= K::ApiRefComp)
        static_cast<iZavDataComponent*>(item)->SetDescription(text);
      else
        static_cast<iZavConfigComponent*>(item)->SetDescription(text);
      return;
    case F::HeldName: owner.held.swap(text); return;
    case F::ModulePath: static_cast<tZavSoftwareModule*>(item)->SetModulePath(text); return;
    case F::Prefix: static_cast<tZavSoftwareModule*>(item)->SetPrefix(text); return;
    case F::ProgID: static_cast<tZavSoftwareModule*>(item)->SetProgID(text); return;
    case F::Models: static_cast<tZavSoftwareModule*>(item)->SetSupportedInstrumentModels(text); return;
    case F::ClassName: owner.held.swap(text); return;
    case F::Path64: owner.held2.swap(text); return;
    case F::IORes: static_cast<tZavHardwareAsset*>(item)->SetIOResourceDescriptor(text); return;
    case F::Cache: static_cast<tZavDriverSession*>(item)->SetCache(ParseBoolean(text)); return;
    case F::DriverSetup: static_cast<tZavDriverSession*>(item)->SetDriverSetup(text); return;
    case F::Interchange: static_cast<tZavDriverSession*>(item)->SetInterchangeCheck(ParseBoolean(text)); return;
    case F::QueryStatus: static_cast<tZavDriverSession*>(item)->SetQueryInstrStatus(ParseBoolean(text)); return;
    case F::RangeCheck: static_cast<tZavDriverSession*>(item)->SetRangeCheck(ParseBoolean(text)); return;
    case F::Coercions: static_cast<tZavDriverSession*>(item)->SetRecordCoercions(ParseBoolean(text)); return;
    case F::Simulate: static_cast<tZavDriverSession*>(item)->SetSimulate(ParseBoolean(text)); return;
    case F::RCName: static_cast<tZavPhysicalName*>(item)->SetRCName(text); return;
    case F::MapTo: static_cast<tZavVirtualName*>(item)->SetMapTo(text); return;
    case F::Max:
      if (owner.kind == K::PRange)
        static_cast<tZavPhysicalRange*>(item)->SetMax(ParseInteger(text));
      else
        static_cast<tZavVirtualRange*>(item)->SetMax(ParseInteger(text));
      return;
    case F::Min:
      if (owner.kind == K::PRange)
        static_cast<tZavPhysicalRange*>(item)->SetMin(ParseInteger(text));
      else
        static_cast<tZavVirtualRange*>(item)->SetMin(ParseInteger(text));
      return;
    case F::Start: static_cast<tZavVirtualRange*>(item)->SetStartingPhysicalIndex(ParseInteger(text)); return;
    case F::ReadOnly: static_cast<iZavDataComponent*>(item)->SetReadOnly(ParseBoolean(text)); return;
    case F::UsedInSession: static_cast<iZavDataComponent*>(item)->SetUsedInSession(text); return;
    case F::HelpId: static_cast<iZavDataComponent*>(item)->SetHelpContextID(ParseInteger(text)); return;
    case F::HelpPath: static_cast<iZavDataComponent*>(item)->SetHelpFilePath(text); return;
    case F::ModuleKey: static_cast<iZavDataComponent*>(item)->SetSoftwareModuleKey(text); return;
    case F::Units:
      if (owner.kind == K::IntComp)
        static_cast<tZavInteger*>(item)->SetUnits(text);
      else
        static_cast<tZavReal*>(item)->SetUnits(text);
      return;
    case F::Value:
      switch (owner.kind) {
        case K::ApiRefComp: static_cast<tZavAPIReference*>(item)->SetValue(text); return;
        case K::BoolComp: static_cast<tZavBoolean*>(item)->SetValue(ParseBoolean(text)); return;
        case K::IntComp: static_cast<tZavInteger*>(item)->SetValue(ParseInteger(text)); return;
        case K::RealComp: static_cast<tZavReal*>(item)->SetValue(ParseReal(text)); return;
        default: static_cast<tZavString*>(item)->SetValue(text); return;
      }
    default: return;
  }
}

// `owner` is the item the reference belongs to (a module for its published API list).
void tReader::SetReference(tFrame& owner, F field, const std::string& idref) {
  iConfigStoreItem* item = owner.item;
  switch (field) {
    case F::ModuleApi:
      static_cast<tZavSoftwareModule*>(item)->GetPublishedAPIs()->AddReference(
          Resolve<tZavPublishedAPI>(idref, K::Api, K::Api));
      return;
    case F::SessionAsset:
      static_cast<tZavSession*>(item)->SetHardwareAsset(Resolve<tZavHardwareAsset>(idref, K::Asset, K::Asset));
      return;
    case F::SessionModule:
      static_cast<tZavSession*>(item)->LinkSoftwareModule(Resolve<tZavSoftwareModule>(idref, K::Module, K::Module));
      return;
    case F::LogicalSession:
      static_cast<tZavLogicalName*>(item)->SetSession(Resolve<tZavSession>(idref, K::Session, K::Driver));
      return;
    case F::ComponentApi:
      // The component is in no collection yet, so a null reference is accepted.
      static_cast<tZavAPIReference*>(item)->SetPublishedAPIReference(Resolve<tZavPublishedAPI>(idref, K::Api, K::Api));
      return;
    default: return;
  }
}

// --- feeding the parser ------------------------------------------------------------------------

struct ParserDeleter {
  void operator()(xmlParserCtxtPtr p) const {
    if (p->myDoc) xmlFreeDoc(p->myDoc);
    xmlFreeParserCtxt(p);
  }
};

// Counts the attributes of each start tag in the bytes before libxml2 sees them: libxml2
// compares every attribute of a tag with every other, so a tag with a huge number of them would
// hold the reader for minutes. Works across chunk boundaries; comments, processing instructions
// and CDATA sections are stepped over, quoted values skipped whole. An attribute is counted by
// its "=", which appears once per attribute outside the quotes.
// The bytes that change the scanner's state inside a tag.
struct tTagStops {
  bool stop[256] = {};
  constexpr tTagStops() {
    stop[static_cast<unsigned char>('>')] = stop[static_cast<unsigned char>('"')] = true;
    stop[static_cast<unsigned char>('\'')] = stop[static_cast<unsigned char>('=')] = true;
    stop[static_cast<unsigned char>('\n')] = true;
  }
  bool operator[](unsigned char c) const { return stop[c]; }
};
constexpr tTagStops kTagStop{};

class tTagScanner {
 public:
  // The line (1-based) of a start tag with too many attributes, or 0.
  int Scan(const char* data, size_t size) {
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
      switch (state_) {
        case kText: {
          const char* lt = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
          const char* stop = lt ? lt : end;
          Lines(p, stop);
          if (!lt) return 0;
          p = lt + 1;
          state_ = kOpen;
          tagLine_ = line_;
          break;
        }
        case kOpen:  // just after '<'
          if (*p == '!') {
            state_ = kBang, bang_ = 0, ++p;
          } else if (*p == '?') {
            Until("?>"), ++p;
          } else {
            state_ = kTag, counting_ = *p != '/', attributes_ = 0;
          }
          break;
        case kBang: {  // after "<!": a comment, a CDATA section or a declaration
          static const char kCdata[] = "[CDATA[";
          const char c = *p;
          if (bang_ == 0 && c == '-') {
            comment_ = true, bang_ = 1, ++p;
          } else if (comment_ && c == '-') {
            comment_ = false, Until("-->"), ++p;
          } else if (!comment_ && c == kCdata[bang_]) {
            ++p;
            if (++bang_ == 7) Until("]]>");
          } else {
            comment_ = false, state_ = kTag, counting_ = false;
          }
          break;
        }
        case kUntil: {
          const char c = *p++;
          if (c == '\n') ++line_;
          if (c == terminator_[matched_]) {
            if (terminator_[++matched_] == '\0') state_ = kText;
          } else if (!(matched_ == 2 && c == terminator_[1] && terminator_[0] == terminator_[1])) {
            // "--->" and "]]]>" still end on their last three characters.
            matched_ = c == terminator_[0] ? 1 : 0;
          }
          break;
        }
        case kTag: {
          // Names and white space inside a tag matter only for their line ends.
          while (p < end && !kTagStop[static_cast<unsigned char>(*p)]) ++p;
          if (p == end) break;
          const char c = *p++;
          if (c == '>') {
            state_ = kText;
          } else if (c == '"' || c == '\'') {
            quote_ = c, state_ = kQuoted;
          } else if (c == '=') {
            if (counting_ && ++attributes_ > kMaxAttributesPerTag) return tagLine_;
          } else if (c == '\n') {
            ++line_;
          }
          break;
        }
        case kQuoted: {
          const char* q = static_cast<const char*>(std::memchr(p, quote_, static_cast<size_t>(end - p)));
          const char* stop = q ? q : end;
          Lines(p, stop);
          p = q ? q + 1 : end;
          if (q) state_ = kTag;
          break;
        }
      }
    }
    return 0;
  }

 private:
  void Lines(const char* from, const char* to) { line_ += static_cast<int>(std::count(from, to, '\n')); }
  void Until(const char* terminator) { state_ = kUntil, terminator_ = terminator, matched_ = 0; }

  enum { kText, kOpen, kBang, kUntil, kTag, kQuoted } state_ = kText;
  int line_ = 1;
  int tagLine_ = 1;
  int attributes_ = 0;
  bool counting_ = false;
  int bang_ = 0;
  bool comment_ = false;
  char quote_ = '"';
  const char* terminator_ = "";
  int matched_ = 0;
};

void tReader::Read(const tByteSource& source, const tStoreSchema* schema) {
  xml::InitParser();
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = &tReader::OnStart;
  sax.endElementNs = &tReader::OnEnd;
  sax.characters = &tReader::OnText;
  sax.ignorableWhitespace = &tReader::OnText;
  sax.cdataBlock = &tReader::OnCdata;
  sax.internalSubset = &tReader::OnDoctype;
  sax.serror = &tReader::OnError;

  // libxml2 keeps what it has been given until it has parsed it, so the chunk is also part of
  // the memory a small store costs; 16 KiB chunks cost no measurable time over 64 KiB ones.
  const size_t kChunk = 1 << 14;
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  tTagScanner scanner;
  // The first bytes tell libxml2 the encoding.
  size_t size = source(buffer.get(), kChunk);
  const size_t head = std::min<size_t>(size, 4);
  if (int line = scanner.Scan(buffer.get(), size))
    throw tDocumentFault(XML_ERR_USER_STOP,
                         "A start tag carries more than " + std::to_string(kMaxAttributesPerTag) + " attributes",
                         line);
  // Other errors of this thread that libxml2 raises without the context go to the reader too.
  struct tCapture {
    explicit tCapture(tReader* r) : old_(xmlStructuredError), oldContext_(xmlStructuredErrorContext) {
      xmlSetStructuredErrorFunc(r, &tReader::OnError);
    }
    ~tCapture() { xmlSetStructuredErrorFunc(oldContext_, old_); }
    xmlStructuredErrorFunc old_;
    void* oldContext_;
  } capture(this);
  std::unique_ptr<xmlParserCtxt, ParserDeleter> ctxt(
      xmlCreatePushParserCtxt(&sax, this, buffer.get(), static_cast<int>(head), nullptr));
  if (!ctxt) {
    if (fault_) throw *fault_;
    throw std::bad_alloc();
  }
  ctxt_ = ctxt.get();
  // libxml2 can hand out a context whose input it failed to set up, silently when memory ran
  // out; after a reported fault (an encoding it cannot read) the loop below reports that.
  if ((!ctxt_->input || !ctxt_->input->buf || !ctxt_->input->buf->buffer || !ctxt_->dict) &&
      !fault_ && !failure_ && ctxt_->errNo == 0)
    throw std::bad_alloc();
  xmlCtxtUseOptions(ctxt_, XML_PARSE_NONET | XML_PARSE_BIG_LINES);
  // A schema other than the one the tables above implement sees every event after the reader;
  // it is unplugged before the context goes.
  std::unique_ptr<tSchemaPlug> plug;
  if (schema) plug = std::make_unique<tSchemaPlug>(*schema, ctxt_, &tReader::OnError, this, &tReader::Locate, this);

  const char* data = buffer.get() + head;
  size -= head;
  bool last = false;
  for (;;) {
    if (fault_ || failure_) break;
    // libxml2 halts by itself after a fatal error, which it may not have managed to report
    // when memory ran out; a halted parser is fed nothing more.
    if (!ctxt_->input || !ctxt_->input->buf || !ctxt_->input->buf->buffer) {
      if (ctxt_->errNo == XML_ERR_NO_MEMORY) throw std::bad_alloc();
      Fault(ctxt_->errNo ? ctxt_->errNo : XML_ERR_INTERNAL_ERROR, "The document could not be read.", Line());
    }
    if (last) {
      xmlParseChunk(ctxt_, nullptr, 0, 1);
      break;
    }
    if (size > 0) {
      xmlParseChunk(ctxt_, data, static_cast<int>(size), 0);
    }
    if (fault_ || failure_) break;
    size = source(buffer.get(), kChunk);
    data = buffer.get();
    last = size == 0;
    if (int line = last ? 0 : scanner.Scan(data, size))
      Fault(XML_ERR_USER_STOP,
            "A start tag carries more than " + std::to_string(kMaxAttributesPerTag) + " attributes", line);
  }
  if (failure_) std::rethrow_exception(failure_);
  if (!fault_ && !ctxt_->wellFormed) {
    if (ctxt_->errNo == XML_ERR_NO_MEMORY) throw std::bad_alloc();
    fault_ = std::make_unique<tDocumentFault>(XML_ERR_INTERNAL_ERROR, "The document could not be read.", Line());
  }
  if (fault_) throw *fault_;
  if (hasDescription_) store_->SetDescription(description_);
  if (modelError_) std::rethrow_exception(modelError_);
}

}  // namespace

void ReadConfigStore(tZavConfigStore* store, const tByteSource& source, const tStoreSchema* schema) {
  // Nothing of a document that is refused for its form remains, nor of one that could not be
  // read whole.
  try {
    tReader(store).Read(source, schema);
  } catch (const tDocumentFault&) {
    store->ClearAll();
    throw;
  } catch (const std::bad_alloc&) {
    store->ClearAll();
    throw;
  }
}

}  // namespace zav::persist
