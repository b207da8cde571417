// The low bits of the carrier's pixels in the channel's column-by-column order,
// gathered strip by strip so that a row-major picture is read row-wise.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/Carrier.h"

namespace stego {

/// Hands out, run after run, one value per pixel in pixel-index order (down
/// each column, the columns from left to right): red's low bit times 4, plus
/// green's times 2, plus blue's. A run is a strip of whole columns, read a tile
/// of rows at a time and turned column-wise in 8 x 8 blocks; strips start one column
/// wide and widen, so a scan that stops early reads little.
class LowBitReader {
public:
    /// Pixels gathered per run at most: bounds the memory a scan needs.
    static constexpr std::int64_t kDefaultRunBudget = std::int64_t{1} << 23;

    explicit LowBitReader(const Carrier& carrier, std::int64_t runBudget = kDefaultRunBudget);

    /// The next run of values; empty when every pixel has been handed out.
    std::span<const std::uint8_t> next();

private:
    std::span<const std::uint8_t> nextPieceOfTallColumn();

    const Carrier& m_carrier;
    std::int32_t m_width;
    std::int32_t m_height;
    std::int64_t m_runBudget;
    std::int32_t m_column = 0;  // first column not yet handed out in full
    std::int32_t m_row = 0;     // first row of m_column not yet handed out (tall pictures only)
    std::int32_t m_stripWidth = 1;
    std::vector<Rgb> m_tilePixels;  // a tile of rows of the strip, as read
    std::vector<std::uint8_t> m_values;
};

}  // namespace stego
