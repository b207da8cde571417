// A cipher output written in place: opened (created when missing), refused when
// it is the input under another name, then cut to length 0 before any write.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cipher/FileIdentity.h"

namespace corvid {

class OutputFile {
public:
    /// Throws error 5 when path leads to the file `input`, leaving it untouched, and a
    /// file-system CipherError when the file cannot be opened or emptied.
    OutputFile(const std::string& path, const FileIdentity& input);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /// Appends bytes; returns 0, or the errno of the failure with `written` telling how many
    /// bytes made it into the file before it.
    int writeAll(std::string_view bytes, std::size_t& written) noexcept;
    /// Closes the file; throws a file-system CipherError when the system reports a failure.
    void close();

private:
    std::string m_path;
    int m_descriptor = -1;
};

}  // namespace corvid
