#include "cipher/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cipher/FileSystemError.h"

namespace corvid {

InputFile InputFile::read(const std::string& path, std::size_t maxBytes) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        throw fileSystemError(errno, path);
    }
    InputFile input;
    struct stat status {};
    int error = ::fstat(descriptor, &status) == 0 ? 0 : errno;
    if (error == 0) {
        input.identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
        input.bytes.resize(maxBytes);
        std::size_t total = 0;
        while (total < maxBytes) {
            const ssize_t count = ::read(descriptor, input.bytes.data() + total, maxBytes - total);
            if (count < 0 && errno == EINTR) {
                continue;
            }
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
    ::close(descriptor);  // read-only: nothing can be lost by a failed close
    if (error != 0) {
        throw fileSystemError(error, path);
    }
    return input;
}

}  // namespace corvid
