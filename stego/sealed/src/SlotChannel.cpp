#include "sealed/SlotChannel.h"

#include <algorithm>

namespace sealed {

namespace {

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

void MatchingDirections::refill() {
    m_crypto.randomBytes(m_buffer);
    m_bit = 0;
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

std::uint8_t& RisingSlots::load(std::uint32_t slot) {
    flush();
    const std::uint32_t pixel = slot / 3;
    const std::uint32_t x = pixel % m_width;
    m_x = static_cast<std::int32_t>(x);
    m_y = static_cast<std::int32_t>(pixel / m_width);
    m_pixels = static_cast<std::int32_t>(std::min<std::uint32_t>(m_width - x, kWindowPixels));
    m_carrier.readRow(m_y, m_x, m_pixels, m_window.data());
    m_firstSlot = 3 * pixel;
    m_slotsInWindow = 3 * static_cast<std::uint32_t>(m_pixels);
    return m_window[0].*kComponents[slot % 3];
}

bool RisingSlots::read(std::uint32_t slot) { return (component(slot) & 1) != 0; }

void RisingSlots::flush() {
    if (m_changed && m_writable != nullptr)
        m_writable->writeRow(m_y, m_x, m_pixels, m_window.data());
    m_changed = false;
}

}  // namespace sealed
