#include "cipher/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cipher/CipherError.h"
#include "cipher/FileSystemError.h"

namespace corvid {

namespace {

FileIdentity identityOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

CipherError sameFileError(const std::string& path) {
    return CipherError(kInvalidArgument,
                       "Invalid procedure call or argument: the input and the output are the same file: " + path, path);
}

}  // namespace

OutputFile::OutputFile(const std::string& path, const FileIdentity& input) : m_path(path) {
    // Checked before opening so that a read-only input is refused for what it is.
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && identityOf(status) == input) {
        throw sameFileError(path);
    }
    m_descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (m_descriptor < 0) {
        throw fileSystemError(errno, path);
    }
    // Checked again on what was opened, in case the name changed hands in between.
    int error = ::fstat(m_descriptor, &status) == 0 ? 0 : errno;
    if (error == 0 && identityOf(status) == input) {
        ::close(m_descriptor);
        m_descriptor = -1;
        throw sameFileError(path);
    }
    // Devices such as /dev/null cannot be cut and need not be.
    if (error == 0 && S_ISREG(status.st_mode) && ::ftruncate(m_descriptor, 0) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
        throw fileSystemError(error, path);
    }
}

OutputFile::~OutputFile() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

int OutputFile::writeAll(std::string_view bytes, std::size_t& written) noexcept {
    written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(m_descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

void OutputFile::close() {
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    if (::close(descriptor) != 0 && errno != EINTR) {
        throw fileSystemError(errno, m_path);
    }
}

}  // namespace corvid
