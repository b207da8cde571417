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
#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace stego::platform {

namespace {

[[noreturn]] void failWithErrno(int errnoValue, const std::string& action, const std::string& path) {
    throw fileFailure(errnoValue, action, path);
}

std::string folderHolding(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string systemTemporaryFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && *tmpdir != '\0')
        return tmpdir;
    return "/tmp";
}

// A crash can still leave the folder behind; the name says whose it is.
class PosixScratchDirectory : public ScratchDirectory {
public:
    explicit PosixScratchDirectory(std::string path) : m_path(std::move(path)) {}
    ~PosixScratchDirectory() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const override { return m_path; }

private:
    std::string m_path;
};

void syncFolderOf(const std::string& path) {
    // Makes the rename itself durable; a file system that cannot sync folders
    // has already done what it can, so failures here are not reported.
    const int fd = ::open(folderHolding(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
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
    const std::string folder = besidePath.empty() ? systemTemporaryFolder() : folderHolding(besidePath);
    std::string pattern = folder + "/.pixquill-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700: only this user can see in.
    if (::mkdtemp(name.data()) == nullptr) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            throw Failure(support::describeFileError(ENOTDIR).number, "The folder " + folder + " does not exist");
        const support::FileErrorInfo info = support::describeFileError(error);
        throw Failure(info.number, "Cannot make a temporary folder in " + folder + ": " + info.text);
    }
    return std::make_unique<PosixScratchDirectory>(name.data());
}

void PosixFileStore::replaceFile(const std::string& from, const std::string& to) {
    syncFile(from);
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
