// SPDX-License-Identifier: MIT
#include "persist/store_reader.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include "model/config_store.h"
#include "persist/document_model.h"
#include "persist/store_builder.h"
#include "persist/store_schema.h"
#include "persist/tag_scanner.h"
#include "persist/xml_host.h"

namespace zav::persist {

namespace {

using Kind = tElementKind;

bool IsBlank(const char* text, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r') return false;
  return true;
}

const char kXsiNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// One open element.
struct tFrame {
  const tParticle* particle;  // how its parent took it: its name, its kind, what it sets or adds
  tContentPosition content;   // where its own content stands
  int line;                   // of the start tag
  int namespaces;             // declared on this element
  tOpenItem open;
};

[[noreturn]] void Fault(int code, const std::string& text, int line) {
  throw tDocumentFault(code, text, line);
}

// The document reader: libxml2's SAX parser delivers the events, this class checks the tree
// against the document model and has the builder make the items, with an explicit stack of open
// elements (no recursion, whatever the nesting).
class tReader {
 public:
  explicit tReader(tZavConfigStore* store) : builder_(store) {}

  void Read(const tByteSource& source, const tStoreSchema* schema);

 private:
  // SAX entry points: nothing may escape into libxml2's C frames.
  static void OnStart(void* self, const xmlChar* localname, const xmlChar* prefix,
                      const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                      int nbAttributes, int nbDefaulted, const xmlChar** attributes);
  static void OnEnd(void* self, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri);
  static void OnText(void* self, const xmlChar* text, int size);
  static void OnCdata(void* self, const xmlChar* text, int size);
  static void OnDoctype(void* self, const xmlChar* name, const xmlChar* externalId,
                        const xmlChar* systemId);
  static void OnError(void* self, xmlErrorPtr error);
  // Where a schema validator's fault lies: the parser's line.
  static int Locate(void* self, const char** file, unsigned long* line) {
    *file = nullptr;
    *line = static_cast<unsigned long>(static_cast<tReader*>(self)->Line());
    return 0;
  }
  // Runs one event; a fault or failure is recorded and, when `stop`, halts the parser. The
  // error callback must not halt it: libxml2 still works on its input after reporting.
  template <class Event>
  static void Guard(void* self, Event event, bool stop = true);

  void Start(const char* name, const char* uri, int nbNamespaces, int nbAttributes,
             const xmlChar** attributes);
  void End();
  void Characters(const char* text, size_t size, bool cdata);
  int Line() const { return ctxt_ && ctxt_->input ? ctxt_->input->line : 0; }
  void Stop() {
    if (ctxt_) xmlStopParser(ctxt_);
  }

  // An element or attribute name as messages show it.
  static std::string Shown(const char* name, const char* uri) {
    return uri ? std::string("{") + uri + "}" + name : std::string(name);
  }

