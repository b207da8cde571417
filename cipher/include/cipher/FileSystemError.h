// The cipher's error for a failed file operation: the system's number and words plus the path.
#pragma once

#include <string>

#include "cipher/CipherError.h"
#include "support/FileErrors.h"

namespace corvid {

inline CipherError fileSystemError(int errnoValue, const std::string& path) {
    return CipherError(support::describeFileError(errnoValue).number, support::fileErrorMessage(errnoValue, path),
                       path);
}

}  // namespace corvid
