// SPDX-License-Identifier: MIT
// The store file component: the master store look-up, and reading and writing store files with
// every failure a caller can meet.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "model/config_store.h"
#include "model_fixtures.h"
#include "persist/config_file_posix.h"
#include "persist/store_schema.h"
#include "test_support.h"

namespace {

using zavtest::FailureOf;
using zavtest::TestDataFile;
using zavtest::WriteFile;

const std::string kMasterMissing = std::to_string(ZAVCONFIG_ERROR_MASTER_NOT_FOUND) +
                                   " The Windows registry key for the master configuration store "
                                   "does not exist or the file cannot be found.";
const std::string kDeserialize = std::to_string(ZAVCONFIG_ERROR_DESERIALIZE_FAILED) + " ";
const std::string kSerialize = std::to_string(ZAVCONFIG_ERROR_SERIALIZE_FAILED) + " Serialize failed. ";

// A pattern ending in '*' matches every failure that starts with the rest of it.
bool Matches(const std::string& failure, const std::string& pattern) {
  if (pattern.back() != '*') return failure == pattern;
  return failure.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
}

// Every test runs in a temporary directory of its own, against which relative paths resolve.
class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest() { std::filesystem::current_path(dir_.path()); }
  ~ConfigFileTest() override { std::filesystem::current_path(cwd_); }

  std::string Deserialize(const std::string& path) {
    store_ = std::make_unique<tZavConfigStore>(NewPlatformConfigFile());
    return FailureOf([&] { store_->Deserialize(path); });
  }
  static std::string Serialize(const std::string& description, const std::string& path) {
    tZavConfigStore store(NewPlatformConfigFile());
    store.SetDescription(description);
    return FailureOf([&] { store.Serialize(path); });
  }

  const std::filesystem::path cwd_ = std::filesystem::current_path();
  zavtest::TempDir dir_;
  const std::string here_ = std::filesystem::canonical(dir_.path()).string();
  const std::string master_ = dir_.path(), tooLong_ = "/" + std::string(PATH_MAX, 'x');
  zavtest::ScopedRegistry registry_{master_, zavtest::DataDir()};
  std::unique_ptr<tZavConfigStore> store_;
};

TEST_F(ConfigFileTest, MissingMasterStoreFailsBeforeAnyFileSystemChange) {
  tConfigFilePosix file;
  EXPECT_EQ(file.GetMasterStoreLocation(), master_);
  for (const std::string& value : {std::string(), dir_.File("gone.xml")}) {
    zavtest::ScopedRegistry registry(value, zavtest::DataDir());
    EXPECT_EQ(FailureOf([&] { file.GetMasterStoreLocation(); }), kMasterMissing);
    EXPECT_EQ(Serialize("", "fresh/store.xml"), kMasterMissing);
  }
  EXPECT_FALSE(zavtest::FileExists(dir_.File("fresh")));
}

