// SPDX-License-Identifier: MIT
// Exported property functions: one getter and one setter per item kind and value type, each
// driven by the kind's property table.
#include "api/families.h"

using namespace zav;

namespace {

// Rows that several kinds share.
template <class T>
tProperty<T, std::string> NameRow(ViAttr id) {
  return {id, [](T& x) -> std::string { return x.GetName(); },
          [](T& x, const std::string& v) { x.SetName(v, true); }};
}
template <class T>
tProperty<T, std::string> CheckedNameRow(ViAttr id) {
  return {id, [](T& x) -> std::string { return x.GetName(); },
          [](T& x, const std::string& v) { x.SetCheckedName(v); }};
}
template <class T>
tProperty<T, std::string> DescriptionRow(ViAttr id) {
  return {id, [](T& x) { return x.GetDescription(); },
          [](T& x, const std::string& v) { x.SetDescription(v); }};
}
template <class T>
tProperty<T, std::string> ModuleNameRow(ViAttr id) {
  return {id, [](T& x) { return x.GetSoftwareModuleName(); }, nullptr};
}

const tProperties<tZavLogicalName, std::string> kLogicalNameStrings = {
    NameRow<tZavLogicalName>(ZAVCONFIG_VAL_LOGICAL_NAME_NAME),
    DescriptionRow<tZavLogicalName>(ZAVCONFIG_VAL_LOGICAL_NAME_DESCRIPTION)};

const tProperties<tZavSession, std::string> kSessionStrings = {
    NameRow<tZavSession>(ZAVCONFIG_VAL_SESSION_NAME),
    DescriptionRow<tZavSession>(ZAVCONFIG_VAL_SESSION_DESCRIPTION),
    ModuleNameRow<tZavSession>(ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME)};

const tProperties<tZavDriverSession, std::string> kDriverSessionStrings = {
    NameRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_NAME),
    DescriptionRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_DESCRIPTION),
    ModuleNameRow<tZavDriverSession>(ZAVCONFIG_VAL_SESSION_SOFTWARE_MODULE_NAME),
    {ZAVCONFIG_VAL_DRIVER_SESSION_DRIVER_SETUP,
     [](tZavDriverSession& x) { return x.GetDriverSetup(); },
     [](tZavDriverSession& x, const std::string& v) { x.SetDriverSetup(v); }}};

