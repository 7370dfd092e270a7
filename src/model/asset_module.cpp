#include "model/asset_module.h"

#include "model/session.h"

tZavSoftwareModule::tZavSoftwareModule()
    : iZavConfigComponent(""),
      physicalNames_(std::make_unique<tZavCollection<tZavPhysicalName>>(nullptr, "")),
      publishedAPIs_(std::make_unique<tZavPublishedAPIReferences>()) {}

void tZavSoftwareModule::SetOwner(iConfigStoreCollection* collection) {
  if (collection) publishedAPIs_->SetStore(collection->GetStore());
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
