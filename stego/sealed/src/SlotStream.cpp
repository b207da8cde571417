#include "sealed/SlotStream.h"

#include "support/SecureClear.h"

namespace sealed {

SlotStream::SlotStream(SealedCrypto& crypto, const Key& key, std::uint32_t slotCount, SlotSet& taken)
    : m_crypto(crypto),
      m_key(key),
      m_slotCount(slotCount),
      m_taken(taken) {}

SlotStream::~SlotStream() {
    support::secureClear(m_key.data(), m_key.size());
    support::secureClear(m_buffer.data(), m_buffer.size());
}

std::uint32_t SlotStream::nextWord() {
    if (m_used + 4 > m_buffer.size()) {
        m_crypto.keyStream(m_key, m_nextBlock, m_buffer);
        m_nextBlock += m_buffer.size() / 64;
        m_used = 0;
    }
    const std::uint8_t* bytes = m_buffer.data() + m_used;
    m_used += 4;
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

std::uint32_t SlotStream::below(std::uint32_t bound) {
    // The upper half of word x bound, skipping the few words whose lower half
    // falls under 2^32 mod bound: they would favour some numbers. Divides only
    // when the lower half is small, so a draw costs a multiplication.
    for (;;) {
        const std::uint64_t product = std::uint64_t{nextWord()} * bound;
        const auto low = static_cast<std::uint32_t>(product);
        if (low >= bound || low >= static_cast<std::uint32_t>(-bound) % bound)
            return static_cast<std::uint32_t>(product >> 32);
    }
}

std::uint32_t SlotStream::next() {
    for (;;) {
        const std::uint32_t slot = below(m_slotCount);
        if (m_taken.insert(slot))
            return slot;
    }
}

}  // namespace sealed
