#include "persist/xml_host.h"

#include <mutex>

#include <libxml/globals.h>
#include <libxml/parser.h>

namespace zav::xml {

void InitParser() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

void tErrorCollector::InstallOn(xmlTextReaderPtr reader) {
  xmlTextReaderSetStructuredErrorHandler(reader, &tErrorCollector::Handler, this);
}

void tErrorCollector::InstallOn(xmlSchemaParserCtxtPtr context) {
  xmlSchemaSetParserStructuredErrors(context, &tErrorCollector::Handler, this);
}

void tErrorCollector::InstallOn(xmlSchemaValidCtxtPtr context) {
  xmlSchemaSetValidStructuredErrors(context, &tErrorCollector::Handler, this);
}

void tErrorCollector::Record(int code, const std::string& message, int line) {
  if (hasError_) return;
  hasError_ = true;
  code_ = code;
  line_ = line;
  message_ = message;
  while (!message_.empty() && (message_.back() == '\n' || message_.back() == '\r'))
    message_.pop_back();
}

std::string tErrorCollector::Description() const {
  const std::string suffix = " (line " + std::to_string(line_) + ")";
  if (message_.size() >= suffix.size() &&
      message_.compare(message_.size() - suffix.size(), suffix.size(), suffix) == 0)
    return message_;
  return message_ + suffix;
}

void tErrorCollector::Handler(void* self, xmlErrorPtr error) {
  if (!self || !error || error->level == XML_ERR_WARNING || error->level == XML_ERR_NONE) return;
  // libxml2 calls back from C code: nothing may escape from here.
  try {
    static_cast<tErrorCollector*>(self)->Record(error->code, error->message ? error->message : "",
                                                error->line);
  } catch (...) {
    auto* collector = static_cast<tErrorCollector*>(self);
    collector->hasError_ = true;
    collector->code_ = error->code;
    collector->line_ = error->line;
  }
}

tThreadErrorCapture::tThreadErrorCapture(tErrorCollector& collector)
    : oldHandler_(xmlStructuredError), oldContext_(xmlStructuredErrorContext) {
  xmlSetStructuredErrorFunc(&collector, &tErrorCollector::Handler);
}

tThreadErrorCapture::~tThreadErrorCapture() { xmlSetStructuredErrorFunc(oldContext_, oldHandler_); }

int ReadNode(xmlTextReaderPtr reader, tErrorCollector& collector) {
  tThreadErrorCapture capture(collector);
  return xmlTextReaderRead(reader);
}

}  // namespace zav::xml
