#include "sealed/BodySlots.h"

#include <algorithm>

namespace sealed {

BodySlots::BodySlots(SlotStream& stream, std::uint32_t slotCount, std::vector<std::uint32_t> taken, std::uint64_t bits)
    : m_stream(stream), m_taken(std::move(taken)), m_bits(bits), m_quotient((slotCount - m_taken.size()) / bits),
      m_remainder((slotCount - m_taken.size()) % bits) {
    std::sort(m_taken.begin(), m_taken.end());
}

}  // namespace sealed
