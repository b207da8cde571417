// Replacing a file in one rename, with the new contents prepared in a private folder.

#include "FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "comsupport/ComError.h"

namespace comrt {
namespace {
[[noreturn]] void fail(const std::filesystem::path& path, int error) {
    throw com::ComError(REGDB_E_WRITEREGDB, path.string() + ": " + std::strerror(error));
}

// Removes the private folder and whatever is left in it, however the write ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::filesystem::path& beside) {
        std::string pattern = (beside / ".replace-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            fail(beside, errno);
        m_path = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Registry folders are made 0755 whatever the umask: under umask 000 a
// system-wide classes/ folder writable by all would let anyone redirect Corvid.
void makeRegistryFolders(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return;
    if (folder.has_parent_path() && folder.parent_path() != folder)
        makeRegistryFolders(folder.parent_path());
    if (::mkdir(folder.c_str(), 0755) != 0) {
        if (errno != EEXIST)
            fail(folder, errno);
        return;  // made by someone else meanwhile: not ours to change
    }
    if (::chmod(folder.c_str(), 0755) != 0)
        fail(folder, errno);
}

void writeWhole(const std::filesystem::path& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        fail(path, errno);
    // Whatever the umask: every user reads a record, only its owner changes it.
    if (::fchmod(fd, 0644) != 0) {
        const int error = errno;
        ::close(fd);
        fail(path, error);
    }
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            fail(path, error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
        fail(path, errno);
}
}  // namespace

void replaceFileContents(const std::filesystem::path& target, std::string_view content) {
    const auto folder = target.parent_path();
    makeRegistryFolders(folder);
    ScratchFolder scratch(folder);
    const auto prepared = scratch.path() / target.filename();
    writeWhole(prepared, content);
    if (::rename(prepared.c_str(), target.c_str()) != 0)
        fail(target, errno);
}

}  // namespace comrt
