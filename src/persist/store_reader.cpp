#include "persist/store_reader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <memory>
#include <optional>
#include <unordered_map>

#include "model/config_store.h"

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

[[noreturn]] void DeserializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "Deserialize failed. " + text);
}

bool IsBlank(const xmlChar* text) {
  if (!text) return true;
  for (; *text; ++text)
    if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
  return true;
}

// A forward-only walk over the document. Every read checks the collector, so a parse or
// validation error stops the walk at the node where libxml2 noticed it.
class tCursor {
 public:
  tCursor(xmlTextReaderPtr reader, xml::tErrorCollector& errors) : r_(reader), errors_(errors) {}

  // False at the end of the document.
  bool Read() {
    int rc = xml::ReadNode(r_, errors_);
    if (errors_.HasError()) throw xml::tParseFailure();
    if (rc < 0) {
      errors_.Record(XML_ERR_INTERNAL_ERROR, "The document could not be read.",
                     xmlTextReaderGetParserLineNumber(r_));
      throw xml::tParseFailure();
    }
    if (rc == 0) return false;
    if (Type() == XML_READER_TYPE_DOCUMENT_TYPE) {
      // The file component refuses these before parsing; this catches any encoding its scan of
      // the prolog cannot see through.
      errors_.Record(XML_ERR_USER_STOP, "Document type declarations are not allowed", Line());
      throw xml::tParseFailure();
    }
    return true;
  }

  int Type() const { return xmlTextReaderNodeType(r_); }
  // Names come from the parser's dictionary and live as long as the reader.
  const char* Name() const { return reinterpret_cast<const char*>(xmlTextReaderConstName(r_)); }
  bool NameIs(const char* name) const { return std::strcmp(Name(), name) == 0; }
  bool IsEmpty() const { return xmlTextReaderIsEmptyElement(r_) == 1; }
  int Depth() const { return xmlTextReaderDepth(r_); }
  int Line() const {
    xmlNodePtr node = xmlTextReaderCurrentNode(r_);
    long line = node ? xmlGetLineNo(node) : -1;
    return line > 0 ? static_cast<int>(line) : xmlTextReaderGetParserLineNumber(r_);
  }
  std::optional<std::string> Attribute(const char* name) const {
    xmlChar* value = xmlTextReaderGetAttribute(r_, BAD_CAST name);
    if (!value) return std::nullopt;
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
  }

  // Moves to the next element among the children of the element being walked: true on it,
  // false on the parent's end tag. The previous child must have been consumed whole.
  bool NextChildElement(const char* parent, int parentLine) {
    while (Read()) {
      switch (Type()) {
        case XML_READER_TYPE_ELEMENT:
          return true;
        case XML_READER_TYPE_END_ELEMENT:
          return false;
        case XML_READER_TYPE_TEXT:
        case XML_READER_TYPE_CDATA:
          if (!IsBlank(xmlTextReaderConstValue(r_)))
            DeserializeFailed(std::string("Text found where element ") + parent + " (line " +
                              std::to_string(parentLine) + ") holds only elements (line " +
                              std::to_string(Line()) + ").");
          break;
        default:  // white space, comments, processing instructions
          break;
      }
    }
    DeserializeFailed(std::string("The document ends inside element ") + parent + " (line " +
                      std::to_string(parentLine) + ").");
  }

  // The text of the element the cursor is on, which is then consumed.
  std::string Text() {
    std::string text;
    if (IsEmpty()) return text;
    const char* element = Name();
    const int line = Line();
    while (Read()) {
      switch (Type()) {
        case XML_READER_TYPE_TEXT:
        case XML_READER_TYPE_CDATA:
        case XML_READER_TYPE_WHITESPACE:
        case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
          if (const xmlChar* value = xmlTextReaderConstValue(r_))
            text += reinterpret_cast<const char*>(value);
          break;
        case XML_READER_TYPE_END_ELEMENT:
          return text;
        case XML_READER_TYPE_ELEMENT:
          DeserializeFailed(std::string("Expected text in element ") + element + " (line " +
                            std::to_string(line) + "), found element " + Name() + " (line " +
                            std::to_string(Line()) + ").");
        default:
          break;
      }
    }
    DeserializeFailed(std::string("The document ends inside element ") + element + " (line " +
                      std::to_string(line) + ").");
  }

