// SPDX-License-Identifier: MIT
// Physical names a driver offers (with their ranges and nested names) and the virtual names a
// session maps onto them (with their ranges).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/collection.h"

class tZavPhysicalRange : public iZavCollectionItem {
 public:
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t value) { min_ = value; }
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t value) { max_ = value; }

 private:
  int32_t max_ = 0;
  int32_t min_ = 0;
};

class tZavVirtualRange : public iZavCollectionItem {
 public:
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t value) { min_ = value; }
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t value) { max_ = value; }
  int32_t GetStartingPhysicalIndex() const { return startingPhysicalIndex_; }
  void SetStartingPhysicalIndex(int32_t value) { startingPhysicalIndex_ = value; }

 private:
  int32_t max_ = 0;
  int32_t min_ = 0;
  int32_t startingPhysicalIndex_ = 0;
};

class tZavPhysicalName : public iZavCollectionItem {
 public:

  // The only name setter for physical names: character set, and empty only beside ranges.
  void SetCheckedName(const std::string& name);
  std::string GetRCName() const { return rcName_; }
  void SetRCName(const std::string& value);
  tZavCollection<tZavPhysicalRange>* GetPhysicalRanges() const;
  tZavCollection<tZavPhysicalName>* GetPhysicalNames() const;

 private:
  std::string rcName_;
  tLocalCollection<tZavCollection<tZavPhysicalRange>> ranges_;
  tLocalCollection<tZavCollection<tZavPhysicalName>> children_;
};

class tZavVirtualName : public iZavCollectionItem {
 public:

  void SetCheckedName(const std::string& name);
  std::string GetMapTo() const { return mapTo_; }
  void SetMapTo(const std::string& value);
  tZavCollection<tZavVirtualRange>* GetVirtualRanges() const;

 private:
  std::string mapTo_;
  tLocalCollection<tZavCollection<tZavVirtualRange>> ranges_;
};
