// SPDX-License-Identifier: MIT
// Paths and files: making paths absolute, access tests and reading files. The atomic save of
// store files is in atomic_file.h, included here for the callers that save.
#pragma once

#include <cstddef>
#include <string>

#include "platform/atomic_file.h"

namespace zav::platform {

// Makes `path` absolute: a relative path is joined to the current directory and an empty one
// is the current directory. "." and ".." and repeated '/' are resolved lexically, without
// following links and without requiring that anything exists; ".." at the root stays at the
// root. A trailing '/' of the input is kept. Fails when the current directory cannot be
// determined or the result has PATH_MAX characters or more.
bool MakeAbsolute(const std::string& path, std::string& out);

// The path up to and including its last '/'; "" when it has none.
std::string DirectoryPart(const std::string& path);

bool Exists(const std::string& path);
bool Readable(const std::string& path);
// Creates one directory level with mode 0777 (less the umask).
bool MakeDirectory(const std::string& dir);

// Reads a regular file whole. Fails, leaving `out` alone, for anything else (a FIFO, a device,
// a directory), for a read error and for a file longer than maxSize bytes.
bool ReadWholeFile(const std::string& path, std::string& out, size_t maxSize);

}  // namespace zav::platform
