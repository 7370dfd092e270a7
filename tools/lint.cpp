// SPDX-License-Identifier: MIT
#include "lint.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <map>
#include <memory>
#include <regex>

namespace zavtool {

namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

std::string Name(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

bool Is(const xmlNode* node, const char* name) {
  return node && node->type == XML_ELEMENT_NODE && Name(node) == name;
}

std::string Attribute(const xmlNode* node, const char* name, bool* present = nullptr) {
  xmlChar* value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
  if (present) *present = value != nullptr;
  if (!value) return std::string();
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

int Line(const xmlNode* node) { return static_cast<int>(xmlGetLineNo(node)); }

std::vector<const xmlNode*> Children(const xmlNode* node) {
  std::vector<const xmlNode*> children;
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) children.push_back(c);
  return children;
}

// The first child element with one of the names, or null.
const xmlNode* Child(const xmlNode* node, std::initializer_list<const char*> names) {
  for (const xmlNode* c : Children(node))
    for (const char* name : names)
      if (Is(c, name)) return c;
  return nullptr;
}

std::string Content(const xmlNode* node) {
  if (!node) return std::string();
  xmlChar* text = xmlNodeGetContent(node);
  std::string content = text ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return content;
}

// The text of an item's Name child.
std::string ItemName(const xmlNode* item) { return Content(Child(item, {"Name"})); }

class Linter {
 public:
  std::vector<Finding> Run(const xmlNode* root) {
    CollectIds(root);
    CheckReferences(root);
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings_;
  }

 private:
  // What a reference element leads to: an error text when it leads to no item of the kind
  // expected, "" when it is fine.
  std::string Follow(const xmlNode* ref, const std::vector<std::string>& kinds) const {
    std::string id = Attribute(ref, "idref");
    if (id.empty()) return "its reference is empty";
    auto item = ids_.find(id);
    if (item == ids_.end()) return "idref \"" + id + "\" names no item";
    if (std::find(kinds.begin(), kinds.end(), Name(item->second)) == kinds.end())
      return "idref \"" + id + "\" names a " + Name(item->second) + " (line " +
             std::to_string(Line(item->second)) + "), which the library reads as no reference";
    return std::string();
  }

  void CollectIds(const xmlNode* node) {
    for (const xmlNode* c : Children(node)) {
      bool present = false;
      std::string id = Attribute(c, "id", &present);
      if (present) {
        auto [it, added] = ids_.emplace(id, c);
        if (!added)
          findings_.push_back({Line(c), "duplicate id \"" + id + "\" (also at line " +
                                            std::to_string(Line(it->second)) +
                                            "): a reference can reach only one of them"});
      }
      CollectIds(c);
    }
  }

  void CheckReferences(const xmlNode* node) {
    for (const xmlNode* c : Children(node)) {
      bool isItem = Attribute(c, "idref").empty() && !Children(c).empty();
      if (Is(c, "ZavLogicalName") && isItem) {
        CheckLogicalName(c);
      } else if (Is(c, "ZavHardwareAsset") && isItem) {
        CheckAsset(c);
      } else if ((Is(c, "ZavDriverSession") || Is(c, "ZavSession")) && isItem) {
        CheckSession(c);
      } else if (Is(c, "ZavPublishedAPI") && !Children(c).size()) {
        // A module's list entry, or an API reference component's target (empty there means
        // a null reference, which the library allows).
        bool inModule = node && Is(node, "PublishedAPIs") && node->parent &&
                        Is(node->parent, "ZavSoftwareModule");
        std::string problem = Follow(c, {"ZavPublishedAPI"});
        if (!problem.empty() && (inModule || !Attribute(c, "idref").empty()))
          findings_.push_back({Line(c), "published API reference: " + problem});
      }
      CheckReferences(c);
    }
  }

  void CheckLogicalName(const xmlNode* item) {
    const xmlNode* session = Child(item, {"ZavSession", "ZavDriverSession"});
    std::string problem =
        session ? Follow(session, {"ZavSession", "ZavDriverSession"}) : "it references no session";
    if (!problem.empty())
      findings_.push_back(
          {Line(item), "logical name \"" + ItemName(item) + "\" leads nowhere: " + problem});
  }

  void CheckAsset(const xmlNode* item) {
    const xmlNode* resource = Child(item, {"IOResourceDescriptor"});
    std::string problem = VisaResourceProblem(Content(resource));
    if (!problem.empty())
      findings_.push_back({Line(resource ? resource : item),
                           "hardware asset \"" + ItemName(item) + "\": " + problem});
  }

  void CheckSession(const xmlNode* item) {
    const xmlNode* asset = Child(item, {"ZavHardwareAsset"});
    const xmlNode* module = Child(item, {"ZavSoftwareModuleRef"});
    std::string kind = Is(item, "ZavDriverSession") ? "driver session" : "session";
    std::string label = kind + " \"" + ItemName(item) + "\"";
    if (asset && !Attribute(asset, "idref").empty()) {
      std::string problem = Follow(asset, {"ZavHardwareAsset"});
      if (!problem.empty())
        findings_.push_back({Line(asset), label + " hardware asset: " + problem});
    }
    std::string problem = module ? Follow(module, {"ZavSoftwareModule"}) : "it names none";
    // A plain session may well go without a module; a driver session cannot load a driver.
    if (!problem.empty() &&
        (Is(item, "ZavDriverSession") || (module && !Attribute(module, "idref").empty())))
      findings_.push_back(
          {Line(module ? module : item), label + " has no software module: " + problem});
  }

  std::map<std::string, const xmlNode*> ids_;
  std::vector<Finding> findings_;
};

}  // namespace

std::string VisaResourceProblem(const std::string& resource) {
  if (resource.empty()) return "the I/O resource descriptor is empty: no instrument can be reached";
  // board numbers are optional everywhere; addresses are decimal, USB ids decimal or hex.
  static const std::regex kForms(
      "GPIB\\d*::\\d+(::\\d+)?(::INSTR)?|GPIB\\d*::(INTFC|SERVANT)"
      "|GPIB-VXI\\d*::\\d+(::INSTR)?|GPIB-VXI\\d*::MEMACC|GPIB-VXI\\d*(::\\d+)?::BACKPLANE"
      "|TCPIP\\d*::([^:\\s\\[\\]]+|\\[[0-9a-f:.]+\\])(::[^:\\s]+)?(::INSTR)?"
      "|TCPIP\\d*::([^:\\s\\[\\]]+|\\[[0-9a-f:.]+\\])::\\d+::SOCKET"
      "|USB\\d*::(0x[0-9a-f]{1,4}|\\d+)::(0x[0-9a-f]{1,4}|\\d+)::[^:\\s]+(::\\d+)?(::(INSTR|RAW))?"
      "|ASRL(\\d+|/[^:\\s]+)(::INSTR)?"
      "|PXI\\d*::\\d+(-\\d+)?(\\.\\d+)?(::INSTR)?|PXI\\d*::\\d+::\\d+(::\\d+)?(::INSTR)?"
      "|PXI\\d*::CHASSIS\\d+::SLOT\\d+(::FUNC\\d+)?(::INSTR)?|PXI\\d*::MEMACC"
      "|PXI\\d*(::\\d+)?::BACKPLANE"
      "|VXI\\d*::\\d+(::INSTR)?|VXI\\d*::(MEMACC|SERVANT)|VXI\\d*(::\\d+)?::BACKPLANE",
      std::regex::icase | std::regex::optimize);
  if (std::regex_match(resource, kForms)) return std::string();
  return "'" + resource +
         "' is not a VISA resource string (such as GPIB0::22::INSTR, TCPIP0::10.0.4.21::INSTR, "
         "USB0::0x0957::0x1796::MY123::INSTR, ASRL1::INSTR, PXI0::3-4::INSTR, VXI0::8::INSTR)";
}

std::vector<Finding> LintStoreDocument(const std::string& path) {
  Document document(
      xmlReadFile(path.c_str(), nullptr,
                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS),
      xmlFreeDoc);
  if (!document) return {{0, "libxml2 cannot parse the document"}};
  Linter linter;
  return linter.Run(xmlDocGetRootElement(document.get()));
}

}  // namespace zavtool