TEST_F(ConfigFileTest, DeserializeFailures) {
  const std::string data = zavtest::DataDir();
  const std::string rich = zavtest::ReadFile(TestDataFile("rich_store.xml"));
  auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = rich;
    return text.replace(text.find(from), from.size(), to);
  };
  WriteFile("late.xml", edited("<Description>No session yet</Description>", "<Unexpected/>"));
  WriteFile("colour.xml", edited("<DataComponents>", "<DataComponents><ZavColour/>"));
  WriteFile("noid.xml", edited("<ZavHardwareAsset id=\"p21\">", "<ZavHardwareAsset>"));
  // libxml2 numbers an attribute that is not allowed by the element's type: text or not.
  WriteFile("textattr.xml", edited("<Description>No session yet</Description>",
                                   "<Description x=\"1\">No session yet</Description>"));
  WriteFile("itemattr.xml", edited("<ZavHardwareAsset id=\"p21\">", "<ZavHardwareAsset id=\"p21\" x=\"1\">"));
  const std::string store = TestDataFile("empty_store.xml"), failed = kDeserialize + "Deserialize failed. ";
  const std::string parsing = failed + "Parsing error number: ";
  const std::string schema = kDeserialize + "Schema validation failed. ";
  const std::tuple<std::string, std::string, long, std::string> cases[] = {
      {data, tooLong_, 0, failed + tooLong_ + " is not a valid path."},
      {data, "missing.xml", 0, failed + "File " + here_ + "/missing.xml is not readable."},
      {"", store, 0, schema + "Invalid ZAV Data Directory path in registry."},
      {here_, store, 0, schema + "Failed to read schema file " + here_ + "ZavConfigurationStore_1-6.xsd"},
      {data, "late.xml", 0, parsing + "1871, Description: *"},
      {data, TestDataFile("invalid_order.xml"), 0, parsing + "1871, Description: *"},
      {data, TestDataFile("invalid_doctype_external_entity.xml"), 0,
       parsing + "111, Description: Document type declarations are not allowed (line 1)"},
      {data, "colour.xml", 0,
       parsing + "1871, Description: Element 'ZavColour': This element is not expected. Expected is one of "
                 "( ZavAPIReference, ZavBoolean, ZavInteger, ZavReal, ZavString, ZavStructure ). (line 29)"},
      {data, "textattr.xml", 0,
       parsing + "1827, Description: Element 'Description', attribute 'x': The attribute 'x' is not allowed. *"},
      {data, "itemattr.xml", 0,
       parsing + "1866, Description: Element 'ZavHardwareAsset', attribute 'x': The attribute 'x' is not allowed. *"},
      {data, "noid.xml", 0,
       parsing + "1868, Description: Element 'ZavHardwareAsset': The attribute 'id' is required but missing. (line 205)"}};
  for (const auto& [dataDir, path, modules, failure] : cases) {
    zavtest::ScopedRegistry registry(master_, dataDir);
    EXPECT_PRED2(Matches, Deserialize(path), failure);
    EXPECT_EQ(store_->GetSoftwareModules()->Count() + store_->GetLogicalNames()->Count(), modules) << path;
    // Nothing of a refused document remains, the Description read before the fault included.
    EXPECT_EQ(store_->GetDescription(), tZavConfigStore(NewPlatformConfigFile()).GetDescription()) << path;
  }
}

// Only a regular file of bounded size is read, and hostile documents are refused before they
// can cost more than a pass over their bytes.
TEST_F(ConfigFileTest, HostileInputsAreRefused) {
  const std::string failed = kDeserialize + "Deserialize failed. ";
  ASSERT_EQ(mkfifo("fifo", 0600), 0);
  std::filesystem::create_directories("folder");
  {
    // A sparse file just over the limit takes no room on the disk.
    std::FILE* big = std::fopen("big.xml", "wb");
    ASSERT_TRUE(big);
    ASSERT_EQ(ftruncate(fileno(big), static_cast<off_t>(zav::persist::kMaxStoreFileSize + 1)), 0);
    std::fclose(big);
  }
  const std::string rich = zavtest::ReadFile(TestDataFile("rich_store.xml"));
  const size_t description = rich.find("<Description>");
  auto inserted = [&](const std::string& text) {
    std::string doc = rich;
    return doc.insert(description, text);
  };
  std::string attributes = "<Name";
  for (int i = 0; i < 200000; ++i) attributes += " a" + std::to_string(i) + "=\"\"";
  WriteFile("attributes.xml", inserted(attributes + "/>"));
  // Physical names nest as deep as a caller likes; the document may not.
  std::string deep = "<PhysicalNames>";
  for (int i = 0; i < 100000; ++i)
    deep += "<ZavPhysicalName id=\"d\"><Name>n</Name><RCName>r</RCName><PhysicalNames>";
  WriteFile("deep.xml", std::string(rich).replace(rich.find("<PhysicalNames>"), 15, deep));
  WriteFile("name.xml", inserted("<" + std::string(1 << 20, 'N') + "/>"));
  auto declarations = [](int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i) text += " xmlns:n" + std::to_string(i) + "=\"urn:n" + std::to_string(i) + "\"";
    return text;
  };
  WriteFile("namespaces.xml", std::string(rich)
                                  .replace(description, 12, "<Description" + declarations(40, 80))
                                  .replace(rich.find('>'), 0, declarations(0, 40)));
  const std::string parsing = failed + "Parsing error number: ";
  const std::pair<std::string, std::string> cases[] = {
      {"fifo", failed + "File " + here_ + "/fifo is not a regular file."},
      {"/dev/zero", failed + "File /dev/zero is not a regular file."},
      {"folder", failed + "File " + here_ + "/folder is not a regular file."},
      {"big.xml", failed + "File " + here_ + "/big.xml is larger than 1073741824 bytes, the most a store file may have."},
      {"attributes.xml", parsing + "111, Description: A start tag carries more than 64 attributes (line 3)"},
      {"deep.xml", parsing + "1, Description: Excessive depth in document: 256 use XML_PARSE_HUGE option (line 163)"},
      {"name.xml", parsing + "110, Description: Name too long: NCName (line 3)"},
      {"namespaces.xml", parsing + "111, Description: More than 64 namespace declarations are in scope (line 3)"}};
  for (const auto& [path, failure] : cases) EXPECT_PRED2(Matches, Deserialize(path), failure);
}

