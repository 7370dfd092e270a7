// Exported property functions: one getter and one setter per item kind and value type, each
// driven by the kind's property table.
#include "api/families.h"

using namespace zav;

namespace {
tHandleTables& H() { return Handles(); }
using S = std::string;

// Rows that several kinds share.
template <class T>
tProperty<T, S> NameRow(ViAttr id) {
  return {id, [](T& x) -> S { return x.GetName(); },
          [](T& x, const S& v) { x.SetName(v, true); }};
}
template <class T>
tProperty<T, S> CheckedNameRow(ViAttr id) {
  return {id, [](T& x) -> S { return x.GetName(); },
          [](T& x, const S& v) { x.SetCheckedName(v); }};
}
template <class T>
tProperty<T, S> DescriptionRow(ViAttr id) {
  return {id, [](T& x) { return x.GetDescription(); },
          [](T& x, const S& v) { x.SetDescription(v); }};
}
template <class T>
tProperty<T, S> ModuleNameRow(ViAttr id) {
  return {id, [](T& x) { return x.GetSoftwareModuleName(); }, nullptr};
}

const tProperties<tZavLogicalName, S> kLogicalNameStrings = {
    NameRow<tZavLogicalName>(ZAVCONFIG_VAL_LOGICAL_NAME_NAME),
    DescriptionRow<tZavLogicalName>(ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION)};

const tProperties<tZavSession, S> kSessionStrings = {
    NameRow<tZavSession>(ZAVCONFIG_VAL_SESSION_NAME),
    DescriptionRow<tZavSession>(ZAVCONFIG_VAL_SESSION_DESCRIPTION),
    ModuleNameRow<tZavSession>(ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME)};

const tProperties<tZavDriverSession, S> kDriverSessionStrings = {
    NameRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_NAME),
    DescriptionRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_DESCRIPTION),
    ModuleNameRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME),
    {ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP, [](tZavDriverSession& x) { return x.GetDriverSetup(); },
     [](tZavDriverSession& x, const S& v) { x.SetDriverSetup(v); }}};