  xmlParserCtxtPtr ctxt_ = nullptr;
  std::vector<tFrame> frames_;
  size_t depth_ = 0;
  int namespacesInScope_ = 0;
  std::string text_;
  tStoreBuilder builder_;
  // The first fault of the document's form, and the first failure of anything else.
  std::unique_ptr<tDocumentFault> fault_;
  std::exception_ptr failure_;  // stops the read at once (allocation failure and the like)
};

template <class Event>
void tReader::Guard(void* self, Event event, bool stop) {
  auto* reader = static_cast<tReader*>(self);
  if (reader->fault_ || reader->failure_) return;
  try {
    event(*reader);
  } catch (const tDocumentFault& fault) {
    try {
      reader->fault_ = std::make_unique<tDocumentFault>(fault);
    } catch (...) {
      reader->failure_ = std::current_exception();
    }
    if (stop) reader->Stop();
  } catch (...) {
    reader->failure_ = std::current_exception();
    if (stop) reader->Stop();
  }
}

void tReader::OnStart(void* self, const xmlChar* localname, const xmlChar*, const xmlChar* uri,
                      int nbNamespaces, const xmlChar**, int nbAttributes, int,
                      const xmlChar** attributes) {
  Guard(self, [&](tReader& r) {
    r.Start(reinterpret_cast<const char*>(localname), reinterpret_cast<const char*>(uri),
            nbNamespaces, nbAttributes, attributes);
  });
}

void tReader::OnEnd(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
  Guard(self, [](tReader& r) { r.End(); });
}

void tReader::OnText(void* self, const xmlChar* text, int size) {
  Guard(self, [&](tReader& r) { r.Characters(reinterpret_cast<const char*>(text), static_cast<size_t>(size), false); });
}

void tReader::OnCdata(void* self, const xmlChar* text, int size) {
  Guard(self, [&](tReader& r) { r.Characters(reinterpret_cast<const char*>(text), static_cast<size_t>(size), true); });
}

void tReader::OnDoctype(void* self, const xmlChar*, const xmlChar*, const xmlChar*) {
  // A document type declaration could declare entities or name external ones: refused before
  // libxml2 reads any of it.
  Guard(self, [](tReader& r) {
    Fault(XML_ERR_USER_STOP, "Document type declarations are not allowed", r.Line());
  });
}

void tReader::OnError(void* self, xmlErrorPtr error) {
  if (!error || error->level == XML_ERR_WARNING || error->level == XML_ERR_NONE) return;
  Guard(self, [&](tReader& r) {
    // libxml2 ran out of memory: that is no fault of the document.
    if (error->code == XML_ERR_NO_MEMORY) throw std::bad_alloc();
    std::string message = error->message ? error->message : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    r.fault_ = std::make_unique<tDocumentFault>(error->code, message, error->line);
    // libxml2 stops by itself after a fatal error; the read stops after a lesser one, too.
  }, false);
}

void tReader::Start(const char* name, const char* uri, int nbNamespaces, int nbAttributes,
                    const xmlChar** attributes) {
  const int line = Line();
  // libxml2's pull parser stops at this depth, its push parser does not; the limit is the
  // same whichever way the document is read.
  if (depth_ > xmlParserMaxDepth)
    Fault(XML_ERR_INTERNAL_ERROR,
          "Excessive depth in document: " + std::to_string(xmlParserMaxDepth) + " use XML_PARSE_HUGE option",
          line);
  namespacesInScope_ += nbNamespaces;
  if (namespacesInScope_ > kMaxNamespacesInScope)
    Fault(XML_ERR_USER_STOP,
          "More than " + std::to_string(kMaxNamespacesInScope) + " namespace declarations are in scope",
          line);

  const tParticle* particle;
  if (depth_ == 0) {
    particle = &DocumentRoot();
    if (uri || std::strcmp(name, particle->name) != 0)
      Fault(XML_SCHEMAV_CVC_ELT_1,
            "Element '" + Shown(name, uri) + "': No matching global declaration available for the validation root.",
            line);
  } else {
    tFrame& parent = frames_[depth_ - 1];
    const Kind parentKind = parent.particle->kind;
    if (parentKind == Kind::kText)
      Fault(XML_SCHEMAV_CVC_TYPE_3_1_2,
            std::string("Element '") + parent.particle->name +
                "': Element content is not allowed, because the type definition is simple.",
            line);
    if (parentKind == Kind::kReference)
      Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_1,
            std::string("Element '") + parent.particle->name +
                "': Element content is not allowed, because the content type is empty.",
            line);
    particle = MatchChild(parentKind, parent.content, name, uri);
    if (!particle)
      Fault(XML_SCHEMAV_ELEMENT_CONTENT,
            "Element '" + Shown(name, uri) + "': This element is not expected." +
                ExpectedChildren(parentKind, parent.content),
            line);
  }
  const Kind kind = particle->kind;

  if (depth_ == frames_.size()) frames_.emplace_back();
  tFrame& frame = frames_[depth_];
  frame.particle = particle;
  frame.content = tContentPosition();
  frame.line = line;
  frame.namespaces = nbNamespaces;
  // The frame's strings keep their buffers from one element to the next.
  frame.open.item = nullptr;
  frame.open.owned.reset();
  frame.open.id.clear();
  frame.open.heldName.clear();
  ++depth_;
  text_.clear();

