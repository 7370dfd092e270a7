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
  // Only the reader adds a module before naming it, and it reads every module before any
  // session; the sessions that name no module are not indexed, so they are looked for here.
  if (module.GetName().empty()) {
    sessions_.ForEach([&](tZavSession* session) {
      if (session->GetSoftwareModuleName().empty()) session->RelinkSoftwareModule(&module);
    });
    return;
  }
  // Relinking keeps each session's module name, so the set walked does not change under us.
  for (tZavSession* session : sessions_.NamingModule(module.GetName()))
    session->RelinkSoftwareModule(&module);
}

void tZavSoftwareModuleCollection::Leaving(tZavSoftwareModule& module) {
  // Sessions of other stores, or of none, stay linked. Unlinking a session moves the list's last
  // one into its place, which the walk from the end has already passed.
  const tZavSessionList<true>& linked = module.LinkedSessions();
  for (size_t i = linked.Size(); i-- > 0;) {
    tZavSession* session = linked[i];
    if (session->GetOwner() == &sessions_) session->RelinkSoftwareModule(nullptr);
  }
}
