// Clearing memory that held a key or a plain text, so that it is not left
// behind for whatever reuses that memory (or reads a core dump) later.
#pragma once

#include <cstddef>
#include <string>

namespace support {

/// Sets size bytes at data to zero. The stores are volatile, so the compiler
/// cannot drop them as dead although the memory is about to be freed.
inline void secureClear(void* data, std::size_t size) noexcept {
    auto* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

/// Clears the whole buffer of text, spare capacity included (a longer secret
/// may have stood there before), and leaves text empty.
inline void secureClear(std::string& text) noexcept {
    text.resize(text.capacity());  // within the capacity: no new buffer
    secureClear(text.data(), text.size());
    text.clear();
}

}  // namespace support
