// SPDX-License-Identifier: MIT
#include "persist/store_schema.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include "persist/xml_host.h"
#include "platform/paths.h"

namespace zav::persist {

// The bytes of the schema the reader's own check implements, embedded at build time.
extern const unsigned char kBuiltInSchema[];
extern const std::size_t kBuiltInSchemaSize;

namespace {

// A store schema has a few dozen kilobytes; a file far beyond that is no store schema.
constexpr unsigned long long kMaxSchemaFileSize = 16ull << 20;

// What tells one file, or one version of a file, from another without reading it.
struct tIdentity {
  dev_t device;
  ino_t inode;
  off_t size;
  timespec modified;

  explicit tIdentity(const struct stat& info)
      : device(info.st_dev), inode(info.st_ino), size(info.st_size), modified(info.st_mtim) {}
  bool operator==(const tIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

struct tVerdict {
  std::string path;
  tIdentity identity;
  tSchemaStatus status;
  std::shared_ptr<const tStoreSchema> schema;
};

// A process normally reads with one data directory. A few verdicts spare one that moves
// between some directories repeated compilations; a bound keeps one that names ever new
// directories from growing the cache without end.
constexpr size_t kCachedVerdicts = 8;

struct tCache {
  std::mutex mutex;
  std::vector<tVerdict> verdicts;  // the most recently used first
  unsigned long compilations = 0;
};

// Never destroyed: at exit the host may already have cleaned libxml2 up, so the compiled
// schemas stay reachable from here until the process ends rather than being freed then.
tCache& Cache() {
  static tCache* const cache = new tCache;
  return *cache;
}

bool ReadAll(int fd, std::string& out) {
  char buffer[16384];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 || out.size() + static_cast<size_t>(got) > kMaxSchemaFileSize) return false;
    if (got == 0) return true;
    out.append(buffer, static_cast<size_t>(got));
  }
}

// --- compiling -----------------------------------------------------------------------------

// Set while this thread compiles a schema: the entity loader below then refuses everything a
// schema does not need.
thread_local bool compiling = false;
std::atomic<xmlExternalEntityLoader> hostLoader{nullptr};

// libxml2 opens the documents a schema includes, imports or redefines through the external
// entity loader, with entity substitution on and without a no-network option. While a schema
// is compiled on this thread, the loader opens only whole local documents (libxml2 opens those
// on a freshly reset context, with no input yet) and refuses entities, document type
// definitions and anything on the network; other threads keep the host's loader.
xmlParserInputPtr LocalDocumentsOnly(const char* url, const char* id, xmlParserCtxtPtr context) {
  if (!compiling) return hostLoader.load()(url, id, context);
  if (!context || context->inputNr != 0) return nullptr;
  return xmlNoNetExternalEntityLoader(url, id, context);
}

void Silent(void*, const char*, ...) {}

// For its lifetime on this thread: every message of libxml2 kept from the standard error
// stream, and a report of exhausted memory noted. libxml2 goes on after many of its allocation
// failures with parts of its objects missing; what it made then is not used.
class tMemoryWatch {
 public:
  tMemoryWatch()
      : oldStructured_(xmlStructuredError), oldStructuredContext_(xmlStructuredErrorContext),
        oldGeneric_(xmlGenericError), oldGenericContext_(xmlGenericErrorContext) {
    xmlSetStructuredErrorFunc(this, &tMemoryWatch::Record);
    xmlSetGenericErrorFunc(nullptr, &Silent);
  }
  ~tMemoryWatch() {
    xmlSetStructuredErrorFunc(oldStructuredContext_, oldStructured_);
    xmlSetGenericErrorFunc(oldGenericContext_, oldGeneric_);
  }
  tMemoryWatch(const tMemoryWatch&) = delete;
  tMemoryWatch& operator=(const tMemoryWatch&) = delete;

  static void Record(void* self, xmlErrorPtr error) {
    if (error && error->code == XML_ERR_NO_MEMORY) static_cast<tMemoryWatch*>(self)->outOfMemory_ = true;
  }
  bool OutOfMemory() const { return outOfMemory_; }

