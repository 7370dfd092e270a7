// SPDX-License-Identifier: MIT
#include "lint.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstring>
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

namespace {

bool Digits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool UsbId(const std::string& text) {  // decimal, or hexadecimal with 0x
  if (text.size() > 2 && text[0] == '0' && text[1] == 'x')
    return text.size() <= 6 && text.find_first_not_of("0123456789abcdef", 2) == std::string::npos;
  return Digits(text);
}

// "CHASSIS1" with prefix "chassis": the prefix, then a number.
bool Numbered(const std::string& text, const char* prefix) {
  std::string lead(prefix);
  return text.compare(0, lead.size(), lead) == 0 && Digits(text.substr(lead.size()));
}

// PXI's one-token device address: device, bus-device, either with .function.
bool PxiAddress(const std::string& text) {
  size_t dash = text.find('-'), dot = text.find('.');
  std::string device = text.substr(0, std::min(dot, text.size()));
  if (dash != std::string::npos && dash < device.size())
    return Digits(device.substr(0, dash)) && Digits(device.substr(dash + 1)) &&
           (dot == std::string::npos || Digits(text.substr(dot + 1)));
  return Digits(device) && (dot == std::string::npos || Digits(text.substr(dot + 1)));
}

// The address tokens after the interface, the resource class (the last token when it is one)
// already taken off.
bool AddressFits(const std::string& interface, const std::vector<std::string>& t,
                 const std::string& resourceClass) {
  size_t n = t.size();
  if (interface == "gpib") {
    if (n == 0) return resourceClass == "intfc" || resourceClass == "servant";
    return (resourceClass.empty() || resourceClass == "instr") && n <= 2 && Digits(t[0]) &&
           (n == 1 || Digits(t[1]));
  }
  if (interface == "vxi" || interface == "gpib-vxi") {
    if (resourceClass == "backplane") return n == 0 || (n == 1 && Digits(t[0]));
    if (n == 0)
      return resourceClass == "memacc" || (interface == "vxi" && resourceClass == "servant");
    return (resourceClass.empty() || resourceClass == "instr") && n == 1 && Digits(t[0]);
  }
  if (interface == "tcpip") {
    if (n == 0 || t[0].empty()) return false;
    if (resourceClass == "socket") return n == 2 && Digits(t[1]);
    return (resourceClass.empty() || resourceClass == "instr") && n <= 2 &&
           (n == 1 || !t[1].empty());
  }
  if (interface == "usb")
    return (resourceClass.empty() || resourceClass == "instr" || resourceClass == "raw") &&
           (n == 3 || n == 4) && UsbId(t[0]) && UsbId(t[1]) && !t[2].empty() &&
           (n == 3 || Digits(t[3]));
  if (interface == "asrl") return n == 0 && (resourceClass.empty() || resourceClass == "instr");
  if (interface == "pxi") {
    if (resourceClass == "backplane") return n == 0 || (n == 1 && Digits(t[0]));
    if (n == 0) return resourceClass == "memacc";
    if (!resourceClass.empty() && resourceClass != "instr") return false;
    if (n == 1) return PxiAddress(t[0]);
    if (Numbered(t[0], "chassis"))
      return Numbered(t[1], "slot") && (n == 2 || (n == 3 && Numbered(t[2], "func")));
    return n <= 3 && Digits(t[0]) && Digits(t[1]) && (n == 2 || Digits(t[2]));
  }
  return false;
}

}  // namespace

std::string VisaResourceProblem(const std::string& resource) {
  if (resource.empty()) return "the I/O resource descriptor is empty: no instrument can be reached";
  std::string text;
  for (char c : resource) text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // An IPv6 host is bracketed and holds colons of its own: take it whole.
  std::vector<std::string> tokens;
  for (size_t at = 0;;) {
    size_t end = text.compare(at, 1, "[") == 0 ? text.find(']', at) : at;
    end = end == std::string::npos ? std::string::npos : text.find("::", end);
    tokens.push_back(text.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 2;
  }
  bool fits = text.find_first_of(" \t\r\n") == std::string::npos;
  // The interface and its board number; a serial port may be named by its device path.
  std::string interface, board = tokens[0];
  for (const char* name : {"gpib-vxi", "gpib", "tcpip", "usb", "asrl", "pxi", "vxi"})
    if (board.compare(0, std::strlen(name), name) == 0) {
      interface = name;
      board = board.substr(interface.size());
      break;
    }
  fits = fits && !interface.empty() &&
         (board.empty() || Digits(board) || (interface == "asrl" && board[0] == '/'));
  std::vector<std::string> address(tokens.begin() + 1, tokens.end());
  std::string resourceClass;
  for (const char* name : {"instr", "intfc", "servant", "memacc", "backplane", "socket", "raw"})
    if (!address.empty() && address.back() == name) {
      resourceClass = name;
      address.pop_back();
      break;
    }
  if (fits && AddressFits(interface, address, resourceClass)) return std::string();
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
