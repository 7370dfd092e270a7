#include "persist/store_writer.h"

#include <charconv>
#include <cstdint>
#include <unordered_map>

#include "model/config_store.h"
#include "persist/xml_host.h"

#include <libxml/parserInternals.h>

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

// The deepest element the parser accepts when the document is read back (without the option
// for huge documents, which the reader never sets). A store nested deeper is refused rather
// than written to a file that cannot be read.
unsigned MaxDepth() { return xmlParserMaxDepth + 1; }

// Item ids. The document fixes when each item receives its number: most items after their
// children, sessions, hardware assets and software modules right after their data components.
// A streaming writer must put the id on the start tag, before the children exist, so the
// numbers are worked out by a first walk in exactly the writer's order, and the writer then
// only looks them up. The writer also counts the numbers as they would be handed out, so that a
// reference to an item that has no number yet at that point of the document is written as "".
class tSerializeIds {
 public:
  void Assign(const void* item) { numbers_.emplace(item, next_++); }
  uint32_t NumberOf(const void* item) const {
    auto it = numbers_.find(item);
    return it == numbers_.end() ? 0 : it->second;
  }
  // The writer has reached the point where the next item takes its number.
  void Issue() { ++issued_; }
  std::string IdOf(const void* item) const {
    uint32_t number = item ? NumberOf(item) : 0;
    if (number == 0 || number > issued_) return std::string();
    return "p" + std::to_string(number);
  }
  void NumberStore(tZavConfigStore* store);

 private:
  void NumberComponents(tZavCollection<iZavDataComponent>* list);
  void NumberPhysicalNames(tZavCollection<tZavPhysicalName>* list);
  void NumberVirtualNames(tZavCollection<tZavVirtualName>* list);
  void NumberSession(tZavSession* session);

  std::unordered_map<const void*, uint32_t> numbers_;
  uint32_t next_ = 1;
  uint32_t issued_ = 0;
};

void tSerializeIds::NumberComponents(tZavCollection<iZavDataComponent>* list) {
  for (long i = 1; i <= list->Count(); ++i) {
    iZavDataComponent* component = list->ItemByIndex(i);
    if (auto* structure = dynamic_cast<tZavStructure*>(component))
      NumberComponents(structure->GetDataComponents());
    Assign(component);
  }
}

void tSerializeIds::NumberPhysicalNames(tZavCollection<tZavPhysicalName>* list) {
  for (long i = 1; i <= list->Count(); ++i) {
    tZavPhysicalName* name = list->ItemByIndex(i);
    NumberPhysicalNames(name->GetPhysicalNames());
    auto* ranges = name->GetPhysicalRanges();
    for (long r = 1; r <= ranges->Count(); ++r) Assign(ranges->ItemByIndex(r));
    Assign(name);
  }
}

void tSerializeIds::NumberVirtualNames(tZavCollection<tZavVirtualName>* list) {
  for (long i = 1; i <= list->Count(); ++i) {
    tZavVirtualName* name = list->ItemByIndex(i);
    auto* ranges = name->GetVirtualRanges();
    for (long r = 1; r <= ranges->Count(); ++r) Assign(ranges->ItemByIndex(r));
    Assign(name);
  }
}

void tSerializeIds::NumberSession(tZavSession* session) {
  NumberComponents(session->GetDataComponents());
  Assign(session);
  NumberVirtualNames(session->GetVirtualNames());
}

