#include "sealed/SlotChannel.h"

#include <algorithm>

namespace sealed {

namespace {

std::uint8_t& componentOf(stego::Rgb& colour, std::uint32_t component) {
    return component == 0 ? colour.red : component == 1 ? colour.green : colour.blue;
}

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

// LSB matching on one component; whether it changed.
bool matchLowBit(std::uint8_t& value, bool bit, MatchingDirections& directions) {
    if (((value & 1) != 0) == bit)
        return false;
    bool up = directions.next();
    if (value == 0)
        up = true;
    else if (value == 255)
        up = false;
    value = static_cast<std::uint8_t>(up ? value + 1 : value - 1);
    return true;
}

}  // namespace

bool MatchingDirections::next() {
    if (m_bit == 8 * m_buffer.size()) {
        m_crypto.randomBytes(m_buffer);
        m_bit = 0;
    }
    const bool bit = ((m_buffer[m_bit / 8] >> (m_bit % 8)) & 1) != 0;
    ++m_bit;
    return bit;
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

std::uint8_t& RisingSlots::component(std::uint32_t slot) {
    const std::uint32_t pixel = slot / 3;
    if (!m_loaded || pixel != m_pixel) {
        flush();
        std::uint32_t step = pixel - m_pixel;
        if (step >= m_width) {
            m_y += static_cast<std::int32_t>(step / m_width);
            step %= m_width;
        }
        m_x += static_cast<std::int32_t>(step);
        if (m_x >= static_cast<std::int32_t>(m_width)) {
            m_x -= static_cast<std::int32_t>(m_width);
            ++m_y;
        }
        m_pixel = pixel;
        m_colour = m_carrier.readPixel(m_x, m_y);
        m_loaded = true;
    }
    return componentOf(m_colour, slot % 3);
}

bool RisingSlots::read(std::uint32_t slot) { return (component(slot) & 1) != 0; }

void RisingSlots::write(std::uint32_t slot, bool bit, MatchingDirections& directions) {
    if (matchLowBit(component(slot), bit, directions))
        m_changed = true;
}

void RisingSlots::flush() {
    if (m_changed && m_writable != nullptr)
        m_writable->writePixel(m_x, m_y, m_colour);
    m_changed = false;
}

}  // namespace sealed
