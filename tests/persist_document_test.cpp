// The store document: what the writer puts into it and what the reader makes of it, through
// real files, the real schema and the model's own classes.
#include <clocale>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/config_store.h"
#include "persist/store_reader.h"
#include "persist/store_writer.h"
#include "test_support.h"

namespace {

using zavtest::ReadFile;
using zavtest::WriteFile;

std::string Strip(const _zavconfig_error& e) {
  return std::string(e.what()).substr(_zavconfig_error::Prefix().size());
}

std::string Write(tZavConfigStore& store) {
  std::string out;
  zav::persist::WriteConfigStore(&store, out);
  return out;
}

// The locations are the machine's and the reading's, not the document's.
std::string WithoutLocations(std::string text) {
  for (const char* element : {"<MasterLocation", "<ActualLocation"}) {
    size_t begin = text.find(element);
    if (begin != std::string::npos) text.erase(begin, text.find('\n', begin) - begin);
  }
  return text;
}

// A root whose only item is a hardware asset with one data component of `kind`.
std::string AssetDocument(const std::string& kind, const std::string& tail) {
  return "<ZavConfigStore><Name/><Description/><Vendor/><Revision/><SpecificationMajorVersion/>"
         "<SpecificationMinorVersion/><MasterLocation/><ProcessDefaultLocation/><ActualLocation/>"
         "<PublishedAPIs/><SoftwareModules/><HardwareAssets><ZavHardwareAsset id=\"a\"><Name>A"
         "</Name><Description/><DataComponents><Zav" + kind + " id=\"c\"><Name>C</Name>"
         "<Description/><ReadOnly>0</ReadOnly><UsedInSession>None</UsedInSession><Type/>"
         "<HelpContextID>0</HelpContextID><HelpFilePath/><SoftwareModuleKey/>" + tail + "</Zav" +
         kind + "></DataComponents><IOResourceDescriptor/></ZavHardwareAsset></HardwareAssets>"
         "<DriverSessions/><Sessions/><LogicalNames/></ZavConfigStore>";
}

iZavDataComponent* OnlyComponent(tZavConfigStore& store) {
  return store.GetHardwareAssets()->ItemByIndex(1)->GetDataComponents()->ItemByIndex(1);
}

template <class T>
T* New(const std::string& name) {
  auto* item = new T;
  item->SetName(name, true);
  return item;
}

template <class T>
T* Add(iZavCollectionBase<T>* collection, const std::string& name) {
  T* item = New<T>(name);
  collection->Add(item);
  return item;
}

tZavPublishedAPI* AddAPI(tZavConfigStore& store, const std::string& name) {
  auto* api = new tZavPublishedAPI;
  api->SetName(name);
  api->SetType("C");
  store.GetPublishedAPIs()->AddToGlobal(api);
  return api;
}

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() { WriteFile(master_, ""); }

  std::unique_ptr<tZavConfigStore> Read(const std::string& xml) {
    WriteFile(file_, xml);
    auto store = std::make_unique<tZavConfigStore>();
    store->Deserialize(file_);
    return store;
  }
  // The message of a read that must fail; the store stays in failed_ for inspection.
  std::string ReadFailure(const std::string& xml, ViStatus code) {
    WriteFile(file_, xml);
    failed_ = std::make_unique<tZavConfigStore>();
    try {
      failed_->Deserialize(file_);
    } catch (const _zavconfig_error& e) {
      EXPECT_EQ(e.code(), code) << e.what();
      return Strip(e);
    }
    return "read succeeded";
  }

  zavtest::TempDir dir_;
  std::string master_ = dir_.File("master.xml");
  std::string file_ = dir_.File("store.xml");
  zavtest::ScopedRegistry registry_{master_, zavtest::DataDir()};
  zavtest::ScopedEnv noDefault_{"ZAVCONFIGSERVERDEFAULT", nullptr};
  std::unique_ptr<tZavConfigStore> failed_;
};