void tSerializeIds::NumberStore(tZavConfigStore* store) {
  auto* apis = store->GetPublishedAPIs();
  for (long i = 1; i <= apis->Count(); ++i) Assign(apis->ItemByIndex(i));
  auto* modules = store->GetSoftwareModules();
  for (long i = 1; i <= modules->Count(); ++i) {
    tZavSoftwareModule* module = modules->ItemByIndex(i);
    NumberComponents(module->GetDataComponents());
    Assign(module);
    NumberPhysicalNames(module->GetPhysicalNames());
  }
  auto* assets = store->GetHardwareAssets();
  for (long i = 1; i <= assets->Count(); ++i) {
    NumberComponents(assets->ItemByIndex(i)->GetDataComponents());
    Assign(assets->ItemByIndex(i));
  }
  auto* driverSessions = store->GetDriverSessions();
  for (long i = 1; i <= driverSessions->Count(); ++i) NumberSession(driverSessions->ItemByIndex(i));
  auto* sessions = store->GetSessions();
  for (long i = 1; i <= sessions->Count(); ++i) {
    tZavSession* session = sessions->ItemByIndex(i);
    if (!session->IsDriverSession()) NumberSession(session);
  }
  auto* logicalNames = store->GetLogicalNames();
  for (long i = 1; i <= logicalNames->Count(); ++i) Assign(logicalNames->ItemByIndex(i));
}

// The item whose values are being written, for messages: its element name and its name.
struct tWhere {
  const char* element;  // null: the store itself
  std::string name;
};

[[noreturn]] void SerializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_SERIALIZE_FAILED, "Serialize failed. " + text);
}

class tStoreWriter {
 public:
  tStoreWriter(xmlTextWriterPtr writer, tSerializeIds& ids) : w_(writer), ids_(ids) {}

  void WriteStore(tZavConfigStore* store);

 private:
  void Check(int rc) {
    if (rc < 0) SerializeFailed("The XML writer failed to write the store document.");
  }
  void Enter(const char* element) {
    if (++depth_ > maxDepth_)
      SerializeFailed(std::string("The items of the store are nested too deeply: element ") +
                      element + " would lie at depth " + std::to_string(depth_) +
                      ", and a store document can hold " + std::to_string(maxDepth_) + ".");
  }
  void Start(const char* element) {
    Enter(element);
    Check(xmlTextWriterStartElement(w_, BAD_CAST element));
  }
  void End() {
    --depth_;
    Check(xmlTextWriterEndElement(w_));
  }
  // An item element with its id already on the start tag.
  void StartItem(const char* element, const void* item) {
    Start(element);
    std::string id = "p" + std::to_string(ids_.NumberOf(item));
    Check(xmlTextWriterWriteAttribute(w_, BAD_CAST "id", BAD_CAST id.c_str()));
  }
  void Text(const char* element, const std::string& value, const tWhere& where);
  void Integer(const char* element, long value);
  void Boolean(const char* element, bool value) { Raw(element, value ? "1" : "0"); }
  void Real(const char* element, double value);
  void Raw(const char* element, const char* text) {
    Enter(element);
    Check(xmlTextWriterWriteElement(w_, BAD_CAST element, BAD_CAST text));
    --depth_;
  }
  void Ref(const char* element, const void* item) {
    Start(element);
    std::string id = ids_.IdOf(item);
    Check(xmlTextWriterWriteAttribute(w_, BAD_CAST "idref", BAD_CAST id.c_str()));
    End();
  }

  void ComponentCommon(iZavConfigComponent* item, const char* element, const tWhere& where);
  void DataComponents(tZavCollection<iZavDataComponent>* list);
  void DataComponent(iZavDataComponent* component);
  void PhysicalNames(tZavCollection<tZavPhysicalName>* list);
  void VirtualNames(tZavCollection<tZavVirtualName>* list);
  void Session(tZavSession* session, const char* element);

  xmlTextWriterPtr w_;
  tSerializeIds& ids_;
  unsigned depth_ = 0;
  const unsigned maxDepth_ = MaxDepth();
};

void tStoreWriter::Text(const char* element, const std::string& value, const tWhere& where) {
  bool xmlChars = true;
  bool utf8 = CheckXmlText(value, xmlChars);
  if (!utf8 || !xmlChars) {
    std::string owner;
    if (!where.element)
      owner = "the configuration store";
    else if (std::string(element) == "Name")
      owner = std::string("a ") + where.element;  // the name itself is what cannot be shown
    else
      owner = std::string(where.element) + " '" + where.name + "'";
    SerializeFailed(std::string("The ") + element + " of " + owner +
                    (utf8 ? " holds a character that XML 1.0 cannot carry."
                          : " is not valid UTF-8."));
  }
  if (value.empty()) {
    Start(element);
    End();
  } else {
    Raw(element, value.c_str());
  }
}

