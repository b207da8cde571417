#include "cipher/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>

#include "FileIdentity_win32.h"
#include "cipher/CipherError.h"
#include "cipher/FileSystemError.h"

namespace corvid {
namespace {
CipherError sameFileError(const std::string& path) {
    return CipherError(kInvalidArgument,
                       "Invalid procedure call or argument: the input and the output are the same file: " + path, path);
}

// The identity of an existing file, opened without changing it; none when it cannot be opened.
std::optional<FileIdentity> identityOfPath(const std::wstring& path) {
    const int descriptor = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (descriptor < 0)
        return std::nullopt;
    const auto identity = win32::identityOf(descriptor);
    ::_close(descriptor);
    return identity;
}
}  // namespace

OutputFile::OutputFile(const std::string& path, const FileIdentity& input) : m_path(path) {
    const std::wstring widePath = win32::widePath(path);
    // Checked before opening so that a read-only input is refused for what it is.
    if (identityOfPath(widePath) == input) {
        throw sameFileError(path);
    }
    m_descriptor = ::_wopen(widePath.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (m_descriptor < 0) {
        throw fileSystemError(errno, path);
    }
    // Checked again on what was opened, in case the name changed hands in between.
    const auto opened = win32::identityOf(m_descriptor);
    if (opened && *opened == input) {
        ::_close(m_descriptor);
        m_descriptor = -1;
        throw sameFileError(path);
    }
    // Devices such as NUL cannot be cut and need not be.
    int error = 0;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(m_descriptor));
    if (GetFileType(handle) == FILE_TYPE_DISK && ::_chsize_s(m_descriptor, 0) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::_close(m_descriptor);
        m_descriptor = -1;
        throw fileSystemError(error, path);
    }
}

OutputFile::~OutputFile() {
    if (m_descriptor >= 0) {
        ::_close(m_descriptor);
    }
}

int OutputFile::writeAll(std::string_view bytes, std::size_t& written) noexcept {
    written = 0;
    while (written < bytes.size()) {
        const auto want = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        const int count = ::_write(m_descriptor, bytes.data() + written, want);
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
    if (::_close(descriptor) != 0) {
        throw fileSystemError(errno, m_path);
    }
}

}  // namespace corvid