  // Consumes the element the cursor is on, with everything in it.
  void Skip() {
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read())
      if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
    DeserializeFailed("The document ends inside an element.");
  }

 private:
  xmlTextReaderPtr r_;
  xml::tErrorCollector& errors_;
};

// The children of the element the cursor is on, taken one by one by their place.
class tChildren {
 public:
  explicit tChildren(tCursor& cursor)
      : c_(cursor), parent_(cursor.Name()), line_(cursor.Line()), ended_(cursor.IsEmpty()) {}

  bool Next() {
    if (ended_) return false;
    if (c_.NextChildElement(parent_, line_)) {
      ++index_;
      return true;
    }
    ended_ = true;
    return false;
  }
  // Moves to the next child, which the format says must be there.
  void Expect(const char* name) {
    if (!Next())
      DeserializeFailed(std::string("Expected element ") + name + " as child " +
                        std::to_string(index_ + 1) + " of element " + parent_ + " (line " +
                        std::to_string(line_) + "), found the end of " + parent_ + ".");
  }
  // Steps over whatever children are left and the parent's end tag.
  void Finish() {
    while (Next()) c_.Skip();
  }
 private:
  tCursor& c_;
  const char* parent_;
  int line_;
  bool ended_;
  int index_ = 0;
};

class tStoreReader {
 public:
  tStoreReader(tZavConfigStore* store, tCursor& cursor) : store_(store), c_(cursor) {}
  void ReadStore();

 private:
  // The id of the item element the cursor is on; checked only when it is registered.
  struct tItemId {
    std::optional<std::string> id;
    const char* element;
    int line;
  };
  tItemId ItemId() const { return {c_.Attribute("id"), c_.Name(), c_.Line()}; }
  void Register(const tItemId& id, iConfigStoreItem* item) {
    if (!id.id)
      DeserializeFailed(std::string("Element ") + id.element + " (line " +
                        std::to_string(id.line) + ") has no id attribute.");
    ids_[*id.id] = item;
  }
  // The item a reference element names; unknown ids, the empty one included, and ids of items
  // of another kind give null.
  template <class T>
  T* ResolveRef() {
    std::optional<std::string> idref = c_.Attribute("idref");
    if (!idref)
      DeserializeFailed(std::string("Element ") + c_.Name() + " (line " +
                        std::to_string(c_.Line()) + ") has no idref attribute.");
    c_.Skip();
    auto it = ids_.find(*idref);
    return it == ids_.end() ? nullptr : dynamic_cast<T*>(it->second);
  }
  std::string Text(tChildren& children, const char* name) {
    children.Expect(name);
    return c_.Text();
  }
  int32_t Integer(tChildren& children, const char* name) {
    return ParseInteger(Text(children, name));
  }
  bool Boolean(tChildren& children, const char* name) { return ParseBoolean(Text(children, name)); }
  void Skip(tChildren& children, const char* name) {
    children.Expect(name);
    c_.Skip();
  }

  void ReadPublishedAPIs();
  void ReadSoftwareModules();
  void ReadHardwareAssets();
  void ReadSessions(bool driverSessions);
  void ReadLogicalNames();
  void ReadCommon(tChildren& children, iZavConfigComponent* item);
  void ReadDataComponents(tZavCollection<iZavDataComponent>* target);
  void ReadPhysicalNames(tZavCollection<tZavPhysicalName>* target);
  void ReadVirtualNames(tZavCollection<tZavVirtualName>* target);

  tZavConfigStore* store_;
  tCursor& c_;
  std::unordered_map<std::string, iConfigStoreItem*> ids_;
};

