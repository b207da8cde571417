// An open POSIX file descriptor that closes itself when it goes out of scope.
#pragma once

#include <unistd.h>

namespace stego::platform {

/// Owns fd (negative for none). release() hands it back so that the caller can
/// close it and check the result, which is where a late write error shows.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

}  // namespace stego::platform
