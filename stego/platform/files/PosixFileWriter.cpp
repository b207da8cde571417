#include "platform/PosixFileWriter.h"

#include <cerrno>
#include <unistd.h>

#include "platform/PosixFileStore.h"

namespace stego::platform {

void PosixFileWriter::writeAll(int fd, std::string_view data, const std::string& path) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throw fileFailure(errno, "write", path);
        }
        data.remove_prefix(static_cast<std::size_t>(put));
    }
}

FileWriter& systemFileWriter() {
    static PosixFileWriter writer;
    return writer;
}

}  // namespace stego::platform