  // Attributes: an item carries "id", a reference "idref", nothing else anything; of the
  // schema instance attributes only the location hints are let through.
  const bool item = IsItem(kind);
  const char* required = item ? "id" : kind == Kind::kReference ? "idref" : nullptr;
  // The element as messages show it; made only for a message.
  auto shown = [&] { return Shown(name, uri); };
  bool found = false;
  std::string value;
  for (int i = 0; i < nbAttributes; ++i) {
    const char* local = reinterpret_cast<const char*>(attributes[5 * i]);
    const char* attrUri = reinterpret_cast<const char*>(attributes[5 * i + 2]);
    if (!attrUri && required && std::strcmp(local, required) == 0) {
      found = true;
      value.assign(reinterpret_cast<const char*>(attributes[5 * i + 3]),
                   reinterpret_cast<const char*>(attributes[5 * i + 4]));
      continue;
    }
    if (attrUri && std::strcmp(attrUri, kXsiNamespace) == 0) {
      if (std::strcmp(local, "schemaLocation") == 0 || std::strcmp(local, "noNamespaceSchemaLocation") == 0)
        continue;
      if (std::strcmp(local, "type") == 0)
        Fault(XML_SCHEMAV_CVC_ELT_4_3,
              "Element '" + shown() + "': The type definition named by the attribute xsi:type may not replace the declared one.",
              line);
      if (std::strcmp(local, "nil") == 0)
        Fault(XML_SCHEMAV_CVC_ELT_3_1, "Element '" + shown() + "': The element is not 'nillable'.", line);
    }
    const std::string attr = Shown(local, attrUri);
    // libxml2 numbers the same fault by the element's type: simple (text) or complex.
    Fault(kind == Kind::kText ? XML_SCHEMAV_CVC_TYPE_3_1_1 : XML_SCHEMAV_CVC_COMPLEX_TYPE_3_2_1,
          "Element '" + shown() + "', attribute '" + attr + "': The attribute '" + attr + "' is not allowed.",
          line);
  }
  if (required && !found)
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_4,
          "Element '" + shown() + "': The attribute '" + required + "' is required but missing.", line);

  if (item) {
    // An item is in a list (frames_[depth_ - 2]) of the item or store that owns the list
    // (frames_[depth_ - 3]).
    frame.open.id = std::move(value);
    builder_.BeginItem(kind, frame.open, frames_[depth_ - 2].particle->add, frames_[depth_ - 3].open);
  } else if (kind == Kind::kReference) {
    // A reference belongs to the item it is a child of, or, in a module's list of published
    // APIs, to the module.
    tFrame& parent = frames_[depth_ - 2];
    tFrame& owner = parent.particle->kind == Kind::kPublishedAPIReferences ? frames_[depth_ - 3] : parent;
    builder_.Set(particle->set, owner.open, value);
  }
}

void tReader::Characters(const char* text, size_t size, bool cdata) {
  if (depth_ == 0) return;  // white space around the root is the parser's business
  const tParticle& element = *frames_[depth_ - 1].particle;
  if (element.kind == Kind::kText) {
    // The text of an element whose value is dropped is not even kept.
    if (element.set) text_.append(text, size);
    return;
  }
  if (element.kind == Kind::kReference)
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_1,
          std::string("Element '") + element.name + "': Character content is not allowed, because the content type is empty.",
          Line());
  if (cdata || !IsBlank(text, size))
    Fault(XML_SCHEMAV_CVC_COMPLEX_TYPE_2_3,
          std::string("Element '") + element.name +
              "': Character content other than whitespace is not allowed because the content type is 'element-only'.",
          Line());
}

void tReader::End() {
  tFrame& frame = frames_[depth_ - 1];
  const tParticle& element = *frame.particle;
  if (!ContentComplete(element.kind, frame.content))
    Fault(XML_SCHEMAV_ELEMENT_CONTENT,
          std::string("Element '") + element.name + "': Missing child element(s)." +
              ExpectedChildren(element.kind, frame.content),
          frame.line);
  namespacesInScope_ -= frame.namespaces;
  if (element.kind == Kind::kText) {
    if (element.set) builder_.Set(element.set, frames_[depth_ - 2].open, text_);
    text_.clear();
  } else if (IsItem(element.kind)) {
    builder_.EndItem(element.kind, frame.open, frames_[depth_ - 2].particle->add, frames_[depth_ - 3].open);
  }
  frame.open.owned.reset();
  --depth_;
}

// --- feeding the parser ------------------------------------------------------------------------

struct ParserDeleter {
  void operator()(xmlParserCtxtPtr p) const {
    if (p->myDoc) xmlFreeDoc(p->myDoc);
    xmlFreeParserCtxt(p);
  }
};

