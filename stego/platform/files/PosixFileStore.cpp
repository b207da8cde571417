#include "platform/PosixFileStore.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/Failure.h"
#include "platform/FileDescriptor.h"
#include "platform/PosixFileWriter.h"
#include "platform/PrivateFolder.h"
#include "platform/ReplacementFile.h"
#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace stego::platform {

namespace {

[[noreturn]] void failWithErrno(int errnoValue, const std::string& action, const std::string& path) {
    throw fileFailure(errnoValue, action, path);
}

std::string systemTemporaryFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && *tmpdir != '\0')
        return tmpdir;
    return "/tmp";
}

// Its path() goes through the folder's handle, so that every file the engine
// or the cipher opens in it lands in this folder, whatever has its name by then.
// A crash leaves the folder behind; the next private folder made beside it removes it.
class PosixScratchDirectory : public ScratchDirectory {
public:
    explicit PosixScratchDirectory(const std::string& folder) : m_folder(folder) {}
    const std::string& path() const override { return m_folder.pathThroughHandle(); }

private:
    PrivateFolder m_folder;
};

void syncFolderOf(const std::string& path) {
    const int fd = ::open(folderHolding(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncFolder(fd);
        ::close(fd);
    }
}

}  // namespace

Failure fileFailure(int errnoValue, const std::string& action, const std::string& path) {
    const support::FileErrorInfo info = support::describeFileError(errnoValue);
    return Failure(info.number, "Cannot " + action + " " + path + ": " + info.text);
}

PosixFileStore::PosixFileStore() : m_writer(&systemFileWriter()) {}

PosixFileStore::PosixFileStore(FileWriter& writer) : m_writer(&writer) {}

FileStore::Kind PosixFileStore::kindOf(const std::string& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? Kind::Missing : Kind::Other;
    if (S_ISREG(info.st_mode))
        return Kind::RegularFile;
    if (S_ISDIR(info.st_mode))
        return Kind::Directory;
    return Kind::Other;
}

std::string PosixFileStore::readAll(const std::string& path) const {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        failWithErrno(errno, "read", path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        failWithErrno(errno, "read", path);
    if (S_ISDIR(info.st_mode))
        failWithErrno(EISDIR, "read", path);

    std::string data;
    if (S_ISREG(info.st_mode))
        data.reserve(static_cast<std::size_t>(info.st_size));
    // The file may be a message: the buffer does not keep a copy of it.
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            support::secureClear(buffer, sizeof buffer);
            failWithErrno(error, "read", path);
        }
        if (got == 0)
            break;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    support::secureClear(buffer, sizeof buffer);
    return data;
}

std::int64_t PosixFileStore::sizeOf(const std::string& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        failWithErrno(errno, "read", path);
    if (S_ISDIR(info.st_mode))
        failWithErrno(EISDIR, "read", path);
    return static_cast<std::int64_t>(info.st_size);
}

void PosixFileStore::writeAll(const std::string& path, std::string_view data) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0)
        failWithErrno(errno, "write", path);
    m_writer->writeAll(file.get(), data, path);
    if (::close(file.release()) != 0)
        failWithErrno(errno, "write", path);
}

std::unique_ptr<ScratchDirectory> PosixFileStore::makeScratchDirectory(const std::string& besidePath) {
    return std::make_unique<PosixScratchDirectory>(besidePath.empty() ? systemTemporaryFolder()
                                                                      : folderHolding(besidePath));
}

void PosixFileStore::replaceFile(const std::string& from, const std::string& to) {
    {
        FileDescriptor file(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (file.get() < 0)
            failWithErrno(errno, "write", from);
        if (::fsync(file.get()) != 0)
            failWithErrno(errno, "write", from);
        // What is replaced through the store is extracted or decrypted data:
        // a new file is for its owner only, a replaced one keeps its permissions.
        takeOverPermissions(file.get(), to, mode_t{0600}, to);
    }
    if (::rename(from.c_str(), to.c_str()) != 0)
        failWithErrno(errno, "replace", to);
    syncFolderOf(to);
}

void PosixFileStore::syncFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        failWithErrno(errno, "write", path);
    if (::fsync(file.get()) != 0)
        failWithErrno(errno, "write", path);
}

bool PosixFileStore::sameFile(const std::string& a, const std::string& b) const {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace stego::platform
