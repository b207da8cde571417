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

/// Reads or writes bits at rising slots, a pixel at a time: the position moves
/// on without dividing, and each pixel is read once and written at most once.
class RisingSlots {
public:
    /// writable is the same carrier when bits are to be written, or null.
    RisingSlots(const stego::Carrier& carrier, stego::Carrier* writable);
    RisingSlots(const RisingSlots&) = delete;
    RisingSlots& operator=(const RisingSlots&) = delete;

    bool read(std::uint32_t slot);
    /// LSB matching, as writeSlotBits does.
    void write(std::uint32_t slot, bool bit, MatchingDirections& directions);
    /// Writes the last pixel, when it changed.
    void flush();

private:
    std::uint8_t& component(std::uint32_t slot);

    const stego::Carrier& m_carrier;
    stego::Carrier* m_writable;
    std::uint32_t m_width;
    std::uint32_t m_pixel = 0;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    stego::Rgb m_colour{};
    bool m_loaded = false;
    bool m_changed = false;
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