void tReader::Read(const tByteSource& source, const tStoreSchema* schema) {
  xml::InitParser();
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = &tReader::OnStart;
  sax.endElementNs = &tReader::OnEnd;
  sax.characters = &tReader::OnText;
  sax.ignorableWhitespace = &tReader::OnText;
  sax.cdataBlock = &tReader::OnCdata;
  sax.internalSubset = &tReader::OnDoctype;
  sax.serror = &tReader::OnError;

  // libxml2 keeps what it has been given until it has parsed it, so the chunk is also part of
  // the memory a small store costs; 16 KiB chunks cost no measurable time over 64 KiB ones.
  const size_t kChunk = 1 << 14;
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  tTagScanner scanner(kMaxAttributesPerTag);
  // The first bytes tell libxml2 the encoding.
  size_t size = source(buffer.get(), kChunk);
  const size_t head = std::min<size_t>(size, 4);
  if (int line = scanner.Scan(buffer.get(), size))
    throw tDocumentFault(XML_ERR_USER_STOP,
                         "A start tag carries more than " + std::to_string(kMaxAttributesPerTag) + " attributes",
                         line);
  // Other errors of this thread that libxml2 raises without the context go to the reader too.
  struct tCapture {
    explicit tCapture(tReader* r) : old_(xmlStructuredError), oldContext_(xmlStructuredErrorContext) {
      xmlSetStructuredErrorFunc(r, &tReader::OnError);
    }
    ~tCapture() { xmlSetStructuredErrorFunc(oldContext_, old_); }
    xmlStructuredErrorFunc old_;
    void* oldContext_;
  } capture(this);
  std::unique_ptr<xmlParserCtxt, ParserDeleter> ctxt(
      xmlCreatePushParserCtxt(&sax, this, buffer.get(), static_cast<int>(head), nullptr));
  if (!ctxt) {
    if (fault_) throw *fault_;
    throw std::bad_alloc();
  }
  ctxt_ = ctxt.get();
  // libxml2 can hand out a context whose input it failed to set up, silently when memory ran
  // out; after a reported fault (an encoding it cannot read) the loop below reports that.
  if ((!ctxt_->input || !ctxt_->input->buf || !ctxt_->input->buf->buffer || !ctxt_->dict) &&
      !fault_ && !failure_ && ctxt_->errNo == 0)
    throw std::bad_alloc();
  xmlCtxtUseOptions(ctxt_, XML_PARSE_NONET | XML_PARSE_BIG_LINES);
  // A schema other than the one the document model implements sees every event after the reader;
  // it is unplugged before the context goes.
  std::unique_ptr<tSchemaPlug> plug;
  if (schema) plug = std::make_unique<tSchemaPlug>(*schema, ctxt_, &tReader::OnError, this, &tReader::Locate, this);

  const char* data = buffer.get() + head;
  size -= head;
  bool last = false;
  for (;;) {
    if (fault_ || failure_) break;
    // libxml2 halts by itself after a fatal error, which it may not have managed to report
    // when memory ran out; a halted parser is fed nothing more.
    if (!ctxt_->input || !ctxt_->input->buf || !ctxt_->input->buf->buffer) {
      if (ctxt_->errNo == XML_ERR_NO_MEMORY) throw std::bad_alloc();
      Fault(ctxt_->errNo ? ctxt_->errNo : XML_ERR_INTERNAL_ERROR, "The document could not be read.", Line());
    }
    if (last) {
      xmlParseChunk(ctxt_, nullptr, 0, 1);
      break;
    }
    if (size > 0) {
      xmlParseChunk(ctxt_, data, static_cast<int>(size), 0);
    }
    if (fault_ || failure_) break;
    size = source(buffer.get(), kChunk);
    data = buffer.get();
    last = size == 0;
    if (int line = last ? 0 : scanner.Scan(data, size))
      Fault(XML_ERR_USER_STOP,
            "A start tag carries more than " + std::to_string(kMaxAttributesPerTag) + " attributes", line);
  }
  if (failure_) std::rethrow_exception(failure_);
  if (!fault_ && !ctxt_->wellFormed) {
    if (ctxt_->errNo == XML_ERR_NO_MEMORY) throw std::bad_alloc();
    fault_ = std::make_unique<tDocumentFault>(XML_ERR_INTERNAL_ERROR, "The document could not be read.", Line());
  }
  if (fault_) throw *fault_;
  builder_.Finish();
}

}  // namespace

void ReadConfigStore(tZavConfigStore* store, const tByteSource& source, const tStoreSchema* schema) {
  // Nothing of a document that is refused for its form remains, nor of one that could not be
  // read whole.
  try {
    tReader(store).Read(source, schema);
  } catch (const tDocumentFault&) {
    store->ClearAll();
    throw;
  } catch (const std::bad_alloc&) {
    store->ClearAll();
    throw;
  }
}

}  // namespace zav::persist
