// How bits sit in slots: slot s is colour component s % 3 (red, green, blue)
// of pixel s / 3, pixels counted row after row from the top-left corner.
// Many slots are read or written in slot order, so that a large item walks
// the picture front to back rather than at random.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "SealedCrypto.h"
#include "engine/Carrier.h"

namespace sealed {

/// The directions of LSB-matching steps: random bits from the crypto, drawn as needed.
class MatchingDirections {
public:
    explicit MatchingDirections(SealedCrypto& crypto) : m_crypto(crypto) {}
    bool next();

private:
    SealedCrypto& m_crypto;
    std::array<std::uint8_t, 512> m_buffer{};
    std::size_t m_bit = 8 * sizeof m_buffer;
};

/// The bits at slots, in the order of slots.
std::vector<bool> readSlotBits(const stego::Carrier& carrier, const std::vector<std::uint32_t>& slots);

/// Writes bits[i] at slots[i] by LSB matching: where the low bit differs, the
/// component moves by one, up or down as directions says, except that 0
/// always moves up and 255 down. Slots that already hold their bit, and
/// pixels without slots, are left alone. Directions are drawn in slot order.
void writeSlotBits(stego::Carrier& carrier, const std::vector<std::uint32_t>& slots, const std::vector<bool>& bits,
                   MatchingDirections& directions);

}  // namespace sealed