void tStoreReader::ReadStore() {
  do {
    if (!c_.Read()) DeserializeFailed("The document has no ZavConfigStore element.");
  } while (c_.Type() != XML_READER_TYPE_ELEMENT);
  tChildren root(c_);
  Skip(root, "Name");
  store_->SetDescription(Text(root, "Description"));
  for (const char* skipped : {"Vendor", "Revision", "SpecificationMajorVersion",
                              "SpecificationMinorVersion", "MasterLocation",
                              "ProcessDefaultLocation", "ActualLocation"})
    Skip(root, skipped);
  root.Expect("PublishedAPIs");
  ReadPublishedAPIs();
  root.Expect("SoftwareModules");
  ReadSoftwareModules();
  root.Expect("HardwareAssets");
  ReadHardwareAssets();
  root.Expect("DriverSessions");
  ReadSessions(true);
  root.Expect("Sessions");
  ReadSessions(false);
  root.Expect("LogicalNames");
  ReadLogicalNames();
  root.Finish();
}

void tStoreReader::ReadPublishedAPIs() {
  tChildren list(c_);
  while (list.Next()) {
    auto api = std::make_unique<tZavPublishedAPI>();
    const tItemId id = ItemId();
    tChildren fields(c_);
    api->SetName(Text(fields, "Name"));
    api->SetMajorVersion(Integer(fields, "MajorVersion"));
    api->SetMinorVersion(Integer(fields, "MinorVersion"));
    api->SetType(Text(fields, "Type"));
    fields.Finish();
    Register(id, store_->GetPublishedAPIs()->AddToGlobal(std::move(api)));
  }
}

void tStoreReader::ReadCommon(tChildren& children, iZavConfigComponent* item) {
  item->SetName(Text(children, "Name"), true);
  item->SetDescription(Text(children, "Description"));
  children.Expect("DataComponents");
  ReadDataComponents(item->GetDataComponents());
}

void tStoreReader::ReadSoftwareModules() {
  tChildren list(c_);
  while (list.Next()) {
    const tItemId id = ItemId();
    // A module joins the store before its content is read.
    tZavSoftwareModule* module =
        store_->GetSoftwareModules()->Add(std::make_unique<tZavSoftwareModule>());
    tChildren fields(c_);
    ReadCommon(fields, module);
    module->SetModulePath(Text(fields, "ModulePath"));
    module->SetPrefix(Text(fields, "Prefix"));
    module->SetProgID(Text(fields, "ProgID"));
    module->SetSupportedInstrumentModels(Text(fields, "SupportedInstrumentModels"));
    fields.Expect("PhysicalNames");
    ReadPhysicalNames(module->GetPhysicalNames());
    fields.Expect("PublishedAPIs");
    {
      tChildren refs(c_);
      while (refs.Next())
        module->GetPublishedAPIs()->AddReference(ResolveRef<tZavPublishedAPI>());
    }
    std::string className;
    std::string modulePath64;
    if (fields.Next()) {
      className = c_.Text();
      if (fields.Next()) modulePath64 = c_.Text();
    }
    fields.Finish();
    module->SetAssemblyQualifiedClassName(className);
    module->SetModulePath64(modulePath64);
    Register(id, module);
  }
}

void tStoreReader::ReadHardwareAssets() {
  tChildren list(c_);
  while (list.Next()) {
    auto asset = std::make_unique<tZavHardwareAsset>();
    const tItemId id = ItemId();
    tChildren fields(c_);
    ReadCommon(fields, asset.get());
    asset->SetIOResourceDescriptor(Text(fields, "IOResourceDescriptor"));
    fields.Finish();
    Register(id, store_->GetHardwareAssets()->Add(std::move(asset)));
  }
}

