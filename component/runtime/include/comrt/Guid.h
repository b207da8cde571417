// The 128-bit identifier that names classes, interfaces and type libraries
// across the component boundary, with its text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// A class, interface or type library identifier, laid out as on the wire.
struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b) noexcept {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i])
                return false;
        return true;
    }
};

using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const GUID&;
using REFIID = const GUID&;

static_assert(sizeof(GUID) == 16, "a GUID is 16 bytes on every platform");
static_assert(alignof(GUID) == 4);
static_assert(offsetof(GUID, Data2) == 4 && offsetof(GUID, Data3) == 6 && offsetof(GUID, Data4) == 8);

namespace com {

namespace detail {
constexpr int hexValue(char c) noexcept {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr std::optional<std::uint64_t> hexField(std::string_view text, std::size_t at, std::size_t digits) noexcept {
    std::uint64_t value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return value;
}
}  // namespace detail

/// Reads "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (either case); nothing for any other text.
constexpr std::optional<GUID> parseGuid(std::string_view text) noexcept {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    const auto d1 = detail::hexField(text, 1, 8);
    const auto d2 = detail::hexField(text, 10, 4);
    const auto d3 = detail::hexField(text, 15, 4);
    if (!d1 || !d2 || !d3)
        return std::nullopt;
    GUID guid{static_cast<std::uint32_t>(*d1), static_cast<std::uint16_t>(*d2), static_cast<std::uint16_t>(*d3), {}};
    // The last two groups are eight single bytes: 2 before the dash, 6 after it.
    constexpr std::size_t byteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        const auto byte = detail::hexField(text, byteAt[i], 2);
        if (!byte)
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(*byte);
    }
    return guid;
}

/// An identifier written in its text form; a malformed literal does not compile.
consteval GUID guidLiteral(std::string_view text) {
    const auto guid = parseGuid(text);
    if (!guid)
        throw "malformed GUID literal";
    return *guid;
}

/// The upper-case text form with braces, as registration records and messages show it.
inline std::string formatGuid(const GUID& guid) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "{";
    auto put = [&](std::uint64_t value, int width) {
        for (int shift = (width - 1) * 4; shift >= 0; shift -= 4)
            text += digits[(value >> shift) & 0xF];
    };
    put(guid.Data1, 8);
    text += '-';
    put(guid.Data2, 4);
    text += '-';
    put(guid.Data3, 4);
    text += '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += '-';
        put(guid.Data4[i], 2);
    }
    text += '}';
    return text;
}

}  // namespace com
