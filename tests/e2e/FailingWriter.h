// A file writer that lets a set number of bytes through and then fails as a
// full disk does, so that a test can stop any write half-way.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include "platform/FileWriter.h"
#include "platform/PosixFileStore.h"
#include "platform/PosixFileWriter.h"

namespace testsupport {

class FailingWriter : public stego::platform::FileWriter {
public:
    explicit FailingWriter(std::size_t bytesBeforeFailure) : m_left(bytesBeforeFailure) {}

    void writeAll(int fd, std::string_view data, const std::string& path) override {
        const std::size_t part = std::min(data.size(), m_left);
        // The bytes before the failure really reach the file, as they would on a disk filling up.
        m_disk.writeAll(fd, data.substr(0, part), path);
        m_left -= part;
        if (part < data.size()) {
            m_failed = true;
            throw stego::platform::fileFailure(ENOSPC, "write", path);
        }
    }

    bool failed() const { return m_failed; }

private:
    stego::platform::PosixFileWriter m_disk;
    std::size_t m_left;
    bool m_failed = false;
};

}  // namespace testsupport
