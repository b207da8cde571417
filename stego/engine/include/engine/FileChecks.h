// The checks a path must pass before a command reads it or replaces it, in the
// words both programs use for them.
#pragma once

#include <string>

#include "FileStore.h"

namespace stego {

/// Throws Failure unless path names an existing ordinary file: the cipher
/// would create a missing input empty, and a device or pipe is read without end.
void RequireOrdinaryFile(const FileStore& files, const std::string& path);

/// Throws Failure when path names a folder, a device or a pipe, which replacing
/// by a rename would swap out. A missing path is fine.
void RequireReplaceableFile(const FileStore& files, const std::string& path);

}  // namespace stego
