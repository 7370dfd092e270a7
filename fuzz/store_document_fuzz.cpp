// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the store reader as a store document, in small chunks so that every
// construct is also cut at chunk boundaries. Whatever the input, reading must not crash, leak
// or take more than a pass over the bytes; and a document that reads must write, read back and
// write again to the very same text, since a store file is never written that cannot be read
// back. Everything stays in memory: no file is written per input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "model/config_store.h"
#include "persist/config_file_posix.h"
#include "persist/store_reader.h"
#include "persist/store_writer.h"
#include "platform/paths.h"

namespace {

// The writer asks the registry for the master location, which must name an existing file.
struct tSandbox {
  tSandbox() {
    char pattern[] = "/tmp/zavfuzz.XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string master = dir + "/master.xml", registry = dir + "/registry.ini";
    const std::string text = "[Software\\ZAV\\CONFIGURATIONSERVER]\nMasterStore=" + master +
                             "\n[Software\\ZAV]\nZavDataDir=" ZAV_SOURCE_DIR "/data/\n";
    std::string ignored;
    zav::platform::WriteFileAtomically(master, "", 0, ignored);
    zav::platform::WriteFileAtomically(registry, text.data(), text.size(), ignored);
    setenv("ZAV_REGISTRY", registry.c_str(), 1);
  }
};

void Read(tZavConfigStore& store, const char* data, size_t size) {
  size_t at = 0;
  zav::persist::ReadConfigStore(&store, [&](char* buffer, size_t room) {
    const size_t n = std::min({room, size - at, size_t{509}});
    std::copy(data + at, data + at + n, buffer);
    at += n;
    return n;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tSandbox sandbox;
  tZavConfigStore store(NewPlatformConfigFile());
  try {
    Read(store, reinterpret_cast<const char*>(data), size);
  } catch (const zav::persist::tDocumentFault&) {
    return 0;
  } catch (const zav::tZavError&) {
    return 0;
  }
  std::string first, second;
  try {
    zav::persist::WriteConfigStore(&store, first);
    tZavConfigStore again(NewPlatformConfigFile());
    Read(again, first.data(), first.size());
    zav::persist::WriteConfigStore(&again, second);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "a document that reads did not round-trip: %s\n", failure.what());
    std::abort();
  }
  if (first != second) {
    std::fprintf(stderr, "writing a store twice gave two different documents\n");
    std::abort();
  }
  return 0;
}