TEST_F(DocumentTest, RichStoreRoundTripsByteForByte) {
  // The file holds every kind of item and reference, numbered as the writer numbers them.
  const std::string original = ReadFile(zavtest::TestDataFile("rich_store.xml"));
  auto store = Read(original);
  EXPECT_EQ(WithoutLocations(Write(*store)), WithoutLocations(original));

  // What the file lacks: a session without references, an API reference without an API.
  Add(store->GetSessions(), "Bare");
  auto* module = store->GetSoftwareModules()->Find("SampleDmmDriver");
  module->GetDataComponents()->Add(New<tZavAPIReference>("NoApi"));
  const std::string first = Write(*store);
  for (const char* expected : {"<ZavPublishedAPI idref=\"\"/>",
                               "<Name>Bare</Name>\n      <Description/>\n      <DataComponents/>\n"
                               "      <VirtualNames/>"})
    EXPECT_NE(first.find(expected), std::string::npos) << expected;
  // A driver session is written once, under DriverSessions.
  EXPECT_EQ(first.find("<ZavDriverSession id="), first.rfind("<ZavDriverSession id="));
  EXPECT_LT(first.find("<ZavDriverSession id="), first.find("<Sessions>"));

  auto copy = Read(first);
  EXPECT_EQ(WithoutLocations(Write(*copy)), WithoutLocations(first));
  // References lead to the items of the new store.
  tZavDriverSession* driver = copy->GetDriverSession("SampleDMM");
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(driver->GetHardwareAsset(), copy->GetHardwareAssets()->Find("BenchDmm"));
  EXPECT_EQ(driver->GetSoftwareModule(), copy->GetSoftwareModules()->Find("SampleDmmDriver"));
  EXPECT_EQ(copy->GetSession("PlainName"), copy->GetSessions()->Find("PlainSession"));
  EXPECT_EQ(copy->GetSessions()->Find("Bare")->GetSoftwareModule(), nullptr);
  EXPECT_EQ(copy->GetLogicalNames()->Find("Unmapped")->GetSession(), nullptr);
  auto* components = copy->GetSoftwareModules()->Find("SampleDmmDriver")->GetDataComponents();
  auto apiOf = [&](const char* name) {
    return static_cast<tZavAPIReference*>(components->Find(name))->GetPublishedAPIReference();
  };
  EXPECT_EQ(apiOf("DmmInterface"), copy->GetPublishedAPIs()->ItemByIndex(1));
  EXPECT_EQ(apiOf("NoApi"), nullptr);
  EXPECT_EQ(copy->GetDescription(), "Store with every kind of item & reference <rich>");
}

TEST_F(DocumentTest, EmptyStoreHasTheFixedLayoutAndRestoresItsDescription) {
  tZavConfigStore store;
  store.SetDescription("");
  EXPECT_EQ(Write(store),
            "<ZavConfigStore xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\n"
            "  <Name>ZAV Configuration Server (32-bit C API)</Name>\n  <Description/>\n"
            "  <Vendor>" + store.GetVendor() + "</Vendor>\n  <Revision>2.0.0.0</Revision>\n"
            "  <SpecificationMajorVersion>1</SpecificationMajorVersion>\n"
            "  <SpecificationMinorVersion>22</SpecificationMinorVersion>\n"
            "  <MasterLocation>" + master_ + "</MasterLocation>\n"
            "  <ProcessDefaultLocation/>\n  <ActualLocation/>\n"
            "  <PublishedAPIs/>\n  <SoftwareModules/>\n  <HardwareAssets/>\n"
            "  <DriverSessions/>\n  <Sessions/>\n  <LogicalNames/>\n</ZavConfigStore>\n");
  store.SetDescription("kept");
  auto copy = Read(Write(store));
  EXPECT_EQ(copy->GetDescription(), "kept");
  EXPECT_EQ(copy->GetSessions()->Count() + copy->GetPublishedAPIs()->Count(), 0);
}

