// Boundary strings: one allocator for both sides of every interface.

#include "comrt/AutomationString.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "support/SecureClear.h"

namespace {
using LengthPrefix = std::uint32_t;
static_assert(sizeof(LengthPrefix) == sizeof(com::lengthOf(nullptr)));

char* blockOf(BSTR text) { return text - sizeof(LengthPrefix); }
}  // namespace

COMRT_API BSTR SysAllocStringLen(const char* data, std::uint32_t length) {
    if (length > std::numeric_limits<LengthPrefix>::max() - sizeof(LengthPrefix) - 1)
        return nullptr;
    auto* block = static_cast<char*>(std::malloc(sizeof(LengthPrefix) + std::size_t{length} + 1));
    if (!block)
        return nullptr;
    std::memcpy(block, &length, sizeof length);
    BSTR text = block + sizeof(LengthPrefix);
    if (data)
        std::memcpy(text, data, length);
    else
        std::memset(text, 0, length);
    text[length] = '\0';
    return text;
}

COMRT_API void SysFreeString(BSTR text) {
    if (!text)
        return;
    // Keys and plain texts cross the boundary in these strings: none is left
    // behind in freed memory.
    support::secureClear(blockOf(text), sizeof(LengthPrefix) + std::size_t{SysStringLen(text)} + 1);
    std::free(blockOf(text));
}

COMRT_API std::uint32_t SysStringLen(BSTR text) { return com::lengthOf(text); }