TEST_F(ConfigFileTest, SerializeFailuresLeaveFilesAsTheyWere) {
  WriteFile("old.xml", "old");
  std::filesystem::create_directories("occupied");
  const std::string owner = kSerialize + "The Description of the configuration store";
  const std::string utf8 = owner + " is not valid UTF-8.";
  const std::string xml = owner + " holds a character that XML 1.0 cannot carry.";
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", tooLong_, kSerialize + tooLong_ + " is not a valid path."},
      {"", "a/b/store.xml", kSerialize + "Invalid path. Failed to create parent directory " + here_ + "/a/b/"},
      {"", "occupied", kSerialize + "Failed to write file " + here_ + "/occupied: *"},
      {"bad \xFF", "old.xml", utf8}, {"\xC0\xAF", "fresh/store.xml", utf8}, {"\xED\xA0\x80", "old.xml", utf8},
      {"\xF4\x90\x80\x80", "old.xml", utf8}, {"\xE2\x82", "old.xml", utf8}, {"a\x01", "old.xml", xml},
      {std::string("nul \0", 5), "fresh/store.xml", xml}, {"\xEF\xBF\xBE", "old.xml", xml}};
  for (const auto& [description, path, failure] : cases)
    EXPECT_PRED2(Matches, Serialize(description, path), failure);
  EXPECT_EQ(zavtest::ReadFile("old.xml"), "old");
  EXPECT_FALSE(zavtest::FileExists("fresh") || zavtest::FileExists("a"));
}

// The schema file of the data directory: the shipped one costs a comparison, any other is
// compiled once per version of the file and validates every document read with it.
class SchemaFileTest : public ConfigFileTest {
 protected:
  // Makes `text` the schema of the data directory.
  void UseSchema(const std::string& text) { WriteFile(schemaPath_, text); }
  // Reads the rich store; "" or the failure. Counts the schema compilations it took.
  std::string ReadRich() {
    const unsigned long before = zav::persist::SchemaCompilations();
    const std::string failure = Deserialize(rich_);
    compiled_ = zav::persist::SchemaCompilations() - before;
    return failure;
  }
  long Items() const {
    return store_->GetSoftwareModules()->Count() + store_->GetSessions()->Count() + store_->GetLogicalNames()->Count();
  }
  // The shipped schema with `from` replaced by `to`.
  std::string Edited(const std::string& from, const std::string& to) const {
    std::string text = shipped_;
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  }

  const std::string shipped_ = zavtest::ReadFile(zavtest::DataDir() + "ZavConfigurationStore_1-6.xsd");
  const std::string rich_ = TestDataFile("rich_store.xml");
  const std::string schemaPath_ = (std::filesystem::create_directory(here_ + "/data"), here_ + "/data/ZavConfigurationStore_1-6.xsd");
  zavtest::ScopedRegistry schemaRegistry_{master_, here_ + "/data/"};
  unsigned long compiled_ = 0;
  const std::string parsing_ = kDeserialize + "Deserialize failed. Parsing error number: ";
};