TEST_F(DocumentTest, IdExampleOfTheFormat) {
  tZavConfigStore store;
  tZavPublishedAPI* api = AddAPI(store, "Api");
  auto* module = Add(store.GetSoftwareModules(), "Module");
  auto* reference = New<tZavAPIReference>("Ref");
  reference->SetPublishedAPIReference(api);
  module->GetDataComponents()->Add(reference);
  module->GetPublishedAPIs()->AddReference(api);
  const std::string text = Write(store);
  for (const char* expected : {"<ZavPublishedAPI id=\"p1\">", "<ZavAPIReference id=\"p2\">",
                               "<ZavSoftwareModule id=\"p3\">",
                               "<PublishedAPIs>\n        <ZavPublishedAPI idref=\"p1\"/>"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(DocumentTest, StringsSurviveExactly) {
  for (const std::string value : {"a < b & c > d \" e ' f", "  padded  ", "tab\there", "line\nfeed",
                                  "carriage\rreturn\r\n", "   ", "caf\xC3\xA9 \xE2\x82\xAC"}) {
    tZavConfigStore store;
    store.SetDescription(value);
    auto* text = New<tZavString>("S");
    text->SetValue(value);
    Add(store.GetHardwareAssets(), "A")->GetDataComponents()->Add(text);
    const std::string written = Write(store);
    EXPECT_EQ(value.find('\r') != std::string::npos, written.find("&#13;") != std::string::npos);
    auto copy = Read(written);
    EXPECT_EQ(copy->GetDescription(), value);
    EXPECT_EQ(static_cast<tZavString*>(OnlyComponent(*copy))->GetValue(), value);
  }
}

TEST_F(DocumentTest, RealsKeepSixSignificantDigitsInAnyLocale) {
  struct Case {
    double value;
    const char* text;
    double back;
  };
  const Case cases[] = {{0.1, "0.1", 0.1}, {2.5e-7, "2.5e-07", 2.5e-7},
                        {123456789.0, "1.23457e+08", 123457000.0}, {-3.14159265, "-3.14159", -3.14159},
                        {100000.0, "100000", 100000.0}, {1e6, "1e+06", 1e6}};
  for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
    if (!std::setlocale(LC_ALL, locale)) continue;  // a decimal comma locale is not installed
    for (const Case& c : cases) {
      tZavConfigStore store;
      auto* real = New<tZavReal>("R");
      real->SetValue(c.value);
      Add(store.GetHardwareAssets(), "A")->GetDataComponents()->Add(real);
      const std::string written = Write(store);
      EXPECT_NE(written.find(std::string("<Value>") + c.text + "</Value>"), std::string::npos)
          << locale << " " << c.text;
      EXPECT_EQ(static_cast<tZavReal*>(OnlyComponent(*Read(written)))->GetValue(), c.back)
          << locale << " " << c.text;
    }
  }
  std::setlocale(LC_ALL, "C");
}

TEST_F(DocumentTest, ValueDecodings) {
  struct IntCase {
    const char* text;
    int32_t value;
  };
  for (const IntCase& c : {IntCase{" 42abc", 42}, {"-7", -7}, {"+8", 8}, {"\t\n-0", 0}, {"abc", 0},
                           {"", 0}, {"2147483648", INT32_MAX}, {"-2147483649", INT32_MIN},
                           {"99999999999999999999", INT32_MAX}, {"- 5", 0}})
    EXPECT_EQ(zav::persist::ParseInteger(c.text), c.value) << c.text;
  EXPECT_EQ(zav::persist::ParseReal(" 1.5e3x"), 1500.0);
  EXPECT_EQ(zav::persist::ParseReal("no"), 0.0);

  auto integer = Read(AssetDocument("Integer", "<Units/><Value> 42abc</Value>"));
  EXPECT_EQ(static_cast<tZavInteger*>(OnlyComponent(*integer))->GetValue(), 42);
  for (const char* text : {"0", "1", "true", "false", "", " 0"}) {
    auto store = Read(AssetDocument("Boolean", std::string("<Value>") + text + "</Value>"));
    EXPECT_EQ(static_cast<tZavBoolean*>(OnlyComponent(*store))->GetValue(), std::string(text) != "0")
        << text;
  }
}

TEST_F(DocumentTest, ModuleTrailingElementsAreOptional) {
  std::string text = ReadFile(zavtest::TestDataFile("rich_store.xml"));
  const size_t begin = text.find("      <ModulePath64>");
  text.erase(begin, text.find("</ZavSoftwareModule>") - begin);
  auto one = Read(text);
  EXPECT_NE(one->GetSoftwareModules()->ItemByIndex(1)->GetAssemblyQualifiedClassName(), "");
  EXPECT_EQ(one->GetSoftwareModules()->ItemByIndex(1)->GetModulePath64(), "");
  const size_t first = text.find("      <AssemblyQualifiedClassName>");
  text.erase(first, text.find("</ZavSoftwareModule>") - first);
  EXPECT_EQ(Read(text)->GetSoftwareModules()->ItemByIndex(1)->GetAssemblyQualifiedClassName(), "");
}

TEST_F(DocumentTest, NamesAreSetAfterTheirRanges) {
  tZavConfigStore store;
  auto* physical = new tZavPhysicalName;
  physical->SetRCName("rc");
  Add(physical->GetPhysicalRanges(), "R")->SetMax(7);
  Add(store.GetSoftwareModules(), "M")->GetPhysicalNames()->Add(physical);
  auto* virtualName = new tZavVirtualName;
  virtualName->SetMapTo("CH");
  Add(virtualName->GetVirtualRanges(), "V");
  Add(store.GetSessions(), "S")->GetVirtualNames()->Add(virtualName);

  auto copy = Read(Write(store));
  tZavPhysicalName* read = copy->GetSoftwareModules()->Find("M")->GetPhysicalNames()->Find("");
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetPhysicalRanges()->Find("R")->GetMax(), 7);
  EXPECT_NE(copy->GetSessions()->Find("S")->GetVirtualNames()->Find(""), nullptr);

  // An empty MapTo beside ranges is written, but the reader sets MapTo before the ranges.
  virtualName->SetMapTo("");
  EXPECT_EQ(ReadFailure(Write(store), ZAVCONFIG_ERROR_INVALID_VALUE),
            "Set failed. The mapTo property of the item cannot be empty.");
}

TEST_F(DocumentTest, ModelRulesAbortTheReadAndKeepWhatWasRead) {
  struct Case {
    const char* file;
    ViStatus code;
    const char* message;
    long modules, assets;
  };
  const Case cases[] = {
      {"reader_empty_name.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The name of the item cannot be empty.", 0, 0},
      {"reader_duplicate_names.xml", ZAVCONFIG_ERROR_ALREADY_EXISTS,
       "Add failed. Item BenchDmm already exists in the collection.", 0, 1},
      {"reader_bad_characters.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The name of a physical name item must consist of one or more of the "
       "following: 'a'-'z', 'A'-'Z', '0'-'9', '!', or '_'", 1, 0},
      {"reader_empty_mapto_with_ranges.xml", ZAVCONFIG_ERROR_INVALID_VALUE,
       "Set failed. The mapTo property of the item cannot be empty.", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadFailure(ReadFile(zavtest::TestDataFile(c.file)), c.code), c.message) << c.file;
    EXPECT_EQ(failed_->GetSoftwareModules()->Count(), c.modules) << c.file;
    EXPECT_EQ(failed_->GetHardwareAssets()->Count(), c.assets) << c.file;
    EXPECT_EQ(failed_->GetSessions()->Count(), 0) << c.file;
  }
  auto dangling = Read(ReadFile(zavtest::TestDataFile("reader_unknown_idref.xml")));
  ASSERT_NE(dangling->GetLogicalNames()->Find("Dangling"), nullptr);
  EXPECT_EQ(dangling->GetLogicalNames()->Find("Dangling")->GetSession(), nullptr);
}

TEST_F(DocumentTest, StringsXmlCannotCarryAreRefused) {
  struct Case {
    const char* text;
    bool utf8, xmlChars;
  };
  for (const Case& c : {Case{"plain \t\n\r", true, true}, {"\xC3\xA9\xF0\x9F\x98\x80", true, true},
                        {"\xC0\xAF", false, true}, {"\xE0\x80\xAF", false, true},
                        {"\xED\xA0\x80", false, true}, {"\xF4\x90\x80\x80", false, true},
                        {"\xE2\x82", false, true}, {"\x80", false, true},
                        {"a\x01", true, false}, {"\x1F", true, false}, {"\xEF\xBF\xBE", true, false}}) {
    bool xmlChars = true;
    EXPECT_EQ(zav::persist::CheckXmlText(c.text, xmlChars), c.utf8) << c.text;
    EXPECT_TRUE(!c.utf8 || xmlChars == c.xmlChars) << c.text;
  }

  auto failure = [](tZavConfigStore& store) {
    try {
      Write(store);
    } catch (const _zavconfig_error& e) {
      EXPECT_EQ(e.code(), ZAVCONFIG_ERROR_SERIALIZE_FAILED);
      return Strip(e);
    }
    return std::string("written");
  };
  tZavConfigStore store;
  auto* session = Add(store.GetSessions(), "Scope1");
  session->SetDescription("bad \xFF");
  EXPECT_EQ(failure(store), "Serialize failed. The Description of ZavSession 'Scope1' is not valid UTF-8.");
  session->SetDescription(std::string("nul \0", 5));
  EXPECT_EQ(failure(store), "Serialize failed. The Description of ZavSession 'Scope1' holds a "
                            "character that XML 1.0 cannot carry.");
  session->SetName("\x02", true);
  EXPECT_EQ(failure(store), "Serialize failed. The Name of a ZavSession holds a character that XML "
                            "1.0 cannot carry.");
  store.GetSessions()->Clear();
  store.SetDescription("\xC0\x80");
  EXPECT_EQ(failure(store), "Serialize failed. The Description of the configuration store is not "
                            "valid UTF-8.");

  // Nesting the parser would refuse is refused when writing, too.
  store.SetDescription("");
  iZavDataComponent* inner = New<tZavString>("leaf");
  for (int level = 0; level < 200; ++level) {
    auto* structure = New<tZavStructure>("s");
    structure->GetDataComponents()->Add(inner);
    inner = structure;
  }
  Add(store.GetHardwareAssets(), "A")->GetDataComponents()->Add(inner);
  EXPECT_NE(failure(store).find("nested too deeply"), std::string::npos);
}

}  // namespace
