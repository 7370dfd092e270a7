#include "model/asset_module.h"

#include "model/config_store.h"
#include "model/session.h"

tZavSoftwareModule::tZavSoftwareModule()
    : iZavConfigComponent(""),
      physicalNames_(std::make_unique<iZavCollectionBase<tZavPhysicalName>>(nullptr, "")),
      publishedAPIs_(std::make_unique<tZavPublishedAPICollection>(nullptr, "")) {}

tZavSoftwareModule::~tZavSoftwareModule() {
  physicalNames_.reset();
  publishedAPIs_.reset();
}

iConfigStoreItem* tZavSoftwareModule::SetOwner(iConfigStoreCollection* collection) {
  tZavConfigStore* store = collection ? collection->GetStore() : nullptr;
  publishedAPIs_->SetStore(store);
  iZavConfigComponent::SetOwner(collection);
  if (store) {
    iZavCollectionBase<tZavSession>* sessions = store->GetSessions();
    for (long i = 1; i <= sessions->Count(); ++i) {
      tZavSession* session = sessions->ItemByIndex(i);
      if (session->GetSoftwareModuleName() == GetName()) session->SetSoftwareModule(this, true);
    }
  }
  return this;
}

void tZavSoftwareModule::Detach(iConfigStoreCollection* collection) {
  if (tZavConfigStore* store = collection ? collection->GetStore() : nullptr) {
    iZavCollectionBase<tZavSession>* sessions = store->GetSessions();
    for (long i = 1; i <= sessions->Count(); ++i) {
      tZavSession* session = sessions->ItemByIndex(i);
      if (session->GetSoftwareModule() == this) session->SetSoftwareModule(nullptr, true);
    }
  }
  iZavConfigComponent::Detach(collection);
}
