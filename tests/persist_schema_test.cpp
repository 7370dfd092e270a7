// The store schema on its own, through libxml2 directly: which documents it lets through to
// the reader and which it stops.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include "test_support.h"

namespace {

enum class Outcome { Valid, NotParsed, NotValid };

const char* Describe(Outcome outcome) {
  switch (outcome) {
    case Outcome::Valid: return "valid";
    case Outcome::NotParsed: return "not parsed";
    case Outcome::NotValid: return "not valid";
  }
  return "?";
}

void CollectError(void* messages, xmlErrorPtr error) {
  if (error && error->message) *static_cast<std::string*>(messages) += error->message;
}

class SchemaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string path = zavtest::DataDir() + "ZavConfigurationStore_1-6.xsd";
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    schema_ = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
  }
  static void TearDownTestSuite() {
    xmlSchemaFree(schema_);
    schema_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(schema_, nullptr) << "the schema does not load";
    xmlSetStructuredErrorFunc(&messages_, CollectError);
  }
  void TearDown() override { xmlSetStructuredErrorFunc(nullptr, nullptr); }

  // Parsed as the library loads stores: no network, no entity substitution, no DTD loading.
  Outcome Check(xmlDocPtr doc) {
    if (!doc) return Outcome::NotParsed;
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema_);
    xmlSchemaSetValidStructuredErrors(validator, CollectError, &messages_);
    const int result = xmlSchemaValidateDoc(validator, doc);
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(doc);
    return result == 0 ? Outcome::Valid : Outcome::NotValid;
  }
  Outcome CheckFile(const std::string& path) {
    messages_.clear();
    return Check(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET));
  }
  Outcome CheckText(const std::string& text) {
    messages_.clear();
    return Check(xmlReadMemory(text.data(), static_cast<int>(text.size()), "inline.xml", nullptr,
                               XML_PARSE_NONET));
  }

  static xmlSchemaPtr schema_;
  std::string messages_;
};

xmlSchemaPtr SchemaTest::schema_ = nullptr;

// An otherwise empty store with the given content in its software module and session lists.
std::string Store(const std::string& modules, const std::string& sessions = "",
                  const std::string& logicalNames = "") {
  return "<ZavConfigStore xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">"
         "<Name>n</Name><Description/><Vendor/><Revision/><SpecificationMajorVersion>1"
         "</SpecificationMajorVersion><SpecificationMinorVersion>22</SpecificationMinorVersion>"
         "<MasterLocation/><ProcessDefaultLocation/><ActualLocation/><PublishedAPIs/>"
         "<SoftwareModules>" + modules + "</SoftwareModules><HardwareAssets/><DriverSessions/>"
         "<Sessions>" + sessions + "</Sessions><LogicalNames>" + logicalNames +
         "</LogicalNames></ZavConfigStore>";
}

std::string Module(const std::string& trailing, const std::string& apis = "") {
  return "<ZavSoftwareModule id=\"p1\"><Name>m</Name><Description/><DataComponents/>"
         "<ModulePath/><Prefix/><ProgID/><SupportedInstrumentModels/><PhysicalNames/>"
         "<PublishedAPIs>" + apis + "</PublishedAPIs>" + trailing + "</ZavSoftwareModule>";
}

std::string Session(const std::string& refs, const std::string& attributes = "",
                    const std::string& fields = "") {
  return "<ZavSession id=\"p2\"" + attributes + "><Name>s</Name><Description/><DataComponents/>" +
         refs + "<VirtualNames/><SoftwareModuleName/>" + fields + "</ZavSession>";
}

}  // namespace

TEST_F(SchemaTest, DocumentsOfTheTestDataDirectory) {
  int valid = 0, invalid = 0;
  for (const auto& entry : std::filesystem::directory_iterator(zavtest::TestDataFile(""))) {
    const std::string name = entry.path().filename().string();
    const bool expectValid = name == "rich_store.xml" || name == "empty_store.xml" ||
                             name == "valid_bom.xml" || name.rfind("reader_", 0) == 0;
    const bool expectInvalid = name.rfind("invalid_", 0) == 0;
    if (!expectValid && !expectInvalid) continue;
    const Outcome outcome = CheckFile(entry.path().string());
    if (expectValid) {
      ++valid;
      EXPECT_EQ(outcome, Outcome::Valid) << name << ": " << Describe(outcome) << ": " << messages_;
    } else {
      ++invalid;
      EXPECT_NE(outcome, Outcome::Valid) << name << " is accepted";
    }
  }
  EXPECT_GE(valid, 8);
  EXPECT_GE(invalid, 7);
}

TEST_F(SchemaTest, RejectionsHappenWhereExpected) {
  // Parser-level refusals: nothing reaches the validator.
  for (const char* name : {"invalid_non_utf8.xml", "invalid_malformed.xml",
                           "invalid_deep_nesting.xml"})
    EXPECT_EQ(CheckFile(zavtest::TestDataFile(name)), Outcome::NotParsed) << name;
  // The external entity is neither loaded nor substituted, and the validator refuses the
  // unexpanded reference, so that document never counts as a valid store either.
  for (const char* name : {"invalid_order.xml", "invalid_unknown_element.xml",
                           "invalid_missing_child.xml", "invalid_doctype_external_entity.xml"})
    EXPECT_EQ(CheckFile(zavtest::TestDataFile(name)), Outcome::NotValid) << name;
}

