#include "LowBitReader.h"

#include <algorithm>
#include <cstddef>

namespace stego {

namespace {

// Wide enough that a row read moves a useful amount, narrow enough that the
// strip's columns stay in cache while they fill.
constexpr std::int32_t kMaxStripWidth = 64;
// Pixels gathered per run at most: bounds the memory a tall picture needs.
constexpr std::int64_t kRunBudget = std::int64_t{1} << 21;

std::uint8_t lowBits(const Rgb& colour) {
    return static_cast<std::uint8_t>(((colour.red & 1U) << 2) | ((colour.green & 1U) << 1) | (colour.blue & 1U));
}

}  // namespace

LowBitReader::LowBitReader(const Carrier& carrier)
    : m_carrier(carrier), m_width(std::max(carrier.width(), 0)), m_height(std::max(carrier.height(), 0)) {
    if (m_height == 0)
        m_width = 0;
}

std::span<const std::uint8_t> LowBitReader::next() {
    if (m_column >= m_width)
        return {};

    if (m_height > kRunBudget) {
        // Too tall for even one whole column per run: hand out a column in pieces.
        const auto rows = static_cast<std::int32_t>(std::min<std::int64_t>(kRunBudget, m_height - m_row));
        m_values.resize(static_cast<std::size_t>(rows));
        Rgb colour;
        for (std::int32_t i = 0; i < rows; ++i) {
            m_carrier.readRow(m_row + i, m_column, 1, &colour);
            m_values[static_cast<std::size_t>(i)] = lowBits(colour);
        }
        m_row += rows;
        if (m_row == m_height) {
            m_row = 0;
            ++m_column;
        }
        return m_values;
    }

    const auto affordable = static_cast<std::int32_t>(std::max<std::int64_t>(1, kRunBudget / m_height));
    const std::int32_t strip = std::min({m_stripWidth, affordable, m_width - m_column});
    m_stripWidth = std::min(m_stripWidth * 2, kMaxStripWidth);

    const auto height = static_cast<std::size_t>(m_height);
    m_values.resize(static_cast<std::size_t>(strip) * height);
    m_rowBuffer.resize(static_cast<std::size_t>(strip));
    std::uint8_t* const values = m_values.data();
    for (std::int32_t y = 0; y < m_height; ++y) {
        m_carrier.readRow(y, m_column, strip, m_rowBuffer.data());
        std::uint8_t* column = values + y;
        for (std::int32_t i = 0; i < strip; ++i, column += height)
            *column = lowBits(m_rowBuffer[static_cast<std::size_t>(i)]);
    }
    m_column += strip;
    return m_values;
}

}  // namespace stego
