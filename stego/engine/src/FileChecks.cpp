#include "engine/FileChecks.h"

#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego {

void RequireOrdinaryFile(const FileStore& files, const std::string& path) {
    if (files.kindOf(path) == FileStore::Kind::Missing)
        throw Failure(support::kFileNotFound, path + " does not exist.");
    RequireReplaceableFile(files, path);
}

void RequireReplaceableFile(const FileStore& files, const std::string& path) {
    switch (files.kindOf(path)) {
    case FileStore::Kind::Directory: throw Failure(kNotOrdinaryFile, path + " is a folder, not a file.");
    case FileStore::Kind::Other: throw Failure(kNotOrdinaryFile, path + " is not an ordinary file.");
    case FileStore::Kind::Missing:
    case FileStore::Kind::RegularFile: break;
    }
}

}  // namespace stego