TEST_F(SchemaTest, InlineDocuments) {
  const std::string ref = "<ZavHardwareAsset idref=\"p7\"/>";
  const std::string moduleRef = "<ZavSoftwareModuleRef idref=\"p1\"/>";
  const std::string driverFields =
      "<Cache>1</Cache><DriverSetup/><InterchangeCheck>0</InterchangeCheck><QueryInstrStatus>0"
      "</QueryInstrStatus><RangeCheck>0</RangeCheck><RecordCoercions>0</RecordCoercions>"
      "<Simulate>0</Simulate>";
  const std::string apiItem =
      "<ZavPublishedAPI id=\"p3\"><Name>a</Name><MajorVersion>1</MajorVersion>"
      "<MinorVersion>0</MinorVersion><Type>C</Type></ZavPublishedAPI>";
  struct Case {
    const char* what;
    std::string text;
    bool valid;
  } cases[] = {
      {"module without the trailing elements", Store(Module("")), true},
      {"module with the class name only",
       Store(Module("<AssemblyQualifiedClassName>c</AssemblyQualifiedClassName>")), true},
      {"module with ModulePath64 only", Store(Module("<ModulePath64>/x</ModulePath64>")), false},
      {"module with published API refs",
       Store(Module("", "<ZavPublishedAPI idref=\"p3\"/><ZavPublishedAPI idref=\"\"/>")), true},
      {"module listing a published API item instead of a ref", Store(Module("", apiItem)), false},
      {"session with both refs in order", Store("", Session(ref + moduleRef)), true},
      {"session with the refs swapped", Store("", Session(moduleRef + ref)), false},
      {"session with a foreign attribute", Store("", Session("", " name=\"s\"")), false},
      {"session without id", Store("", "<ZavSession><Name>s</Name><Description/><DataComponents/>"
                                       "<VirtualNames/><SoftwareModuleName/></ZavSession>"),
       false},
      {"ref with a foreign attribute",
       Store("", Session("<ZavHardwareAsset idref=\"p7\" id=\"p8\"/>")), false},
      {"ref without idref", Store("", Session("<ZavHardwareAsset/>")), false},
      {"ref with content", Store("", Session("<ZavHardwareAsset idref=\"p7\">x</ZavHardwareAsset>")),
       false},
      {"driver session fields in a plain session", Store("", Session("", "", driverFields)), false},
      {"driver session by xsi:type under Sessions",
       Store("", Session("",
                         " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                         " xsi:type=\"DriverSessionType\"",
                         driverFields)),
       false},
      {"logical name with two session refs",
       Store("", "", "<ZavLogicalName id=\"p1\"><Name>l</Name><Description/>"
                     "<ZavDriverSession idref=\"p2\"/><ZavSession idref=\"p2\"/></ZavLogicalName>"),
       false},
      {"text element with a child element",
       Store("", "", "<ZavLogicalName id=\"p1\"><Name>l<b/></Name><Description/></ZavLogicalName>"),
       false},
  };
  for (const Case& c : cases) {
    const Outcome outcome = CheckText(c.text);
    EXPECT_EQ(outcome == Outcome::Valid, c.valid) << c.what << ": " << Describe(outcome) << ": "
                                                  << messages_;
  }
}

TEST_F(SchemaTest, DataComponentKinds) {
  auto component = [](const std::string& kind, const std::string& tail) {
    return "<Zav" + kind + " id=\"p1\"><Name>d</Name><Description/><ReadOnly>0</ReadOnly>"
           "<UsedInSession>None</UsedInSession><Type>" + kind + "</Type><HelpContextID>0"
           "</HelpContextID><HelpFilePath/><SoftwareModuleKey/>" + tail + "</Zav" + kind + ">";
  };
  auto inModule = [](const std::string& components) {
    std::string module = Module("");
    module.replace(module.find("<DataComponents/>"), 17,
                   "<DataComponents>" + components + "</DataComponents>");
    return Store(module);
  };
  const std::string all =
      component("Boolean", "<Value>1</Value>") + component("Integer", "<Units/><Value>-1</Value>") +
      component("APIReference", "<Value/><ZavPublishedAPI idref=\"\"/>") +
      component("Structure", "<DataComponents>" + component("Real", "<Units/><Value>0.1</Value>") +
                                 component("Structure", "<DataComponents/>") +
                                 "</DataComponents>") +
      component("String", "<Value/>") + component("Boolean", "<Value/>");
  EXPECT_EQ(CheckText(inModule(all)), Outcome::Valid) << messages_;
  EXPECT_NE(CheckText(inModule(component("Date", "<Value/>"))), Outcome::Valid);
  EXPECT_NE(CheckText(inModule(component("APIReference", "<Value/>"))), Outcome::Valid);
  EXPECT_NE(CheckText(inModule(component("Integer", "<Value>1</Value><Units/>"))), Outcome::Valid);
  EXPECT_NE(CheckText(inModule(component("Boolean", "<Value>1</Value><Units/>"))), Outcome::Valid);
}
