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

/// The directions of LSB-matching steps: random bits from the crypto, drawn as
/// needed, the lowest bit of each byte first.
class MatchingDirections {
public:
    explicit MatchingDirections(SealedCrypto& crypto) : m_crypto(crypto) {}
    bool next() {
        if (m_left == 0)
            m_pool = take64(), m_left = 64;
        const bool bit = (m_pool & 1) != 0;
        m_pool >>= 1;
        --m_left;
        return bit;
    }

private:
    friend class RisingSlots;  // keeps the pool in registers over a run of bits

    /// The next 64 directions, the first in the lowest bit.
    std::uint64_t take64();

    SealedCrypto& m_crypto;
    std::array<std::uint8_t, 4096> m_buffer{};
    std::size_t m_used = sizeof m_buffer;
    std::uint64_t m_pool = 0;
    std::uint32_t m_left = 0;
};

/// Reads or writes bits at rising slots a row at a time: in place where the
/// carrier holds its rows in memory, otherwise through a window of a few
/// hundred pixels that the carrier fills once (readRow) and takes back at most
/// once (writeRow, when a bit changed it).
class RisingSlots {
public:
    /// writable is the same carrier when bits are to be written, or null.
    RisingSlots(const stego::Carrier& carrier, stego::Carrier* writable);
    RisingSlots(const RisingSlots&) = delete;
    RisingSlots& operator=(const RisingSlots&) = delete;

    bool read(std::uint32_t slot);
    /// LSB matching, as writeSlotBits does.
    void write(std::uint32_t slot, bool bit, MatchingDirections& directions);
    /// Bit first + k of bytes (most significant first) at slots[k], for k below count, by write.
    void writeBits(const std::uint32_t* slots, std::size_t count, const std::uint8_t* bytes, std::size_t first,
                   MatchingDirections& directions);
    /// ORs the bit at slots[k] into bit first + k of bytes, for k below count.
    void readBits(const std::uint32_t* slots, std::size_t count, std::uint8_t* bytes, std::size_t first);
    /// Writes the window back, when it changed.
    void flush();

private:
    // Wide enough that a window costs little beside its bits, small enough to stay in the first-level cache.
    static constexpr std::int32_t kWindowPixels = 256;

    std::uint8_t component(std::uint32_t slot) {
        if (slot - m_firstSlot >= m_slotsInWindow)
            load(slot);
        return m_readAt[slot - m_firstSlot];
    }
    void load(std::uint32_t slot);

    const stego::Carrier& m_carrier;
    stego::Carrier* m_writable;
    std::uint32_t m_width;
    std::uint32_t m_firstSlot = 0;
    std::uint32_t m_slotsInWindow = 0;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_pixels = 0;
    std::uint32_t m_changed = 0;
    bool m_inPlace = false;  // the window is the carrier's own row
    // The window's first component (slot m_firstSlot), to read and, when
    // writing, to change; in the carrier's row or in m_components.
    const std::uint8_t* m_readAt = nullptr;
    std::uint8_t* m_writeAt = nullptr;
    std::array<stego::Rgb, kWindowPixels> m_window{};
    // The window's components in slot order, so that a slot is an index.
    std::array<std::uint8_t, 3 * kWindowPixels> m_components{};
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
