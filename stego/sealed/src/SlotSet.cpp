#include "sealed/SlotSet.h"

#include <bit>

namespace sealed {

namespace {

std::size_t tableLengthFor(std::size_t count) {
    return std::bit_ceil(std::max<std::size_t>(2 * count, 64));  // at most half full
}

}  // namespace

SlotSet::SlotSet(std::uint32_t slotCount) : m_slotCount(slotCount) { growTable(64); }

void SlotSet::reserve(std::size_t count) {
    if (!m_bitmap.empty())
        return;
    const std::size_t bitmapBytes = (std::size_t{m_slotCount} + 63) / 64 * 8;
    const std::size_t tableBytes = tableLengthFor(count) * sizeof(std::uint32_t);
    if (bitmapBytes <= tableBytes)
        useBitmap();
    else if (tableLengthFor(count) > m_table.size())
        growTable(tableLengthFor(count));
}

bool SlotSet::insert(std::uint32_t slot) {
    if (!m_bitmap.empty()) {
        std::uint64_t& word = m_bitmap[slot / 64];
        const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
        if ((word & bit) != 0)
            return false;
        word |= bit;
        ++m_size;
        return true;
    }
    if (2 * (m_size + 1) > m_table.size())
        reserve(2 * (m_size + 1));
    if (!m_bitmap.empty())
        return insert(slot);
    if (!insertIntoTable(slot))
        return false;
    ++m_size;
    return true;
}

bool SlotSet::insertIntoTable(std::uint32_t slot) {
    const std::size_t mask = m_table.size() - 1;
    // Fibonacci hashing spreads neighbouring slots over the table.
    std::size_t at = static_cast<std::size_t>((std::uint64_t{slot} * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    while (m_table[at] != kEmpty) {
        if (m_table[at] == slot)
            return false;
        at = (at + 1) & mask;
    }
    m_table[at] = slot;
    return true;
}

void SlotSet::growTable(std::size_t capacity) {
    std::vector<std::uint32_t> old(capacity, kEmpty);
    old.swap(m_table);
    for (const std::uint32_t slot : old)
        if (slot != kEmpty)
            insertIntoTable(slot);
}

void SlotSet::useBitmap() {
    m_bitmap.assign((std::size_t{m_slotCount} + 63) / 64, 0);
    std::vector<std::uint32_t> old;
    old.swap(m_table);
    for (const std::uint32_t slot : old)
        if (slot != kEmpty)
            m_bitmap[slot / 64] |= std::uint64_t{1} << (slot % 64);
}

}  // namespace sealed
