// The engine's file access on Windows: UTF-8 paths as wide ones, private
// scratch folders, whole-file reads and writes, and replacing a file in one
// move that is flushed to the disk.
#pragma once

#include <string>

#include "engine/Failure.h"
#include "engine/FileStore.h"

namespace stego::platform {

class WinFileStore : public FileStore {
public:
    Kind kindOf(const std::string& path) const override;
    std::string readAll(const std::string& path) const override;
    std::int64_t sizeOf(const std::string& path) const override;
    void writeAll(const std::string& path, std::string_view data) override;
    std::unique_ptr<ScratchDirectory> makeScratchDirectory(const std::string& besidePath) override;
    void replaceFile(const std::string& from, const std::string& to) override;
    bool sameFile(const std::string& a, const std::string& b) const override;
};

/// The path as the system's wide-character calls take it.
std::wstring widePath(const std::string& utf8);
/// The errno value that stands for a system error code, for the shared table of file errors.
int errnoOfSystemError(unsigned long error);
/// "Cannot <action> <path>: <reason>" for the system error code error, with the shared error number.
Failure systemFileFailure(unsigned long error, const std::string& action, const std::string& path);

}  // namespace stego::platform
