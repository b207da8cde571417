// A file store held in a map, with folders, scratch folders and failures on
// demand, so that engine tests can see every file a command touched.
#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/FileStore.h"

namespace stego::test {

class MemoryFileStore : public FileStore {
public:
    MemoryFileStore();

    Kind kindOf(const std::string& path) const override;
    std::string readAll(const std::string& path) const override;
    std::int64_t sizeOf(const std::string& path) const override;
    void writeAll(const std::string& path, std::string_view data) override;
    std::unique_ptr<ScratchDirectory> makeScratchDirectory(const std::string& besidePath) override;
    void replaceFile(const std::string& from, const std::string& to) override;
    bool sameFile(const std::string& a, const std::string& b) const override { return a == b; }

    // What is on the "disk": compare before and after a command.
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> devices;

    // Failures on demand: a write to a path holding this text, and every replace.
    std::string failWritesContaining;
    bool failReplace = false;

    std::set<std::string> liveScratchFolders;
    std::set<std::string> scratchFoldersMade;

private:
    int m_scratchCount = 0;
};

/// The folder that holds path ("/work/a.bin" -> "/work").
std::string folderOf(const std::string& path);

}  // namespace stego::test
