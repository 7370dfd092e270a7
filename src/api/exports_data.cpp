// SPDX-License-Identifier: MIT
// Exported data component functions: their collections, creation of each kind, typed property
// access with kind checks, and the published API of an API reference.
#include "api/families.h"

using namespace zav;

namespace {

// The component as the kind the ID needs, or the function's own wrong-kind error.
template <class T>
T& As(iZavDataComponent& component, const char* type, const char* message) {
  if (!component.IsType(type)) ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE, message);
  return static_cast<T&>(component);
}

std::unique_ptr<iZavDataComponent> NewOfKind(ViInt32 kind, const char* message) {
  std::unique_ptr<iZavDataComponent> component = NewSimpleDataComponent(kind);
  if (!component) ThrowZavError(ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT, message);
  return component;
}

tZavStructure& AsStructure(iZavDataComponent& component) {
  return As<tZavStructure>(component, zav::kTypeStructure,
                           "ZavConfig_GetStructureDataComponentCollection: DataComponentHandle "
                           "parameter is not a valid ZavStructure datacomponent.");
}

const tProperties<iZavDataComponent, bool> kBooleans = {
    {ZAVCONFIG_VAL_DATA_COMPONENT_READ_ONLY, [](iZavDataComponent& x) { return x.GetReadOnly(); },
     [](iZavDataComponent& x, const bool& v) { x.SetReadOnly(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
     [](iZavDataComponent& x) {
       return As<tZavBoolean>(x, zav::kTypeBoolean,
                              "ZavConfig_GetDataComponentPropertyViBoolean: DataComponentHandle "
                              "parameter is not of type ZavBoolean.")
           .GetValue();
     },
     [](iZavDataComponent& x, const bool& v) {
       As<tZavBoolean>(x, zav::kTypeBoolean,
                       "ZavConfig_SetDataComponentPropertyViBoolean: DataComponentHandle "
                       "parameter is not of type ZavBoolean.")
           .SetValue(v);
     }}};

const tProperties<iZavDataComponent, int32_t> kIntegers = {
    {ZAVCONFIG_VAL_DATA_COMPONENT_HELP_CONTEXT_ID,
     [](iZavDataComponent& x) { return x.GetHelpContextID(); },
     [](iZavDataComponent& x, const int32_t& v) { x.SetHelpContextID(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
     [](iZavDataComponent& x) {
       return As<tZavInteger>(x, zav::kTypeInteger,
                              "ZavConfig_GetDataComponentPropertyViInt32: DataComponentHandle "
                              "parameter is not of type ZavInteger.")
           .GetValue();
     },
     [](iZavDataComponent& x, const int32_t& v) {
       As<tZavInteger>(x, zav::kTypeInteger,
                       "ZavConfig_SetDataComponentPropertyViInt32: DataComponentHandle "
                       "parameter is not of type ZavInteger.")
           .SetValue(v);
     }}};

const tProperties<iZavDataComponent, double> kReals = {
    {ZAVCONFIG_VAL_DATA_COMPONENT_VALUE,
     [](iZavDataComponent& x) {
       return As<tZavReal>(x, zav::kTypeReal,
                           "ZavConfig_GetDataComponentPropertyViReal64: DataComponentHandle "
                           "parameter is not of type ZavReal.")
           .GetValue();
     },
     [](iZavDataComponent& x, const double& v) {
       As<tZavReal>(x, zav::kTypeReal,
                    "ZavConfig_SetDataComponentPropertyViReal64: DataComponentHandle parameter "
                    "is not of type ZavReal.")
           .SetValue(v);
     }}};

// Value (ID 9) of a string component, else of an API reference; units (ID 10) of a real, else of
// an integer.
std::string GetStringValue(iZavDataComponent& x) {
  if (x.IsType(zav::kTypeString)) return static_cast<tZavString&>(x).GetValue();
  return As<tZavAPIReference>(
             x, zav::kTypeAPIReference,
             "ZavConfiguration Server: ZavConfig_GetDataComponentPropertyViString: "
             "DataComponentHandle parameter is not a valid ZavString type")
      .GetValue();
}
void SetStringValue(iZavDataComponent& x, const std::string& v) {
  if (x.IsType(zav::kTypeString)) return static_cast<tZavString&>(x).SetValue(v);
  As<tZavAPIReference>(x, zav::kTypeAPIReference,
                       "ZavConfig_SetDataComponentPropertyViString "
                       "(ZAVCONFIG_VAL_DATA_COMPONENT_VALUE): DataComponentHandle parameter is not "
                       "of type ZavAPIReference.")
      .SetValue(v);
}
std::string GetUnits(iZavDataComponent& x) {
  if (x.IsType(zav::kTypeReal)) return static_cast<tZavReal&>(x).GetUnits();
  return As<tZavInteger>(x, zav::kTypeInteger,
                         "ZavConfig_GetDataComponentPropertyViString: DataComponentHandle "
                         "parameter is not of type ZavString.")
      .GetUnits();
}
void SetUnits(iZavDataComponent& x, const std::string& v) {
  if (x.IsType(zav::kTypeReal)) return static_cast<tZavReal&>(x).SetUnits(v);
  As<tZavInteger>(x, zav::kTypeInteger,
                  "ZavConfig_SetDataComponentPropertyViString "
                  "(ZAVCONFIG_VAL_DATA_COMPONENT_UNITS): DataComponentHandle parameter is not of "
                  "type ZavReal or ZavInteger.")
      .SetUnits(v);
}

const tProperties<iZavDataComponent, std::string> kStrings = {
    {ZAVCONFIG_VAL_DATA_COMPONENT_NAME,
     [](iZavDataComponent& x) -> std::string { return x.GetName(); },
     [](iZavDataComponent& x, const std::string& v) { x.SetName(v, true); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_DESCRIPTION,
     [](iZavDataComponent& x) { return x.GetDescription(); },
     [](iZavDataComponent& x, const std::string& v) { x.SetDescription(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_HELP_FILE_PATH,
     [](iZavDataComponent& x) { return x.GetHelpFilePath(); },
     [](iZavDataComponent& x, const std::string& v) { x.SetHelpFilePath(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_SOFTWARE_MODULE_KEY,
     [](iZavDataComponent& x) { return x.GetSoftwareModuleKey(); },
     [](iZavDataComponent& x, const std::string& v) { x.SetSoftwareModuleKey(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_TYPE, [](iZavDataComponent& x) { return x.GetType(); }, nullptr},
    {ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION,
     [](iZavDataComponent& x) { return x.GetUsedInSession(); },
     [](iZavDataComponent& x, const std::string& v) { x.SetUsedInSession(v); }},
    {ZAVCONFIG_VAL_DATA_COMPONENT_VALUE, GetStringValue, SetStringValue},
    {ZAVCONFIG_VAL_DATA_COMPONENT_UNITS, GetUnits, SetUnits}};

tZavAPIReference& AsAPIReference(iZavDataComponent& component, const char* function) {
  return As<tZavAPIReference>(
      component, zav::kTypeAPIReference,
      (std::string(function) +
       ": ApiReferenceHandle parameter is not a valid ZavAPIReference datacomponent.")
          .c_str());
}
}  // namespace

extern "C" {

// A configuration component is a hardware asset, a driver session, a session or a software
// module; its handle may come from any of those tables.
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetConfigComponentDataComponentCollection(
    ViSession ConfigComponentHandle, ViSession* CollectionHandle) {
  return ApiCall([&] {
    CheckOutputPointer(CollectionHandle);
    tHandleTables& h = Handles();
    iZavConfigComponent* component = nullptr;
    if (h.hardwareAsset.Contains(ConfigComponentHandle))
      component = h.hardwareAsset.Lookup(ConfigComponentHandle);
    else if (h.driverSession.Contains(ConfigComponentHandle))
      component = h.driverSession.Lookup(ConfigComponentHandle);
    else if (h.session.Contains(ConfigComponentHandle))
      component = h.session.Lookup(ConfigComponentHandle);
    else if (h.softwareModule.Contains(ConfigComponentHandle))
      component = h.softwareModule.Lookup(ConfigComponentHandle);
    else
      ThrowZavError(ZAVCONFIG_ERROR_INVALID_HANDLE,
                    "ZavConfig_GetConfigComponentDataComponentCollection: ConfigComponentHandle "
                    "is not a valid ConfigComponent handle.");
    *CollectionHandle = h.dataComponentCollection.NewHandle(component->GetDataComponents());
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetStructureDataComponentCollection(
    ViSession DataComponentHandle, ViSession* CollectionHandle) {
  return ChildCollection(Handles().dataComponent, Handles().dataComponentCollection,
                         DataComponentHandle, CollectionHandle,
                         [](iZavDataComponent& x) -> tZavCollection<iZavDataComponent>* {
                           return AsStructure(x).GetDataComponents();
                         });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC
ZavConfig_CreateDataComponent(ViSession CollectionHandle, ViInt32 DataComponentType,
                              ViConstString Name, ViSession* DataComponentHandle) {
  return CreateItem(
      Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
      DataComponentHandle,
      [&] {
        auto component = NewOfKind(DataComponentType,
                                   "ZavConfig_CreateDataComponent: Invalid value "
                                   "for DataComponentType parameter.");
        component->SetName(InputString(Name), true);
        return component;
      },
      kAdd);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateStructure(ViSession CollectionHandle,
                                                                ViConstString Name,
                                                                ViInt32 NewDataComponentType,
                                                                ViConstString NewDataComponentName,
                                                                ViSession* DataComponentHandle) {
  return CreateItem(
      Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
      DataComponentHandle,
      [&]() -> std::unique_ptr<iZavDataComponent> {
        auto structure = std::make_unique<tZavStructure>();
        structure->SetName(InputString(Name), true);
        auto member = NewOfKind(NewDataComponentType,
                                "ZavConfig_CreateStructure: Invalid value for "
                                "NewDataComponentType parameter.");
        member->SetName(InputString(NewDataComponentName), true);
        structure->GetDataComponents()->Add(std::move(member));
        return structure;
      },
      kAdd);
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_CreateAPIReference(ViSession CollectionHandle,
                                                                   ViConstString Name,
                                                                   ViSession PublishedAPIHandle,
                                                                   ViSession* DataComponentHandle) {
  return CreateItem(
      Handles().dataComponentCollection, Handles().dataComponent, CollectionHandle,
      DataComponentHandle,
      [&]() -> std::unique_ptr<iZavDataComponent> {
        auto reference = std::make_unique<tZavAPIReference>();
        reference->SetName(InputString(Name), true);
        reference->SetPublishedAPIReference(Handles().publishedAPI.Lookup(PublishedAPIHandle));
        return reference;
      },
      kAdd);
}

// Unlike the reference getters of the items, this one leaves its output alone when it fails; an
// API reference without a published API (read from a document that named none) gives handle 0.
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession* PublishedAPIHandle) {
  return ApiCall([&] {
    CheckOutputPointer(PublishedAPIHandle);
    tZavPublishedAPI* api = AsAPIReference(*Handles().dataComponent.Lookup(ApiReferenceHandle),
                                           "ZavConfig_GetAPIReferencePublishedAPIReference")
                                .GetPublishedAPIReference();
    *PublishedAPIHandle = api ? Handles().publishedAPI.NewHandle(api) : 0;
    return VI_SUCCESS;
  });
}

// The component's kind is checked before the published API handle is looked up.
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetAPIReferencePublishedAPIReference(
    ViSession ApiReferenceHandle, ViSession PublishedAPIHandle) {
  return ApiCall([&] {
    tZavAPIReference& reference =
        AsAPIReference(*Handles().dataComponent.Lookup(ApiReferenceHandle),
                       "ZavConfig_SetAPIReferencePublishedAPIReference");
    reference.SetPublishedAPIReference(
        PublishedAPIHandle == 0 ? nullptr : Handles().publishedAPI.Lookup(PublishedAPIHandle));
    return VI_SUCCESS;
  });
}

ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean* Value) {
  return GetValueProperty<ViBoolean>(Handles().dataComponent, kBooleans, __func__,
                                     DataComponentHandle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViBoolean(
    ViSession DataComponentHandle, ViAttr PropertyID, ViBoolean Value) {
  return SetValueProperty<ViBoolean>(Handles().dataComponent, kBooleans, __func__,
                                     DataComponentHandle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32* Value) {
  return GetValueProperty<ViInt32>(Handles().dataComponent, kIntegers, __func__,
                                   DataComponentHandle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViInt32(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 Value) {
  return SetValueProperty<ViInt32>(Handles().dataComponent, kIntegers, __func__,
                                   DataComponentHandle, PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64* Value) {
  return GetValueProperty<ViReal64>(Handles().dataComponent, kReals, __func__, DataComponentHandle,
                                    PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViReal64(
    ViSession DataComponentHandle, ViAttr PropertyID, ViReal64 Value) {
  return SetValueProperty<ViReal64>(Handles().dataComponent, kReals, __func__, DataComponentHandle,
                                    PropertyID, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_GetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViInt32 BufferSize, ViChar Value[]) {
  return GetStringProperty(Handles().dataComponent, kStrings, __func__, DataComponentHandle,
                           PropertyID, BufferSize, Value);
}
ZAVCONFIG_API ViStatus ZAVCONFIG_FUNC ZavConfig_SetDataComponentPropertyViString(
    ViSession DataComponentHandle, ViAttr PropertyID, ViConstString Value) {
  return SetStringProperty(Handles().dataComponent, kStrings, __func__, DataComponentHandle,
                           PropertyID, Value);
}

}  // extern "C"