const tProperties<tZavDriverSession, bool> kDriverSessionBooleans = {
    {ZAVCONFIG_VAL_DRIVER_SESSION_CACHE, [](tZavDriverSession& x) { return x.GetCache(); },
     [](tZavDriverSession& x, const bool& v) { x.SetCache(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_INTERCHANGE_CHECK,
     [](tZavDriverSession& x) { return x.GetInterchangeCheck(); },
     [](tZavDriverSession& x, const bool& v) { x.SetInterchangeCheck(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_QUERY_INSTR_STATUS,
     [](tZavDriverSession& x) { return x.GetQueryInstrStatus(); },
     [](tZavDriverSession& x, const bool& v) { x.SetQueryInstrStatus(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_RANGE_CHECK,
     [](tZavDriverSession& x) { return x.GetRangeCheck(); },
     [](tZavDriverSession& x, const bool& v) { x.SetRangeCheck(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_RECORD_COERCIONS,
     [](tZavDriverSession& x) { return x.GetRecordCoercions(); },
     [](tZavDriverSession& x, const bool& v) { x.SetRecordCoercions(v); }},
    {ZAVCONFIG_VAL_DRIVER_SESSION_SIMULATE, [](tZavDriverSession& x) { return x.GetSimulate(); },
     [](tZavDriverSession& x, const bool& v) { x.SetSimulate(v); }}};

const tProperties<tZavHardwareAsset, std::string> kHardwareAssetStrings = {
    NameRow<tZavHardwareAsset>(ZAVCONFIG_VAL_HARDWARE_ASSET_NAME),
    DescriptionRow<tZavHardwareAsset>(ZAVCONFIG_VAL_HARDWARE_ASSET_DESCRIPTION),
    {ZAVCONFIG_VAL_HARDWARE_ASSET_IO_RESOURCE_DESCRIPTOR,
     [](tZavHardwareAsset& x) { return x.GetIOResourceDescriptor(); },
     [](tZavHardwareAsset& x, const std::string& v) { x.SetIOResourceDescriptor(v); }}};

const tProperties<tZavSoftwareModule, std::string> kSoftwareModuleStrings = {
    NameRow<tZavSoftwareModule>(ZAVCONFIG_VAL_SOFTWARE_MODULE_NAME),
    DescriptionRow<tZavSoftwareModule>(ZAVCONFIG_VAL_SOFTWARE_MODULE_DESCRIPTION),
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PLATFORM_MODULE_PATH,
     [](tZavSoftwareModule& x) { return x.GetPlatformModulePath(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetPlatformModulePath(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PREFIX, [](tZavSoftwareModule& x) { return x.GetPrefix(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetPrefix(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_PROG_ID, [](tZavSoftwareModule& x) { return x.GetProgID(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetProgID(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_SUPPORTED_INSTRUMENT_MODELS,
     [](tZavSoftwareModule& x) { return x.GetSupportedInstrumentModels(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetSupportedInstrumentModels(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH,
     [](tZavSoftwareModule& x) { return x.GetModulePath(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetModulePath(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_MODULE_PATH_64,
     [](tZavSoftwareModule& x) { return x.GetModulePath64(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetModulePath64(v); }},
    {ZAVCONFIG_VAL_SOFTWARE_MODULE_ASSEMBLY_QUALIFIED_CLASS_NAME,
     [](tZavSoftwareModule& x) { return x.GetAssemblyQualifiedClassName(); },
     [](tZavSoftwareModule& x, const std::string& v) { x.SetAssemblyQualifiedClassName(v); }}};

const tProperties<tZavPublishedAPI, std::string> kPublishedAPIStrings = {
    {ZAVCONFIG_VAL_PUBLISHED_API_NAME, [](tZavPublishedAPI& x) { return x.GetName(); },
     [](tZavPublishedAPI& x, const std::string& v) { x.SetName(v); }},
    {ZAVCONFIG_VAL_PUBLISHED_API_TYPE, [](tZavPublishedAPI& x) { return x.GetType(); },
     [](tZavPublishedAPI& x, const std::string& v) { x.SetType(v); }}};
const tProperties<tZavPublishedAPI, int32_t> kPublishedAPIIntegers = {
    {ZAVCONFIG_VAL_PUBLISHED_API_MAJOR_VERSION,
     [](tZavPublishedAPI& x) { return x.GetMajorVersion(); },
     [](tZavPublishedAPI& x, const int32_t& v) { x.SetMajorVersion(v); }},
    {ZAVCONFIG_VAL_PUBLISHED_API_MINOR_VERSION,
     [](tZavPublishedAPI& x) { return x.GetMinorVersion(); },
     [](tZavPublishedAPI& x, const int32_t& v) { x.SetMinorVersion(v); }}};

const tProperties<tZavPhysicalName, std::string> kPhysicalNameStrings = {
    CheckedNameRow<tZavPhysicalName>(ZAVCONFIG_VAL_PHYSICAL_NAME_NAME),
    {ZAVCONFIG_VAL_PHYSICAL_NAME_RC_NAME, [](tZavPhysicalName& x) { return x.GetRCName(); },
     [](tZavPhysicalName& x, const std::string& v) { x.SetRCName(v); }}};

const tProperties<tZavVirtualName, std::string> kVirtualNameStrings = {
    CheckedNameRow<tZavVirtualName>(ZAVCONFIG_VAL_VIRTUAL_NAME_NAME),
    {ZAVCONFIG_VAL_VIRTUAL_NAME_MAP_TO, [](tZavVirtualName& x) { return x.GetMapTo(); },
     [](tZavVirtualName& x, const std::string& v) { x.SetMapTo(v); }}};

// Both range kinds have Min and Max under the same IDs.
template <class T>
tProperty<T, int32_t> MinRow(ViAttr id) {
  return {id, [](T& x) { return x.GetMin(); }, [](T& x, const int32_t& v) { x.SetMin(v); }};
}
template <class T>
tProperty<T, int32_t> MaxRow(ViAttr id) {
  return {id, [](T& x) { return x.GetMax(); }, [](T& x, const int32_t& v) { x.SetMax(v); }};
}

const tProperties<tZavPhysicalRange, std::string> kPhysicalRangeStrings = {
    NameRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_NAME)};
const tProperties<tZavPhysicalRange, int32_t> kPhysicalRangeIntegers = {
    MinRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_MIN),
    MaxRow<tZavPhysicalRange>(ZAVCONFIG_VAL_PHYSICAL_RANGE_MAX)};

const tProperties<tZavVirtualRange, std::string> kVirtualRangeStrings = {
    NameRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_NAME)};
const tProperties<tZavVirtualRange, int32_t> kVirtualRangeIntegers = {
    MinRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_MIN),
    MaxRow<tZavVirtualRange>(ZAVCONFIG_VAL_VIRTUAL_RANGE_MAX),
    {ZAVCONFIG_VAL_VIRTUAL_RANGE_STARTING_PHYSICAL_INDEX,
     [](tZavVirtualRange& x) { return x.GetStartingPhysicalIndex(); },
     [](tZavVirtualRange& x, const int32_t& v) { x.SetStartingPhysicalIndex(v); }}};
}  // namespace

extern "C" {

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetLogicalNamePropertyViString(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32 BufferSize,
                                                                               ViChar Value[]) {
  return GetStringProperty(Handles().logicalName, kLogicalNameStrings, __func__, Handle, PropertyID,
                           BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_SetLogicalNamePropertyViString(ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().logicalName, kLogicalNameStrings, __func__, Handle, PropertyID,
                           Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSessionPropertyViString(ViSession Handle,
                                                                           ViAttr PropertyID,
                                                                           ViInt32 BufferSize,
                                                                           ViChar Value[]) {
  return GetStringProperty(kAnySession, kSessionStrings, __func__, Handle, PropertyID, BufferSize,
                           Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSessionPropertyViString(ViSession Handle,
                                                                           ViAttr PropertyID,
                                                                           ViConstString Value) {
  return SetStringProperty(kAnySession, kSessionStrings, __func__, Handle, PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDriverSessionPropertyViString(ViSession Handle,
                                                                                 ViAttr PropertyID,
                                                                                 ViInt32 BufferSize,
                                                                                 ViChar Value[]) {
  return GetStringProperty(Handles().driverSession, kDriverSessionStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().driverSession, kDriverSessionStrings, __func__, Handle,
                           PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_GetDriverSessionPropertyViBoolean(ViSession Handle, ViAttr PropertyID, ViBoolean* Value) {
  return GetValueProperty<ViBoolean>(Handles().driverSession, kDriverSessionBooleans, __func__,
                                     Handle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDriverSessionPropertyViBoolean(ViSession Handle,
                                                                                  ViAttr PropertyID,
                                                                                  ViBoolean Value) {
  return SetValueProperty<ViBoolean>(Handles().driverSession, kDriverSessionBooleans, __func__,
                                     Handle, PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetHardwareAssetPropertyViString(ViSession Handle,
                                                                                 ViAttr PropertyID,
                                                                                 ViInt32 BufferSize,
                                                                                 ViChar Value[]) {
  return GetStringProperty(Handles().hardwareAsset, kHardwareAssetStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetHardwareAssetPropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().hardwareAsset, kHardwareAssetStrings, __func__, Handle,
                           PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetSoftwareModulePropertyViString(
    ViSession Handle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]) {
  return GetStringProperty(Handles().softwareModule, kSoftwareModuleStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetSoftwareModulePropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().softwareModule, kSoftwareModuleStrings, __func__, Handle,
                           PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViString(ViSession Handle,
                                                                                ViAttr PropertyID,
                                                                                ViInt32 BufferSize,
                                                                                ViChar Value[]) {
  return GetStringProperty(Handles().publishedAPI, kPublishedAPIStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().publishedAPI, kPublishedAPIStrings, __func__, Handle,
                           PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPublishedAPIPropertyViInt32(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32* Value) {
  return GetValueProperty<ViInt32>(Handles().publishedAPI, kPublishedAPIIntegers, __func__, Handle,
                                   PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPublishedAPIPropertyViInt32(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32 Value) {
  return SetValueProperty<ViInt32>(Handles().publishedAPI, kPublishedAPIIntegers, __func__, Handle,
                                   PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalNamePropertyViString(ViSession Handle,
                                                                                ViAttr PropertyID,
                                                                                ViInt32 BufferSize,
                                                                                ViChar Value[]) {
  return GetStringProperty(Handles().physicalName, kPhysicalNameStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalNamePropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().physicalName, kPhysicalNameStrings, __func__, Handle,
                           PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViString(ViSession Handle,
                                                                                 ViAttr PropertyID,
                                                                                 ViInt32 BufferSize,
                                                                                 ViChar Value[]) {
  return GetStringProperty(Handles().physicalRange, kPhysicalRangeStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().physicalRange, kPhysicalRangeStrings, __func__, Handle,
                           PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetPhysicalRangePropertyViInt32(ViSession Handle,
                                                                                ViAttr PropertyID,
                                                                                ViInt32* Value) {
  return GetValueProperty<ViInt32>(Handles().physicalRange, kPhysicalRangeIntegers, __func__,
                                   Handle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetPhysicalRangePropertyViInt32(ViSession Handle,
                                                                                ViAttr PropertyID,
                                                                                ViInt32 Value) {
  return SetValueProperty<ViInt32>(Handles().physicalRange, kPhysicalRangeIntegers, __func__,
                                   Handle, PropertyID, Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualNamePropertyViString(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32 BufferSize,
                                                                               ViChar Value[]) {
  return GetStringProperty(Handles().virtualName, kVirtualNameStrings, __func__, Handle, PropertyID,
                           BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_SetVirtualNamePropertyViString(ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().virtualName, kVirtualNameStrings, __func__, Handle, PropertyID,
                           Value);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViString(ViSession Handle,
                                                                                ViAttr PropertyID,
                                                                                ViInt32 BufferSize,
                                                                                ViChar Value[]) {
  return GetStringProperty(Handles().virtualRange, kVirtualRangeStrings, __func__, Handle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViString(
    ViSession Handle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().virtualRange, kVirtualRangeStrings, __func__, Handle,
                           PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetVirtualRangePropertyViInt32(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32* Value) {
  return GetValueProperty<ViInt32>(Handles().virtualRange, kVirtualRangeIntegers, __func__, Handle,
                                   PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetVirtualRangePropertyViInt32(ViSession Handle,
                                                                               ViAttr PropertyID,
                                                                               ViInt32 Value) {
  return SetValueProperty<ViInt32>(Handles().virtualRange, kVirtualRangeIntegers, __func__, Handle,
                                   PropertyID, Value);
}

}  // extern "C"
