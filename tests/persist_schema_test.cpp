// SPDX-License-Identifier: MIT
// The store schema of the data directory and the reader's own check of the store tree must
// agree: every document is run through libxml2's schema validator and through the reader, and
// both must accept it or both refuse it. Documents come from the test data, the fuzz corpus and
// systematic mutations of valid stores.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "persist/store_reader.h"
#include "test_support.h"

namespace {

// Whether the text parses without network access and the schema accepts it.
bool SchemaAccepts(const std::string& text) {
  static const xmlSchemaPtr schema = [] {
    const std::string path = zavtest::DataDir() + "ZavConfigurationStore_1-6.xsd";
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    xmlSchemaPtr parsed = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    return parsed;
  }();
  xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "store.xml", nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!schema || !doc) return xmlFreeDoc(doc), false;
  xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
  xmlSchemaSetValidStructuredErrors(validator, [](void*, xmlErrorPtr) {}, nullptr);
  const bool valid = xmlSchemaValidateDoc(validator, doc) == 0;
  xmlSchemaFreeValidCtxt(validator);
  xmlFreeDoc(doc);
  return valid;
}

// Whether the reader takes the text as a store document. A model rule that refuses a value
// (a duplicate name, an empty one) is no verdict on the document's form.
bool ReaderAccepts(const std::string& text) {
  tZavConfigStore store(NewPlatformConfigFile());
  size_t at = 0;
  try {
    zav::persist::ReadConfigStore(&store, [&](char* buffer, size_t size) {
      // Small pieces, so that constructs are cut at chunk boundaries too.
      const size_t n = std::min<size_t>(std::min<size_t>(size, 97), text.size() - at);
      text.copy(buffer, n, at);
      at += n;
      return n;
    });
  } catch (const zav::persist::tDocumentFault&) {
    return false;
  } catch (const zav::tZavError&) {
  }
  return true;
}

std::string Rich(std::initializer_list<std::pair<std::string, std::string>> edits) {
  std::string text = zavtest::ReadFile(zavtest::TestDataFile("rich_store.xml"));
  for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(SchemaAgreement, DocumentsOfTheTestDataAndTheFuzzCorpus) {
  std::vector<std::filesystem::path> files;
  for (const char* dir : {"/tests/data", "/fuzz/corpus/store_document"})
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZAV_TEST_SOURCE_DIR) + dir))
      files.push_back(entry.path());
  files.push_back(std::string(ZAV_TEST_SOURCE_DIR) + "/data/example_store.xml");
  int accepted = 0;
  for (const auto& file : files) {
    const std::string text = zavtest::ReadFile(file.string());
    const bool schema = SchemaAccepts(text);
    // The reader refuses document type declarations, which the schema does not look at.
    if (file.filename().string().find("doctype") == std::string::npos)
      EXPECT_EQ(ReaderAccepts(text), schema) << file;
    else
      EXPECT_FALSE(ReaderAccepts(text)) << file;
    accepted += schema;
  }
  EXPECT_GE(accepted, 8);
}

