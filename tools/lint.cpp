// SPDX-License-Identifier: MIT
#include "lint.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <map>
#include <memory>

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

// The text of an item's Name child.
std::string ItemName(const xmlNode* item) {
  for (const xmlNode* c : Children(item)) {
    if (!Is(c, "Name")) continue;
    xmlChar* text = xmlNodeGetContent(c);
    std::string name = text ? reinterpret_cast<const char*>(text) : "";
    xmlFree(text);
    return name;
  }
  return std::string();
}

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
    std::vector<const xmlNode*> children = Children(item);
    std::string problem = children.size() < 3
                              ? "it references no session"
                              : Follow(children[2], {"ZavSession", "ZavDriverSession"});
    if (!problem.empty())
      findings_.push_back(
          {Line(item), "logical name \"" + ItemName(item) + "\" leads nowhere: " + problem});
  }

  void CheckSession(const xmlNode* item) {
    const xmlNode* asset = nullptr;
    const xmlNode* module = nullptr;
    for (const xmlNode* c : Children(item)) {
      if (Is(c, "ZavHardwareAsset")) asset = c;
      if (Is(c, "ZavSoftwareModuleRef")) module = c;
    }
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
