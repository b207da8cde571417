// The string that crosses the component boundary: bytes with a 32-bit length
// in front and a zero byte after, allocated and freed only by the runtime so
// that a string made on one side can be freed on the other.
#pragma once

#include <cstdint>
#include <cstring>

#include "Export.h"

/// Points at the first byte; the length sits in the 4 bytes before it. A null
/// BSTR is the empty string. Bytes are ISO 8859-1 and may include zero bytes.
using BSTR = char*;

static_assert(sizeof(BSTR) == sizeof(void*));

/// A new string holding length bytes copied from data (zero bytes when data is
/// null); nullptr when memory runs out.
COMRT_API BSTR SysAllocStringLen(const char* data, std::uint32_t length);
/// Frees a string made by SysAllocStringLen; null is allowed.
COMRT_API void SysFreeString(BSTR text);
/// The number of bytes held, from the length prefix; 0 for null.
COMRT_API std::uint32_t SysStringLen(BSTR text);

namespace com {
/// What SysStringLen gives, read in place: the boundary's helpers ask it of
/// every symbol that crosses, and a call into the runtime each time costs
/// more than the read.
inline std::uint32_t lengthOf(BSTR text) noexcept {
    std::uint32_t length = 0;
    if (text)
        std::memcpy(&length, text - sizeof length, sizeof length);
    return length;
}
}  // namespace com