void tStoreWriter::Integer(const char* element, long value) {
  char text[24];
  auto result = std::to_chars(text, text + sizeof text - 1, value);
  *result.ptr = '\0';
  Raw(element, text);
}

void tStoreWriter::Real(const char* element, double value) {
  // The general format with six significant digits is printf's %g, and to_chars never looks
  // at the process locale, so a decimal comma locale cannot leak into the file.
  char text[40];
  auto result = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::general, 6);
  *result.ptr = '\0';
  Raw(element, text);
}

void tStoreWriter::ComponentCommon(iZavConfigComponent* item, const char* element,
                                   const tWhere& where) {
  StartItem(element, item);
  Text("Name", item->GetName(), where);
  Text("Description", item->GetDescription(), where);
  DataComponents(item->GetDataComponents());
  ids_.Issue();
}

void tStoreWriter::DataComponents(tZavCollection<iZavDataComponent>* list) {
  Start("DataComponents");
  for (long i = 1; i <= list->Count(); ++i) DataComponent(list->ItemByIndex(i));
  End();
}

void tStoreWriter::DataComponent(iZavDataComponent* component) {
  const std::string type = component->GetType();
  const std::string element = "Zav" + type;
  const tWhere where{element.c_str(), component->GetName()};
  StartItem(element.c_str(), component);
  Text("Name", component->GetName(), where);
  Text("Description", component->GetDescription(), where);
  Boolean("ReadOnly", component->GetReadOnly());
  Text("UsedInSession", component->GetUsedInSession(), where);
  Text("Type", type, where);
  Integer("HelpContextID", component->GetHelpContextID());
  Text("HelpFilePath", component->GetHelpFilePath(), where);
  Text("SoftwareModuleKey", component->GetSoftwareModuleKey(), where);
  if (auto* reference = dynamic_cast<tZavAPIReference*>(component)) {
    Text("Value", reference->GetValue(), where);
    Ref("ZavPublishedAPI", reference->GetPublishedAPIReference());
  } else if (auto* boolean = dynamic_cast<tZavBoolean*>(component)) {
    Boolean("Value", boolean->GetValue());
  } else if (auto* integer = dynamic_cast<tZavInteger*>(component)) {
    Text("Units", integer->GetUnits(), where);
    Integer("Value", integer->GetValue());
  } else if (auto* real = dynamic_cast<tZavReal*>(component)) {
    Text("Units", real->GetUnits(), where);
    Real("Value", real->GetValue());
  } else if (auto* string = dynamic_cast<tZavString*>(component)) {
    Text("Value", string->GetValue(), where);
  } else if (auto* structure = dynamic_cast<tZavStructure*>(component)) {
    DataComponents(structure->GetDataComponents());
  }
  ids_.Issue();
  End();
}

void tStoreWriter::PhysicalNames(tZavCollection<tZavPhysicalName>* list) {
  Start("PhysicalNames");
  for (long i = 1; i <= list->Count(); ++i) {
    tZavPhysicalName* name = list->ItemByIndex(i);
    const tWhere where{"ZavPhysicalName", name->GetName()};
    StartItem("ZavPhysicalName", name);
    Text("Name", name->GetName(), where);
    Text("RCName", name->GetRCName(), where);
    PhysicalNames(name->GetPhysicalNames());
    Start("PhysicalRanges");
    auto* ranges = name->GetPhysicalRanges();
    for (long r = 1; r <= ranges->Count(); ++r) {
      tZavPhysicalRange* range = ranges->ItemByIndex(r);
      StartItem("ZavPhysicalRange", range);
      Text("Name", range->GetName(), {"ZavPhysicalRange", range->GetName()});
      Integer("Max", range->GetMax());
      Integer("Min", range->GetMin());
      ids_.Issue();
      End();
    }
    End();
    ids_.Issue();
    End();
  }
  End();
}

