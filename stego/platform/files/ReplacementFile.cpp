#include "platform/ReplacementFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PosixFileStore.h"

namespace stego::platform {

namespace {

// The name the finished file gets in the private folder, just before the rename.
constexpr const char* kFinishedName = "replacement";

std::string leafOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void takeOverPermissions(int fd, const std::string& destination, std::optional<mode_t> modeIfNew,
                         const std::string& shownPath) {
    struct stat existing {};
    if (::stat(destination.c_str(), &existing) != 0 || !S_ISREG(existing.st_mode)) {
        if (modeIfNew && ::fchmod(fd, *modeIfNew) != 0)
            throw fileFailure(errno, "write", shownPath);
        return;
    }
    // The owner first: a change of owner clears set-id bits, which a replaced
    // file does not keep anyway. Only root may give a file away; the group
    // alone can be kept by a member of it, and otherwise stays ours.
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Not a member of the file's group: the file stays in ours.
    }
    if (::fchmod(fd, existing.st_mode & 0777) != 0)
        throw fileFailure(errno, "write", shownPath);
}

void syncFolder(int folderFd) {
    // A file system that cannot sync folders has done what it can: not reported.
    (void)::fsync(folderFd);
}

ReplacementFile::ReplacementFile(const std::string& destination, NewFileMode mode)
    : m_destination(destination), m_folder(folderHolding(destination)) {
    const mode_t createMode = mode == NewFileMode::OwnerOnly ? 0600 : 0666;
    // Unnamed first: if the program dies before commit, the file goes with it.
    // It is named later through /proc, so it is used only where that exists.
    if (handlesHavePaths())
        m_fd = ::openat(m_folder.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, createMode);
    m_unnamed = m_fd >= 0;
    if (!m_unnamed)
        m_fd = ::openat(m_folder.fd(), kFinishedName, O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, createMode);
    if (m_fd < 0)
        throw fileFailure(errno, "write", destination);
    m_handlePath = platform::pathThroughHandle(m_fd, m_folder.path() + "/" + kFinishedName);
}

ReplacementFile::~ReplacementFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void ReplacementFile::commit() {
    if (::fsync(m_fd) != 0)
        throw fileFailure(errno, "write", m_destination);
    takeOverPermissions(m_fd, m_destination, std::nullopt, m_destination);
    if (m_unnamed) {
        if (::linkat(AT_FDCWD, m_handlePath.c_str(), m_folder.fd(), kFinishedName, AT_SYMLINK_FOLLOW) != 0)
            throw fileFailure(errno, "write", m_destination);
    }
    const int destinationFolder = m_folder.parentFd();
    if (::renameat(m_folder.fd(), kFinishedName, destinationFolder, leafOf(m_destination).c_str()) != 0)
        throw fileFailure(errno, "replace", m_destination);
    syncFolder(destinationFolder);
}

}  // namespace stego::platform
