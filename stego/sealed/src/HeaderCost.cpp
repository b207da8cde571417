#include "sealed/HeaderCost.h"

#include "engine/Failure.h"

namespace sealed {

KdfCost decodeCost(std::uint8_t byte) {
    return KdfCost{static_cast<std::uint32_t>((byte & 0x0F) + 1), kCheapestCost.memoryBytes << (byte >> 4)};
}

std::uint8_t encodeCost(const KdfCost& cost) {
    for (unsigned byte = 0; byte < 256; ++byte)
        if (decodeCost(static_cast<std::uint8_t>(byte)) == cost)
            return static_cast<std::uint8_t>(byte);
    throw stego::Failure(
        stego::kInvalidArgument,
        "A sealed item takes 1 to 16 key-derivation passes over 8 KiB times a power of two, up to 256 MiB.");
}

}  // namespace sealed