void tStoreReader::ReadSessions(bool driverSessions) {
  tChildren list(c_);
  while (list.Next()) {
    std::unique_ptr<tZavSession> session;
    tZavDriverSession* driver = nullptr;
    if (driverSessions) {
      auto owned = std::make_unique<tZavDriverSession>();
      driver = owned.get();
      session = std::move(owned);
    } else {
      session = std::make_unique<tZavSession>();
    }
    const tItemId id = ItemId();
    tChildren fields(c_);
    ReadCommon(fields, session.get());
    // Up to two optional references come first; whatever follows them is the virtual names.
    fields.Expect("VirtualNames");
    if (c_.NameIs("ZavHardwareAsset")) {
      session->SetHardwareAsset(ResolveRef<tZavHardwareAsset>());
      fields.Expect("VirtualNames");
    }
    if (c_.NameIs("ZavSoftwareModuleRef")) {
      session->LinkSoftwareModule(ResolveRef<tZavSoftwareModule>());
      fields.Expect("VirtualNames");
    }
    ReadVirtualNames(session->GetVirtualNames());
    Skip(fields, "SoftwareModuleName");
    if (driver) {
      driver->SetCache(Boolean(fields, "Cache"));
      driver->SetDriverSetup(Text(fields, "DriverSetup"));
      driver->SetInterchangeCheck(Boolean(fields, "InterchangeCheck"));
      driver->SetQueryInstrStatus(Boolean(fields, "QueryInstrStatus"));
      driver->SetRangeCheck(Boolean(fields, "RangeCheck"));
      driver->SetRecordCoercions(Boolean(fields, "RecordCoercions"));
      driver->SetSimulate(Boolean(fields, "Simulate"));
    }
    fields.Finish();
    // A driver session joins the driver-session view with it.
    Register(id, store_->GetSessions()->Add(std::move(session)));
  }
}

void tStoreReader::ReadLogicalNames() {
  tChildren list(c_);
  while (list.Next()) {
    auto logicalName = std::make_unique<tZavLogicalName>();
    const tItemId id = ItemId();
    tChildren fields(c_);
    logicalName->SetName(Text(fields, "Name"), true);
    logicalName->SetDescription(Text(fields, "Description"));
    // The reference element is named after the session's kind; either kind resolves here.
    if (fields.Next()) logicalName->SetSession(ResolveRef<tZavSession>());
    fields.Finish();
    Register(id, store_->GetLogicalNames()->Add(std::move(logicalName)));
  }
}

std::unique_ptr<iZavDataComponent> NewComponent(const char* element) {
  if (std::strcmp(element, "ZavAPIReference") == 0) return std::make_unique<tZavAPIReference>();
  if (std::strcmp(element, "ZavBoolean") == 0) return std::make_unique<tZavBoolean>();
  if (std::strcmp(element, "ZavInteger") == 0) return std::make_unique<tZavInteger>();
  if (std::strcmp(element, "ZavReal") == 0) return std::make_unique<tZavReal>();
  if (std::strcmp(element, "ZavString") == 0) return std::make_unique<tZavString>();
  if (std::strcmp(element, "ZavStructure") == 0) return std::make_unique<tZavStructure>();
  return nullptr;
}

void tStoreReader::ReadDataComponents(tZavCollection<iZavDataComponent>* target) {
  tChildren list(c_);
  while (list.Next()) {
    std::unique_ptr<iZavDataComponent> component = NewComponent(c_.Name());
    if (!component)
      DeserializeFailed(std::string("Unknown ZavDataComponent type ") + c_.Name() +
                        " in configuration store.");
    const tItemId id = ItemId();
    tChildren fields(c_);
    component->SetName(Text(fields, "Name"), true);
    component->SetDescription(Text(fields, "Description"));
    component->SetReadOnly(Boolean(fields, "ReadOnly"));
    component->SetUsedInSession(Text(fields, "UsedInSession"));
    Skip(fields, "Type");
    component->SetHelpContextID(Integer(fields, "HelpContextID"));
    component->SetHelpFilePath(Text(fields, "HelpFilePath"));
    component->SetSoftwareModuleKey(Text(fields, "SoftwareModuleKey"));
    iZavDataComponent* item = component.get();
    if (auto* reference = dynamic_cast<tZavAPIReference*>(item)) {
      reference->SetValue(Text(fields, "Value"));
      fields.Expect("ZavPublishedAPI");
      // The component is in no collection yet, so a null reference is accepted.
      reference->SetPublishedAPIReference(ResolveRef<tZavPublishedAPI>());
    } else if (auto* boolean = dynamic_cast<tZavBoolean*>(item)) {
      boolean->SetValue(Boolean(fields, "Value"));
    } else if (auto* integer = dynamic_cast<tZavInteger*>(item)) {
      integer->SetUnits(Text(fields, "Units"));
      integer->SetValue(Integer(fields, "Value"));
    } else if (auto* real = dynamic_cast<tZavReal*>(item)) {
      real->SetUnits(Text(fields, "Units"));
      real->SetValue(ParseReal(Text(fields, "Value")));
    } else if (auto* string = dynamic_cast<tZavString*>(item)) {
      string->SetValue(Text(fields, "Value"));
    } else if (auto* structure = dynamic_cast<tZavStructure*>(item)) {
      fields.Expect("DataComponents");
      ReadDataComponents(structure->GetDataComponents());
    }
    fields.Finish();
    Register(id, target->Add(std::move(component)));
  }
}

