// Paths and files: making paths absolute, access tests and the atomic save of store files.
#pragma once

#include <cstddef>
#include <string>

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

bool ReadWholeFile(const std::string& path, std::string& out);

// Replaces the file at `path` with `data` so that it is never seen half written: the data goes
// to a new file in the same directory, which is synced and renamed over the target. On failure
// the target is left as it was, no temporary file remains, and `error` holds the reason.
bool WriteFileAtomically(const std::string& path, const char* data, size_t size,
                         std::string& error);

}  // namespace zav::platform
