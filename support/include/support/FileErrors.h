// One table from the operating system's error codes to the numbers and words
// this system reports for file failures; the cipher and the program share it.
#pragma once

#include <cerrno>
#include <string>

#include "ErrorNumbers.h"

namespace support {

struct FileErrorInfo {
    int number;
    const char* text;
};

/// Maps an errno value to a stable error number and a plain description.
inline FileErrorInfo describeFileError(int errnoValue) noexcept {
    switch (errnoValue) {
    case ENOENT: return {kFileNotFound, "File not found"};
    case ENOTDIR: return {kPathNotFound, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS: return {kPermissionDenied, "Permission denied"};
    case ENOSPC:
#ifdef EDQUOT  // Windows' C library has no quota error
    case EDQUOT:
#endif
    case EFBIG: return {kDiskFull, "Disk full"};
    case EISDIR: return {kNotOrdinaryFile, "Path is a folder, not a file"};
    case ENAMETOOLONG: return {kBadFileName, "Bad file name"};
    case EMFILE:
    case ENFILE: return {kTooManyFiles, "Too many files open"};
    default: return {kDeviceError, "Device input/output error"};
    }
}

/// "<text>: <path>", the message of a file failure.
inline std::string fileErrorMessage(int errnoValue, const std::string& path) {
    return std::string(describeFileError(errnoValue).text) + ": " + path;
}

}  // namespace support
