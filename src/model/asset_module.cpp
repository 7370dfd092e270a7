// SPDX-License-Identifier: MIT
#include "model/asset_module.h"

#include "model/session.h"

tZavCollection<tZavPhysicalName>* tZavSoftwareModule::GetPhysicalNames() const {
  return physicalNames_.Get([] { return std::make_unique<tZavCollection<tZavPhysicalName>>(nullptr, ""); });
}

tZavPublishedAPIReferences* tZavSoftwareModule::GetPublishedAPIs() const {
  return publishedAPIs_.Get([this] {
    auto list = std::make_unique<tZavPublishedAPIReferences>();
    list->SetStore(OwnerStore());
    return list;
  });
}

void tZavSoftwareModule::SetOwner(iConfigStoreCollection* collection) {
  if (collection && publishedAPIs_.IfMade()) publishedAPIs_.IfMade()->SetStore(collection->GetStore());
  iZavConfigComponent::SetOwner(collection);
}

void tZavSoftwareModuleCollection::Joined(tZavSoftwareModule& module) {
  sessions_.ForEach([&](tZavSession* session) {
    if (session->GetSoftwareModuleName() == module.GetName()) session->RelinkSoftwareModule(&module);
  });
}

void tZavSoftwareModuleCollection::Leaving(tZavSoftwareModule& module) {
  sessions_.ForEach([&](tZavSession* session) {
    if (session->GetSoftwareModule() == &module) session->RelinkSoftwareModule(nullptr);
  });
}
