// SPDX-License-Identifier: MIT
// The store document: what the writer puts into it and what the reader makes of it, through
// real files, the real schema and the model's own classes.
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "model/config_store.h"
#include "model_fixtures.h"
#include "persist/config_file_posix.h"
#include "persist/store_values.h"
#include "persist/store_writer.h"
#include "test_support.h"

namespace {

std::string DataFile(const char* name) { return zavtest::ReadFile(zavtest::TestDataFile(name)); }

std::string Write(tZavConfigStore& store) {
  std::string out;
  zav::persist::WriteConfigStore(&store, out);
  return out;
}

// The locations are the machine's and the reading's, not the document's.
std::string WithoutLocations(std::string text) {
  for (const char* element : {"<MasterLocation", "<ActualLocation"}) {
    const size_t begin = text.find(element);
    text.erase(begin, text.find('\n', begin) - begin);
  }
  return text;
}

using zavtest::AddNamed;

// The one data component of a store, made on first use in a hardware asset of its own.
template <class T>
T* Component(tZavConfigStore& store) {
  if (store.GetHardwareAssets()->Count() == 0)
    AddNamed<T>(AddNamed<tZavHardwareAsset>(store.GetHardwareAssets(), "A")->GetDataComponents(), "C");
  return static_cast<T*>(store.GetHardwareAssets()->ItemByIndex(1)->GetDataComponents()->ItemByIndex(1));
}

class DocumentTest : public ::testing::Test {
 protected:
  // Reads `xml` into a new store_: "" on success, else the failure's code and message.
  std::string Read(const std::string& xml) {
    zavtest::WriteFile(file_, xml);
    store_ = std::make_unique<tZavConfigStore>(NewPlatformConfigFile());
    return zavtest::FailureOf([&] { store_->Deserialize(file_); });
  }

