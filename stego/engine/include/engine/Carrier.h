// The picture as the engine sees it: a grid of 8-bit red, green and blue.
#pragma once

#include <algorithm>
#include <cstdint>

namespace stego {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// A carrier picture: W x H pixels, (x, y) from the top-left corner. Writes are
/// stored exactly and seen by every later read.
class Carrier {
public:
    virtual ~Carrier() = default;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    virtual Rgb readPixel(std::int32_t x, std::int32_t y) const = 0;
    virtual void writePixel(std::int32_t x, std::int32_t y, Rgb colour) = 0;

    /// Reads count pixels of row y from column x0 on into out: one copy where
    /// the row is in memory, pixel by pixel otherwise.
    virtual void readRow(std::int32_t y, std::int32_t x0, std::int32_t count, Rgb* out) const {
        if (const Rgb* row = rowInMemory(y)) {
            std::copy(row + x0, row + x0 + count, out);
            return;
        }
        for (std::int32_t i = 0; i < count; ++i)
            out[i] = readPixel(x0 + i, y);
    }

    /// Row y's pixels where the carrier holds them in memory, left to right and
    /// valid until the next write; null where it does not. A whole-picture scan
    /// then reads them in place instead of copying them out.
    virtual const Rgb* rowInMemory(std::int32_t /*y*/) const { return nullptr; }
    /// The same for changing row y's pixels where they lie (a write, seen by
    /// every later read); null where the carrier does not hold them in memory.
    virtual Rgb* writableRowInMemory(std::int32_t /*y*/) { return nullptr; }

    /// Writes count pixels from in to row y from column x0 on: the counterpart
    /// of readRow, for passes that change many pixels of a row.
    virtual void writeRow(std::int32_t y, std::int32_t x0, std::int32_t count, const Rgb* in) {
        if (Rgb* row = writableRowInMemory(y)) {
            std::copy(in, in + count, row + x0);
            return;
        }
        for (std::int32_t i = 0; i < count; ++i)
            writePixel(x0 + i, y, in[i]);
    }
};

}  // namespace stego
