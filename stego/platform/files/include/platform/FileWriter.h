// How the platform puts bytes into a file it has opened. The program writes
// them as they come; a test passes a writer that fails part-way.
#pragma once

#include <string>
#include <string_view>

namespace stego::platform {

class FileWriter {
public:
    virtual ~FileWriter() = default;
    /// Appends all of data to the open file fd; throws stego::Failure naming path.
    virtual void writeAll(int fd, std::string_view data, const std::string& path) = 0;
};

}  // namespace stego::platform
