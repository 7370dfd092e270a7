// Data components: UsedInSession rules, structures, API references and their counts, and the
// copies a session makes of a module's components.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model_fixtures.h"

namespace {

using namespace zavtest;

// The UsedInSession messages; a hardware asset's component gets the longer one.
std::string InvalidUsed(const char* verb, const std::string& value, bool inAsset) {
  return std::string(verb) + " failed. Invalid value '" + value +
         "' for the ZAVCONFIG_VAL_DATA_COMPONENT_USED_IN_SESSION property." +
         (inAsset ? " Data component items in a hardware asset's datacomponent collection can "
                    "only have the value 'None'"
                  : "");
}
const char* const kApiRefNone =
    "Set failed. The UsedInSession property of published API reference item cannot be set to "
    "'None'.";

class ModelDataComponent : public ::testing::Test {
 protected:
  tZavConfigStore store;
  tZavSession* session = AddSession(store, "S");
  iZavCollectionBase<iZavDataComponent>* assetComponents =
      AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "Asset")->GetDataComponents();
};

TEST_F(ModelDataComponent, UsedInSessionTakesThreeValuesInAnyCase) {
  tZavString free;
  auto* owned = AddComponent<tZavInteger>(session->GetDataComponents(), "Owned");
  for (iZavDataComponent* c : {static_cast<iZavDataComponent*>(&free),
                               static_cast<iZavDataComponent*>(owned)}) {
    EXPECT_EQ(c->GetUsedInSession(), "None");
    for (const char* good : {"required", "OPTIONAL", "nONE", "Required"}) {
      c->SetUsedInSession(good);
      EXPECT_EQ(c->GetUsedInSession(), good);  // stored as given
    }
    for (const char* bad : {"", "Maybe", "Required ", "Non", "Nonee"}) {
      EXPECT_ZAV_ERROR(c->SetUsedInSession(bad), ZAVCONFIG_ERROR_INVALID_VALUE,
                       InvalidUsed("Set", bad, false));
      EXPECT_EQ(c->GetUsedInSession(), "Required");
    }
  }
}

TEST_F(ModelDataComponent, HardwareAssetComponentsOnlyTakeNone) {
  auto* plain = AddComponent<tZavString>(assetComponents, "Plain", "none");
  plain->SetUsedInSession("NONE");
  for (const char* bad : {"Optional", "Required", "Bogus"}) {
    EXPECT_ZAV_ERROR(plain->SetUsedInSession(bad), ZAVCONFIG_ERROR_INVALID_VALUE,
                     InvalidUsed("Set", bad, true));
  }
  EXPECT_EQ(plain->GetUsedInSession(), "NONE");

  tZavReal required;
  required.SetName("Req", true);
  required.SetUsedInSession("Required");
  EXPECT_ZAV_ERROR(assetComponents->Add(&required), ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                   InvalidUsed("Add", "Required", true));
  EXPECT_TRUE(required.IsOrphan());
  EXPECT_EQ(assetComponents->Count(), 1);

  // Members of a structure inside the asset are not the asset's own components.
  auto* structure = AddComponent<tZavStructure>(assetComponents, "Struct");
  EXPECT_EQ(structure->GetDataComponents()->GetCollectionName(), "Structure");
  AddComponent<tZavString>(structure->GetDataComponents(), "Member", "Optional")
      ->SetUsedInSession("Required");
}

TEST_F(ModelDataComponent, ApiReferenceStartsOptionalAndRefusesExactNone) {
  auto ref = std::make_unique<tZavAPIReference>();
  ref->SetName("Ref", true);
  EXPECT_EQ(ref->GetType(), "APIReference");
  EXPECT_ZAV_ERROR(assetComponents->Add(ref.get()), ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                   InvalidUsed("Add", "Optional", true));
  EXPECT_ZAV_ERROR(ref->SetUsedInSession("None"), ZAVCONFIG_ERROR_INVALID_VALUE, kApiRefNone);
  EXPECT_EQ(ref->GetUsedInSession(), "Optional");
  ref->SetUsedInSession("none");
  assetComponents->Add(ref.get());
  tZavAPIReference* held = ref.release();
  EXPECT_ZAV_ERROR(held->SetUsedInSession("None"), ZAVCONFIG_ERROR_INVALID_VALUE, kApiRefNone);
  EXPECT_ZAV_ERROR(held->SetUsedInSession("Optional"), ZAVCONFIG_ERROR_INVALID_VALUE,
                   InvalidUsed("Set", "Optional", true));
}