TEST(SchemaAgreement, TrickyPartsOfTheTree) {
  const std::string className =
      "<AssemblyQualifiedClassName>Zav.SampleDmm.Driver, SampleDmm</AssemblyQualifiedClassName>";
  const std::string path64 = "<ModulePath64>/opt/zav/lib64/libsampledmm.so</ModulePath64>";
  const std::string refs = "<ZavHardwareAsset idref=\"p21\"/>\n      <ZavSoftwareModuleRef idref=\"p14\"/>";
  const std::string session = "<ZavSession id=\"p27\"", sessionEnd = "</SoftwareModuleName>\n    </ZavSession>";
  const std::string driverFields = "</SoftwareModuleName><Cache>1</Cache><DriverSetup/><InterchangeCheck>0"
      "</InterchangeCheck><QueryInstrStatus>0</QueryInstrStatus><RangeCheck>0</RangeCheck>"
      "<RecordCoercions>0</RecordCoercions><Simulate>0</Simulate></ZavSession>";
  const std::string xsi = " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"";
  const std::string apiRef = "<ZavPublishedAPI idref=\"p1\"/>";
  const std::pair<std::string, bool> cases[] = {
      {Rich({{path64, ""}}), true}, {Rich({{className, ""}, {path64, ""}}), true},
      {Rich({{className, ""}}), false}, {Rich({{className, ""}, {path64, path64 + className}}), false},
      {Rich({{"<ZavSoftwareModuleRef idref=\"p14\"/>", ""}}), true},
      {Rich({{refs, "<ZavSoftwareModuleRef idref=\"p14\"/><ZavHardwareAsset idref=\"p21\"/>"}}), false},
      {Rich({{session, session + " name=\"s\""}}), false},
      {Rich({{"idref=\"p21\"", "idref=\"p21\" id=\"p99\""}}), false},
      {Rich({{sessionEnd, driverFields}}), false},
      {Rich({{session, session + xsi + " xsi:type=\"DriverSessionType\""}, {sessionEnd, driverFields}}), false},
      {Rich({{session, session + xsi + " xsi:nil=\"true\""}}), false},
      {Rich({{session, session + xsi + " xsi:noNamespaceSchemaLocation=\"store.xsd\""}}), true},
      {Rich({{session, session + " xmlns:q=\"urn:q\" q:x=\"1\""}}), false},
      {Rich({{session, session + " xmlns=\"urn:q\""}}), false},
      {Rich({{session, session + " xmlns:q=\"urn:q\""}}), true},
      {Rich({{session, session + " xml:lang=\"en\""}}), false},
      {Rich({{apiRef, "<ZavPublishedAPI idref=\"p1\"> </ZavPublishedAPI>"}}), false},
      {Rich({{apiRef, "<ZavPublishedAPI idref=\"p1\"><!-- c --><?pi x?></ZavPublishedAPI>"}}), true},
      {Rich({{"<PublishedAPIs>", "<PublishedAPIs>&#32;&#xD;<!-- c -->"}}), true},
      {Rich({{"<PublishedAPIs>", "<PublishedAPIs><![CDATA[]]>"}}), false},
      {Rich({{"<PublishedAPIs>", "<PublishedAPIs>&#160;"}}), false},
      {Rich({{"<Name>", "<Name><![CDATA[a]]>&lt;"}}), true},
      {Rich({{"<Name>", "<Name><b/>"}, {"</Name>", "</b></Name>"}}), false},
      {Rich({{"<ZavConfigStore", "<Store"}, {"</ZavConfigStore>", "</Store>"}}), false},
      // Equals signs outside start tags are no attributes to the reader's attribute count.
      {Rich({{"<Name>", "<!--" + std::string(300, '=') + "--><?pi " + std::string(300, '=') + "?><Name><![CDATA[" +
                            std::string(300, '=') + "]]>"},
             {session, session + xsi + " xsi:noNamespaceSchemaLocation=\"" + std::string(300, '=') + ">\""}}),
       true}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(SchemaAccepts(cases[i].first), cases[i].second) << i;
    EXPECT_EQ(ReaderAccepts(cases[i].first), cases[i].second) << i;
  }
}

// The elements of a document in document order, found without recursion.
std::vector<xmlNodePtr> Elements(xmlDocPtr doc) {
  std::vector<xmlNodePtr> elements;
  for (xmlNodePtr node = xmlDocGetRootElement(doc); node;) {
    elements.push_back(node);
    if (xmlFirstElementChild(node)) {
      node = xmlFirstElementChild(node);
      continue;
    }
    while (node && !xmlNextElementSibling(node)) node = node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
    if (node) node = xmlNextElementSibling(node);
  }
  return elements;
}

// The kind of an element's content: its name and its parent's ("Name" of a session and of a
// range, "ZavPublishedAPI" in a module's list and in the store's, are different kinds).
std::string ContentKind(xmlNodePtr e) {
  const bool nested = e->parent && e->parent->type == XML_ELEMENT_NODE;
  return std::string(reinterpret_cast<const char*>(e->name)) + " in " +
         (nested ? reinterpret_cast<const char*>(e->parent->name) : "");
}

