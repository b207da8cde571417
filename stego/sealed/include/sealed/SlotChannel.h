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
    bool next() {
        const bool bit = peek();
        ++m_bit;
        return bit;
    }
    /// The next direction without drawing it; used = 1 draws it, 0 leaves it for the next step.
    bool peek() {
        if (m_bit == 8 * m_buffer.size())
            refill();
        return ((m_buffer[m_bit / 8] >> (m_bit % 8)) & 1) != 0;
    }
    void advance(std::uint32_t used) { m_bit += used; }

private:
    void refill();

    SealedCrypto& m_crypto;
    std::array<std::uint8_t, 4096> m_buffer{};
    std::size_t m_bit = 8 * sizeof m_buffer;
};

/// Reads or writes bits at rising slots through a window of a few hundred
/// pixels of one row: the carrier is called once a window (readRow, and
/// writeRow when a bit changed it), not once a pixel, and each window is read
/// once and written at most once.
class RisingSlots {
public:
    /// writable is the same carrier when bits are to be written, or null.
    RisingSlots(const stego::Carrier& carrier, stego::Carrier* writable);
    RisingSlots(const RisingSlots&) = delete;
    RisingSlots& operator=(const RisingSlots&) = delete;

    bool read(std::uint32_t slot);
    /// LSB matching, as writeSlotBits does.
    void write(std::uint32_t slot, bool bit, MatchingDirections& directions) {
        // Without branches on the bit: whether a component moves is a coin toss.
        std::uint8_t& value = component(slot);
        const std::uint32_t differs = (value ^ static_cast<std::uint32_t>(bit)) & 1;
        const bool drawn = directions.peek();
        const bool up = value == 0 || (value != 255 && drawn);
        directions.advance(differs);
        const std::uint32_t step = up ? 1u : 0xFFu;
        value = static_cast<std::uint8_t>(value + (step & (0u - differs)));
        m_changed = m_changed || differs != 0;
    }
    /// Writes the window back, when it changed.
    void flush();

private:
    // Wide enough that a window costs little beside its bits, small enough to stay in the first-level cache.
    static constexpr std::int32_t kWindowPixels = 256;

    std::uint8_t& component(std::uint32_t slot) {
        const std::uint32_t at = slot - m_firstSlot;
        if (at >= m_slotsInWindow)
            return load(slot);
        return m_window[at / 3].*kComponents[at % 3];
    }
    std::uint8_t& load(std::uint32_t slot);

    static constexpr std::uint8_t stego::Rgb::*kComponents[3] = {&stego::Rgb::red, &stego::Rgb::green,
                                                                 &stego::Rgb::blue};

    const stego::Carrier& m_carrier;
    stego::Carrier* m_writable;
    std::uint32_t m_width;
    std::uint32_t m_firstSlot = 0;
    std::uint32_t m_slotsInWindow = 0;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_pixels = 0;
    bool m_changed = false;
    std::array<stego::Rgb, kWindowPixels> m_window{};
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
