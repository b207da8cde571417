#include "sealed/SlotSet.h"

namespace sealed {

namespace {

// Fibonacci hashing spreads neighbouring slots over the table.
std::size_t homeOf(std::uint32_t slot, std::size_t mask) {
    return static_cast<std::size_t>((std::uint64_t{slot} * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

}  // namespace

SlotSet::SlotSet() : m_table(1024, kEmpty) {}

bool SlotSet::insert(std::uint32_t slot) {
    if (2 * (m_size + 1) > m_table.size())
        grow();
    if (!insertIntoTable(slot))
        return false;
    ++m_size;
    return true;
}

bool SlotSet::insertIntoTable(std::uint32_t slot) {
    const std::size_t mask = m_table.size() - 1;
    std::size_t at = homeOf(slot, mask);
    while (m_table[at] != kEmpty) {
        if (m_table[at] == slot)
            return false;
        at = (at + 1) & mask;
    }
    m_table[at] = slot;
    return true;
}

void SlotSet::grow() {
    std::vector<std::uint32_t> old(2 * m_table.size(), kEmpty);
    old.swap(m_table);
    for (const std::uint32_t slot : old)
        if (slot != kEmpty)
            insertIntoTable(slot);
}

}  // namespace sealed
