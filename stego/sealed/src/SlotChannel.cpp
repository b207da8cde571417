#include "sealed/SlotChannel.h"

namespace sealed {

namespace {

std::uint8_t& componentOf(stego::Rgb& colour, std::uint32_t component) {
    return component == 0 ? colour.red : component == 1 ? colour.green : colour.blue;
}

// Stable LSD radix sort on the 32-bit field at bit `low` of each entry.
void sortByField(std::vector<std::uint64_t>& entries, int low) {
    constexpr int kDigitBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
    std::vector<std::uint64_t> scratch(entries.size());
    for (int shift = low; shift < low + 32; shift += kDigitBits) {
        std::vector<std::size_t> starts(kBuckets + 1, 0);
        for (const std::uint64_t entry : entries)
            ++starts[((entry >> shift) & (kBuckets - 1)) + 1];
        for (std::size_t b = 1; b <= kBuckets; ++b)
            starts[b] += starts[b - 1];
        for (const std::uint64_t entry : entries)
            scratch[starts[(entry >> shift) & (kBuckets - 1)]++] = entry;
        entries.swap(scratch);
    }
}

// Slot in the upper half, its place in the caller's list in the lower: sorted
// by slot, the picture is visited in order and each result goes back to its place.
std::vector<std::uint64_t> inSlotOrder(const std::vector<std::uint32_t>& slots) {
    std::vector<std::uint64_t> entries(slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i)
        entries[i] = std::uint64_t{slots[i]} << 32 | i;
    sortByField(entries, 32);
    return entries;
}

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

std::uint32_t slotOf(std::uint64_t entry) { return static_cast<std::uint32_t>(entry >> 32); }
std::size_t placeOf(std::uint64_t entry) { return static_cast<std::size_t>(entry & 0xFFFFFFFFu); }

// Runs visit(colour, component, place) for every entry, one pixel read (and,
// when visit says so, one written) for all the entries of that pixel.
template <typename Carrier, typename Visit>
void visitPixels(Carrier& carrier, const std::vector<std::uint64_t>& entries, Visit&& visit) {
    const auto width = static_cast<std::uint32_t>(carrier.width());
    for (std::size_t i = 0; i < entries.size();) {
        const std::uint32_t pixel = slotOf(entries[i]) / 3;
        const auto x = static_cast<std::int32_t>(pixel % width);
        const auto y = static_cast<std::int32_t>(pixel / width);
        stego::Rgb colour = carrier.readPixel(x, y);
        bool changed = false;
        for (; i < entries.size() && slotOf(entries[i]) / 3 == pixel; ++i)
            changed = visit(colour, slotOf(entries[i]) % 3, placeOf(entries[i])) || changed;
        if constexpr (!std::is_const_v<Carrier>) {
            if (changed)
                carrier.writePixel(x, y, colour);
        }
    }
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
    visitPixels(carrier, inSlotOrder(slots), [&](stego::Rgb& colour, std::uint32_t component, std::size_t place) {
        bits[place] = (componentOf(colour, component) & 1) != 0;
        return false;
    });
    return bits;
}

void writeSlotBits(stego::Carrier& carrier, const std::vector<std::uint32_t>& slots, const std::vector<bool>& bits,
                   MatchingDirections& directions) {
    visitPixels(carrier, inSlotOrder(slots), [&](stego::Rgb& colour, std::uint32_t component, std::size_t place) {
        return matchLowBit(componentOf(colour, component), bits[place], directions);
    });
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
