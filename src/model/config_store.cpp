// SPDX-License-Identifier: MIT
#include "model/config_store.h"

#include "platform/environment.h"

namespace {
const char* const kStoreName = "ZAV Configuration Server (32-bit C API)";
const char* const kVendor = "Zav Instruments";
const char* const kRevision = "2.0.0.0";
const char* const kDefaultDescription =
    "The ZAV Configuration Server allows access to and modification of an ZAV configuration "
    "store.";
const char* const kProcessDefaultVariable = "ZAVCONFIGSERVERDEFAULT";
}  // namespace

tZavConfigStore::tZavConfigStore(std::unique_ptr<iStoreFile> file)
    : description_(kDefaultDescription), storeFile_(std::move(file)) {}

std::string tZavConfigStore::GetName() const { return kStoreName; }
std::string tZavConfigStore::GetVendor() const { return kVendor; }
std::string tZavConfigStore::GetRevision() const { return kRevision; }

std::string tZavConfigStore::GetMasterLocation() {
  if (masterLocation_.empty()) masterLocation_ = storeFile_->GetMasterStoreLocation();
  return masterLocation_;
}

std::string tZavConfigStore::GetProcessDefaultLocation() const {
  return zav::platform::GetEnvironmentValue(kProcessDefaultVariable);
}

void tZavConfigStore::SetProcessDefaultLocation(const std::string& value) {
  zav::platform::SetEnvironmentValue(kProcessDefaultVariable, value);
}

tZavSession* tZavConfigStore::GetSession(const std::string& name) {
  if (tZavLogicalName* logicalName = logicalNames_.Find(name)) return logicalName->GetSession();
  if (tZavSession* session = sessions_.Find(name)) return session;
  ThrowZavError(ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                "The '" + name + "' logical name or session does not exist.");
}

tZavDriverSession* tZavConfigStore::GetDriverSession(const std::string& name) {
  if (tZavLogicalName* logicalName = logicalNames_.Find(name)) {
    tZavSession* session = logicalName->GetSession();
    if (session && session->IsDriverSession()) return static_cast<tZavDriverSession*>(session);
  }
  if (tZavDriverSession* driverSession = GetDriverSessions()->Find(name)) return driverSession;
  ThrowZavError(ZAVCONFIG_ERROR_SESSION_NOT_FOUND,
                "The '" + name + "' logical name or driver session does not exist.");
}

void tZavConfigStore::Deserialize(const std::string& location) {
  if (deserialized_)
    ThrowZavError(ZAVCONFIG_ERROR_ALREADY_DESERIALIZED,
                  "ZavConfig_Deserialize can only be called once per session.");
  // The copy is made first, so that nothing can fail after a successful read: a failure must
  // leave the root not deserialized, ready for another attempt.
  std::string actual = location;
  ClearAll();
  storeFile_->Deserialize(this, location);
  actualLocation_.swap(actual);
  deserialized_ = true;
}

void tZavConfigStore::Serialize(const std::string& location) {
  storeFile_->Serialize(this, location);
}

void tZavConfigStore::ClearAll() {
  // The reverse of the members' order, as their destruction would run.
  logicalNames_.Clear();
  softwareModules_.Clear();
  sessions_.Clear();
  hardwareAssets_.Clear();
  publishedAPIs_.Clear();
}
