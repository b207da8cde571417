// The symbols the machine runs over: the 84-character text alphabet, or the 256 byte values.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvid {

/// a-z, A-Z, 0-9 and 22 signs; the space is the 78th character. Lacks " # % & + / ? \ _ ` ~.
inline constexpr std::string_view kTextAlphabet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789()!@$^*-=[]{};: ,<.>|'";
static_assert(kTextAlphabet.size() == 84);

/// 0-based place of each byte in kTextAlphabet, -1 for bytes outside it; a table so that
/// looking a character up costs one read.
inline constexpr std::array<std::int16_t, 256> kTextAlphabetIndex = [] {
    std::array<std::int16_t, 256> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < kTextAlphabet.size(); ++i) {
        index[static_cast<unsigned char>(kTextAlphabet[i])] = static_cast<std::int16_t>(i);
    }
    return index;
}();

}  // namespace corvid
