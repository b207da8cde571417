// The key's working numbers: a digit key spread into the 36,864 values whose
// pairs name the deck positions swapped during the key set-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvid {

inline constexpr std::size_t kNormalizedKeyLength = 18;
inline constexpr std::size_t kKeyValueCount = 36864;

/// True when key holds only the characters '0' to '9' (an empty key is all digits).
bool isDigitKey(const std::string& key) noexcept;

/// key written after itself until it reaches 18 characters, then cut to 18; key must not be empty.
std::string normalizeKey(const std::string& key);

/// KeyValues(1) to KeyValues(36864) of a normalised digit key, at those indexes (index 0 is
/// unused). Positions 1-18 lie in 0..N (0 only from a "00" pair), the rest in 1..N.
std::vector<std::int16_t> buildKeyValues(const std::string& normalizedKey, int reductionBound);

}  // namespace corvid
