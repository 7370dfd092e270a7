// SPDX-License-Identifier: MIT
// The store schema of the data directory. The reader's own check of the tree implements the
// schema this library ships; a data directory that holds that file byte for byte costs nothing
// more. Any other schema file is compiled with libxml2 and validates every document read while
// it is in place, on the same parse as the reader's own check.
#pragma once

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <memory>
#include <string>

namespace zav::persist {

// A schema compiled from a file; shared by every read that uses it, also once the file has
// changed and a newer compilation has taken its place.
struct tStoreSchema {
  struct tFreeDocument {
    void operator()(xmlDocPtr document) const { xmlFreeDoc(document); }
  };
  struct tFreeSchema {
    void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
  };
  // The compiled schema points into the document it was compiled from, so that goes last.
  std::unique_ptr<xmlDoc, tFreeDocument> document;
  std::unique_ptr<xmlSchema, tFreeSchema> schema;
};

enum class tSchemaStatus {
  kBuiltIn,     // the shipped schema: the reader's own check is all it takes
  kCompiled,    // another schema, compiled
  kUnreadable,  // the file cannot be opened or read
  kNotASchema,  // not a regular file of reasonable size, or not a schema libxml2 compiles
};

// The schema file at `path`, compiled when it is not the shipped one. The verdict on a schema
// is kept per path and file identity (device, inode, size, modification time), so a process
// that reads many stores compiles it once; a changed file is looked at again. The schema document
// and what it includes are read from local files only: no network, no external entities.
// Running out of memory throws std::bad_alloc rather than giving a verdict. Thread-safe.
std::shared_ptr<const tStoreSchema> FindStoreSchema(const std::string& path, tSchemaStatus& status);

// How many schema files this process has compiled: the cache's effect, for tests.
unsigned long SchemaCompilations();

// Validates the events of a parser with a compiled schema from construction to destruction:
// the validator sits between the parser and its SAX handler, which still receives every event
// first. Errors go to `onError` with `errorContext` and carry the line `locate` gives. Must be
// constructed after the parser context and destroyed before it.
class tSchemaPlug {
 public:
  tSchemaPlug(const tStoreSchema& schema, xmlParserCtxtPtr parser, xmlStructuredErrorFunc onError,
              void* errorContext, xmlSchemaValidityLocatorFunc locate, void* locateContext);
  ~tSchemaPlug();
  tSchemaPlug(const tSchemaPlug&) = delete;
  tSchemaPlug& operator=(const tSchemaPlug&) = delete;

 private:
  xmlSchemaValidCtxtPtr validator_ = nullptr;
  xmlSchemaSAXPlugPtr plug_ = nullptr;
  xmlGenericErrorFunc oldGeneric_;
  void* oldGenericContext_;
};

}  // namespace zav::persist
