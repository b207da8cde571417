#include "engine/MemoryCarrier.h"

#include <algorithm>

namespace stego {

MemoryCarrier::MemoryCarrier(std::int32_t width, std::int32_t height, Rgb fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill) {}

}  // namespace stego
