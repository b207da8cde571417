// One table from the operating system's error codes to the numbers and words
// this system reports for file failures; the cipher and the program share it.
#pragma once

#include <cerrno>
#include <string>

namespace corvid {

struct FileErrorInfo {
    int number;
    const char* text;
};

/// Maps an errno value to a stable error number and a plain description.
inline FileErrorInfo describeFileError(int errnoValue) noexcept {
    switch (errnoValue) {
    case ENOENT: return {53, "File not found"};
    case ENOTDIR: return {76, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS: return {70, "Permission denied"};
    case ENOSPC:
#ifdef EDQUOT  // Windows' C library has no quota error
    case EDQUOT:
#endif
    case EFBIG: return {61, "Disk full"};
    case EISDIR: return {75, "Path is a folder, not a file"};
    case ENAMETOOLONG: return {52, "Bad file name"};
    case EMFILE:
    case ENFILE: return {67, "Too many files open"};
    default: return {57, "Device input/output error"};
    }
}

/// "<text>: <path>", the message of a file failure.
inline std::string fileErrorMessage(int errnoValue, const std::string& path) {
    return std::string(describeFileError(errnoValue).text) + ": " + path;
}

}  // namespace corvid
