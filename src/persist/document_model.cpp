// SPDX-License-Identifier: MIT
#include "persist/document_model.h"

#include <cstring>
#include <vector>

#include "model/config_store.h"
#include "persist/store_builder.h"

namespace zav::persist {

namespace {

using Kind = tElementKind;

// A text child; without a setter its text is read and dropped.
constexpr tParticle Field(const char* name, tSetter set = nullptr) { return {name, Kind::kText, set}; }
// A reference child.
constexpr tParticle Link(const char* name, tSetter set) { return {name, Kind::kReference, set}; }
// A child with element content; a list of items says where they go.
constexpr tParticle Child(const char* name, Kind kind, tAdder add = nullptr) {
  tParticle particle{name, kind};
  particle.add = add;
  return particle;
}
constexpr tParticle Optional(tParticle particle) {
  particle.optional = true;
  return particle;
}
// Any number, none included.
constexpr tParticle Many(tParticle particle) {
  particle.optional = particle.many = true;
  return particle;
}
// One choice group with the particle after it.
constexpr tParticle OrNext(tParticle particle) {
  particle.choiceWithNext = true;
  return particle;
}
// Allowed only after the particle before it.
constexpr tParticle AfterPrevious(tParticle particle) {
  particle.needsPrevious = true;
  return particle;
}

constexpr tParticle kStoreContent[] = {
    Field("Name"), Field("Description", KeepStoreDescription), Field("Vendor"), Field("Revision"),
    Field("SpecificationMajorVersion"), Field("SpecificationMinorVersion"), Field("MasterLocation"),
    Field("ProcessDefaultLocation"), Field("ActualLocation"),
    Child("PublishedAPIs", Kind::kPublishedAPIs, AddPublishedAPI),
    Child("SoftwareModules", Kind::kSoftwareModules,
          AddTo<tZavConfigStore, &tZavConfigStore::GetSoftwareModules>),
    Child("HardwareAssets", Kind::kHardwareAssets, AddTo<tZavConfigStore, &tZavConfigStore::GetHardwareAssets>),
    // A driver session joins the driver-session view with the sessions.
    Child("DriverSessions", Kind::kDriverSessions, AddTo<tZavConfigStore, &tZavConfigStore::GetSessions>),
    Child("Sessions", Kind::kSessions, AddTo<tZavConfigStore, &tZavConfigStore::GetSessions>),
    Child("LogicalNames", Kind::kLogicalNames, AddTo<tZavConfigStore, &tZavConfigStore::GetLogicalNames>)};

constexpr tParticle kPublishedAPIsContent[] = {Many(Child("ZavPublishedAPI", Kind::kPublishedAPI))};
constexpr tParticle kPublishedAPIContent[] = {
    Field("Name", Text<tZavPublishedAPI, &tZavPublishedAPI::SetName>),
    Field("MajorVersion", Integer<tZavPublishedAPI, &tZavPublishedAPI::SetMajorVersion>),
    Field("MinorVersion", Integer<tZavPublishedAPI, &tZavPublishedAPI::SetMinorVersion>),
    Field("Type", Text<tZavPublishedAPI, &tZavPublishedAPI::SetType>)};

constexpr tParticle kSoftwareModulesContent[] = {Many(Child("ZavSoftwareModule", Kind::kSoftwareModule))};
constexpr tParticle kSoftwareModuleContent[] = {
    Field("Name", Text<tZavSoftwareModule, SetItemName>),
    Field("Description", Text<tZavSoftwareModule, &tZavSoftwareModule::SetDescription>),
    Child("DataComponents", Kind::kDataComponents,
          AddTo<tZavSoftwareModule, &tZavSoftwareModule::GetDataComponents>),
    Field("ModulePath", Text<tZavSoftwareModule, &tZavSoftwareModule::SetModulePath>),
    Field("Prefix", Text<tZavSoftwareModule, &tZavSoftwareModule::SetPrefix>),
    Field("ProgID", Text<tZavSoftwareModule, &tZavSoftwareModule::SetProgID>),
    Field("SupportedInstrumentModels",
          Text<tZavSoftwareModule, &tZavSoftwareModule::SetSupportedInstrumentModels>),
    Child("PhysicalNames", Kind::kPhysicalNames,
          AddTo<tZavSoftwareModule, &tZavSoftwareModule::GetPhysicalNames>),
    Child("PublishedAPIs", Kind::kPublishedAPIReferences),
    Optional(Field("AssemblyQualifiedClassName",
                   Text<tZavSoftwareModule, &tZavSoftwareModule::SetAssemblyQualifiedClassName>)),
    AfterPrevious(
        Optional(Field("ModulePath64", Text<tZavSoftwareModule, &tZavSoftwareModule::SetModulePath64>)))};
// A module's published APIs are references to the store's; they belong to the module.
constexpr tParticle kPublishedAPIReferencesContent[] = {
    Many(Link("ZavPublishedAPI",
              Reference<tZavSoftwareModule, AddPublishedAPIReference, Kind::kPublishedAPI>))};

constexpr tParticle kHardwareAssetsContent[] = {Many(Child("ZavHardwareAsset", Kind::kHardwareAsset))};
constexpr tParticle kHardwareAssetContent[] = {
    Field("Name", Text<tZavHardwareAsset, SetItemName>),
    Field("Description", Text<tZavHardwareAsset, &tZavHardwareAsset::SetDescription>),
    Child("DataComponents", Kind::kDataComponents,
          AddTo<tZavHardwareAsset, &tZavHardwareAsset::GetDataComponents>),
    Field("IOResourceDescriptor", Text<tZavHardwareAsset, &tZavHardwareAsset::SetIOResourceDescriptor>)};

// A driver session is a session with driver settings after the session's own content.
#define ZAV_SESSION_PARTICLES                                                                              \
  Field("Name", Text<tZavSession, SetItemName>),                                                           \
      Field("Description", Text<tZavSession, &tZavSession::SetDescription>),                               \
      Child("DataComponents", Kind::kDataComponents, AddTo<tZavSession, &tZavSession::GetDataComponents>), \
      Optional(Link("ZavHardwareAsset",                                                                    \
                    Reference<tZavSession, &tZavSession::SetHardwareAsset, Kind::kHardwareAsset>)),        \
      Optional(Link("ZavSoftwareModuleRef",                                                                \
                    Reference<tZavSession, &tZavSession::LinkSoftwareModule, Kind::kSoftwareModule>)),     \
      Child("VirtualNames", Kind::kVirtualNames, AddTo<tZavSession, &tZavSession::GetVirtualNames>),       \
      Field("SoftwareModuleName")
constexpr tParticle kDriverSessionsContent[] = {Many(Child("ZavDriverSession", Kind::kDriverSession))};
constexpr tParticle kDriverSessionContent[] = {
    ZAV_SESSION_PARTICLES,
    Field("Cache", Boolean<tZavDriverSession, &tZavDriverSession::SetCache>),
    Field("DriverSetup", Text<tZavDriverSession, &tZavDriverSession::SetDriverSetup>),
    Field("InterchangeCheck", Boolean<tZavDriverSession, &tZavDriverSession::SetInterchangeCheck>),
    Field("QueryInstrStatus", Boolean<tZavDriverSession, &tZavDriverSession::SetQueryInstrStatus>),
    Field("RangeCheck", Boolean<tZavDriverSession, &tZavDriverSession::SetRangeCheck>),
    Field("RecordCoercions", Boolean<tZavDriverSession, &tZavDriverSession::SetRecordCoercions>),
    Field("Simulate", Boolean<tZavDriverSession, &tZavDriverSession::SetSimulate>)};
constexpr tParticle kSessionsContent[] = {Many(Child("ZavSession", Kind::kSession))};
constexpr tParticle kSessionContent[] = {ZAV_SESSION_PARTICLES};
#undef ZAV_SESSION_PARTICLES

// A logical name refers to a session of either kind.
constexpr tSetter kSetLogicalNameSession =
    Reference<tZavLogicalName, &tZavLogicalName::SetSession, Kind::kSession, Kind::kDriverSession>;
constexpr tParticle kLogicalNamesContent[] = {Many(Child("ZavLogicalName", Kind::kLogicalName))};
constexpr tParticle kLogicalNameContent[] = {
    Field("Name", Text<tZavLogicalName, SetItemName>),
    Field("Description", Text<tZavLogicalName, &tZavLogicalName::SetDescription>),
    OrNext(Optional(Link("ZavDriverSession", kSetLogicalNameSession))),
    Optional(Link("ZavSession", kSetLogicalNameSession))};

constexpr tParticle kPhysicalNamesContent[] = {Many(Child("ZavPhysicalName", Kind::kPhysicalName))};
constexpr tParticle kPhysicalNameContent[] = {
    Field("Name", HoldName),
    Field("RCName", Text<tZavPhysicalName, &tZavPhysicalName::SetRCName>),
    Child("PhysicalNames", Kind::kPhysicalNames, AddTo<tZavPhysicalName, &tZavPhysicalName::GetPhysicalNames>),
    Child("PhysicalRanges", Kind::kPhysicalRanges,
          AddTo<tZavPhysicalName, &tZavPhysicalName::GetPhysicalRanges>)};
constexpr tParticle kPhysicalRangesContent[] = {Many(Child("ZavPhysicalRange", Kind::kPhysicalRange))};
constexpr tParticle kPhysicalRangeContent[] = {
    Field("Name", Text<tZavPhysicalRange, SetItemName>),
    Field("Max", Integer<tZavPhysicalRange, &tZavPhysicalRange::SetMax>),
    Field("Min", Integer<tZavPhysicalRange, &tZavPhysicalRange::SetMin>)};

constexpr tParticle kVirtualNamesContent[] = {Many(Child("ZavVirtualName", Kind::kVirtualName))};
constexpr tParticle kVirtualNameContent[] = {
    Field("Name", HoldName),
    Field("MapTo", Text<tZavVirtualName, &tZavVirtualName::SetMapTo>),
    Child("VirtualRanges", Kind::kVirtualRanges, AddTo<tZavVirtualName, &tZavVirtualName::GetVirtualRanges>)};
constexpr tParticle kVirtualRangesContent[] = {Many(Child("ZavVirtualRange", Kind::kVirtualRange))};
constexpr tParticle kVirtualRangeContent[] = {
    Field("Name", Text<tZavVirtualRange, SetItemName>),
    Field("Max", Integer<tZavVirtualRange, &tZavVirtualRange::SetMax>),
    Field("Min", Integer<tZavVirtualRange, &tZavVirtualRange::SetMin>),
    Field("StartingPhysicalIndex",
          Integer<tZavVirtualRange, &tZavVirtualRange::SetStartingPhysicalIndex>)};

// Any number of data components of each kind, the kinds in any order.
constexpr tParticle kDataComponentsContent[] = {
    OrNext(Many(Child("ZavAPIReference", Kind::kAPIReference))),
    OrNext(Many(Child("ZavBoolean", Kind::kBoolean))),
    OrNext(Many(Child("ZavInteger", Kind::kInteger))),
    OrNext(Many(Child("ZavReal", Kind::kReal))),
    OrNext(Many(Child("ZavString", Kind::kString))),
    Many(Child("ZavStructure", Kind::kStructure))};
// What every data component begins with; its kind's own content follows.
#define ZAV_COMPONENT_PARTICLES                                                                     \
  Field("Name", Text<iZavDataComponent, SetItemName>),                                              \
      Field("Description", Text<iZavDataComponent, &iZavDataComponent::SetDescription>),            \
      Field("ReadOnly", Boolean<iZavDataComponent, &iZavDataComponent::SetReadOnly>),               \
      Field("UsedInSession", Text<iZavDataComponent, &iZavDataComponent::SetUsedInSession>),        \
      Field("Type"),                                                                                \
      Field("HelpContextID", Integer<iZavDataComponent, &iZavDataComponent::SetHelpContextID>),     \
      Field("HelpFilePath", Text<iZavDataComponent, &iZavDataComponent::SetHelpFilePath>),          \
      Field("SoftwareModuleKey", Text<iZavDataComponent, &iZavDataComponent::SetSoftwareModuleKey>)
constexpr tParticle kAPIReferenceContent[] = {
    ZAV_COMPONENT_PARTICLES,
    Field("Value", Text<tZavAPIReference, &tZavAPIReference::SetValue>),
    // The component is in no collection yet, so a null reference is accepted.
    Link("ZavPublishedAPI",
         Reference<tZavAPIReference, &tZavAPIReference::SetPublishedAPIReference, Kind::kPublishedAPI>)};
constexpr tParticle kBooleanContent[] = {ZAV_COMPONENT_PARTICLES,
                                         Field("Value", Boolean<tZavBoolean, &tZavBoolean::SetValue>)};
constexpr tParticle kIntegerContent[] = {ZAV_COMPONENT_PARTICLES,
                                         Field("Units", Text<tZavInteger, &tZavInteger::SetUnits>),
                                         Field("Value", Integer<tZavInteger, &tZavInteger::SetValue>)};
constexpr tParticle kRealContent[] = {ZAV_COMPONENT_PARTICLES,
                                      Field("Units", Text<tZavReal, &tZavReal::SetUnits>),
                                      Field("Value", Real<tZavReal, &tZavReal::SetValue>)};
constexpr tParticle kStringContent[] = {ZAV_COMPONENT_PARTICLES,
                                        Field("Value", Text<tZavString, &tZavString::SetValue>)};
constexpr tParticle kStructureContent[] = {
    ZAV_COMPONENT_PARTICLES,
    Child("DataComponents", Kind::kDataComponents,
          AddTo<tZavStructure, &tZavStructure::GetDataComponents>)};
#undef ZAV_COMPONENT_PARTICLES

// An element of element content that makes no item: the store and the lists.
template <size_t N>
constexpr tElement Holds(Kind kind, const tParticle (&content)[N]) {
  return {kind, content, static_cast<uint8_t>(N)};
}
// An item element, making a T.
template <class T, size_t N>
constexpr tElement Makes(Kind kind, const tParticle (&content)[N], tFinisher finish = nullptr) {
  return {kind, content, static_cast<uint8_t>(N), Make<T>, finish};
}
constexpr tElement JoinsFirst(tElement element) {
  element.joinsFirst = true;
  return element;
}

constexpr tElement kElements[] = {
    {Kind::kText},
    {Kind::kReference},
    Holds(Kind::kStore, kStoreContent),
    Holds(Kind::kPublishedAPIs, kPublishedAPIsContent),
    Makes<tZavPublishedAPI>(Kind::kPublishedAPI, kPublishedAPIContent),
    Holds(Kind::kSoftwareModules, kSoftwareModulesContent),
    // A module's list of published APIs takes only APIs of the module's own store, so the
    // module joins the store before its content is read.
    JoinsFirst(Makes<tZavSoftwareModule>(Kind::kSoftwareModule, kSoftwareModuleContent)),
    Holds(Kind::kPublishedAPIReferences, kPublishedAPIReferencesContent),
    Holds(Kind::kHardwareAssets, kHardwareAssetsContent),
    Makes<tZavHardwareAsset>(Kind::kHardwareAsset, kHardwareAssetContent),
    Holds(Kind::kDriverSessions, kDriverSessionsContent),
    Makes<tZavDriverSession>(Kind::kDriverSession, kDriverSessionContent),
    Holds(Kind::kSessions, kSessionsContent),
    Makes<tZavSession>(Kind::kSession, kSessionContent),
    Holds(Kind::kLogicalNames, kLogicalNamesContent),
    Makes<tZavLogicalName>(Kind::kLogicalName, kLogicalNameContent),
    Holds(Kind::kPhysicalNames, kPhysicalNamesContent),
    Makes<tZavPhysicalName>(Kind::kPhysicalName, kPhysicalNameContent, SetHeldName<tZavPhysicalName>),
    Holds(Kind::kPhysicalRanges, kPhysicalRangesContent),
    Makes<tZavPhysicalRange>(Kind::kPhysicalRange, kPhysicalRangeContent),
    Holds(Kind::kVirtualNames, kVirtualNamesContent),
    Makes<tZavVirtualName>(Kind::kVirtualName, kVirtualNameContent, SetHeldName<tZavVirtualName>),
    Holds(Kind::kVirtualRanges, kVirtualRangesContent),
    Makes<tZavVirtualRange>(Kind::kVirtualRange, kVirtualRangeContent),
    Holds(Kind::kDataComponents, kDataComponentsContent),
    Makes<tZavAPIReference>(Kind::kAPIReference, kAPIReferenceContent),
    Makes<tZavBoolean>(Kind::kBoolean, kBooleanContent),
    Makes<tZavInteger>(Kind::kInteger, kIntegerContent),
    Makes<tZavReal>(Kind::kReal, kRealContent),
    Makes<tZavString>(Kind::kString, kStringContent),
    Makes<tZavStructure>(Kind::kStructure, kStructureContent)};

constexpr bool InKindOrder() {
  size_t i = 0;
  for (const tElement& element : kElements)
    if (static_cast<size_t>(element.kind) != i++) return false;
  return i == static_cast<size_t>(Kind::kCount);
}
static_assert(InKindOrder(), "kElements holds each kind of element at its own place");

constexpr tParticle kRoot = Child("ZavConfigStore", Kind::kStore);

// The end of the particle group that begins at `pos`: the particle and those joined to it by a
// choice.
size_t GroupEnd(const tElement& content, size_t pos) {
  while (content.particles[pos].choiceWithNext) ++pos;
  return pos + 1;
}

}  // namespace

const tElement& ElementOf(tElementKind kind) { return kElements[static_cast<size_t>(kind)]; }

const tParticle& DocumentRoot() { return kRoot; }

const tParticle* MatchChild(tElementKind kind, tContentPosition& at, const char* name, const char* uri) {
  const tElement& content = ElementOf(kind);
  size_t pos = at.group;
  uint32_t taken = at.taken;
  while (pos < content.count) {
    const size_t end = GroupEnd(content, pos);
    const tParticle& first = content.particles[pos];
    if (!uri) {
      for (size_t i = pos; i < end; ++i) {
        if (std::strcmp(content.particles[i].name, name) == 0 && (taken == 0 || first.many)) {
          at.group = static_cast<uint8_t>(pos);
          at.taken = taken + 1;
          return &content.particles[i];
        }
      }
    }
    if (taken == 0 && !first.optional) break;
    const bool wasTaken = taken > 0;
    pos = end;
    taken = 0;
    if (!wasTaken)
      while (pos < content.count && content.particles[pos].needsPrevious) ++pos;
  }
  return nullptr;
}

bool ContentComplete(tElementKind kind, const tContentPosition& at) {
  const tElement& content = ElementOf(kind);
  size_t pos = at.group;
  uint32_t taken = at.taken;
  while (pos < content.count) {
    if (taken == 0 && !content.particles[pos].optional) return false;
    pos = GroupEnd(content, pos);
    taken = 0;
  }
  return true;
}

std::string ExpectedChildren(tElementKind kind, const tContentPosition& at) {
  const tElement& content = ElementOf(kind);
  std::vector<const char*> names;
  size_t pos = at.group;
  uint32_t taken = at.taken;
  while (pos < content.count) {
    const size_t end = GroupEnd(content, pos);
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

}  // namespace zav::persist
