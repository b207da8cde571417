// Failures of the cipher, each with the number callers and users know it by.
#pragma once

#include <stdexcept>
#include <string>

#include "support/ErrorNumbers.h"

namespace corvid {

/// Error numbers the cipher raises besides the file system's own.
using support::kInvalidArgument;
using support::kMissingKey;
using support::kOverflow;

/// A failure that carries its number, a message a person understands and, for
/// file-system failures, the path concerned.
class CipherError : public std::runtime_error {
public:
    CipherError(int number, const std::string& message, std::string path = {})
        : std::runtime_error(message), m_number(number), m_path(std::move(path)) {}

    int number() const noexcept { return m_number; }
    const std::string& path() const noexcept { return m_path; }

private:
    int m_number;
    std::string m_path;
};

}  // namespace corvid
