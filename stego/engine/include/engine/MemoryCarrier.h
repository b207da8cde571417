// A carrier picture held in memory, row after row: for tests, benchmarks and
// tools that have no picture file behind them.
#pragma once

#include <cstddef>
#include <vector>

#include "Carrier.h"

namespace stego {

class MemoryCarrier : public Carrier {
public:
    /// A width x height grid filled with fill; negative sizes count as 0.
    MemoryCarrier(std::int32_t width, std::int32_t height, Rgb fill = {});

    std::int32_t width() const override { return m_width; }
    std::int32_t height() const override { return m_height; }
    Rgb readPixel(std::int32_t x, std::int32_t y) const override { return m_pixels[offset(x, y)]; }
    void writePixel(std::int32_t x, std::int32_t y, Rgb colour) override { m_pixels[offset(x, y)] = colour; }
    const Rgb* rowInMemory(std::int32_t y) const override { return m_pixels.data() + offset(0, y); }
    Rgb* writableRowInMemory(std::int32_t y) override { return m_pixels.data() + offset(0, y); }

    /// All pixels, row after row, for comparing whole pictures.
    const std::vector<Rgb>& pixels() const { return m_pixels; }
    std::vector<Rgb>& pixels() { return m_pixels; }

private:
    std::size_t offset(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    std::int32_t m_width;
    std::int32_t m_height;
    std::vector<Rgb> m_pixels;
};

}  // namespace stego