TEST_F(SchemaFileTest, TheShippedSchemaIsRecognisedAndAnyOtherCompiledOncePerVersion) {
  UseSchema(shipped_);
  EXPECT_EQ(ReadRich(), "");
  EXPECT_EQ(compiled_, 0u);
  EXPECT_EQ(Items(), 6);
  // A harmless change: compiled, it takes the same store, and the next read compiles nothing.
  const std::string commented = shipped_ + "<!-- a local copy -->\n";
  UseSchema(commented);
  for (unsigned long compilations : {1u, 0u}) {
    EXPECT_EQ(ReadRich(), "");
    EXPECT_EQ(compiled_, compilations);
    EXPECT_EQ(Items(), 6);
  }
  // The file changes: the new version is compiled.
  UseSchema(commented + "<!-- edited -->\n");
  EXPECT_EQ(ReadRich(), "");
  EXPECT_EQ(compiled_, 1u);
}

TEST_F(SchemaFileTest, FilesThatAreNoSchemaAreRefusedQuietlyAndWithoutNetwork) {
  // A schema that includes one from the network: the listener must never be called.
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 4), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  const std::string remote = Edited("<xs:element name=\"ZavConfigStore\"",
                                    "<xs:include schemaLocation=\"http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) +
                                        "/more.xsd\"/><xs:element name=\"ZavConfigStore\"");
  const std::string refused = kDeserialize + "Deserialize failed. Failed to add schema to schema collection.";
  for (const std::string& text : {std::string("Not a schema at all.\n"), std::string(), zavtest::ReadFile(rich_), remote}) {
    UseSchema(text);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReadRich(), refused) << text;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Items(), 0);
  }
  EXPECT_LT(accept(listener, nullptr, nullptr), 0);
  close(listener);
  // Something that is no file at all.
  std::filesystem::remove(schemaPath_);
  std::filesystem::create_directory(schemaPath_);
  EXPECT_EQ(ReadRich(), refused);
}

TEST_F(SchemaFileTest, AStricterSchemaRefusesWhatTheBuiltInRulesAccept) {
  const std::string vendor = "<xs:element name=\"Vendor\" type=\"xs:string\"/>";
  const std::pair<std::string, std::string> cases[] = {
      {Edited("<xs:element name=\"ZavSession\" type=\"RefType\"/>", ""),
       "1871, Description: Element 'ZavSession': This element is not expected. Expected is ( ZavDriverSession ). (line 291)"},
      {Edited(vendor, "<xs:element name=\"Vendor\"><xs:simpleType><xs:restriction base=\"xs:string\">"
                      "<xs:enumeration value=\"Nobody\"/></xs:restriction></xs:simpleType></xs:element>"),
       "1840, Description: Element 'Vendor': [facet 'enumeration'] The value 'Zav Instruments' is not an element of "
       "the set {'Nobody'}. (line 4)"}};
  for (const auto& [schema, failure] : cases) {
    UseSchema(schema);
    EXPECT_EQ(ReadRich(), parsing_ + failure);
    EXPECT_EQ(Items(), 0);
    EXPECT_EQ(store_->GetDescription(), tZavConfigStore(NewPlatformConfigFile()).GetDescription());
  }
  // The parser's own faults still arrive as such while a compiled schema listens.
  WriteFile("torn.xml", "<ZavConfigStore><Name>x</Nme></ZavConfigStore>");
  EXPECT_EQ(Deserialize("torn.xml"),
            parsing_ + "76, Description: Opening and ending tag mismatch: Name line 1 and Nme (line 1)");
}

TEST_F(ConfigFileTest, RelativePathsAndOneMissingDirectory) {
  EXPECT_EQ(Serialize("tab\there \xC3\xA9", "new/../new/store.xml"), "");
  EXPECT_EQ(Deserialize("new/store.xml"), "");
  EXPECT_EQ(store_->GetActualLocation(), "new/store.xml");
  EXPECT_EQ(Deserialize(TestDataFile("valid_bom.xml")), "");
}

}  // namespace