void tStoreWriter::VirtualNames(tZavCollection<tZavVirtualName>* list) {
  Start("VirtualNames");
  for (long i = 1; i <= list->Count(); ++i) {
    tZavVirtualName* name = list->ItemByIndex(i);
    const tWhere where{"ZavVirtualName", name->GetName()};
    StartItem("ZavVirtualName", name);
    Text("Name", name->GetName(), where);
    Text("MapTo", name->GetMapTo(), where);
    Start("VirtualRanges");
    auto* ranges = name->GetVirtualRanges();
    for (long r = 1; r <= ranges->Count(); ++r) {
      tZavVirtualRange* range = ranges->ItemByIndex(r);
      StartItem("ZavVirtualRange", range);
      Text("Name", range->GetName(), {"ZavVirtualRange", range->GetName()});
      Integer("Max", range->GetMax());
      Integer("Min", range->GetMin());
      Integer("StartingPhysicalIndex", range->GetStartingPhysicalIndex());
      ids_.Issue();
      End();
    }
    End();
    ids_.Issue();
    End();
  }
  End();
}

void tStoreWriter::Session(tZavSession* session, const char* element) {
  const tWhere where{element, session->GetName()};
  ComponentCommon(session, element, where);
  if (tZavHardwareAsset* asset = session->GetHardwareAsset()) Ref("ZavHardwareAsset", asset);
  if (tZavSoftwareModule* module = session->GetSoftwareModule())
    Ref("ZavSoftwareModuleRef", module);
  VirtualNames(session->GetVirtualNames());
  Text("SoftwareModuleName", session->GetSoftwareModuleName(), where);
  if (auto* driver = dynamic_cast<tZavDriverSession*>(session)) {
    Boolean("Cache", driver->GetCache());
    Text("DriverSetup", driver->GetDriverSetup(), where);
    Boolean("InterchangeCheck", driver->GetInterchangeCheck());
    Boolean("QueryInstrStatus", driver->GetQueryInstrStatus());
    Boolean("RangeCheck", driver->GetRangeCheck());
    Boolean("RecordCoercions", driver->GetRecordCoercions());
    Boolean("Simulate", driver->GetSimulate());
  }
  End();
}

