// The store file component: the master store look-up, and reading and writing store files with
// every failure a caller can meet.
#include <climits>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "test_support.h"

namespace {

using zavtest::FileExists;
using zavtest::ReadFile;
using zavtest::WriteFile;

const char* const kMasterMissing =
    "The Windows registry key for the master configuration store does not exist or the file "
    "cannot be found.";

struct Failure {
  ViStatus code = 0;
  std::string message;
};

template <class Call>
Failure FailureOf(Call call) {
  try {
    call();
  } catch (const _zavconfig_error& e) {
    return {e.code(), std::string(e.what()).substr(_zavconfig_error::Prefix().size())};
  }
  return {0, "no failure"};
}

// Accepts any content under the root: documents the store schema would stop reach the reader.
const char* const kLaxSchema =
    "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"><xs:element name=\"ZavConfigStore\">"
    "<xs:complexType><xs:sequence><xs:any processContents=\"skip\" minOccurs=\"0\" "
    "maxOccurs=\"unbounded\"/></xs:sequence><xs:anyAttribute processContents=\"skip\"/>"
    "</xs:complexType></xs:element></xs:schema>";

const char* const kHead =
    "<ZavConfigStore><Name/><Description/><Vendor/><Revision/><SpecificationMajorVersion/>"
    "<SpecificationMinorVersion/><MasterLocation/><ProcessDefaultLocation/><ActualLocation/>";

class ConfigFileTest : public ::testing::Test {
 protected:
  ConfigFileTest() { WriteFile(master_, ""); }

  Failure Deserialize(const std::string& path) {
    store_ = std::make_unique<tZavConfigStore>();
    return FailureOf([&] { store_->Deserialize(path); });
  }
  Failure Serialize(tZavConfigStore& store, const std::string& path) {
    return FailureOf([&] { store.Serialize(path); });
  }
  long ItemCount() const {
    return store_->GetPublishedAPIs()->Count() + store_->GetSoftwareModules()->Count() +
           store_->GetHardwareAssets()->Count() + store_->GetSessions()->Count() +
           store_->GetLogicalNames()->Count();
  }

