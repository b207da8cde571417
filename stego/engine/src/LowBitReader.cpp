#include "LowBitReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

namespace stego {

namespace {

// Wide strips let each row read move whole cache lines and pages.
constexpr std::int32_t kMaxStripWidth = 512;
// Rows per tile; a multiple of the 8-row blocks below.
constexpr std::int32_t kTileRows = 64;

static_assert(sizeof(Rgb) == 3, "pixels are read as packed bytes");

std::uint8_t lowBits(const Rgb& colour) {
    return static_cast<std::uint8_t>(((colour.red & 1U) << 2) | ((colour.green & 1U) << 1) | (colour.blue & 1U));
}

// The low bits of eight bytes, the first byte's in the top bit.
std::uint32_t gatherLowBits(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return static_cast<std::uint32_t>(((word & 0x0101010101010101ULL) * 0x8040201008040201ULL) >> 56);
}

// Twelve gathered bits (four pixels) -> four bytes of three bits each.
constexpr std::array<std::uint32_t, 4096> makeSpreadTable() {
    std::array<std::uint32_t, 4096> table{};
    for (std::uint32_t v = 0; v < 4096; ++v)
        table[v] = ((v >> 9) & 7) | (((v >> 6) & 7) << 8) | (((v >> 3) & 7) << 16) | ((v & 7) << 24);
    return table;
}

constexpr std::array<std::uint32_t, 4096> kSpread = makeSpreadTable();

// The values of eight pixels in a row, the first pixel's in the lowest byte.
std::uint64_t eightPixels(const Rgb* pixels) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    const std::uint32_t bits =
        (gatherLowBits(bytes) << 16) | (gatherLowBits(bytes + 8) << 8) | gatherLowBits(bytes + 16);
    return kSpread[bits >> 12] | (static_cast<std::uint64_t>(kSpread[bits & 0xFFF]) << 32);
}

// Transposes an 8 x 8 block of bytes held as eight words, byte c of word r
// becoming byte r of word c.
void transpose8x8(std::array<std::uint64_t, 8>& a) {
    const auto swap = [&a](int i, int j, int shift, std::uint64_t mask) {
        const std::uint64_t t = ((a[static_cast<std::size_t>(i)] >> shift) ^ a[static_cast<std::size_t>(j)]) & mask;
        a[static_cast<std::size_t>(j)] ^= t;
        a[static_cast<std::size_t>(i)] ^= t << shift;
    };
    for (int i = 0; i < 8; i += 2)
        swap(i, i + 1, 8, 0x00FF00FF00FF00FFULL);
    for (const int i : {0, 1, 4, 5})
        swap(i, i + 2, 16, 0x0000FFFF0000FFFFULL);
    for (int i = 0; i < 4; ++i)
        swap(i, i + 4, 32, 0x00000000FFFFFFFFULL);
}

// Writes the values of a tile (rows x width pixels, each row from its own
// start) down the columns of the run, at row top of columns that are height long.
void turnTile(const Rgb* const* tile, std::size_t width, std::size_t rows, std::uint8_t* values, std::size_t height,
              std::size_t top) {
    std::size_t fastColumns = 0;
    std::size_t fastRows = 0;
    if constexpr (std::endian::native == std::endian::little) {
        fastColumns = width - width % 8;
        fastRows = rows - rows % 8;
    }
    for (std::size_t row = 0; row < fastRows; row += 8) {
        for (std::size_t column = 0; column < fastColumns; column += 8) {
            std::array<std::uint64_t, 8> block;
            for (std::size_t r = 0; r < 8; ++r)
                block[r] = eightPixels(tile[row + r] + column);
            transpose8x8(block);
            for (std::size_t c = 0; c < 8; ++c)
                std::memcpy(values + (column + c) * height + top + row, &block[c], 8);
        }
    }
    // What the blocks did not cover: the right edge, then the bottom edge.
    for (std::size_t row = 0; row < fastRows; ++row)
        for (std::size_t column = fastColumns; column < width; ++column)
            values[column * height + top + row] = lowBits(tile[row][column]);
    for (std::size_t row = fastRows; row < rows; ++row)
        for (std::size_t column = 0; column < width; ++column)
            values[column * height + top + row] = lowBits(tile[row][column]);
}

}  // namespace

LowBitReader::LowBitReader(const Carrier& carrier, std::int64_t runBudget)
    : m_carrier(carrier), m_width(std::max(carrier.width(), 0)), m_height(std::max(carrier.height(), 0)),
      m_runBudget(std::max<std::int64_t>(runBudget, 1)) {
    if (m_height == 0)
        m_width = 0;
}

std::span<const std::uint8_t> LowBitReader::nextPieceOfTallColumn() {
    const auto rows = static_cast<std::int32_t>(std::min<std::int64_t>(m_runBudget, m_height - m_row));
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

std::span<const std::uint8_t> LowBitReader::next() {
    if (m_column >= m_width)
        return {};
    if (m_height > m_runBudget)
        return nextPieceOfTallColumn();  // not even one whole column fits a run

    const auto affordable = static_cast<std::int32_t>(std::max<std::int64_t>(1, m_runBudget / m_height));
    const std::int32_t strip = std::min({m_stripWidth, affordable, m_width - m_column});
    m_stripWidth = std::min(m_stripWidth * 2, kMaxStripWidth);

    const auto width = static_cast<std::size_t>(strip);
    const auto height = static_cast<std::size_t>(m_height);
    m_values.resize(width * height);
    const bool inPlace = m_carrier.rowInMemory(0) != nullptr;
    if (!inPlace)
        m_tilePixels.resize(width * kTileRows);
    std::array<const Rgb*, kTileRows> tile{};
    for (std::int32_t top = 0; top < m_height; top += kTileRows) {
        const std::int32_t rows = std::min(kTileRows, m_height - top);
        for (std::int32_t r = 0; r < rows; ++r) {
            const auto at = static_cast<std::size_t>(r);
            if (inPlace) {
                tile[at] = m_carrier.rowInMemory(top + r) + m_column;
            } else {
                tile[at] = m_tilePixels.data() + at * width;
                m_carrier.readRow(top + r, m_column, strip, m_tilePixels.data() + at * width);
            }
        }
        turnTile(tile.data(), width, static_cast<std::size_t>(rows), m_values.data(), height,
                 static_cast<std::size_t>(top));
    }
    m_column += strip;
    return m_values;
}

}  // namespace stego
