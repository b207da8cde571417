// The engine's file access on a POSIX system: private scratch folders, whole-file
// reads and writes, and replacing a file in one rename.
#pragma once

#include "engine/Failure.h"
#include "engine/FileStore.h"
#include "platform/FileWriter.h"

namespace stego::platform {

class PosixFileStore : public FileStore {
public:
    /// Writes files through the system's writer.
    PosixFileStore();
    /// Writes files through writer, which must outlive the store (tests make writes fail).
    explicit PosixFileStore(FileWriter& writer);

    Kind kindOf(const std::string& path) const override;
    std::string readAll(const std::string& path) const override;
    std::int64_t sizeOf(const std::string& path) const override;
    void writeAll(const std::string& path, std::string_view data) override;
    std::unique_ptr<ScratchDirectory> makeScratchDirectory(const std::string& besidePath) override;
    /// Flushes from to the disk first, so that a crash cannot leave a
    /// half-written file under the name to.
    void replaceFile(const std::string& from, const std::string& to) override;
    bool sameFile(const std::string& a, const std::string& b) const override;

    /// Flushes the file at path to the disk; throws Failure naming path.
    static void syncFile(const std::string& path);

private:
    FileWriter* m_writer;
};

/// The Failure for an errno value met while doing action ("read", "write") on
/// path: "Cannot <action> <path>: <reason>" with the shared error number.
Failure fileFailure(int errnoValue, const std::string& action, const std::string& path);

}  // namespace stego::platform
