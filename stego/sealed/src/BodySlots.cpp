#include "sealed/BodySlots.h"

#include <algorithm>

namespace sealed {

BodySlots::BodySlots(SlotStream& stream, std::uint32_t slotCount, std::vector<std::uint32_t> taken, std::uint64_t bits)
    : m_stream(stream), m_taken(std::move(taken)), m_bits(bits), m_quotient((slotCount - m_taken.size()) / bits),
      m_remainder((slotCount - m_taken.size()) % bits) {
    std::sort(m_taken.begin(), m_taken.end());
}

// The running state is kept in locals, which the stream's refills would
// otherwise force back to memory on every draw.
void BodySlots::next(std::uint32_t* out, std::size_t count) {
    std::uint64_t blockStart = m_blockStart;
    std::uint64_t carry = m_carry;
    std::size_t takenBelow = m_takenBelow;
    const std::uint32_t* const taken = m_taken.data();
    const std::size_t takenCount = m_taken.size();
    for (std::size_t k = 0; k < count; ++k) {
        // Block i holds the free slots of rank floor(i F / B) up to floor((i + 1) F / B).
        std::uint64_t length = m_quotient;
        carry += m_remainder;
        if (carry >= m_bits) {
            carry -= m_bits;
            ++length;
        }
        const std::uint64_t rank = blockStart + m_stream.below(static_cast<std::uint32_t>(length));
        blockStart += length;
        // The free slot of that rank: ranks rise, so the taken slots below it are counted once.
        while (takenBelow < takenCount && taken[takenBelow] <= rank + takenBelow)
            ++takenBelow;
        out[k] = static_cast<std::uint32_t>(rank + takenBelow);
    }
    m_blockStart = blockStart;
    m_carry = carry;
    m_takenBelow = takenBelow;
}

}  // namespace sealed
