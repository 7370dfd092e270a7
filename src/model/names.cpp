// SPDX-License-Identifier: MIT
#include "model/names.h"

namespace {
// True for the empty string and for strings made only of a-z, A-Z, 0-9, '!' and '_'.
bool IsValidName(const std::string& name) {
  static const std::string allowed =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!_";
  return name.find_first_not_of(allowed) == std::string::npos;
}

// Shared by both name kinds; only the kind word of the message differs.
void CheckName(const std::string& name, long rangeCount, const char* kind) {
  if (rangeCount == 0 && name.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE, "Set failed. The name of the item cannot be empty.");
  if (!IsValidName(name))
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  std::string("Set failed. The name of a ") + kind +
                      " item must consist of one or more of the following: 'a'-'z', 'A'-'Z', "
                      "'0'-'9', '!', or '_'");
}
}  // namespace

namespace {
template <class T>
auto NewLocal() {
  return [] { return std::make_unique<tZavCollection<T>>(nullptr, ""); };
}
// The number of ranges, without making an empty collection of them.
template <class C>
long CountOf(const tLocalCollection<C>& ranges) {
  return ranges.IfMade() ? ranges.IfMade()->Count() : 0;
}
}  // namespace

tZavCollection<tZavPhysicalRange>* tZavPhysicalName::GetPhysicalRanges() const {
  return ranges_.Get(NewLocal<tZavPhysicalRange>());
}

tZavCollection<tZavPhysicalName>* tZavPhysicalName::GetPhysicalNames() const {
  return children_.Get(NewLocal<tZavPhysicalName>());
}

void tZavPhysicalName::SetCheckedName(const std::string& name) {
  CheckName(name, CountOf(ranges_), "physical name");
  SetName(name, false);
}

void tZavPhysicalName::SetRCName(const std::string& value) {
  if (value.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The rcName property of the item cannot be empty.");
  rcName_ = value;
}

tZavCollection<tZavVirtualRange>* tZavVirtualName::GetVirtualRanges() const {
  return ranges_.Get(NewLocal<tZavVirtualRange>());
}

void tZavVirtualName::SetCheckedName(const std::string& name) {
  CheckName(name, CountOf(ranges_), "virtual name");
  SetName(name, false);
}

void tZavVirtualName::SetMapTo(const std::string& value) {
  if (value.empty() && CountOf(ranges_) == 0)
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The mapTo property of the item cannot be empty.");
  mapTo_ = value;
}
