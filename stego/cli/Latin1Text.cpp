#include "Latin1Text.h"

#include <cstdint>
#include <cstdio>

#include "engine/Failure.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

std::string codePointName(std::uint32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

[[noreturn]] void notUtf8(const std::string& what, std::size_t byteIndex) {
    throw Failure(kInvalidArgument, "Byte " + std::to_string(byteIndex + 1) + " of " + what +
                                        " is not valid UTF-8; texts are read as UTF-8.");
}

// Appends the ISO 8859-1 form of utf8 to latin1, character by character.
void appendLatin1(std::string_view utf8, const std::string& what, std::string& latin1) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07u;
        } else {
            notUtf8(what, i);
        }
        if (i + length > utf8.size())
            notUtf8(what, i);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                notUtf8(what, i + k);
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            notUtf8(what, i);
        ++characters;
        if (codePoint > 0xFF)
            throw Failure(kInvalidArgument, "Character " + std::to_string(characters) + " of " + what + ", \"" +
                                                std::string(utf8.substr(i, length)) + "\" (" +
                                                codePointName(codePoint) +
                                                "), is beyond ISO 8859-1 and cannot be hidden.");
        latin1.push_back(static_cast<char>(codePoint));
        i += length;
    }
}

}  // namespace

std::string utf8ToLatin1(std::string_view utf8, const std::string& what) {
    std::string latin1;
    latin1.reserve(utf8.size());
    try {
        appendLatin1(utf8, what, latin1);
    } catch (...) {
        support::secureClear(latin1);  // the part of a message converted so far
        throw;
    }
    return latin1;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string utf8;
    utf8.reserve(2 * latin1.size());  // the most it can need: no regrowth leaves a copy behind
    for (const char ch : latin1) {
        const auto code = static_cast<unsigned char>(ch);
        if (code < 0x80) {
            utf8.push_back(ch);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return utf8;
}

}  // namespace stego::cli