void tStoreWriter::WriteStore(tZavConfigStore* store) {
  const tWhere self{nullptr, std::string()};
  Start("ZavConfigStore");
  Check(xmlTextWriterWriteAttribute(w_, BAD_CAST "xmlns:dt",
                                    BAD_CAST "urn:schemas-microsoft-com:datatypes"));
  Text("Name", store->GetName(), self);
  Text("Description", store->GetDescription(), self);
  Text("Vendor", store->GetVendor(), self);
  Text("Revision", store->GetRevision(), self);
  Integer("SpecificationMajorVersion", store->GetSpecificationMajorVersion());
  Integer("SpecificationMinorVersion", store->GetSpecificationMinorVersion());
  Text("MasterLocation", store->GetMasterLocation(), self);
  Text("ProcessDefaultLocation", store->GetProcessDefaultLocation(), self);
  Text("ActualLocation", store->GetActualLocation(), self);

  Start("PublishedAPIs");
  auto* apis = store->GetPublishedAPIs();
  for (long i = 1; i <= apis->Count(); ++i) {
    tZavPublishedAPI* api = apis->ItemByIndex(i);
    const tWhere where{"ZavPublishedAPI", api->GetName()};
    StartItem("ZavPublishedAPI", api);
    Text("Name", api->GetName(), where);
    Integer("MajorVersion", api->GetMajorVersion());
    Integer("MinorVersion", api->GetMinorVersion());
    Text("Type", api->GetType(), where);
    ids_.Issue();
    End();
  }
  End();

  Start("SoftwareModules");
  auto* modules = store->GetSoftwareModules();
  for (long i = 1; i <= modules->Count(); ++i) {
    tZavSoftwareModule* module = modules->ItemByIndex(i);
    const tWhere where{"ZavSoftwareModule", module->GetName()};
    ComponentCommon(module, "ZavSoftwareModule", where);
    Text("ModulePath", module->GetModulePath(), where);
    Text("Prefix", module->GetPrefix(), where);
    Text("ProgID", module->GetProgID(), where);
    Text("SupportedInstrumentModels", module->GetSupportedInstrumentModels(), where);
    PhysicalNames(module->GetPhysicalNames());
    Start("PublishedAPIs");
    tZavPublishedAPIReferences* refs = module->GetPublishedAPIs();
    for (long r = 1; r <= refs->Count(); ++r) Ref("ZavPublishedAPI", refs->ItemByIndex(r));
    End();
    Text("AssemblyQualifiedClassName", module->GetAssemblyQualifiedClassName(), where);
    Text("ModulePath64", module->GetModulePath64(), where);
    End();
  }
  End();

  Start("HardwareAssets");
  auto* assets = store->GetHardwareAssets();
  for (long i = 1; i <= assets->Count(); ++i) {
    tZavHardwareAsset* asset = assets->ItemByIndex(i);
    const tWhere where{"ZavHardwareAsset", asset->GetName()};
    ComponentCommon(asset, "ZavHardwareAsset", where);
    Text("IOResourceDescriptor", asset->GetIOResourceDescriptor(), where);
    End();
  }
  End();

  Start("DriverSessions");
  auto* driverSessions = store->GetDriverSessions();
  for (long i = 1; i <= driverSessions->Count(); ++i)
    Session(driverSessions->ItemByIndex(i), "ZavDriverSession");
  End();

  Start("Sessions");
  auto* sessions = store->GetSessions();
  for (long i = 1; i <= sessions->Count(); ++i) {
    tZavSession* session = sessions->ItemByIndex(i);
    if (!session->IsDriverSession()) Session(session, "ZavSession");
  }
  End();

  Start("LogicalNames");
  auto* logicalNames = store->GetLogicalNames();
  for (long i = 1; i <= logicalNames->Count(); ++i) {
    tZavLogicalName* logicalName = logicalNames->ItemByIndex(i);
    const tWhere where{"ZavLogicalName", logicalName->GetName()};
    StartItem("ZavLogicalName", logicalName);
    Text("Name", logicalName->GetName(), where);
    Text("Description", logicalName->GetDescription(), where);
    if (tZavSession* session = logicalName->GetSession())
      Ref(session->IsDriverSession() ? "ZavDriverSession" : "ZavSession", session);
    ids_.Issue();
    End();
  }
  End();

  End();
}

}  // namespace

void WriteConfigStore(tZavConfigStore* store, std::string& out) {
  xml::InitParser();
  tSerializeIds ids;
  ids.NumberStore(store);

  xml::BufferPtr buffer(xmlBufferCreate());
  if (!buffer) SerializeFailed("Failed to create SAX reader.");
  // The writer does not own the buffer; it is declared second so that it is freed (and flushed)
  // before the buffer.
  xml::WriterPtr writer(xmlNewTextWriterMemory(buffer.get(), 0));
  if (!writer) SerializeFailed("Failed to create SAX writer.");
  if (xmlTextWriterSetIndent(writer.get(), 1) < 0 ||
      xmlTextWriterSetIndentString(writer.get(), BAD_CAST "  ") < 0)
    SerializeFailed("Failed to create SAX writer.");

  tStoreWriter(writer.get(), ids).WriteStore(store);
  if (xmlTextWriterFlush(writer.get()) < 0)
    SerializeFailed("The XML writer failed to write the store document.");
  writer.reset();
  out.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
             static_cast<size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace zav::persist