using tDS = tZavDriverSession;
const tProperties<tDS, bool> kDriverSessionBooleans = {
    {ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, [](tDS& x) { return x.GetCache(); },
     [](tDS& x, const bool& v) { x.SetCache(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK, [](tDS& x) { return x.GetInterchangeCheck(); },
     [](tDS& x, const bool& v) { x.SetInterchangeCheck(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS, [](tDS& x) { return x.GetQueryInstrStatus(); },
     [](tDS& x, const bool& v) { x.SetQueryInstrStatus(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK, [](tDS& x) { return x.GetRangeCheck(); },
     [](tDS& x, const bool& v) { x.SetRangeCheck(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS, [](tDS& x) { return x.GetRecordCoercions(); },
     [](tDS& x, const bool& v) { x.SetRecordCoercions(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE, [](tDS& x) { return x.GetSimulate(); },
     [](tDS& x, const bool& v) { x.SetSimulate(v); }}};

const tProperties<tZavHardwareAsset, S> kHardwareAssetStrings = {
    NameRow<tZavHardwareAsset>(ZAVCONFIG_VAL_HARDWARE_ASSET_NAME),
    DescriptionRow<tZavHardwareAsset>(ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION),
    {ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR,
     [](tZavHardwareAsset& x) { return x.GetIOResourceDescriptor(); },
     [](tZavHardwareAsset& x, const S& v) { x.SetIOResourceDescriptor(v); }}};

using tSM = tZavSoftwareModule;
const tProperties<tSM, S> kSoftwareModuleStrings = {
    NameRow<tSM>(ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME),
    DescriptionRow<tSM>(ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION),
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH, [](tSM& x) { return x.GetPlatformModulePath(); },
     [](tSM& x, const S& v) { x.SetPlatformModulePath(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX, [](tSM& x) { return x.GetPrefix(); },
     [](tSM& x, const S& v) { x.SetPrefix(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PROG_ID, [](tSM& x) { return x.GetProgID(); },
     [](tSM& x, const S& v) { x.SetProgID(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS,
     [](tSM& x) { return x.GetSupportedInstrumentModels(); },
     [](tSM& x, const S& v) { x.SetSupportedInstrumentModels(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH, [](tSM& x) { return x.GetModulePath(); },
     [](tSM& x, const S& v) { x.SetModulePath(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64, [](tSM& x) { return x.GetModulePath64(); },
     [](tSM& x, const S& v) { x.SetModulePath64(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME,
     [](tSM& x) { return x.GetAssemblyQualifiedClassName(); },
     [](tSM& x, const S& v) { x.SetAssemblyQualifiedClassName(v); }}};

using tAPI = tZavPublishedAPI;
const tProperties<tAPI, S> kPublishedAPIStrings = {
    {ZAVCONFIG_VAL_PUBLISHED_API_NAME, [](tAPI& x) { return x.GetName(); },
     [](tAPI& x, const S& v) { x.SetName(v); }},
    {ZAVCONFIG_VAL_PUBLISHED_API_TYPE, [](tAPI& x) { return x.GetType(); },
     [](tAPI& x, const S& v) { x.SetType(v); }}};
const tProperties<tAPI, int32_t> kPublishedAPIIntegers = {
    {ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION, [](tAPI& x) { return x.GetMajorVersion(); },
     [](tAPI& x, const int32_t& v) { x.SetMajorVersion(v); }},
    {ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION, [](tAPI& x) { return x.GetMinorVersion(); },
     [](tAPI& x, const int32_t& v) { x.SetMinorVersion(v); }}};

const tProperties<tZavPhysicalName, S> kPhysicalNameStrings = {
    CheckedNameRow<tZavPhysicalName>(ZAVCONFIG_VAL_PHYSICAL_NAME_NAME),
    {ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME, [](tZavPhysicalName& x) { return x.GetRCName(); },
     [](tZavPhysicalName& x, const S& v) { x.SetRCName(v); }}};

const tProperties<tZavVirtualName, S> kVirtualNameStrings = {
    CheckedNameRow<tZavVirtualName>(ZAVCONFIG_VAL_VIRTUAL_NAME_NAME),
    {ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO, [](tZavVirtualName& x) { return x.GetMapTo(); },
     [](tZavVirtualName& x, const S& v) { x.SetMapTo(v); }}};

// Both range kinds have Min and Max under the same IDs.
template <class T>
tProperty<T, int32_t> MinRow(ViAttr id) {
  return {id, [](T& x) { return x.GetMin(); }, [](T& x, const int32_t& v) { x.SetMin(v); }};
}
template <class T>
tProperty<T, int32_t> MaxRow(ViAttr id) {
  return {id, [](T& x) { return x.GetMax(); }, [](T& x, const int32_t& v) { x.SetMax(v); }};
}

const tProperties<tZavPhysicalRange, S> kPhysicalRangeStrings = {
    NameRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME)};
const tProperties<tZavPhysicalRange, int32_t> kPhysicalRangeIntegers = {
    MinRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN),
    MaxRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX)};

const tProperties<tZavVirtualRange, S> kVirtualRangeStrings = {
    NameRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME)};
const tProperties<tZavVirtualRange, int32_t> kVirtualRangeIntegers = {
    MinRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN),
    MaxRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_MAX),
    {ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX,
     [](tZavVirtualRange& x) { return x.GetStartingPhysicalIndex(); },
     [](tZavVirtualRange& x, const int32_t& v) { x.SetStartingPhysicalIndex(v); }}};
}  // namespace

#define ZAV_STRING_PROPERTIES(Kind, Items, Table)                                             \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Get##Kind##PropertyViString(                \
      ViSession Handle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]) {              \
    return GetStringProperty(Items, Table, __func__, Handle, PropertyID, BufferSize, Value);  \
  }                                                                                           \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Set##Kind##PropertyViString(                \
      ViSession Handle, ViAttr PropertyID, ViConstString Value) {                             \
    return SetStringProperty(Items, Table, __func__, Handle, PropertyID, Value);              \
  }

#define ZAV_VALUE_PROPERTIES(Kind, ViType, Items, Table)                                      \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Get##Kind##Property##ViType(                \
      ViSession Handle, ViAttr PropertyID, ViType* Value) {                                   \
    return GetValueProperty<ViType>(Items, Table, __func__, Handle, PropertyID, Value);       \
  }                                                                                           \
  ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_Set##Kind##Property##ViType(                \
      ViSession Handle, ViAttr PropertyID, ViType Value) {                                    \
    return SetValueProperty<ViType>(Items, Table, __func__, Handle, PropertyID, Value);       \
  }

extern "C" {
ZAV_STRING_PROPERTIES(LogicalName, H().logicalName, kLogicalNameStrings)
ZAV_STRING_PROPERTIES(Session, kAnySession, kSessionStrings)
ZAV_STRING_PROPERTIES(DriverSession, H().driverSession, kDriverSessionStrings)
ZAV_VALUE_PROPERTIES(DriverSession, ViBoolean, H().driverSession, kDriverSessionBooleans)
ZAV_STRING_PROPERTIES(HardwareAsset, H().hardwareAsset, kHardwareAssetStrings)
ZAV_STRING_PROPERTIES(SoftwareModule, H().softwareModule, kSoftwareModuleStrings)
ZAV_STRING_PROPERTIES(PublishedAPI, H().publishedAPI, kPublishedAPIStrings)
ZAV_VALUE_PROPERTIES(PublishedAPI, ViInt32, H().publishedAPI, kPublishedAPIIntegers)
ZAV_STRING_PROPERTIES(PhysicalName, H().physicalName, kPhysicalNameStrings)
ZAV_STRING_PROPERTIES(PhysicalRange, H().physicalRange, kPhysicalRangeStrings)
ZAV_VALUE_PROPERTIES(PhysicalRange, ViInt32, H().physicalRange, kPhysicalRangeIntegers)
ZAV_STRING_PROPERTIES(VirtualName, H().virtualName, kVirtualNameStrings)
ZAV_STRING_PROPERTIES(VirtualRange, H().virtualRange, kVirtualRangeStrings)
ZAV_VALUE_PROPERTIES(VirtualRange, ViInt32, H().virtualRange, kVirtualRangeIntegers)
}  // extern "C"