TEST_F(ModelDataComponent, StructureNeverLosesItsLastMemberThroughRemove) {
  auto* structure = AddComponent<tZavStructure>(session->GetDataComponents(), "Empty");
  auto* members = structure->GetDataComponents();
  EXPECT_EQ(members->Count(), 0);  // a structure without members is accepted
  auto* first = AddComponent<tZavBoolean>(members, "First");
  EXPECT_ZAV_ERROR(members->Remove(first), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Remove failed. An ZavStructure data component must contain at least one item.");
  EXPECT_EQ(members->Find("First"), first);
  AddComponent<tZavInteger>(members, "Second");
  members->Remove(first);
  EXPECT_EQ(NamesOf(members), Names{"Second"});
  session->GetDataComponents()->Remove(structure);  // the structure goes with its member
  EXPECT_EQ(session->GetDataComponents()->Count(), 0);
}

TEST_F(ModelDataComponent, ApiReferenceMovesAndReleasesCounts) {
  tZavPublishedAPI* a = AddApi(store, "A", "C");
  tZavPublishedAPI* b = AddApi(store, "B", "C");
  auto ref = std::make_unique<tZavAPIReference>();
  ref->SetName("Ref", true);
  ref->SetPublishedAPIReference(nullptr);  // allowed while free
  ref->SetPublishedAPIReference(a);
  auto* structure = AddComponent<tZavStructure>(session->GetDataComponents(), "Struct");
  structure->GetDataComponents()->Add(ref.get());
  tZavAPIReference* held = ref.release();

  EXPECT_ZAV_ERROR(held->SetPublishedAPIReference(nullptr), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The published API reference cannot be set to NULL.");
  tZavPublishedAPI orphan;
  EXPECT_ZAV_ERROR(held->SetPublishedAPIReference(&orphan),
                   ZAVCONFIG_ERROR_NOT_IN_GLOBAL_COLLECTION,
                   "Set failed. The referenced ZavPublishedAPI item does not exist in the global "
                   "collection.");
  EXPECT_EQ(held->GetPublishedAPIReference(), a);
  EXPECT_EQ(a->GetRefCount(), 1);
  EXPECT_EQ(orphan.GetRefCount(), 0);

  held->SetPublishedAPIReference(b);
  EXPECT_EQ(a->GetRefCount(), 0);
  EXPECT_EQ(b->GetRefCount(), 1);
  EXPECT_ZAV_ERROR(store.GetPublishedAPIs()->Remove(b), ZAVCONFIG_ERROR_HAS_REFERENCES,
                   "Remove failed. Item has references from other items.");
  store.GetSessions()->Remove(session);  // deletes the structure and the reference inside it
  EXPECT_EQ(b->GetRefCount(), 0);
  store.GetPublishedAPIs()->Remove(b);
}

// A component of a kind the library does not know.
struct tOddComponent : iZavDataComponent {
  tOddComponent() : iZavDataComponent("Odd", "None") {}
};

// The copy's class must be the kind's own (a wrong one throws std::bad_cast).
template <class T>
T& As(const std::unique_ptr<iZavDataComponent>& p) {
  EXPECT_TRUE(p->IsOrphan());
  return dynamic_cast<T&>(*p);
}

TEST_F(ModelDataComponent, NewDataComponentLikeCopiesTheKindsOwnValues) {
  tZavPublishedAPI* api = AddApi(store, "A", "C");
  tZavBoolean boolean;
  boolean.SetValue(true);
  tZavInteger integer;
  integer.SetValue(-3);
  integer.SetUnits("V");
  tZavReal real;
  real.SetValue(-1.5e300);
  real.SetUnits("Hz");
  tZavString text;
  text.SetValue("txt");
  tZavStructure structure;
  AddComponent<tZavBoolean>(structure.GetDataComponents(), "M");
  tZavAPIReference ref;
  ref.SetValue("v");
  ref.SetPublishedAPIReference(api);
  EXPECT_TRUE(As<tZavBoolean>(NewDataComponentLike(boolean)).GetValue());
  auto intCopy = NewDataComponentLike(integer);
  EXPECT_EQ(As<tZavInteger>(intCopy).GetValue(), -3);
  EXPECT_EQ(As<tZavInteger>(intCopy).GetUnits(), "V");
  auto realCopy = NewDataComponentLike(real);
  EXPECT_EQ(As<tZavReal>(realCopy).GetValue(), -1.5e300);
  EXPECT_EQ(As<tZavReal>(realCopy).GetUnits(), "Hz");
  EXPECT_EQ(As<tZavString>(NewDataComponentLike(text)).GetValue(), "txt");
  EXPECT_EQ(As<tZavStructure>(NewDataComponentLike(structure)).GetDataComponents()->Count(), 0);
  {
    auto refCopy = NewDataComponentLike(ref);
    EXPECT_EQ(As<tZavAPIReference>(refCopy).GetValue(), "v");
    EXPECT_EQ(As<tZavAPIReference>(refCopy).GetPublishedAPIReference(), api);
    EXPECT_EQ(api->GetRefCount(), 2);
  }
  EXPECT_EQ(api->GetRefCount(), 1);

  tOddComponent odd;
  EXPECT_ZAV_ERROR(NewDataComponentLike(odd), ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT,
                   "Add failed. Invalid data component type.");
  auto module = FreeModule("Odd");
  AddComponent<tOddComponent>(module->GetDataComponents(), "Odd", "Required");
  EXPECT_ZAV_ERROR(session->SetSoftwareModule(module.get(), false),
                   ZAVCONFIG_ERROR_INVALID_DATA_COMPONENT, "Add failed. Invalid data component type.");
  EXPECT_EQ(session->GetDataComponents()->Count(), 0);
  EXPECT_EQ(session->GetSoftwareModuleName(), "");
}

TEST_F(ModelDataComponent, CopyPropertiesStopsAtTheFirstRefusedStep) {
  tZavReal source;
  source.SetDescription("d");
  source.SetHelpContextID(5);
  source.SetHelpFilePath("h");
  source.SetName("n", true);
  source.SetReadOnly(true);
  source.SetSoftwareModuleKey("k");
  source.SetUsedInSession("required");
  tZavReal copy;
  copy.SetReadOnly(true);
  CopyDataComponentProperties(source, copy);
  EXPECT_EQ(copy.GetDescription() + copy.GetHelpFilePath() + copy.GetName() +
                copy.GetSoftwareModuleKey(),
            "dhnk");
  EXPECT_EQ(copy.GetHelpContextID(), 5);
  EXPECT_FALSE(copy.GetReadOnly());
  EXPECT_EQ(copy.GetUsedInSession(), "required");

  // UsedInSession comes last: an API reference refuses "None" after everything else is copied.
  source.SetUsedInSession("None");
  tZavAPIReference ref;
  ref.SetReadOnly(true);
  EXPECT_ZAV_ERROR(CopyDataComponentProperties(source, ref), ZAVCONFIG_ERROR_INVALID_VALUE,
                   kApiRefNone);
  EXPECT_EQ(ref.GetName(), "n");
  EXPECT_FALSE(ref.GetReadOnly());
  EXPECT_EQ(ref.GetSoftwareModuleKey(), "k");
  EXPECT_EQ(ref.GetUsedInSession(), "Optional");

  // The name comes after the help fields and before ReadOnly.
  tZavString unnamed;
  unnamed.SetHelpFilePath("h2");
  unnamed.SetSoftwareModuleKey("k2");
  tZavString target;
  target.SetName("keep", true);
  target.SetReadOnly(true);
  EXPECT_ZAV_ERROR(CopyDataComponentProperties(unnamed, target), ZAVCONFIG_ERROR_INVALID_VALUE,
                   "Set failed. The name of the item cannot be empty.");
  EXPECT_EQ(target.GetHelpFilePath(), "h2");
  EXPECT_EQ(target.GetName(), "keep");
  EXPECT_TRUE(target.GetReadOnly());
  EXPECT_EQ(target.GetSoftwareModuleKey(), "");
}

}  // namespace
