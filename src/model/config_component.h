// SPDX-License-Identifier: MIT
// The common base of sessions, hardware assets and software modules: a named item with a
// description and its own collection of data components.
#pragma once

#include <memory>
#include <string>

#include "model/collection.h"
#include "model/data_component.h"

class iZavConfigComponent : public iZavCollectionItem {
 public:
  // Hands the new owner's store on to the data components, which look up published APIs there.
  void SetOwner(iConfigStoreCollection* collection) override;

  const std::string& GetDescription() const { return description_; }
  void SetDescription(const std::string& value) { description_ = value; }
  tZavCollection<iZavDataComponent>* GetDataComponents() const;

 protected:
  explicit iZavConfigComponent(const char* dataComponentCollectionName);

 private:
  std::string description_;
  const char* dataComponentCollectionName_;
  tLocalCollection<tZavCollection<iZavDataComponent>> dataComponents_;
};