 private:
  xmlStructuredErrorFunc oldStructured_;
  void* oldStructuredContext_;
  xmlGenericErrorFunc oldGeneric_;
  void* oldGenericContext_;
  bool outOfMemory_ = false;
};

// For the time of one compilation on this thread: the loader above.
class tLocalDocumentsOnly {
 public:
  tLocalDocumentsOnly() {
    const xmlExternalEntityLoader current = xmlGetExternalEntityLoader();
    if (current != &LocalDocumentsOnly) {
      hostLoader = current;
      xmlSetExternalEntityLoader(&LocalDocumentsOnly);
    }
    compiling = true;
  }
  ~tLocalDocumentsOnly() {
    compiling = false;
    // The host's loader comes back unless the host has put another one in place meanwhile.
    if (xmlGetExternalEntityLoader() == &LocalDocumentsOnly) xmlSetExternalEntityLoader(hostLoader.load());
  }
  tLocalDocumentsOnly(const tLocalDocumentsOnly&) = delete;
  tLocalDocumentsOnly& operator=(const tLocalDocumentsOnly&) = delete;
};

// The schema in `text`, read from `path` (the base of the locations it includes); null when it
// is no schema libxml2 compiles.
std::shared_ptr<const tStoreSchema> Compile(const std::string& path, const std::string& text) {
  xml::InitParser();
  auto compiled = std::make_shared<tStoreSchema>();
  tLocalDocumentsOnly loader;
  tMemoryWatch watch;
  // The schema document itself is parsed here, without entity substitution and without the
  // network; libxml2 would substitute entities.
  compiled->document.reset(xmlReadMemory(text.data(), static_cast<int>(text.size()), path.c_str(),
                                         nullptr, XML_PARSE_NONET));
  if (watch.OutOfMemory()) throw std::bad_alloc();
  if (!compiled->document) return nullptr;
  xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(compiled->document.get());
  if (!parser) throw std::bad_alloc();
  xmlSchemaSetParserStructuredErrors(parser, &tMemoryWatch::Record, &watch);
  compiled->schema.reset(xmlSchemaParse(parser));
  xmlSchemaFreeParserCtxt(parser);
  if (watch.OutOfMemory()) throw std::bad_alloc();
  return compiled->schema ? compiled : nullptr;
}

}  // namespace

std::shared_ptr<const tStoreSchema> FindStoreSchema(const std::string& path, tSchemaStatus& status) {
  tCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto remember = [&](size_t at) {
    std::rotate(cache.verdicts.begin(), cache.verdicts.begin() + static_cast<long>(at),
                cache.verdicts.begin() + static_cast<long>(at) + 1);
    status = cache.verdicts.front().status;
    return cache.verdicts.front().schema;
  };
  struct stat info {};
  if (stat(path.c_str(), &info) == 0)
    for (size_t i = 0; i < cache.verdicts.size(); ++i)
      if (cache.verdicts[i].path == path && cache.verdicts[i].identity == tIdentity(info)) return remember(i);

  platform::tFileDescriptor file;
  switch (platform::OpenRegularFile(path, kMaxSchemaFileSize, file)) {
    case platform::tOpenResult::kOpen:
      break;
    case platform::tOpenResult::kUnreadable:
      status = tSchemaStatus::kUnreadable;
      return nullptr;
    case platform::tOpenResult::kNotRegular:
    case platform::tOpenResult::kTooLarge:
      status = tSchemaStatus::kNotASchema;
      return nullptr;
  }
  // The identity of the bytes actually read, whatever happens to the path meanwhile.
  std::string text;
  if (fstat(file.Get(), &info) != 0 || !ReadAll(file.Get(), text)) {
    status = tSchemaStatus::kUnreadable;
    return nullptr;
  }
  tVerdict verdict{path, tIdentity(info), tSchemaStatus::kBuiltIn, nullptr};
  if (text.size() != kBuiltInSchemaSize || std::memcmp(text.data(), kBuiltInSchema, text.size()) != 0) {
    // libxml2 does not report every allocation that fails while it compiles a schema, and a
    // file must not be judged no schema for a passing shortage of memory: a failed compilation
    // is tried once more, and its verdict is not kept.
    for (int attempt = 0; attempt < 2 && !verdict.schema; ++attempt) {
      ++cache.compilations;
      verdict.schema = Compile(path, text);
    }
    if (!verdict.schema) {
      status = tSchemaStatus::kNotASchema;
      return nullptr;
    }
    verdict.status = tSchemaStatus::kCompiled;
  }
  // One verdict per path: the one of an older version of the file goes.
  cache.verdicts.erase(std::remove_if(cache.verdicts.begin(), cache.verdicts.end(),
                                      [&](const tVerdict& old) { return old.path == path; }),
                       cache.verdicts.end());
  if (cache.verdicts.size() == kCachedVerdicts) cache.verdicts.pop_back();
  cache.verdicts.push_back(std::move(verdict));
  return remember(cache.verdicts.size() - 1);
}

unsigned long SchemaCompilations() {
  tCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  return cache.compilations;
}

// --- validating ------------------------------------------------------------------------------

tSchemaPlug::tSchemaPlug(const tStoreSchema& schema, xmlParserCtxtPtr parser, xmlStructuredErrorFunc onError,
                         void* errorContext, xmlSchemaValidityLocatorFunc locate, void* locateContext)
    : oldGeneric_(xmlGenericError), oldGenericContext_(xmlGenericErrorContext) {
  {
    tMemoryWatch watch;
    validator_ = xmlSchemaNewValidCtxt(schema.schema.get());
    if (validator_ && !watch.OutOfMemory()) plug_ = xmlSchemaSAXPlug(validator_, &parser->sax, &parser->userData);
    if (!plug_ || watch.OutOfMemory()) {
      if (plug_) xmlSchemaSAXUnplug(plug_);
      xmlSchemaFreeValidCtxt(validator_);
      throw std::bad_alloc();
    }
  }
  xmlSchemaSetValidStructuredErrors(validator_, onError, errorContext);
  xmlSchemaValidateSetLocator(validator_, locate, locateContext);
  // The parser's user data is now the plug: a structured error handler of the parser, should
  // the plug pass it on, would be handed the plug as its context. Without one, the parser's
  // errors go to the thread's structured error handler.
  parser->sax->serror = nullptr;
  // Nothing of the validator reaches the standard error stream.
  xmlSetGenericErrorFunc(nullptr, &Silent);
}

tSchemaPlug::~tSchemaPlug() {
  xmlSchemaSAXUnplug(plug_);
  xmlSchemaFreeValidCtxt(validator_);
  xmlSetGenericErrorFunc(oldGenericContext_, oldGeneric_);
}

}  // namespace zav::persist
