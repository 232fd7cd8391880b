#pragma once

#include <string>

namespace orv {

// The whole file; empty when missing or unreadable.
std::string ReadFileBytes(const std::string& path);

// Replaces the file's content atomically: the bytes go to a temporary file in
// the same folder, which is flushed to disk and renamed over the old one, so a
// crash or a full disk never leaves a truncated file in place of a good one.
// False for an empty path or when any step fails (the old file then stays).
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// True when a file or directory of that name exists; a path ending in "/"
// never does.
bool FileExists(const std::string& path);

// Creates one directory level; true when it exists afterwards as a directory.
bool CreateDirectory(const std::string& path);

}  // namespace orv
