// The one byte that carries the key-derivation cost in a sealed item's public
// header. Every byte value is a valid cost, so the byte of a picture without an
// item means as much as the byte of one with an item.
#pragma once

#include <cstdint>

#include "SealedCrypto.h"

namespace sealed {

/// About 0.25 s and 64 MiB on a current desktop: ten passes, since 64 MiB alone takes 0.1 s.
inline constexpr KdfCost kDefaultCost{10, std::uint64_t{64} << 20};
/// The least the byte can say: one pass over 8 KiB, for tests and fuzzing.
inline constexpr KdfCost kCheapestCost{1, std::uint64_t{8} << 10};

/// Low four bits: passes - 1 (1 to 16); high four: memory = 8 KiB << n (8 KiB to 256 MiB).
KdfCost decodeCost(std::uint8_t byte);
/// The byte for cost; throws stego::Failure (kInvalidArgument) for a cost the byte cannot say.
std::uint8_t encodeCost(const KdfCost& cost);

}  // namespace sealed
