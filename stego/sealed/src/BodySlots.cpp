#include "sealed/BodySlots.h"

#include <algorithm>

namespace sealed {

BodySlots::BodySlots(SlotStream& stream, std::uint32_t slotCount, std::vector<std::uint32_t> taken, std::uint64_t bits)
    : m_stream(stream),
      m_taken(std::move(taken)),
      m_bits(bits),
      m_quotient((slotCount - m_taken.size()) / bits),
      m_remainder((slotCount - m_taken.size()) % bits) {
    std::sort(m_taken.begin(), m_taken.end());
}

std::uint32_t BodySlots::next() {
    // Block i holds the free slots of rank floor(i F / B) up to floor((i + 1) F / B).
    std::uint64_t length = m_quotient;
    m_carry += m_remainder;
    if (m_carry >= m_bits) {
        m_carry -= m_bits;
        ++length;
    }
    const std::uint64_t rank = m_blockStart + m_stream.below(static_cast<std::uint32_t>(length));
    m_blockStart += length;
    // The free slot of that rank: ranks rise, so the taken slots below it are counted once.
    while (m_takenBelow < m_taken.size() && m_taken[m_takenBelow] <= rank + m_takenBelow)
        ++m_takenBelow;
    return static_cast<std::uint32_t>(rank + m_takenBelow);
}

}  // namespace sealed
