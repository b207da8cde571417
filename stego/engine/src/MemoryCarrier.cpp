#include "engine/MemoryCarrier.h"

#include <algorithm>

namespace stego {

MemoryCarrier::MemoryCarrier(std::int32_t width, std::int32_t height, Rgb fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), fill) {}

void MemoryCarrier::readRow(std::int32_t y, std::int32_t x0, std::int32_t count, Rgb* out) const {
    const auto first = m_pixels.begin() + static_cast<std::ptrdiff_t>(offset(x0, y));
    std::copy(first, first + count, out);
}

void MemoryCarrier::writeRow(std::int32_t y, std::int32_t x0, std::int32_t count, const Rgb* in) {
    std::copy(in, in + count, m_pixels.begin() + static_cast<std::ptrdiff_t>(offset(x0, y)));
}

}  // namespace stego
