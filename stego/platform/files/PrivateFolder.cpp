#include "platform/PrivateFolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/Failure.h"
#include "platform/PosixFileStore.h"
#include "support/FileErrors.h"

namespace stego::platform {

namespace {

constexpr std::string_view kPrefix = ".pixquill-";

Failure cannotMakeIn(int errnoValue, const std::string& folder) {
    if (errnoValue == ENOENT || errnoValue == ENOTDIR)
        return Failure(support::describeFileError(ENOTDIR).number, "The folder " + folder + " does not exist");
    const support::FileErrorInfo info = support::describeFileError(errnoValue);
    return Failure(info.number, "Cannot make a temporary folder in " + folder + ": " + info.text);
}

std::string randomSuffix() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string suffix(6, 'x');
    for (char& letter : suffix)
        letter = kLetters[pick(random)];
    return suffix;
}

// The process that made ".pixquill-<pid>-XXXXXX", or 0 for any other name.
pid_t ownerProcessOf(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix)
        return 0;
    name.remove_prefix(kPrefix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || name.size() - dash - 1 != 6)
        return 0;
    long pid = 0;
    for (const char digit : name.substr(0, dash)) {
        if (digit < '0' || digit > '9')
            return 0;
        pid = pid * 10 + (digit - '0');
    }
    return static_cast<pid_t>(pid);
}

bool processIsGone(pid_t pid) { return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH; }

// The names in the folder opened as folderFd, "." and ".." left out.
std::vector<std::string> namesIn(int folderFd) {
    std::vector<std::string> names;
    const int listFd = ::dup(folderFd);
    if (listFd < 0)
        return names;
    DIR* listing = ::fdopendir(listFd);
    if (listing == nullptr) {
        ::close(listFd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(listing);
    return names;
}

// Removes what is in the folder opened as folderFd, never following a link.
void removeContentOf(int folderFd) {
    for (const std::string& name : namesIn(folderFd)) {
        if (::unlinkat(folderFd, name.c_str(), 0) == 0 || errno != EISDIR)
            continue;
        const int inner = ::openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inner >= 0) {
            removeContentOf(inner);
            ::close(inner);
            ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR);
        }
    }
}

bool sameFolder(int parentFd, const std::string& name, const struct stat& ours) {
    struct stat now {};
    return ::fstatat(parentFd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == ours.st_dev &&
           now.st_ino == ours.st_ino;
}

// Removes the folder name in parentFd if it is ours (owned by this user, 0700),
// opened without following a link, and emptied through its own handle.
void removeOwnFolder(int parentFd, const std::string& name) {
    const int fd = ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700) {
        removeContentOf(fd);
        if (sameFolder(parentFd, name, info))
            ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR);
    }
    ::close(fd);
}

}  // namespace

std::string folderHolding(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool handlesHavePaths() {
    static const bool procFdExists = ::access("/proc/self/fd", X_OK) == 0;
    return procFdExists;
}

std::string pathThroughHandle(int fd, const std::string& fallback) {
    return handlesHavePaths() ? "/proc/self/fd/" + std::to_string(fd) : fallback;
}

void removeStalePrivateFolders(int parentFd) {
    for (const std::string& name : namesIn(parentFd)) {
        const pid_t pid = ownerProcessOf(name);
        if (pid > 0 && processIsGone(pid))
            removeOwnFolder(parentFd, name);
    }
}

PrivateFolder::PrivateFolder(const std::string& folder) {
    m_parentFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_parentFd < 0)
        throw cannotMakeIn(errno, folder);
    removeStalePrivateFolders(m_parentFd);

    const std::string stem = std::string(kPrefix) + std::to_string(::getpid()) + "-";
    for (int attempt = 0;; ++attempt) {
        m_name = stem + randomSuffix();
        if (::mkdirat(m_parentFd, m_name.c_str(), 0700) == 0)
            break;
        const int error = errno;
        if (error != EEXIST || attempt == 100) {
            ::close(m_parentFd);
            throw cannotMakeIn(error, folder);
        }
    }
    m_path = (folder == "/" ? "" : folder) + "/" + m_name;

    // Whatever answers to the name now must be the folder just made: owned by
    // this user (another user cannot make one that is) and closed to others.
    m_fd = ::openat(m_parentFd, m_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    const bool ours = m_fd >= 0 && ::fstat(m_fd, &info) == 0 && info.st_uid == ::geteuid() &&
                      (info.st_mode & 077) == 0 && ::fchmod(m_fd, 0700) == 0;
    if (!ours) {
        if (m_fd >= 0)
            ::close(m_fd);
        ::close(m_parentFd);
        throw Failure(support::describeFileError(EACCES).number, "Cannot make a temporary folder in " + folder + ": " +
                                                                     m_path + " was replaced by someone else's folder");
    }
    m_handlePath = platform::pathThroughHandle(m_fd, m_path);
}

PrivateFolder::~PrivateFolder() {
    removeContentOf(m_fd);
    struct stat info {};
    if (::fstat(m_fd, &info) == 0 && sameFolder(m_parentFd, m_name, info))
        ::unlinkat(m_parentFd, m_name.c_str(), AT_REMOVEDIR);
    ::close(m_fd);
    ::close(m_parentFd);
}

}  // namespace stego::platform
