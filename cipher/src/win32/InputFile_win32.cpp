#include "cipher/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>

#include "FileIdentity_win32.h"
#include "cipher/FileSystemError.h"

namespace corvid {

InputFile InputFile::read(const std::string& path, std::size_t maxBytes) {
    const int descriptor = ::_wopen(win32::widePath(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (descriptor < 0) {
        throw fileSystemError(errno, path);
    }
    InputFile input;
    int error = 0;
    if (const auto identity = win32::identityOf(descriptor)) {
        input.identity = *identity;
    } else {
        error = EIO;
    }
    if (error == 0) {
        input.bytes.resize(maxBytes);
        std::size_t total = 0;
        while (total < maxBytes) {
            const auto want = static_cast<unsigned>(std::min<std::size_t>(maxBytes - total, 1u << 30));
            const int count = ::_read(descriptor, input.bytes.data() + total, want);
            if (count < 0) {
                error = errno;
                break;
            }
            if (count == 0) {
                break;
            }
            total += static_cast<std::size_t>(count);
        }
        input.bytes.resize(total);
    }
    ::_close(descriptor);  // read-only: nothing can be lost by a failed close
    if (error != 0) {
        throw fileSystemError(error, path);
    }
    return input;
}

}  // namespace corvid
