// Owns one string of the component boundary and converts it to and from std::string.
#pragma once

#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "AutomationString.h"

namespace com {

class ComString {
public:
    ComString() noexcept = default;
    /// A copy of text; throws std::bad_alloc when the runtime cannot allocate it.
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

    std::string_view view() const noexcept { return view(m_text); }
    std::string str() const { return std::string(view()); }

    /// Puts a new string holding text into slot, freeing the one it held; a
    /// string of the same length is rewritten where it is, which spares every
    /// symbol that crosses the boundary an allocation.
    static void replace(BSTR* slot, std::string_view text) {
        if (*slot != nullptr && com::lengthOf(*slot) == text.size()) {
            if (text.size() == 1)
                **slot = text[0];  // a symbol on its way through the cipher: no call for one byte
            else
                std::memmove(*slot, text.data(), text.size());  // text may be a view of *slot
            return;
        }
        BSTR made = allocate(text);
        SysFreeString(*slot);
        *slot = made;
    }

    /// The bytes of any boundary string, null being empty.
    static std::string_view view(BSTR text) noexcept {
        return text ? std::string_view(text, com::lengthOf(text)) : std::string_view();
    }
    /// A file name as the platform's file calls take it: here the bytes themselves.
    static std::string pathOf(BSTR text) { return std::string(view(text)); }
    /// A boundary string naming the file path (as pathOf gives it back).
    static ComString fromPath(std::string_view path) { return ComString(path); }

    /// A new boundary string holding text; throws std::bad_alloc on failure.
    static BSTR allocate(std::string_view text) {
        if (text.size() > kLongest)
            throw std::bad_alloc();
        BSTR made = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
        if (!made)
            throw std::bad_alloc();
        return made;
    }

private:
    // The prefix counts in 32 bits; keep clear of its edge.
    static constexpr std::size_t kLongest = 0x7FFFFFF0u;

    BSTR m_text = nullptr;
};

}  // namespace com
