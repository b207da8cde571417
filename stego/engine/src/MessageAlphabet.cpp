#include "engine/MessageAlphabet.h"

#include <array>

namespace stego {

namespace {

constexpr std::array<bool, 256> membership() {
    std::array<bool, 256> member{};
    for (const char ch : kMessageAlphabet)
        member[static_cast<unsigned char>(ch)] = true;
    return member;
}

constexpr std::array<bool, 256> kInAlphabet = membership();

}  // namespace

std::optional<std::size_t> firstCharacterOutsideAlphabet(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!kInAlphabet[static_cast<unsigned char>(text[i])])
            return i;
    return std::nullopt;
}

std::string describeCharacter(char ch) {
    const auto code = static_cast<unsigned char>(ch);
    switch (code) {
    case '\n': return "a line break";
    case '\r': return "a carriage return";
    case '\t': return "a tab";
    case ' ': return "a space";
    default: break;
    }
    if (code >= 0x21 && code <= 0x7E)
        return std::string("\"") + ch + "\"";
    return "the character with code " + std::to_string(code);
}

}  // namespace stego
