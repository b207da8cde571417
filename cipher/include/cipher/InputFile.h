// The start of a file read in one go, and which file it was, so that the
// cipher never writes over the file it reads.
#pragma once

#include <cstddef>
#include <string>

#include "cipher/FileIdentity.h"

namespace corvid {

struct InputFile {
    std::string bytes;
    FileIdentity identity;

    /// Reads at most maxBytes from the start of path; never creates or changes the file.
    /// Throws a file-system CipherError when the file cannot be opened or read.
    static InputFile read(const std::string& path, std::size_t maxBytes);
};

}  // namespace corvid
