// The low bits of the carrier's pixels in the channel's column-by-column order,
// gathered strip by strip so that a row-major picture is read row-wise.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Carrier.h"

namespace stego {

/// Hands out, run after run, one value per pixel in pixel-index order (down
/// each column, the columns from left to right): red's low bit times 4, plus
/// green's times 2, plus blue's. Strips start one column wide and widen, so a
/// scan that stops early reads little.
class LowBitReader {
public:
    explicit LowBitReader(const Carrier& carrier);

    /// The next run of values; empty when every pixel has been handed out.
    std::span<const std::uint8_t> next();

private:
    const Carrier& m_carrier;
    std::int32_t m_width;
    std::int32_t m_height;
    std::int32_t m_column = 0;     // first column not yet handed out in full
    std::int32_t m_row = 0;        // first row of m_column not yet handed out (tall pictures only)
    std::int32_t m_stripWidth = 1;
    std::vector<Rgb> m_rowBuffer;
    std::vector<std::uint8_t> m_values;
};

}  // namespace stego
