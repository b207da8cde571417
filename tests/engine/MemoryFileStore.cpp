#include "MemoryFileStore.h"

#include "engine/Failure.h"

namespace stego::test {

namespace {

constexpr int kFileNotFound = 53;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathIsFolder = 75;
constexpr int kPathNotFound = 76;

class MemoryScratchDirectory : public ScratchDirectory {
public:
    MemoryScratchDirectory(MemoryFileStore& store, std::string path) : m_store(store), m_path(std::move(path)) {}
    ~MemoryScratchDirectory() override {
        const std::string prefix = m_path + "/";
        std::erase_if(m_store.files, [&](const auto& entry) { return entry.first.starts_with(prefix); });
        m_store.folders.erase(m_path);
        m_store.liveScratchFolders.erase(m_path);
    }
    const std::string& path() const override { return m_path; }

private:
    MemoryFileStore& m_store;
    std::string m_path;
};

}  // namespace

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

MemoryFileStore::MemoryFileStore() : folders{"/", ".", "/tmp", "/work"} {}

FileStore::Kind MemoryFileStore::kindOf(const std::string& path) const {
    if (files.contains(path))
        return Kind::RegularFile;
    if (folders.contains(path))
        return Kind::Directory;
    if (devices.contains(path))
        return Kind::Other;
    return Kind::Missing;
}

std::string MemoryFileStore::readAll(const std::string& path) const {
    if (folders.contains(path))
        throw Failure(kPathIsFolder, "Path is a folder, not a file: " + path);
    const auto found = files.find(path);
    if (found == files.end())
        throw Failure(kFileNotFound, "File not found: " + path);
    return found->second;
}

std::int64_t MemoryFileStore::sizeOf(const std::string& path) const {
    return static_cast<std::int64_t>(readAll(path).size());
}

void MemoryFileStore::writeAll(const std::string& path, std::string_view data) {
    if (!folders.contains(folderOf(path)))
        throw Failure(kPathNotFound, "Path not found: " + path);
    if (folders.contains(path))
        throw Failure(kPathIsFolder, "Path is a folder, not a file: " + path);
    if (!failWritesContaining.empty() && path.find(failWritesContaining) != std::string::npos)
        throw Failure(kDiskFull, "Disk full: " + path);
    files[path] = std::string(data);
}

std::unique_ptr<ScratchDirectory> MemoryFileStore::makeScratchDirectory(const std::string& besidePath) {
    const std::string folder = besidePath.empty() ? "/tmp" : folderOf(besidePath);
    if (!folders.contains(folder))
        throw Failure(kPathNotFound, "The folder " + folder + " does not exist");
    const std::string path = (folder == "/" ? "" : folder) + "/.scratch-" + std::to_string(++m_scratchCount);
    folders.insert(path);
    liveScratchFolders.insert(path);
    scratchFoldersMade.insert(path);
    return std::make_unique<MemoryScratchDirectory>(*this, path);
}

void MemoryFileStore::replaceFile(const std::string& from, const std::string& to) {
    if (failReplace)
        throw Failure(kPermissionDenied, "Permission denied: " + to);
    const auto found = files.find(from);
    if (found == files.end())
        throw Failure(kFileNotFound, "File not found: " + from);
    std::string data = std::move(found->second);
    files.erase(found);
    files[to] = std::move(data);
}

}  // namespace stego::test