  zavtest::TempDir dir_;
  const std::string file_ = dir_.File("store.xml");
  zavtest::ScopedRegistry registry_{dir_.path(), zavtest::DataDir()};
  zavtest::ScopedEnv noDefault_{"ZAVCONFIGSERVERDEFAULT", nullptr};
  std::unique_ptr<tZavConfigStore> store_;
};

// The file's ids are the writer's numbering: the published APIs first (p1, p2), then the API
// reference of the module (p3), its other components and the module itself (p14), and so on.
TEST_F(DocumentTest, RichStoreRoundTripsByteForByte) {
  const std::string original = DataFile("rich_store.xml");
  ASSERT_EQ(Read(original), "");
  EXPECT_EQ(WithoutLocations(Write(*store_)), WithoutLocations(original));

  // What the file lacks: sessions with fewer references, an API reference to no API and an
  // unnamed physical name, which is allowed beside ranges only.
  AddNamed<tZavSession>(store_->GetSessions(), "Bare");
  AddNamed<tZavSession>(store_->GetSessions(), "AssetOnly")
      ->SetHardwareAsset(store_->GetHardwareAssets()->Find("BenchDmm"));
  tZavSoftwareModule* module = store_->GetSoftwareModules()->Find("SampleDmmDriver");
  AddNamed<tZavAPIReference>(module->GetDataComponents(), "NoApi");
  auto unnamed = std::make_unique<tZavPhysicalName>();
  unnamed->SetRCName("rc");
  AddNamed<tZavPhysicalRange>(unnamed->GetPhysicalRanges(), "R");
  module->GetPhysicalNames()->Add(std::move(unnamed));
  const std::string first = Write(*store_);
  const std::string session = "</Name>\n      <Description/>\n      <DataComponents/>\n      ";
  EXPECT_NE(first.find("<Value/>\n          <ZavPublishedAPI idref=\"\"/>"), std::string::npos);
  EXPECT_NE(first.find("Bare" + session + "<VirtualNames/>"), std::string::npos);
  EXPECT_NE(first.find("AssetOnly" + session + "<ZavHardwareAsset idref=\"p24\"/>\n      <VirtualNames/>"),
            std::string::npos);
  ASSERT_EQ(Read(first), "");
  EXPECT_EQ(Write(*store_), first);
}

// The reader links sessions before they join the store; they must still be found as naming the
// module when it leaves and joins again.
TEST_F(DocumentTest, SessionsReadWithAModuleFollowItOutAndBackIn) {
  ASSERT_EQ(Read(DataFile("rich_store.xml")), "");
  auto* modules = store_->GetSoftwareModules();
  auto linkedTo = [&](tZavSoftwareModule* module) {
    zavtest::Names linked;
    store_->GetSessions()->ForEach([&](tZavSession* s) {
      if (s->GetSoftwareModule() == module) linked.push_back(s->GetName());
    });
    return linked;
  };
  const zavtest::Names both{"SampleDmmSession", "PlainSession"};
  ASSERT_EQ(linkedTo(modules->Find("SampleDmmDriver")), both);
  modules->Remove(modules->Find("SampleDmmDriver"));
  EXPECT_EQ(linkedTo(nullptr), both);
  EXPECT_EQ(linkedTo(AddNamed<tZavSoftwareModule>(modules, "SampleDmmDriver")), both);
}

TEST_F(DocumentTest, BundledExampleRoundTripsByteForByte) {
  const std::string original = zavtest::ReadFile(zavtest::DataDir() + "example_store.xml");
  ASSERT_EQ(Read(original), "");
  EXPECT_EQ(WithoutLocations(Write(*store_)), WithoutLocations(original));
}

// Element content escapes what XML needs and the carriage return, which a reader would
// otherwise turn into a line feed; everything else, UTF-8 included, is written as it is.
TEST_F(DocumentTest, EscapingOfText) {
  tZavConfigStore store(NewPlatformConfigFile());
  std::string all = "\t\n\r";
  for (char c = 0x20; c < 0x7f; ++c) all += c;
  store.SetDescription(all + "\xC3\xA9\xF0\x9F\x98\x80 ]]> -->");
  const std::string written = Write(store);
  EXPECT_NE(written.find("<Description>\t\n&#13; !&quot;#$%&amp;'()*+,-./0123456789:;&lt;=&gt;?@ABCDEFGHIJKLMNOPQRSTU"
                         "VWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~\xC3\xA9\xF0\x9F\x98\x80 ]]&gt; --&gt;</Description>\n"),
            std::string::npos);
  ASSERT_EQ(Read(written), "");
  EXPECT_EQ(store_->GetDescription(), store.GetDescription());
}

// Physical names and structures nest as deep as a caller builds them; the writer walks them
// without recursion and refuses a store deeper than a document may be, which it finds before
// it writes anything.
TEST_F(DocumentTest, DeepNestingIsRefusedWithoutRecursion) {
  const std::string tooDeep = std::to_string(ZAVCONFIG_ERROR_SERIALIZE_FAILED) +
                              " Serialize failed. The items of the store are nested too deeply: element ";
  auto failure = [](tZavConfigStore& store) { return zavtest::FailureOf([&] { Write(store); }); };
  tZavConfigStore store(NewPlatformConfigFile());
  auto* module = AddNamed<tZavSoftwareModule>(store.GetSoftwareModules(), "M");
  std::vector<tZavPhysicalName*> names;
  auto* list = module->GetPhysicalNames();
  for (int i = 0; i < 100000; ++i) {
    names.push_back(AddNamed<tZavPhysicalName>(list, "N"));
    names.back()->SetRCName("R");
    list = names.back()->GetPhysicalNames();
  }
  EXPECT_EQ(failure(store), tooDeep + "Name would lie at depth 258, and a store document can hold 257.");
  // The deepest names that can be written and read back: 126 levels.
  for (size_t i = names.size() - 1; i >= 126; --i) names[i - 1]->GetPhysicalNames()->Remove(names[i]);
  const std::string deepest = Write(store);
  EXPECT_EQ(Read(deepest), "");
  names[124]->GetPhysicalNames()->Remove(names[125]);

  tZavCollection<iZavDataComponent>* members = module->GetDataComponents();
  for (int i = 0; i < 1000; ++i) members = AddNamed<tZavStructure>(members, "S")->GetDataComponents();
  EXPECT_EQ(failure(store), tooDeep + "Name would lie at depth 258, and a store document can hold 257.");
}

TEST_F(DocumentTest, TextSurvivesExactly) {
  for (const std::string value : {"a < b & c > d \" e ' f", "  padded  ", "tab\there", "line\nfeed",
                                  "carriage\rreturn\r\n", "   ", "caf\xC3\xA9"}) {
    tZavConfigStore store(NewPlatformConfigFile());
    store.SetDescription(value);
    Component<tZavString>(store)->SetValue(value);
    ASSERT_EQ(Read(Write(store)), "") << value;
    EXPECT_EQ(store_->GetDescription(), value);
    EXPECT_EQ(Component<tZavString>(*store_)->GetValue(), value);
  }
}

// The process locale, for the lifetime of the object. A decimal-comma locale is generated into a
// directory of its own, which needs the locale sources (Debian's "locales" package, which
// scripts/install-deps installs) but no root.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) : old_(setlocale(LC_ALL, nullptr)) {
    if (std::string(name) == "C") {
      setlocale(LC_ALL, "C");
      return;
    }
    const std::string command = "localedef -i de_DE -f UTF-8 " + dir_.path() + "/" + name + " >/dev/null 2>&1";
    // localedef returns 1 when it only warned; whether the locale loads is what counts.
    std::system(command.c_str());
    locpath_ = std::make_unique<zavtest::ScopedEnv>("LOCPATH", dir_.path().c_str());
    setlocale(LC_ALL, name);
  }
  ~ScopedLocale() { setlocale(LC_ALL, old_.c_str()); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  std::string old_;
  zavtest::TempDir dir_;
  std::unique_ptr<zavtest::ScopedEnv> locpath_;
};

