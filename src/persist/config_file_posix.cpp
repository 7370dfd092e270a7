#include "persist/config_file_posix.h"

#include <climits>
#include <exception>
#include <string>

#include "model/config_store.h"
#include "persist/store_reader.h"
#include "persist/store_writer.h"
#include "persist/xml_host.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace zav::persist {

namespace {

// The prolog as a sequence of characters, whatever the width of its code units: only ASCII
// matters to the scan, anything else reads as a non-ASCII marker.
class tPrologText {
 public:
  explicit tPrologText(const std::string& bytes) : s_(bytes) {
    auto byte = [&](size_t i) { return i < s_.size() ? static_cast<unsigned char>(s_[i]) : 0x100; };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
      start_ = 3;
    } else if (byte(0) == 0xFF && byte(1) == 0xFE) {
      start_ = 2, width_ = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
      start_ = 2, width_ = 2, bigEndian_ = true;
    } else if (byte(0) == '<' && byte(1) == 0) {
      width_ = 2;
    } else if (byte(0) == 0 && byte(1) == '<') {
      width_ = 2, bigEndian_ = true;
    }
  }

  size_t Size() const { return (s_.size() - start_) / width_; }
  int At(size_t i) const {
    size_t at = start_ + i * width_;
    if (width_ == 1) return static_cast<unsigned char>(s_[at]);
    unsigned char low = static_cast<unsigned char>(s_[at + (bigEndian_ ? 1 : 0)]);
    unsigned char high = static_cast<unsigned char>(s_[at + (bigEndian_ ? 0 : 1)]);
    return high == 0 ? low : 0x100;
  }
  bool StartsWith(size_t i, const char* text) const {
    for (; *text; ++text, ++i)
      if (i >= Size() || At(i) != static_cast<unsigned char>(*text)) return false;
    return true;
  }

 private:
  const std::string& s_;
  size_t start_ = 0;
  size_t width_ = 1;
  bool bigEndian_ = false;
};

}  // namespace

int FindDoctypeLine(const std::string& document) {
  const tPrologText text(document);
  const size_t size = text.Size();
  int line = 1;
  size_t i = 0;
  // Steps past the end of a construct, counting the lines inside it; false when it never ends.
  auto skipTo = [&](const char* terminator) {
    for (; i < size; ++i) {
      if (text.StartsWith(i, terminator)) {
        i += std::char_traits<char>::length(terminator);
        return true;
      }
      if (text.At(i) == '\n') ++line;
    }
    return false;
  };
  while (i < size) {
    int c = text.At(i);
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (c == '\n') ++line;
      ++i;
    } else if (text.StartsWith(i, "<!--")) {
      i += 4;
      if (!skipTo("-->")) return 0;
    } else if (text.StartsWith(i, "<!DOCTYPE")) {
      return line;
    } else if (text.StartsWith(i, "<?")) {
      i += 2;
      if (!skipTo("?>")) return 0;
    } else {
      return 0;
    }
  }
  return 0;
}

namespace {

const char* const kSchemaFileName = "ZavConfigurationStore_1-6.xsd";

[[noreturn]] void DeserializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED, "Deserialize failed. " + text);
}

[[noreturn]] void SerializeFailed(const std::string& text) {
  ThrowZavError(ZAVCONFIG_ERROR_SERIALIZE_FAILED, "Serialize failed. " + text);
}

[[noreturn]] void ParsingError(const xml::tErrorCollector& errors) {
  DeserializeFailed("Parsing error number: " + std::to_string(errors.Code()) +
                    ", Description: " + errors.Description());
}

// Reads the rest of the document only to learn whether libxml2 finds an error in it.
void ReadToEnd(xmlTextReaderPtr reader, xml::tErrorCollector& errors) {
  int rc = 1;
  while (!errors.HasError() && (rc = xml::ReadNode(reader, errors)) == 1) {
  }
  if (!errors.HasError() && rc < 0)
    errors.Record(XML_ERR_INTERNAL_ERROR, "The document could not be read.",
                  xmlTextReaderGetParserLineNumber(reader));
}

}  // namespace

}  // namespace zav::persist

using namespace zav;

std::string tConfigFilePosix::GetMasterStoreLocation() {
  std::string location =
      platform::ReadRegistryString("Software\\ZAV\\CONFIGURATIONSERVER", "MasterStore");
  if (location.empty() || !platform::Exists(location))
    ThrowZavError(ZAVCONFIG_ERROR_MASTER_NOT_FOUND,
                  "The Windows registry key for the master configuration store does not exist or "
                  "the file cannot be found.");
  return location;
}

