// The engine's file access on a POSIX system: private scratch folders, whole-file
// reads and writes, and replacing a file in one rename.
#pragma once

#include "engine/FileStore.h"

namespace stego::platform {

class PosixFileStore : public FileStore {
public:
    Kind kindOf(const std::string& path) const override;
    std::string readAll(const std::string& path) const override;
    void writeAll(const std::string& path, std::string_view data) override;
    std::unique_ptr<ScratchDirectory> makeScratchDirectory(const std::string& besidePath) override;
    void replaceFile(const std::string& from, const std::string& to) override;
    bool sameFile(const std::string& a, const std::string& b) const override;
};

}  // namespace stego::platform