// A host program may have set a locale whose decimal separator is a comma: reals are written
// and read in the C conventions whatever the process locale, and messages keep their numbers.
// Without that locale the test fails rather than skips, so that the check cannot quietly vanish.
TEST_F(DocumentTest, RealsKeepSixSignificantDigitsInAnyLocale) {
  const std::tuple<double, const char*, double> cases[] = {
      {0.1, "0.1", 0.1}, {2.5e-7, "2.5e-07", 2.5e-7}, {123456789.0, "1.23457e+08", 123457000.0},
      {-3.14159265, "-3.14159", -3.14159}, {100000.0, "100000", 100000.0}, {1e6, "1e+06", 1e6}};
  for (const auto& [locale, point] : {std::pair<const char*, const char*>{"C", "."}, {"de_DE.UTF-8", ","}}) {
    ScopedLocale scoped(locale);
    ASSERT_STREQ(localeconv()->decimal_point, point)
        << "no decimal-comma locale: localedef -i de_DE -f UTF-8 failed (install Debian's locales package)";
    for (const auto& [value, text, back] : cases) {
      tZavConfigStore store(NewPlatformConfigFile());
      Component<tZavReal>(store)->SetValue(value);
      ASSERT_EQ(zavtest::FailureOf([&] { store.Serialize(file_); }), "");
      const std::string written = zavtest::ReadFile(file_);
      EXPECT_NE(written.find(std::string("<Value>") + text + "</Value>"), std::string::npos) << text << " " << locale;
      ASSERT_EQ(Read(written), "");
      EXPECT_EQ(Component<tZavReal>(*store_)->GetValue(), back) << text << " " << locale;
    }
    EXPECT_EQ(Read(DataFile("invalid_order.xml")),
              std::to_string(ZAVCONFIG_ERROR_DESERIALIZE_FAILED) +
                  " Deserialize failed. Parsing error number: 1871, Description: Element 'Sessions': This element "
                  "is not expected. Expected is ( DriverSessions ). (line 14)") << locale;
  }
}

TEST(DocumentValues, IntegersAndBooleansAsTheCLibraryReadsThem) {
  const std::pair<const char*, int32_t> integers[] = {
      {" 42abc", 42}, {"-7", -7}, {"+8", 8}, {"\t\n-0", 0}, {"abc", 0}, {"", 0}, {"- 5", 0},
      {"-2147483648", INT32_MIN}, {"2147483648", INT32_MAX}, {"-2147483649", INT32_MIN},
      {"99999999999999999999", INT32_MAX}};
  for (const auto& [text, value] : integers) EXPECT_EQ(zav::persist::ParseInteger(text), value) << text;
  for (const char* text : {"1", "true", "false", "", " 0", "00"})
    EXPECT_TRUE(zav::persist::ParseBoolean(text)) << text;
  EXPECT_FALSE(zav::persist::ParseBoolean("0"));
  EXPECT_EQ(zav::persist::ParseReal(" 1.5e3x") + zav::persist::ParseReal("no"), 1500.0);
}

TEST_F(DocumentTest, ModelRulesAbortTheReadAndKeepWhatWasRead) {
  const std::tuple<const char*, ViStatus, const char*, long, long> cases[] = {
      {"reader_empty_name.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The name of the item cannot be empty.", 0, 0},
      {"reader_duplicate_names.xml", ZAVCONFIG_ERROR_ALREADY_EXISTS,
       "Add failed. Item BenchDmm already exists in the collection.", 0, 1},
      {"reader_bad_characters.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The name of a physical name item must consist of one or more of the "
       "following: 'a'-'z', 'A'-'Z', '0'-'9', '!', or '_'", 1, 0},
      {"reader_empty_mapto_with_ranges.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The mapTo property of the item cannot be empty.", 0, 0},
      {"reader_unresolved_api_reference.xml", ZAVCONFIG_ERROR_NULL_POINTER,
       "Add failed. Invalid (NULL) item pointer.", 1, 0}};
  for (const auto& [file, code, message, modules, assets] : cases) {
    EXPECT_EQ(Read(DataFile(file)), std::to_string(code) + " " + message);
    EXPECT_EQ(store_->GetSoftwareModules()->Count(), modules) << file;
    EXPECT_EQ(store_->GetHardwareAssets()->Count(), assets) << file;
  }
  ASSERT_EQ(Read(DataFile("reader_unknown_idref.xml")), "");
  EXPECT_EQ(store_->GetLogicalNames()->Find("Dangling")->GetSession(), nullptr);
}

}  // namespace
