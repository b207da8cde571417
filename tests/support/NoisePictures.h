// Seeded noise for engine tests: pictures whose low bits hold no item, and payload bytes.
#pragma once

#include <random>
#include <string>

#include "engine/MemoryCarrier.h"

namespace stego::test {

inline MemoryCarrier noisyPicture(std::int32_t width, std::int32_t height, unsigned seed = 1) {
    MemoryCarrier carrier(width, height);
    std::mt19937 random(seed);
    for (Rgb& pixel : carrier.pixels())
        pixel = Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                    static_cast<std::uint8_t>(random())};
    return carrier;
}

inline std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace stego::test
