// The library's host for libxml2: one-time initialisation, owners for the parser objects the
// store files need, and a collector for the errors of one read.
//
// libxml2 reports errors through handlers. The collector is installed on the reader and the
// schema contexts of one operation only, never as the process-wide handler, so a host program
// that uses libxml2 itself keeps its own error handling.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>
#include <libxml/xmlwriter.h>

namespace zav::xml {

// Initialises the parser once per process, from whichever thread comes first.
void InitParser();

struct ReaderDeleter {
  void operator()(xmlTextReaderPtr p) const { xmlFreeTextReader(p); }
};
struct WriterDeleter {
  void operator()(xmlTextWriterPtr p) const { xmlFreeTextWriter(p); }
};
struct BufferDeleter {
  void operator()(xmlBufferPtr p) const { xmlBufferFree(p); }
};
struct SchemaDeleter {
  void operator()(xmlSchemaPtr p) const { xmlSchemaFree(p); }
};
struct SchemaParserDeleter {
  void operator()(xmlSchemaParserCtxtPtr p) const { xmlSchemaFreeParserCtxt(p); }
};
struct SchemaValidDeleter {
  void operator()(xmlSchemaValidCtxtPtr p) const { xmlSchemaFreeValidCtxt(p); }
};

using ReaderPtr = std::unique_ptr<xmlTextReader, ReaderDeleter>;
using WriterPtr = std::unique_ptr<xmlTextWriter, WriterDeleter>;
using BufferPtr = std::unique_ptr<xmlBuffer, BufferDeleter>;
using SchemaPtr = std::unique_ptr<xmlSchema, SchemaDeleter>;
using SchemaParserPtr = std::unique_ptr<xmlSchemaParserCtxt, SchemaParserDeleter>;
using SchemaValidPtr = std::unique_ptr<xmlSchemaValidCtxt, SchemaValidDeleter>;

// Keeps the first error (not warning) that libxml2 reports to the contexts it is installed on.
// It must outlive every context it is installed on.
class tErrorCollector {
 public:
  tErrorCollector() = default;
  tErrorCollector(const tErrorCollector&) = delete;
  tErrorCollector& operator=(const tErrorCollector&) = delete;

  void InstallOn(xmlTextReaderPtr reader);
  void InstallOn(xmlSchemaParserCtxtPtr context);
  void InstallOn(xmlSchemaValidCtxtPtr context);

  // Records an error found outside libxml2 (a refused document, a reader failure that came
  // without a report), unless an earlier error is already recorded.
  void Record(int code, const std::string& message, int line);

  bool HasError() const { return hasError_; }
  int Code() const { return code_; }
  int Line() const { return line_; }
  // The message without its trailing line break.
  const std::string& Message() const { return message_; }
  // The message with the line named: " (line N)" is appended unless it is there already.
  std::string Description() const;

 private:
  friend class tThreadErrorCapture;
  static void Handler(void* self, xmlErrorPtr error);

  bool hasError_ = false;
  int code_ = 0;
  int line_ = 0;
  std::string message_;
};

// While the schema is attached to a reader, libxml2 drops the reader's own handler for parse
// errors (the validator's wrapper around the parser callbacks carries no error channel), so
// they would go unreported. For the span of one reader call this routes the calling thread's
// otherwise unclaimed errors to the collector, then puts back whatever handler the thread had.
// The handler is per thread: other threads, and this thread outside the call, are unaffected.
class tThreadErrorCapture {
 public:
  explicit tThreadErrorCapture(tErrorCollector& collector);
  ~tThreadErrorCapture();
  tThreadErrorCapture(const tThreadErrorCapture&) = delete;
  tThreadErrorCapture& operator=(const tThreadErrorCapture&) = delete;

 private:
  xmlStructuredErrorFunc oldHandler_;
  void* oldContext_;
};

// One step of the reader, with parse errors captured as above: 1 on a node, 0 at the end,
// -1 on failure.
int ReadNode(xmlTextReaderPtr reader, tErrorCollector& collector);

// Raised inside a read when libxml2 has reported a parse or validation error; the file
// component turns it into its parsing-error message.
class tParseFailure : public std::runtime_error {
 public:
  tParseFailure() : std::runtime_error("XML parse failure") {}
};

}  // namespace zav::xml
