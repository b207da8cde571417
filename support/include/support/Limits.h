// Limits shared by the cipher, the engine and the programs.
#pragma once

#include <cstdint>

namespace support {

/// The most symbols the cipher takes under one key set-up, and so the longest
/// message (characters) or file (bytes) that can be hidden or enciphered.
inline constexpr std::int32_t kLongestItem = 32767;

}  // namespace support
