// The header of the BMP files the programs write (24-bit, uncompressed,
// bottom-up rows, 72 dpi), and how 16-bit pixels widen to 8 bits a channel:
// one rule for every platform's picture layer, so that their files are byte
// for byte the same.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace stego::platform {

inline constexpr std::size_t kBmpHeaderSize = 14 + 40;

/// Bytes in one stored row of a 24-bit picture: 3 a pixel, padded to 4.
constexpr std::size_t bmpRowBytes(std::size_t width) { return (width * 3 + 3) & ~std::size_t{3}; }

/// A channel of fewer than 8 bits (level 0 to largest) as 8 bits, so that a
/// full channel is 255: every reader of 16-bit BMPs widens with this.
constexpr std::uint8_t widenChannel(std::uint32_t level, std::uint32_t largest) {
    return static_cast<std::uint8_t>(largest == 0 ? 0 : (level * 255 + largest / 2) / largest);
}

inline std::array<unsigned char, kBmpHeaderSize> bmpHeader(std::uint32_t width, std::uint32_t height,
                                                           std::uint32_t imageSize) {
    const auto putLe16 = [](unsigned char* at, std::uint32_t value) {
        at[0] = static_cast<unsigned char>(value);
        at[1] = static_cast<unsigned char>(value >> 8);
    };
    const auto putLe32 = [&](unsigned char* at, std::uint32_t value) {
        putLe16(at, value & 0xFFFF);
        putLe16(at + 2, value >> 16);
    };
    constexpr std::uint32_t kPixelsPerMetreAt72Dpi = 2835;
    std::array<unsigned char, kBmpHeaderSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    putLe32(&header[2], static_cast<std::uint32_t>(kBmpHeaderSize) + imageSize);
    putLe32(&header[10], static_cast<std::uint32_t>(kBmpHeaderSize));
    putLe32(&header[14], 40);
    putLe32(&header[18], width);
    putLe32(&header[22], height);  // positive: rows stored bottom-up, as every reader expects
    putLe16(&header[26], 1);
    putLe16(&header[28], 24);
    putLe32(&header[30], 0);  // uncompressed
    putLe32(&header[34], imageSize);
    putLe32(&header[38], kPixelsPerMetreAt72Dpi);
    putLe32(&header[42], kPixelsPerMetreAt72Dpi);
    return header;
}

}  // namespace stego::platform