// Every element child of every element of a valid store dropped, duplicated, swapped with its
// next sibling and renamed; before and after each child, and into an element without any, a
// copy of each element that the same kind of parent holds somewhere in the store (a second
// reference where a choice allows one, an element out of its place); every element given an
// unknown attribute, an id, an idref, and text.
TEST(SchemaAgreement, SystematicMutationsOfValidStores) {
  int checked = 0, refused = 0;
  for (const char* name : {"rich_store.xml", "empty_store.xml"}) {
    const std::string original = zavtest::ReadFile(zavtest::TestDataFile(name));
    xmlDocPtr base = xmlReadMemory(original.data(), static_cast<int>(original.size()), "store.xml",
                                   nullptr, XML_PARSE_NONET);
    ASSERT_NE(base, nullptr);
    const std::vector<xmlNodePtr> elements = Elements(base);
    // By kind of parent, the index of one child of each name found under that kind.
    std::map<std::string, std::vector<size_t>> allowed;
    for (size_t i = 1; i < elements.size(); ++i) {
      std::vector<size_t>& children = allowed[ContentKind(elements[i]->parent)];
      if (std::none_of(children.begin(), children.end(),
                       [&](size_t c) { return xmlStrEqual(elements[c]->name, elements[i]->name); }))
        children.push_back(i);
    }
    // Applies `edit` to the element of index `at` in a fresh copy of the base document.
    auto check = [&](size_t at, const std::function<void(xmlNodePtr)>& edit) {
      xmlDocPtr doc = xmlCopyDoc(base, 1);
      edit(Elements(doc)[at]);
      xmlChar* text = nullptr;
      int size = 0;
      xmlDocDumpMemory(doc, &text, &size);
      const std::string document(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
      xmlFree(text);
      xmlFreeDoc(doc);
      const bool schema = SchemaAccepts(document);
      EXPECT_EQ(ReaderAccepts(document), schema) << "element " << at << " of " << name << ":\n" << document;
      ++checked;
      refused += !schema;
    };
    for (size_t at = 0; at < elements.size(); ++at) {
      check(at, [](xmlNodePtr e) { xmlSetProp(e, BAD_CAST "foo", BAD_CAST "1"); });
      check(at, [](xmlNodePtr e) { xmlSetProp(e, BAD_CAST "id", BAD_CAST "p1"); });
      check(at, [](xmlNodePtr e) { xmlSetProp(e, BAD_CAST "idref", BAD_CAST "p1"); });
      check(at, [](xmlNodePtr e) { xmlUnsetProp(e, BAD_CAST "id"), xmlUnsetProp(e, BAD_CAST "idref"); });
      check(at, [](xmlNodePtr e) { xmlAddChild(e, xmlNewText(BAD_CAST "x")); });
      check(at, [](xmlNodePtr e) { xmlAddChild(e, xmlNewText(BAD_CAST " \n")); });
      const unsigned long count = xmlChildElementCount(elements[at]);
      // Position p: before the first child for 0, else after child p - 1.
      for (unsigned long p = 0; p <= count; ++p)
        for (size_t exemplar : allowed[ContentKind(elements[at])])
          check(at, [&](xmlNodePtr e) {
            xmlNodePtr copy = xmlCopyNode(Elements(e->doc)[exemplar], 1);
            xmlNodePtr before = xmlFirstElementChild(e);
            for (unsigned long k = 1; k < p; ++k) before = xmlNextElementSibling(before);
            if (!before)
              xmlAddChild(e, copy);
            else if (p == 0)
              xmlAddPrevSibling(before, copy);
            else
              xmlAddNextSibling(before, copy);
          });
      if (count == 0) {
        check(at, [](xmlNodePtr e) { xmlAddChild(e, xmlNewNode(nullptr, BAD_CAST "Name")); });
        continue;
      }
      check(at, [](xmlNodePtr e) { xmlAddChild(e, xmlNewNode(nullptr, BAD_CAST "Bogus")); });
      for (unsigned long i = 0; i < count; ++i) {
        auto child = [i](xmlNodePtr e) {
          xmlNodePtr c = xmlFirstElementChild(e);
          for (unsigned long k = 0; k < i; ++k) c = xmlNextElementSibling(c);
          return c;
        };
        check(at, [&](xmlNodePtr e) {
          xmlNodePtr c = child(e);
          xmlUnlinkNode(c);
          xmlFreeNode(c);
        });
        check(at, [&](xmlNodePtr e) { xmlAddNextSibling(child(e), xmlCopyNode(child(e), 1)); });
        check(at, [&](xmlNodePtr e) { xmlNodeSetName(child(e), BAD_CAST "Bogus"); });
        if (i + 1 < count)
          check(at, [&](xmlNodePtr e) {
            xmlNodePtr c = child(e);
            xmlNodePtr next = xmlNextElementSibling(c);
            xmlUnlinkNode(c);
            xmlAddNextSibling(next, c);
          });
      }
    }
    xmlFreeDoc(base);
  }
  EXPECT_GT(checked, 2000);
  EXPECT_GT(refused, checked / 2);
}

}  // namespace
