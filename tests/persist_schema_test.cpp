// The store schema of the data directory, applied by libxml2 as the file component applies it:
// which documents it lets through to the reader and which it stops.
#include <initializer_list>
#include <string>
#include <utility>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include "test_support.h"

namespace {

// Whether the text parses without network access and the schema accepts it.
bool Valid(const std::string& text) {
  static const xmlSchemaPtr schema = [] {
    const std::string path = zavtest::DataDir() + "ZavConfigurationStore_1-6.xsd";
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    xmlSchemaPtr parsed = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    return parsed;
  }();
  xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "store.xml", nullptr,
                                XML_PARSE_NONET);
  if (!schema || !doc) return xmlFreeDoc(doc), false;
  xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
  const bool valid = xmlSchemaValidateDoc(validator, doc) == 0;
  xmlSchemaFreeValidCtxt(validator);
  xmlFreeDoc(doc);
  return valid;
}

// The rich store of the test data with the first occurrence of each `from` replaced by its `to`.
std::string Rich(std::initializer_list<std::pair<std::string, std::string>> edits) {
  std::string text = zavtest::ReadFile(zavtest::TestDataFile("rich_store.xml"));
  for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(Schema, DocumentsOfTheTestData) {
  const std::pair<const char*, bool> files[] = {
      {"rich_store.xml", true}, {"empty_store.xml", true}, {"valid_bom.xml", true},
      {"reader_bad_characters.xml", true}, {"reader_duplicate_names.xml", true},
      {"reader_empty_mapto_with_ranges.xml", true}, {"reader_empty_name.xml", true},
      {"reader_unknown_idref.xml", true}, {"reader_unresolved_api_reference.xml", true},
      {"invalid_order.xml", false},
      {"invalid_unknown_element.xml", false}, {"invalid_missing_child.xml", false},
      {"invalid_doctype_external_entity.xml", false}, {"invalid_malformed.xml", false}};
  for (const auto& [name, valid] : files)
    EXPECT_EQ(Valid(zavtest::ReadFile(zavtest::TestDataFile(name))), valid) << name;
}

TEST(Schema, TrickyPartsOfTheTree) {
  const std::string className =
      "<AssemblyQualifiedClassName>Zav.SampleDmm.Driver, SampleDmm</AssemblyQualifiedClassName>";
  const std::string path64 = "<ModulePath64>/opt/zav/lib64/libsampledmm.so</ModulePath64>";
  const std::string refs = "<ZavHardwareAsset idref=\"p21\"/>\n      <ZavSoftwareModuleRef idref=\"p14\"/>";
  const std::string session = "<ZavSession id=\"p27\"", sessionEnd = "</SoftwareModuleName>\n    </ZavSession>";
  const std::string driverFields = "</SoftwareModuleName><Cache>1</Cache><DriverSetup/><InterchangeCheck>0"
      "</InterchangeCheck><QueryInstrStatus>0</QueryInstrStatus><RangeCheck>0</RangeCheck>"
      "<RecordCoercions>0</RecordCoercions><Simulate>0</Simulate></ZavSession>";
  const std::string xsiType = session + " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                                        " xsi:type=\"DriverSessionType\"";
  const std::pair<std::string, bool> cases[] = {
      {Rich({{path64, ""}}), true}, {Rich({{className, ""}, {path64, ""}}), true},
      {Rich({{className, ""}}), false}, {Rich({{className, ""}, {path64, path64 + className}}), false},
      {Rich({{"<ZavSoftwareModuleRef idref=\"p14\"/>", ""}}), true},
      {Rich({{refs, "<ZavSoftwareModuleRef idref=\"p14\"/><ZavHardwareAsset idref=\"p21\"/>"}}), false},
      {Rich({{session, session + " name=\"s\""}}), false},
      {Rich({{"idref=\"p21\"", "idref=\"p21\" id=\"p99\""}}), false},
      {Rich({{sessionEnd, driverFields}}), false}, {Rich({{session, xsiType}, {sessionEnd, driverFields}}), false}};
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Valid(cases[i].first), cases[i].second) << i;
}

}  // namespace
