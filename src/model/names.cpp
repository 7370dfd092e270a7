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

tZavPhysicalName::tZavPhysicalName()
    : ranges_(std::make_unique<tZavCollection<tZavPhysicalRange>>(nullptr, "")),
      children_(std::make_unique<tZavCollection<tZavPhysicalName>>(nullptr, "")) {}

void tZavPhysicalName::SetCheckedName(const std::string& name) {
  CheckName(name, ranges_->Count(), "physical name");
  SetName(name, false);
}

void tZavPhysicalName::SetRCName(const std::string& value) {
  if (value.empty())
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The rcName property of the item cannot be empty.");
  rcName_ = value;
}

tZavVirtualName::tZavVirtualName()
    : ranges_(std::make_unique<tZavCollection<tZavVirtualRange>>(nullptr, "")) {}

void tZavVirtualName::SetCheckedName(const std::string& name) {
  CheckName(name, ranges_->Count(), "virtual name");
  SetName(name, false);
}

void tZavVirtualName::SetMapTo(const std::string& value) {
  if (value.empty() && ranges_->Count() == 0)
    ThrowZavError(ZAVCONFIG_ERROR_INVALID_VALUE,
                  "Set failed. The mapTo property of the item cannot be empty.");
  mapTo_ = value;
}
