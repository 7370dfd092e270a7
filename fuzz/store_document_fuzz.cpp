// Feeds arbitrary bytes to the store reader as a store document. Whatever the input, reading must
// not crash or leak; and a document that reads must write, read back and write again to the very
// same text, since a store file is never written that cannot be read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "platform/paths.h"

namespace {
struct tSandbox {
  std::string dir, input, first, second;
  tSandbox() {
    char pattern[] = "/tmp/zavfuzz.XXXXXX";
    dir = mkdtemp(pattern);
    input = dir + "/input.xml";
    first = dir + "/first.xml";
    second = dir + "/second.xml";
    const std::string registry = dir + "/registry.ini";
    const std::string text = "[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=" + input +
                             "\n[Software\\ZAV]\nZavDataDir=" ZAV_SOURCE_DIR "/data/\n";
    std::string ignored;
    zav::platform::WriteFileAtomically(registry, text.data(), text.size(), ignored);
    setenv("ZAV_REGISTRY", registry.c_str(), 1);
  }
};

// The document without its ActualLocation line, which names the file each store was read from.
std::string Slurp(const std::string& path) {
  std::string text;
  zav::platform::ReadWholeFile(path, text);
  size_t begin = text.find("<ActualLocation");
  if (begin != std::string::npos) text.erase(begin, text.find('\n', begin) - begin);
  return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tSandbox sandbox;
  std::string error;
  zav::platform::WriteFileAtomically(sandbox.input, reinterpret_cast<const char*>(data), size,
                                     error);
  tZavConfigStore store(NewPlatformConfigFile());
  try {
    store.Deserialize(sandbox.input);
  } catch (const zav::Error&) {
    return 0;
  }
  try {
    store.Serialize(sandbox.first);
    tZavConfigStore again(NewPlatformConfigFile());
    again.Deserialize(sandbox.first);
    again.Serialize(sandbox.second);
  } catch (const zav::Error& failure) {
    std::fprintf(stderr, "a document that reads did not round-trip: %s\n", failure.what());
    std::abort();
  }
  if (Slurp(sandbox.first) != Slurp(sandbox.second)) {
    std::fprintf(stderr, "writing a store twice gave two different documents\n");
    std::abort();
  }
  return 0;
}
