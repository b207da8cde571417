// The program's file writer: write(2) until every byte is out.
#pragma once

#include "platform/FileWriter.h"

namespace stego::platform {

class PosixFileWriter : public FileWriter {
public:
    /// Retries short writes and interrupted calls.
    void writeAll(int fd, std::string_view data, const std::string& path) override;
};

/// The writer the program uses everywhere; it keeps no state, so one serves all.
FileWriter& systemFileWriter();

}  // namespace stego::platform