void tConfigFilePosix::Deserialize(tZavConfigStore* store, std::string path) {
  using persist::DeserializeFailed;
  std::string absolute;
  if (!platform::MakeAbsolute(path, absolute)) DeserializeFailed(path + " is not a valid path.");
  path = absolute;
  if (!platform::Readable(path)) DeserializeFailed("File " + path + " is not readable.");

  const std::string dataDir = platform::ReadRegistryString("Software\\ZAV", "ZavDataDir");
  if (dataDir.empty())
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Invalid ZAV Data Directory path in registry.");
  const std::string schemaPath = dataDir + persist::kSchemaFileName;
  std::string schemaText;
  if (!platform::Readable(schemaPath) || !platform::ReadWholeFile(schemaPath, schemaText) ||
      schemaText.size() > static_cast<size_t>(INT_MAX))
    ThrowZavError(ZAVCONFIG_ERROR_DESERIALIZE_FAILED,
                  "Schema validation failed. Failed to read schema file " + schemaPath);

  xml::InitParser();
  // Declaration order is release order in reverse: the reader goes before the schema it uses,
  // and the collectors outlive every context they are installed on.
  xml::tErrorCollector schemaErrors;
  xml::tErrorCollector errors;
  // libxml2 takes no empty text; an empty file is a schema that does not parse.
  if (schemaText.empty()) DeserializeFailed("Failed to add schema to schema collection.");
  xml::SchemaParserPtr schemaParser(
      xmlSchemaNewMemParserCtxt(schemaText.data(), static_cast<int>(schemaText.size())));
  if (!schemaParser) DeserializeFailed("Failed to create XMLSchemaCache instance.");
  schemaErrors.InstallOn(schemaParser.get());
  xml::SchemaPtr schema;
  {
    // The schema text itself is parsed by an inner parser that has no handler of its own.
    xml::tThreadErrorCapture capture(schemaErrors);
    schema.reset(xmlSchemaParse(schemaParser.get()));
  }
  if (!schema) DeserializeFailed("Failed to add schema to schema collection.");

  // The reader parses straight from this text, which must outlive it.
  std::string document;
  if (!platform::ReadWholeFile(path, document)) DeserializeFailed("File " + path + " is not readable.");
  if (document.size() > static_cast<size_t>(INT_MAX))
    DeserializeFailed("File " + path + " is too large to be a configuration store.");
  // A document type declaration could declare entities or pull in external ones; such a
  // document is refused before libxml2 sees any of it.
  if (int line = persist::FindDoctypeLine(document)) {
    errors.Record(XML_ERR_USER_STOP, "Document type declarations are not allowed", line);
    persist::ParsingError(errors);
  }
  xml::ReaderPtr reader(xmlReaderForMemory(document.data(), static_cast<int>(document.size()),
                                           path.c_str(), nullptr,
                                           XML_PARSE_NONET | XML_PARSE_BIG_LINES));
  if (!reader) DeserializeFailed("Failed to create an XML reader for " + path + ".");
  errors.InstallOn(reader.get());
  if (xmlTextReaderSetSchema(reader.get(), schema.get()) != 0)
    DeserializeFailed("Failed to set schema collection.");

  // The schema is checked while the document streams past, so a fault can show up after some
  // items were read. A document that is not valid is never partly accepted: the store is
  // emptied, as if validation had refused it before the first item.
  try {
    persist::ReadConfigStore(store, reader.get(), errors);
    persist::ReadToEnd(reader.get(), errors);
  } catch (const xml::tParseFailure&) {
    store->ClearAll();
    persist::ParsingError(errors);
  } catch (...) {
    std::exception_ptr failure = std::current_exception();
    persist::ReadToEnd(reader.get(), errors);
    if (errors.HasError()) {
      store->ClearAll();
      persist::ParsingError(errors);
    }
    std::rethrow_exception(failure);
  }
  if (errors.HasError()) {
    store->ClearAll();
    persist::ParsingError(errors);
  }
}

void tConfigFilePosix::Serialize(tZavConfigStore* store, std::string path) {
  using persist::SerializeFailed;
  // The whole document is made before the file system is touched: a store that cannot be
  // written leaves no directory and no file behind.
  std::string text;
  persist::WriteConfigStore(store, text);

  std::string absolute;
  if (!platform::MakeAbsolute(path, absolute)) SerializeFailed(path + " is not a valid path.");
  path = absolute;
  const std::string dir = platform::DirectoryPart(path);
  if (dir.empty())
    SerializeFailed("Invalid path. Path does not have a valid directory component.");
  if (!platform::Exists(dir) && !platform::MakeDirectory(dir))
    SerializeFailed("Invalid path. Failed to create parent directory " + dir);
  std::string error;
  if (!platform::WriteFileAtomically(path, text.data(), text.size(), error))
    SerializeFailed("Failed to write file " + path + ": " + error + ".");
}

std::unique_ptr<iStoreFile> NewPlatformConfigFile() { return std::make_unique<tConfigFilePosix>(); }
