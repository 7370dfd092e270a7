// SPDX-License-Identifier: MIT
#include "model/data_component.h"

#include <cctype>
#include <cstring>

namespace zav {
const char* const kTypeBoolean = "Boolean";
const char* const kTypeInteger = "Integer";
const char* const kTypeReal = "Real";
const char* const kTypeString = "String";
const char* const kTypeStructure = "Structure";
const char* const kTypeAPIReference = "APIReference";
const char* const kUsedNone = "None";
const char* const kUsedOptional = "Optional";
const char* const kUsedRequired = "Required";
const char* const kConfigurableInitialSettings = "Configurable Initial Settings";
const char* const kHardwareAssetCollectionName = "ZavHardwareAsset";
const char* const kStructureCollectionName = "Structure";

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && b[i] == '\0';
}
}  // namespace zav

namespace {
std::string HardwareAssetUsedInSessionText(const char* verb, const std::string& value) {
  return std::string(verb) + " failed. Invalid value '" + value +
         "' for the ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION property. Data component items "
         "in a hardware asset's datacomponent collection can only have the value '" +
         zav::kUsedNone + "'";
}

bool InHardwareAssetCollection(const iConfigStoreCollection* collection) {
  return collection &&
         std::strcmp(collection->GetCollectionName(), zav::kHardwareAssetCollectionName) == 0;
}
}  // namespace

void iZavDataComponent::SetUsedInSession(const std::string& value) {
  if (InHardwareAssetCollection(GetOwner())) {
    if (!zav::EqualsIgnoringCase(value, zav::kUsedNone))
      ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, HardwareAssetUsedInSessionText("Set", value));
  } else if (!zav::EqualsIgnoringCase(value, zav::kUsedNone) &&
             !zav::EqualsIgnoringCase(value, zav::kUsedOptional) &&
             !zav::EqualsIgnoringCase(value, zav::kUsedRequired)) {
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. Invalid value '" + value +
                      "' for the ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION property.");
  }
  usedInSession_ = value;
}

void iZavDataComponent::ValidateAdd(const iConfigStoreCollection* collection) {
  if (InHardwareAssetCollection(collection) &&
      !zav::EqualsIgnoringCase(usedInSession_, zav::kUsedNone))
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                  HardwareAssetUsedInSessionText("Add", usedInSession_));
}

void tStructureZavDataComponentCollection::Remove(iZavDataComponent* item) {
  if (Count() < 2)
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Remove failed. An ZavStructure data component must contain at least one item.");
  tZavCollection<iZavDataComponent>::Remove(item);
}

tZavStructure::tZavStructure()
    : iZavDataComponent(zav::kTypeStructure, zav::kUsedNone),
      members_(std::make_unique<tStructureZavDataComponentCollection>()) {}

void tZavAPIReference::SetUsedInSession(const std::string& value) {
  if (value == zav::kUsedNone)
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  std::string("Set failed. The UsedInSession property of published API reference "
                              "item cannot be set to '") +
                      zav::kUsedNone + "'.");
  iZavDataComponent::SetUsedInSession(value);
}

void tZavAPIReference::SetPublishedAPIReference(tZavPublishedAPI* api) {
  if (api && api->IsOrphan())
    ThrowZavError(ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION,
                  "Set failed. The referenced ZavPublishedAPI item does not exist in the global "
                  "collection.");
  if (!api && !IsOrphan())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The published API reference cannot be set to NULL.");
  api_.Set(api);
}

std::unique_ptr<iZavDataComponent> NewSimpleDataComponent(int32_t kind) {
  switch (kind) {
    case ZAVCONFIG_DATA_COMPONENT_BOOLEAN: return std::make_unique<tZavBoolean>();
    case ZAVCONFIG_DATA_COMPONENT_INTEGER: return std::make_unique<tZavInteger>();
    case ZAVCONFIG_DATA_COMPONENT_REAL: return std::make_unique<tZavReal>();
    case ZAVCONFIG_DATA_COMPONENT_STRING: return std::make_unique<tZavString>();
    default: return nullptr;
  }
}

std::unique_ptr<iZavDataComponent> NewDataComponentLike(const iZavDataComponent& source) {
  // The type text is fixed by the class, so it tells which class the source is.
  if (source.IsType(zav::kTypeBoolean)) {
    auto copy = std::make_unique<tZavBoolean>();
    copy->SetValue(static_cast<const tZavBoolean&>(source).GetValue());
    return copy;
  }
  if (source.IsType(zav::kTypeInteger)) {
    auto& from = static_cast<const tZavInteger&>(source);
    auto copy = std::make_unique<tZavInteger>();
    copy->SetValue(from.GetValue());
    copy->SetUnits(from.GetUnits());
    return copy;
  }
  if (source.IsType(zav::kTypeReal)) {
    auto& from = static_cast<const tZavReal&>(source);
    auto copy = std::make_unique<tZavReal>();
    copy->SetValue(from.GetValue());
    copy->SetUnits(from.GetUnits());
    return copy;
  }
  if (source.IsType(zav::kTypeString)) {
    auto copy = std::make_unique<tZavString>();
    copy->SetValue(static_cast<const tZavString&>(source).GetValue());
    return copy;
  }
  if (source.IsType(zav::kTypeStructure)) return std::make_unique<tZavStructure>();
  if (source.IsType(zav::kTypeAPIReference)) {
    auto& from = static_cast<const tZavAPIReference&>(source);
    auto copy = std::make_unique<tZavAPIReference>();
    copy->SetValue(from.GetValue());
    copy->SetPublishedAPIReference(from.GetPublishedAPIReference());
    return copy;
  }
  ThrowZavError(ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT, "Add failed. Invalid data component type.");
}

void CopyDataComponentProperties(const iZavDataComponent& source, iZavDataComponent& copy) {
  copy.SetDescription(source.GetDescription());
  copy.SetHelpContextID(source.GetHelpContextID());
  copy.SetHelpFilePath(source.GetHelpFilePath());
  copy.SetName(source.GetName(), true);
  copy.SetReadOnly(false);
  copy.SetSoftwareModuleKey(source.GetSoftwareModuleKey());
  copy.SetUsedInSession(source.GetUsedInSession());
}

void CopyDataComponent(const iZavDataComponent& source, tZavCollection<iZavDataComponent>& target) {
  std::unique_ptr<iZavDataComponent> copy = NewDataComponentLike(source);
  CopyDataComponentProperties(source, *copy);
  target.Add(std::move(copy));
}
