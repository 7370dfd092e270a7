// Sessions, driver sessions and the driver-session view, and what a session takes over from the
// software module it is set to.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

const char* const kHasReferences = "Remove failed. Item has references from other items.";

class ModelSession : public ::testing::Test {
 protected:
  tZavConfigStore store;
  tZavSession* session = AddSession(store, "S");
};

TEST_F(ModelSession, DriverSessionViewStaysInStepWithTheSessionCollection) {
  tZavDriverSession* d1 = AddDriverSession(store, "D1");
  tZavDriverSession* d2 = AddDriverSession(store, "D2");
  tZavDriverSessionCollection* view = store.GetDriverSessions();
  iZavCollectionBase<tZavSession>* sessions = store.GetSessions();
  EXPECT_EQ(NamesOf(sessions), (Names{"S", "D1", "D2"}));
  EXPECT_EQ(NamesOf(view), (Names{"D1", "D2"}));
  EXPECT_EQ(d1->GetOwner(), sessions);  // the view owns nothing

  d1->SetName("Renamed", true);
  EXPECT_EQ(view->ItemByName("Renamed"), d1);
  EXPECT_EQ(view->Find("D1"), nullptr);
  EXPECT_EQ(NamesOf(sessions), (Names{"S", "Renamed", "D2"}));
  EXPECT_EQ(NamesOf(view), (Names{"Renamed", "D2"}));
  EXPECT_ZAV_ERROR(d2->SetName("S", true), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Rename operation failed. Item S already exists in the collection.");
  EXPECT_EQ(view->ItemByName("D2"), d2);

  view->RemoveDriverSession(d1);  // through the view ...
  EXPECT_EQ(NamesOf(sessions), (Names{"S", "D2"}));
  sessions->Remove(d2);  // ... and through the session collection
  EXPECT_EQ(view->Count(), 0);
  EXPECT_EQ(sessions->Count(), 1);

  tZavDriverSession dup;
  dup.SetName("S", true);
  EXPECT_ZAV_ERROR(view->AddDriverSession(&dup), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item S already exists in the collection.");
  EXPECT_EQ(view->Count(), 0);
}

TEST_F(ModelSession, LogicalNameReferenceBlocksRemovalUntilCleared) {
  tZavDriverSession* driver = AddDriverSession(store, "D");
  tZavLogicalName* logical = AddLogicalName(store, "L", driver);
  EXPECT_ZAV_ERROR(store.GetDriverSessions()->RemoveDriverSession(driver),
                   ZAVCONFIG_ERROR_HAS_REFERENCES, kHasReferences);
  EXPECT_ZAV_ERROR(store.GetSessions()->Remove(driver), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   kHasReferences);
  EXPECT_EQ(store.GetDriverSessions()->Find("D"), driver);
  EXPECT_EQ(store.GetSessions()->Find("D"), driver);

  logical->SetSession(session);  // moves the count
  EXPECT_EQ(driver->GetRefCount(), 0);
  EXPECT_ZAV_ERROR(store.GetSessions()->Remove(session), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   kHasReferences);
  logical->SetSession(nullptr);
  store.GetSessions()->Remove(session);
  store.GetDriverSessions()->RemoveDriverSession(driver);
  EXPECT_EQ(store.GetSessions()->Count(), 0);
}

// A module offering every sort of component a session may or may not take over.
std::unique_ptr<tZavSoftwareModule> RichModule(const std::string& name) {
  auto module = FreeModule(name);
  auto* dc = module->GetDataComponents();
  auto* req = AddComponent<tZavBoolean>(dc, "Req", "Required");
  req->SetValue(true);
  req->SetReadOnly(true);
  req->SetHelpContextID(7);
  AddComponent<tZavInteger>(dc, "Opt", "Optional");
  AddComponent<tZavString>(dc, "Plain", "None");
  AddComponent<tZavString>(dc, "Lower", "required");  // not exactly Required: not copied
  auto* freq = AddComponent<tZavReal>(dc, "Freq", "Required");
  freq->SetValue(2.5);
  freq->SetUnits("Hz");
  auto* other = AddComponent<tZavStructure>(dc, "Other", "Required");
  AddComponent<tZavBoolean>(other->GetDataComponents(), "M", "Required");
  auto* cis = AddComponent<tZavStructure>(dc, "Configurable Initial Settings", "optional");
  AddComponent<tZavInteger>(cis->GetDataComponents(), "Range", "Required")->SetReadOnly(true);
  AddComponent<tZavString>(cis->GetDataComponents(), "Skip", "Optional");
  auto* nested = AddComponent<tZavStructure>(cis->GetDataComponents(), "Nested", "Required");
  AddComponent<tZavBoolean>(nested->GetDataComponents(), "Deep", "Required");
  return module;
}

TEST_F(ModelSession, SetSoftwareModuleCopiesRequiredComponentsAndInitialSettings) {
  auto module = RichModule("Dmm");
  session->SetSoftwareModule(module.get(), false);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Dmm");
  EXPECT_EQ(session->GetSoftwareModule(), module.get());
  auto* dc = session->GetDataComponents();
  ASSERT_EQ(NamesOf(dc), (Names{"Req", "Freq", "Configurable Initial Settings"}));
  auto* req = static_cast<tZavBoolean*>(dc->ItemByName("Req"));
  EXPECT_TRUE(req->GetValue());
  EXPECT_FALSE(req->GetReadOnly());
  EXPECT_EQ(req->GetHelpContextID(), 7);
  auto* freq = static_cast<tZavReal*>(dc->ItemByName("Freq"));
  EXPECT_EQ(freq->GetValue(), 2.5);
  EXPECT_EQ(freq->GetUnits(), "Hz");
  auto* cis = static_cast<tZavStructure*>(dc->ItemByName("Configurable Initial Settings"));
  EXPECT_EQ(cis->GetUsedInSession(), "optional");  // letter case kept
  EXPECT_EQ(NamesOf(cis->GetDataComponents()), Names{"Range"});
  EXPECT_FALSE(cis->GetDataComponents()->ItemByIndex(1)->GetReadOnly());
  EXPECT_EQ(module->GetDataComponents()->Count(), 7);  // the module keeps its own

  // Initial settings without a required plain member give the session no such structure.
  auto bare = FreeModule("Bare");
  auto* bareCis = AddComponent<tZavStructure>(bare->GetDataComponents(),
                                              "Configurable Initial Settings", "Required");
  AddComponent<tZavString>(bareCis->GetDataComponents(), "Skip", "Optional");
  auto* nested = AddComponent<tZavStructure>(bareCis->GetDataComponents(), "N", "Required");
  AddComponent<tZavBoolean>(nested->GetDataComponents(), "Deep", "Required");
  session->SetSoftwareModule(bare.get(), false);
  EXPECT_EQ(dc->Count(), 0);
}

TEST_F(ModelSession, SecondModuleReplacesEverythingMarkedRequiredOrOptional) {
  auto first = RichModule("Dmm");
  auto second = FreeModule("Scope");
  AddComponent<tZavString>(second->GetDataComponents(), "Trigger", "Required");
  session->SetSoftwareModule(first.get(), false);
  auto* dc = session->GetDataComponents();
  AddComponent<tZavString>(dc, "HandOpt", "Optional");
  AddComponent<tZavString>(dc, "HandReq", "Required");
  AddComponent<tZavString>(dc, "HandLower", "required");
  AddComponent<tZavString>(dc, "Kept", "None");

  session->SetSoftwareModule(second.get(), false);
  EXPECT_EQ(NamesOf(dc), (Names{"HandLower", "Kept", "Trigger"}));
  EXPECT_EQ(session->GetSoftwareModuleName(), "Scope");
  EXPECT_EQ(session->GetSoftwareModule(), second.get());

  session->SetSoftwareModule(nullptr, true);  // the module leaves its store
  EXPECT_EQ(session->GetSoftwareModule(), nullptr);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Scope");
  EXPECT_EQ(NamesOf(dc), (Names{"HandLower", "Kept", "Trigger"}));

  session->SetSoftwareModule(nullptr, false);  // the caller clears the reference
  EXPECT_EQ(session->GetSoftwareModuleName(), "");
  EXPECT_EQ(NamesOf(dc), (Names{"HandLower", "Kept"}));
}

TEST_F(ModelSession, NameClashStopsTheCopyPartWay) {
  auto old = FreeModule("Old");
  AddComponent<tZavString>(old->GetDataComponents(), "FromOld", "Required");
  auto module = RichModule("Dmm");
  session->SetSoftwareModule(old.get(), false);
  auto* mine = AddComponent<tZavReal>(session->GetDataComponents(), "Freq", "None");

  EXPECT_ZAV_ERROR(session->SetSoftwareModule(module.get(), false), ZAVCONFIG_ERROR_ALREADY_EXISTS,
                   "Add failed. Item Freq already exists in the collection.");
  EXPECT_EQ(NamesOf(session->GetDataComponents()), (Names{"Freq", "Req"}));
  EXPECT_EQ(session->GetDataComponents()->Find("Freq"), mine);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Old");
  EXPECT_EQ(session->GetSoftwareModule(), old.get());
}

TEST_F(ModelSession, LinkSoftwareModuleTouchesNoDataComponent) {
  auto module = RichModule("Dmm");
  AddComponent<tZavString>(session->GetDataComponents(), "Own", "Required");
  session->LinkSoftwareModule(module.get());
  EXPECT_EQ(session->GetSoftwareModule(), module.get());
  EXPECT_EQ(session->GetSoftwareModuleName(), "Dmm");
  EXPECT_EQ(NamesOf(session->GetDataComponents()), Names{"Own"});
  module.reset();  // an uncounted link reads null once the module is gone
  EXPECT_EQ(session->GetSoftwareModule(), nullptr);
  EXPECT_EQ(session->GetSoftwareModuleName(), "Dmm");
}

}  // namespace