void tStoreReader::ReadPhysicalNames(tZavCollection<tZavPhysicalName>* target) {
  tChildren list(c_);
  while (list.Next()) {
    auto name = std::make_unique<tZavPhysicalName>();
    const tItemId id = ItemId();
    tChildren fields(c_);
    // The name is set last: an empty name is allowed only beside ranges.
    const std::string text = Text(fields, "Name");
    name->SetRCName(Text(fields, "RCName"));
    fields.Expect("PhysicalNames");
    ReadPhysicalNames(name->GetPhysicalNames());
    fields.Expect("PhysicalRanges");
    {
      tChildren ranges(c_);
      auto* rangeList = name->GetPhysicalRanges();
      while (ranges.Next()) {
        auto range = std::make_unique<tZavPhysicalRange>();
        const tItemId rangeId = ItemId();
        tChildren rangeFields(c_);
        range->SetName(Text(rangeFields, "Name"), true);
        range->SetMax(Integer(rangeFields, "Max"));
        range->SetMin(Integer(rangeFields, "Min"));
        rangeFields.Finish();
        Register(rangeId, rangeList->Add(std::move(range)));
      }
    }
    fields.Finish();
    name->SetCheckedName(text);
    Register(id, target->Add(std::move(name)));
  }
}

void tStoreReader::ReadVirtualNames(tZavCollection<tZavVirtualName>* target) {
  tChildren list(c_);
  while (list.Next()) {
    auto name = std::make_unique<tZavVirtualName>();
    const tItemId id = ItemId();
    tChildren fields(c_);
    const std::string text = Text(fields, "Name");
    // MapTo comes before the ranges, so an empty MapTo is refused even beside ranges.
    name->SetMapTo(Text(fields, "MapTo"));
    fields.Expect("VirtualRanges");
    {
      tChildren ranges(c_);
      auto* rangeList = name->GetVirtualRanges();
      while (ranges.Next()) {
        auto range = std::make_unique<tZavVirtualRange>();
        const tItemId rangeId = ItemId();
        tChildren rangeFields(c_);
        range->SetName(Text(rangeFields, "Name"), true);
        range->SetMax(Integer(rangeFields, "Max"));
        range->SetMin(Integer(rangeFields, "Min"));
        range->SetStartingPhysicalIndex(Integer(rangeFields, "StartingPhysicalIndex"));
        rangeFields.Finish();
        Register(rangeId, rangeList->Add(std::move(range)));
      }
    }
    fields.Finish();
    name->SetCheckedName(text);
    Register(id, target->Add(std::move(name)));
  }
}

}  // namespace

void ReadConfigStore(tZavConfigStore* store, xmlTextReaderPtr reader,
                     xml::tErrorCollector& errors) {
  tCursor cursor(reader, errors);
  tStoreReader(store, cursor).ReadStore();
}

}  // namespace zav::persist
