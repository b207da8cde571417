// Owns one automation string (BSTR) and converts it to and from std::string.
// Each character of the string is one byte value 0-255, as the cipher sees it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace com {

class ComString {
public:
    ComString() noexcept = default;
    /// A copy of text; throws std::bad_alloc when it cannot be allocated.
    explicit ComString(std::string_view text) : m_text(allocate(text)) {}
    ComString(const ComString&) = delete;
    ComString& operator=(const ComString&) = delete;
    ComString(ComString&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
    ComString& operator=(ComString&& other) noexcept {
        std::swap(m_text, other.m_text);
        return *this;
    }
    ~ComString() { SysFreeString(m_text); }

    /// Takes over a string the caller owns.
    static ComString adopt(BSTR owned) noexcept {
        ComString result;
        result.m_text = owned;
        return result;
    }

    BSTR get() const noexcept { return m_text; }
    /// The slot itself, for a by-reference argument the callee may replace.
    BSTR* slot() noexcept { return &m_text; }
    /// Frees what is held and gives the slot for an out parameter.
    BSTR* put() noexcept {
        SysFreeString(std::exchange(m_text, nullptr));
        return &m_text;
    }
    /// Hands the string over to the caller.
    BSTR detach() noexcept { return std::exchange(m_text, nullptr); }

    std::string view() const { return view(m_text); }
    std::string str() const { return view(); }

    /// Puts a new string holding text into slot, freeing the one it held.
    static void replace(BSTR* slot, std::string_view text) {
        BSTR made = allocate(text);
        SysFreeString(*slot);
        *slot = made;
    }

    /// The bytes of a string, null being empty. A character above U+00FF has
    /// no byte: refused rather than silently changed into another symbol.
    static std::string view(BSTR text) {
        const UINT length = text ? SysStringLen(text) : 0;
        std::string bytes(length, '\0');
        for (UINT i = 0; i < length; ++i) {
            if (text[i] > 0xFF)
                throw std::invalid_argument("a string holds a character above U+00FF, which has no byte value");
            bytes[i] = static_cast<char>(text[i]);
        }
        return bytes;
    }
    /// A file name as the system's file calls take it, in UTF-8: a name is
    /// any wide string, not bytes, so it is converted rather than narrowed.
    static std::string pathOf(BSTR text) {
        const int length = text ? static_cast<int>(SysStringLen(text)) : 0;
        if (length == 0)
            return {};
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), size, nullptr, nullptr);
        return utf8;
    }
    /// A string naming the UTF-8 file path (as pathOf gives it back).
    static ComString fromPath(std::string_view path) {
        const int size =
            path.empty() ? 0 : MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
        ComString result;
        result.m_text = SysAllocStringLen(nullptr, static_cast<UINT>(size));
        if (!result.m_text)
            throw std::bad_alloc();
        if (size > 0)
            MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), result.m_text, size);
        return result;
    }

    /// A new string holding text, each byte one character; throws std::bad_alloc on failure.
    static BSTR allocate(std::string_view text) {
        if (text.size() > kLongest)
            throw std::bad_alloc();
        BSTR made = SysAllocStringLen(nullptr, static_cast<UINT>(text.size()));
        if (!made)
            throw std::bad_alloc();
        for (std::size_t i = 0; i < text.size(); ++i)
            made[i] = static_cast<unsigned char>(text[i]);
        return made;
    }

private:
    // Lengths count in 32 bits of bytes, two per character; keep clear of the edge.
    static constexpr std::size_t kLongest = 0x3FFFFFF0u;

    BSTR m_text = nullptr;
};

}  // namespace com
