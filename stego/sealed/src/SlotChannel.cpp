#include "sealed/SlotChannel.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace sealed {

namespace {

// A window is copied between pixels and components as bytes.
static_assert(sizeof(stego::Rgb) == 3 && std::is_trivially_copyable_v<stego::Rgb>);

constexpr std::uint8_t kOne = 0x80;  // a single bit, most significant first
constexpr std::uint8_t kZero = 0;

// Slot in the upper half, its place in the caller's list in the lower: sorted,
// the picture is visited in order and each result goes back to its place.
std::vector<std::uint64_t> inSlotOrder(const std::vector<std::uint32_t>& slots) {
    std::vector<std::uint64_t> entries(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i)
        entries[i] = std::uint64_t{slots[i]} << 32 | i;
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::uint32_t slotOf(std::uint64_t entry) { return static_cast<std::uint32_t>(entry >> 32); }
std::size_t placeOf(std::uint64_t entry) { return static_cast<std::size_t>(entry & 0xFFFFFFFFu); }

}  // namespace

std::uint64_t MatchingDirections::take64() {
    if (m_used == m_buffer.size()) {
        m_crypto.randomBytes(m_buffer);
        m_used = 0;
    }
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t{m_buffer[m_used + static_cast<std::size_t>(i)]} << (8 * i);
    m_used += 8;
    return bits;
}

std::vector<bool> readSlotBits(const stego::Carrier& carrier, const std::vector<std::uint32_t>& slots) {
    std::vector<bool> bits(slots.size());
    RisingSlots picture(carrier, nullptr);
    for (const std::uint64_t entry : inSlotOrder(slots))
        bits[placeOf(entry)] = picture.read(slotOf(entry));
    return bits;
}

void writeSlotBits(stego::Carrier& carrier, const std::vector<std::uint32_t>& slots, const std::vector<bool>& bits,
                   MatchingDirections& directions) {
    RisingSlots picture(carrier, &carrier);
    for (const std::uint64_t entry : inSlotOrder(slots))
        picture.write(slotOf(entry), bits[placeOf(entry)], directions);
    picture.flush();
}

RisingSlots::RisingSlots(const stego::Carrier& carrier, stego::Carrier* writable)
    : m_carrier(carrier), m_writable(writable), m_width(static_cast<std::uint32_t>(carrier.width())) {}

void RisingSlots::load(std::uint32_t slot) {
    flush();
    const std::uint32_t pixel = slot / 3;
    const std::uint32_t x = pixel % m_width;
    m_x = static_cast<std::int32_t>(x);
    m_y = static_cast<std::int32_t>(pixel / m_width);
    m_firstSlot = 3 * pixel;
    // A row in memory is worked on where it lies, to its end: no copies.
    stego::Rgb* writable = m_writable != nullptr ? m_writable->writableRowInMemory(m_y) : nullptr;
    const stego::Rgb* readable = m_writable != nullptr ? writable : m_carrier.rowInMemory(m_y);
    m_inPlace = readable != nullptr;
    if (m_inPlace) {
        m_pixels = static_cast<std::int32_t>(m_width - x);
        m_writeAt = writable != nullptr ? reinterpret_cast<std::uint8_t*>(writable + x) : nullptr;
        m_readAt = reinterpret_cast<const std::uint8_t*>(readable + x);
    } else {
        m_pixels = static_cast<std::int32_t>(std::min<std::uint32_t>(m_width - x, kWindowPixels));
        m_carrier.readRow(m_y, m_x, m_pixels, m_window.data());
        std::memcpy(m_components.data(), m_window.data(), 3 * static_cast<std::size_t>(m_pixels));
        m_writeAt = m_components.data();
        m_readAt = m_components.data();
    }
    m_slotsInWindow = 3 * static_cast<std::uint32_t>(m_pixels);
}

bool RisingSlots::read(std::uint32_t slot) { return (component(slot) & 1) != 0; }

void RisingSlots::write(std::uint32_t slot, bool bit, MatchingDirections& directions) {
    writeBits(&slot, 1, bit ? &kOne : &kZero, 0, directions);
}

// The run's state lives in locals: a store to a component (a byte) could alias
// any member, so members would be reloaded after every bit.
void RisingSlots::writeBits(const std::uint32_t* slots, std::size_t count, const std::uint8_t* bytes, std::size_t first,
                            MatchingDirections& directions) {
    std::uint32_t firstSlot = m_firstSlot;
    std::uint32_t inWindow = m_slotsInWindow;
    std::uint32_t changed = m_changed;
    std::uint64_t pool = directions.m_pool;
    std::uint32_t left = directions.m_left;
    std::uint8_t* components = m_writeAt;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t slot = slots[k];
        if (slot - firstSlot >= inWindow) {
            m_changed = changed;
            load(slot);
            firstSlot = m_firstSlot;
            inWindow = m_slotsInWindow;
            components = m_writeAt;
            changed = 0;
        }
        if (left == 0) {
            pool = directions.take64();
            left = 64;
        }
        const std::size_t i = first + k;
        const std::uint32_t bit = (bytes[i / 8] >> (7 - i % 8)) & 1u;
        std::uint8_t& value = components[slot - firstSlot];
        // Without branches on the bit: whether a component moves is a coin toss.
        // A direction is drawn only when it moves; 0 always goes up, 255 down.
        const std::uint32_t differs = (value ^ bit) & 1u;
        const bool up = value == 0 || (value != 255 && (pool & 1) != 0);
        pool >>= differs;
        left -= differs;
        const std::uint32_t step = up ? 1u : 0xFFu;
        value = static_cast<std::uint8_t>(value + (step & (0u - differs)));
        changed |= differs;
    }
    m_changed = changed;
    directions.m_pool = pool;
    directions.m_left = left;
}

void RisingSlots::readBits(const std::uint32_t* slots, std::size_t count, std::uint8_t* bytes, std::size_t first) {
    std::uint32_t firstSlot = m_firstSlot;
    std::uint32_t inWindow = m_slotsInWindow;
    const std::uint8_t* components = m_readAt;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t slot = slots[k];
        if (slot - firstSlot >= inWindow) {
            load(slot);
            firstSlot = m_firstSlot;
            inWindow = m_slotsInWindow;
            components = m_readAt;
        }
        const std::size_t i = first + k;
        bytes[i / 8] = static_cast<std::uint8_t>(bytes[i / 8] | (components[slot - firstSlot] & 1u) << (7 - i % 8));
    }
}

void RisingSlots::flush() {
    if (m_changed != 0 && m_writable != nullptr && !m_inPlace) {
        std::memcpy(m_window.data(), m_components.data(), m_slotsInWindow);
        m_writable->writeRow(m_y, m_x, m_pixels, m_window.data());
    }
    m_changed = 0;
}

}  // namespace sealed
