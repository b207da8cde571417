#include "sealed/SlotStream.h"

#include "cipher/SecureClear.h"

namespace sealed {

SlotStream::SlotStream(SealedCrypto& crypto, const Key& key, std::uint32_t slotCount, SlotSet& taken)
    : m_crypto(crypto),
      m_key(key),
      m_slotCount(slotCount),
      // The largest multiple of slotCount that 32 bits hold; 0 stands for 2^32 itself.
      m_limit(static_cast<std::uint32_t>((std::uint64_t{1} << 32) / slotCount * slotCount)),
      m_taken(taken) {}

SlotStream::~SlotStream() {
    corvid::secureClear(m_key.data(), m_key.size());
    corvid::secureClear(m_buffer.data(), m_buffer.size());
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

std::uint32_t SlotStream::next() {
    for (;;) {
        const std::uint32_t word = nextWord();
        if (m_limit != 0 && word >= m_limit)
            continue;
        const std::uint32_t slot = word % m_slotCount;
        if (m_taken.insert(slot))
            return slot;
    }
}

}  // namespace sealed
