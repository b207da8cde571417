// The engine's one error type: a number and a message a person understands.
#pragma once

#include <stdexcept>
#include <string>

namespace stego {

/// Error numbers of the engine's own refusals (the cipher's and the file
/// system's numbers pass through unchanged).
inline constexpr int kInvalidArgument = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kInternalError = 51;  // a failure no check foresaw
inline constexpr int kCipherUnavailable = 429;  // the cipher object cannot be created

class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& message) : std::runtime_error(message), m_number(number) {}
    int number() const noexcept { return m_number; }

private:
    int m_number;
};

}  // namespace stego
