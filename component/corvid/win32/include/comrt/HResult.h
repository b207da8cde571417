// The status codes of the system's component runtime, and the range that
// carries a component's numbered errors, for code shared with other platforms.
#pragma once

#include <windows.h>

#include <cstdint>

namespace com {

constexpr bool succeeded(HRESULT result) noexcept { return result >= 0; }
constexpr bool failed(HRESULT result) noexcept { return result < 0; }

/// A component's own numbered errors (1 to 65535) travel as 0x800A0000 + number.
inline constexpr std::uint32_t kNumberedErrorBase = 0x800A0000u;
inline constexpr int kLargestErrorNumber = 0xFFFF;

/// 0x800A0000 + number; numbers outside 1 to 65535 have no such code and give E_UNEXPECTED.
constexpr HRESULT resultFromErrorNumber(int number) noexcept {
    if (number < 1 || number > kLargestErrorNumber)
        return E_UNEXPECTED;
    return static_cast<HRESULT>(kNumberedErrorBase + static_cast<std::uint32_t>(number));
}

constexpr bool isNumberedError(HRESULT result) noexcept {
    const auto code = static_cast<std::uint32_t>(result);
    return (code & 0xFFFF0000u) == kNumberedErrorBase && (code & 0xFFFFu) != 0;
}
/// The number a numbered error carries; 0 for every other code.
constexpr int errorNumberFromResult(HRESULT result) noexcept {
    return isNumberedError(result) ? static_cast<int>(static_cast<std::uint32_t>(result) & 0xFFFFu) : 0;
}

/// Words for the codes this system produces itself; nullptr for any other.
constexpr const char* resultCodeText(HRESULT result) noexcept {
    switch (result) {
    case E_OUTOFMEMORY: return "Out of memory";
    case E_UNEXPECTED: return "An unexpected failure occurred";
    case E_POINTER: return "A required pointer argument was null";
    case E_INVALIDARG: return "An argument is not valid";
    default: return nullptr;
    }
}

}  // namespace com
