// SPDX-License-Identifier: MIT
// Data components: the typed, named settings of sessions, hardware assets, software modules and
// structures. Six kinds share one base; the kind is told by the Type text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/collection.h"
#include "model/published_api.h"

namespace zav {
// Type texts of the six kinds.
extern const char* const kTypeBoolean;
extern const char* const kTypeInteger;
extern const char* const kTypeReal;
extern const char* const kTypeString;
extern const char* const kTypeStructure;
extern const char* const kTypeAPIReference;
// UsedInSession values.
extern const char* const kUsedNone;
extern const char* const kUsedOptional;
extern const char* const kUsedRequired;
// The structure a session takes over from its software module.
extern const char* const kConfigurableInitialSettings;
// Collection names the data component rules look at.
extern const char* const kHardwareAssetCollectionName;
extern const char* const kStructureCollectionName;

// Equality after lower-casing the ASCII letters of both sides.
bool EqualsIgnoringCase(const std::string& a, const char* b);
}  // namespace zav

class iZavDataComponent : public iZavCollectionItem {
 public:
  void ValidateAdd(const iConfigStoreCollection* collection) override;

  const std::string& GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  int32_t GetHelpContextID() const { return helpContextID_; }
  void SetHelpContextID(int32_t value) { helpContextID_ = value; }
  const std::string& GetHelpFilePath() const { return helpFilePath_; }
  void SetHelpFilePath(const std::string& value) { helpFilePath_ = value; }
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  const std::string& GetSoftwareModuleKey() const { return softwareModuleKey_; }
  void SetSoftwareModuleKey(const std::string& value) { softwareModuleKey_ = value; }
  const std::string& GetType() const { return type_; }
  const std::string& GetUsedInSession() const { return usedInSession_; }
  // Checked against the three values, and against the hardware asset rule when the component
  // is in a hardware asset's collection.
  virtual void SetUsedInSession(const std::string& value);

  // The kind test: the class fixes the Type text, so comparing it with one of the zav::kType
  // texts tells the class.
  bool IsType(const char* type) const { return type_ == type; }

 protected:
  iZavDataComponent(const char* type, const char* usedInSession)
      : type_(type), usedInSession_(usedInSession) {}

 private:
  std::string description_;
  int32_t helpContextID_ = 0;
  std::string helpFilePath_;
  bool readOnly_ = false;
  std::string softwareModuleKey_;
  const std::string type_;
  std::string usedInSession_;
};

class tZavBoolean : public iZavDataComponent {
 public:
  tZavBoolean() : iZavDataComponent(zav::kTypeBoolean, zav::kUsedNone) {}
  bool GetValue() const { return value_; }
  void SetValue(bool value) { value_ = value; }

 private:
  bool value_ = false;
};

class tZavInteger : public iZavDataComponent {
 public:
  tZavInteger() : iZavDataComponent(zav::kTypeInteger, zav::kUsedNone) {}
  int32_t GetValue() const { return value_; }
  void SetValue(int32_t value) { value_ = value; }
  const std::string& GetUnits() const { return units_; }
  void SetUnits(const std::string& units) { units_ = units; }

 private:
  std::string units_;
  int32_t value_ = 0;
};

class tZavReal : public iZavDataComponent {
 public:
  tZavReal() : iZavDataComponent(zav::kTypeReal, zav::kUsedNone) {}
  double GetValue() const { return value_; }
  void SetValue(double value) { value_ = value; }
  const std::string& GetUnits() const { return units_; }
  void SetUnits(const std::string& units) { units_ = units; }

 private:
  std::string units_;
  double value_ = 0.0;
};

class tZavString : public iZavDataComponent {
 public:
  tZavString() : iZavDataComponent(zav::kTypeString, zav::kUsedNone) {}
  const std::string& GetValue() const { return value_; }
  void SetValue(const std::string& value) { value_ = value; }

 private:
  std::string value_;
};

// A structure's members. A structure never loses its last member through Remove; clearing or
// destroying the structure deletes them all.
class tStructureZavDataComponentCollection : public tZavCollection<iZavDataComponent> {
 public:
  tStructureZavDataComponentCollection()
      : tZavCollection<iZavDataComponent>(nullptr, zav::kStructureCollectionName) {}
  void Remove(iZavDataComponent* item) override;
};

class tZavStructure : public iZavDataComponent {
 public:
  tZavStructure();
  tStructureZavDataComponentCollection* GetDataComponents() const { return members_.get(); }

 private:
  std::unique_ptr<tStructureZavDataComponentCollection> members_;
};

class tZavAPIReference : public iZavDataComponent {
 public:
  tZavAPIReference() : iZavDataComponent(zav::kTypeAPIReference, zav::kUsedOptional) {}

  void SetUsedInSession(const std::string& value) override;
  tZavPublishedAPI* GetPublishedAPIReference() const { return api_.Get(); }
  void SetPublishedAPIReference(tZavPublishedAPI* api);
  const std::string& GetValue() const { return value_; }
  void SetValue(const std::string& value) { value_ = value; }

 private:
  tCountedRef<tZavPublishedAPI> api_;
  std::string value_;
};

// Creation of a data component of a kind number of the C API (1 to 4), or null for any other.
std::unique_ptr<iZavDataComponent> NewSimpleDataComponent(int32_t kind);
// A new, unowned, empty component of the source's kind with the kind's own value copied.
std::unique_ptr<iZavDataComponent> NewDataComponentLike(const iZavDataComponent& source);
// Copies the shared properties; the copy is never read-only.
void CopyDataComponentProperties(const iZavDataComponent& source, iZavDataComponent& copy);
// NewDataComponentLike + CopyDataComponentProperties + Add into the target collection.
void CopyDataComponent(const iZavDataComponent& source, tZavCollection<iZavDataComponent>& target);