  zavtest::TempDir dir_;
  std::string master_ = dir_.File("master.xml");
  std::unique_ptr<zavtest::ScopedRegistry> registry_ =
      std::make_unique<zavtest::ScopedRegistry>(master_, zavtest::DataDir());
  std::unique_ptr<tZavConfigStore> store_;
};

TEST_F(ConfigFileTest, MasterStoreLocation) {
  tConfigFilePosix file;
  EXPECT_EQ(file.GetMasterStoreLocation(), master_);
  for (const std::string& value : {std::string(), dir_.File("missing.xml")}) {
    zavtest::ScopedRegistry registry(value, zavtest::DataDir());
    Failure failure = FailureOf([&] { file.GetMasterStoreLocation(); });
    EXPECT_EQ(failure.code, ZAVCONFIG_ERROR_MASTER_NOT_FOUND);
    EXPECT_EQ(failure.message, kMasterMissing);
  }
}

TEST_F(ConfigFileTest, DeserializeRefusalsBeforeParsing) {
  const std::string store = zavtest::TestDataFile("empty_store.xml");
  const std::string tooLong = "/" + std::string(PATH_MAX, 'x');
  const std::string missing = dir_.File("missing.xml");
  ASSERT_EQ(mkdir(dir_.File("corrupt").c_str(), 0777), 0);
  WriteFile(dir_.File("corrupt/ZavConfigurationStore_1-6.xsd"), "<xs:schema");
  struct Case {
    std::string dataDir, path, message;
  };
  const std::string data = zavtest::DataDir();
  const Case cases[] = {
      {data, tooLong, "Deserialize failed. " + tooLong + " is not a valid path."},
      {data, missing, "Deserialize failed. File " + missing + " is not readable."},
      {"", store, "Schema validation failed. Invalid ZAV Data Directory path in registry."},
      {data.substr(0, data.size() - 1), store,
       "Schema validation failed. Failed to read schema file " + data.substr(0, data.size() - 1) +
           "ZavConfigurationStore_1-6.xsd"},
      {dir_.File("corrupt/"), store, "Deserialize failed. Failed to add schema to schema collection."},
  };
  for (const Case& c : cases) {
    zavtest::ScopedRegistry registry(master_, c.dataDir);
    Failure failure = Deserialize(c.path);
    EXPECT_EQ(failure.code, ZAVCONFIG_ERROR_DESERIALIZE_FAILED);
    EXPECT_EQ(failure.message, c.message);
  }
}

TEST_F(ConfigFileTest, ParsingErrorsLeaveTheStoreEmpty) {
  // A store that the reader fills almost completely before validation fails at its end.
  std::string late = ReadFile(zavtest::TestDataFile("rich_store.xml"));
  late.replace(late.rfind("<Description/>"), 14, "<Unexpected/>");
  WriteFile(dir_.File("late.xml"), late);
  struct Case {
    std::string file;
    int code;  // libxml2's error number
  };
  const Case cases[] = {
      {zavtest::TestDataFile("invalid_malformed.xml"), 1828},
      {zavtest::TestDataFile("invalid_order.xml"), 1871},
      {zavtest::TestDataFile("invalid_unknown_element.xml"), 1871},
      {zavtest::TestDataFile("invalid_missing_child.xml"), 1871},
      {zavtest::TestDataFile("invalid_doctype_external_entity.xml"), 111},
      {zavtest::TestDataFile("invalid_deep_nesting.xml"), 1},
      {zavtest::TestDataFile("invalid_non_utf8.xml"), 9},
      {dir_.File("late.xml"), 1871},
  };
  for (const Case& c : cases) {
    Failure failure = Deserialize(c.file);
    EXPECT_EQ(failure.code, ZAVCONFIG_ERROR_DESERIALIZE_FAILED) << c.file;
    const std::string prefix =
        "Deserialize failed. Parsing error number: " + std::to_string(c.code) + ", Description: ";
    EXPECT_EQ(failure.message.substr(0, prefix.size()), prefix) << failure.message;
    EXPECT_NE(failure.message.find("(line "), std::string::npos) << failure.message;
    EXPECT_EQ(ItemCount(), 0) << c.file;
  }
  EXPECT_NE(Deserialize(zavtest::TestDataFile("invalid_doctype_external_entity.xml"))
                .message.find("Document type declarations are not allowed (line 1)"),
            std::string::npos);
  EXPECT_EQ(Deserialize(zavtest::TestDataFile("valid_bom.xml")).code, 0);
}

TEST_F(ConfigFileTest, DoctypeIsFoundInTheProlog) {
  using zav::persist::FindDoctypeLine;
  EXPECT_EQ(FindDoctypeLine("<!DOCTYPE a><a/>"), 1);
  EXPECT_EQ(FindDoctypeLine("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c\n -->\n<?pi x?>\n<!DOCTYPE a>"), 5);
  EXPECT_EQ(FindDoctypeLine(std::string("<\0!\0D\0O\0C\0T\0Y\0P\0E\0", 18)), 1);
  EXPECT_EQ(FindDoctypeLine("<!-- <!DOCTYPE a> --><a/>"), 0);
  EXPECT_EQ(FindDoctypeLine("<a><!DOCTYPE a></a>"), 0);
  EXPECT_EQ(FindDoctypeLine(""), 0);
}

TEST_F(ConfigFileTest, ReaderFailuresBehindALaxSchema) {
  WriteFile(dir_.File("ZavConfigurationStore_1-6.xsd"), kLaxSchema);
  zavtest::ScopedRegistry registry(master_, dir_.path() + "/");
  const std::string lists = "<PublishedAPIs/><SoftwareModules/><HardwareAssets>";
  struct Case {
    std::string body, message;
  };
  const Case cases[] = {
      {lists + "<ZavHardwareAsset id=\"a\"><Name>A</Name><Description/><DataComponents>"
               "<ZavColour id=\"c\"/></DataComponents></ZavHardwareAsset></HardwareAssets>",
       "Deserialize failed. Unknown ZavDataComponent type ZavColour in configuration store."},
      {lists + "<ZavHardwareAsset><Name>A</Name><Description/><DataComponents/>"
               "<IOResourceDescriptor/></ZavHardwareAsset></HardwareAssets>",
       "Deserialize failed. Element ZavHardwareAsset (line 1) has no id attribute."},
      {lists + "<ZavHardwareAsset id=\"a\"><Name>A</Name></ZavHardwareAsset></HardwareAssets>",
       "Deserialize failed. Expected element Description as child 2 of element ZavHardwareAsset "
       "(line 1), found the end of ZavHardwareAsset."},
      {lists + "<ZavHardwareAsset id=\"a\"><Name><b/></Name></ZavHardwareAsset></HardwareAssets>",
       "Deserialize failed. Expected text in element Name (line 1), found element b (line 1)."},
  };
  for (const Case& c : cases) {
    WriteFile(dir_.File("lax.xml"), kHead + c.body + "</ZavConfigStore>");
    EXPECT_EQ(Deserialize(dir_.File("lax.xml")).message, c.message);
  }
}

TEST_F(ConfigFileTest, RelativePathsUseTheCurrentDirectory) {
  char* saved = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  char* cwd = getcwd(nullptr, 0);
  const std::string here = cwd;
  free(cwd);
  Failure missing = Deserialize("store.xml");
  tZavConfigStore store;
  Failure saved1 = Serialize(store, "sub/../store.xml");
  Failure loaded = Deserialize("store.xml");
  ASSERT_EQ(chdir(saved), 0);
  free(saved);
  EXPECT_EQ(missing.message, "Deserialize failed. File " + here + "/store.xml is not readable.");
  EXPECT_EQ(saved1.code, 0) << saved1.message;
  EXPECT_EQ(loaded.code, 0) << loaded.message;
  EXPECT_EQ(store_->GetActualLocation(), "store.xml");
}

TEST_F(ConfigFileTest, SerializeCreatesOneMissingDirectoryAtMost) {
  tZavConfigStore store;
  EXPECT_EQ(Serialize(store, dir_.File("new/store.xml")).code, 0);
  EXPECT_TRUE(FileExists(dir_.File("new/store.xml")));

  Failure deep = Serialize(store, dir_.File("a/b/store.xml"));
  EXPECT_EQ(deep.code, ZAVCONFIG_ERROR_SERIALIZE_FAILED);
  EXPECT_EQ(deep.message,
            "Serialize failed. Invalid path. Failed to create parent directory " + dir_.File("a/b/"));
  const std::string tooLong = "/" + std::string(PATH_MAX, 'x');
  EXPECT_EQ(Serialize(store, tooLong).message, "Serialize failed. " + tooLong + " is not a valid path.");
  Failure onDirectory = Serialize(store, dir_.File("new"));
  EXPECT_EQ(onDirectory.message.rfind("Serialize failed. Failed to write file " + dir_.File("new"), 0),
            0u) << onDirectory.message;
}

TEST_F(ConfigFileTest, FailedSerializeTouchesNothing) {
  const std::string existing = dir_.File("store.xml");
  WriteFile(existing, "old");
  for (const char* bad : {"\xFF", "\x01"}) {
    tZavConfigStore store;
    store.SetDescription(bad);
    EXPECT_EQ(Serialize(store, existing).code, ZAVCONFIG_ERROR_SERIALIZE_FAILED);
    EXPECT_EQ(Serialize(store, dir_.File("fresh/store.xml")).code, ZAVCONFIG_ERROR_SERIALIZE_FAILED);
  }
  EXPECT_EQ(ReadFile(existing), "old");

  registry_.reset();  // first, so that it restores the environment before the next one sets it
  registry_ = std::make_unique<zavtest::ScopedRegistry>(dir_.File("gone.xml"), zavtest::DataDir());
  tZavConfigStore store;
  Failure master = Serialize(store, dir_.File("fresh/store.xml"));
  EXPECT_EQ(master.code, ZAVCONFIG_ERROR_MASTER_NOT_FOUND);
  EXPECT_EQ(master.message, kMasterMissing);
  EXPECT_FALSE(FileExists(dir_.File("fresh")));
}

}  // namespace
