#include "sealed/SlotStream.h"

#include "support/SecureClear.h"

namespace sealed {

SlotStream::SlotStream(SealedCrypto& crypto, const Key& key, std::uint32_t slotCount, SlotSet& taken)
    : m_crypto(crypto), m_key(key), m_slotCount(slotCount), m_taken(taken) {}

SlotStream::~SlotStream() {
    support::secureClear(m_key.data(), m_key.size());
    support::secureClear(m_buffer.data(), m_buffer.size());
}

void SlotStream::refill() {
    m_crypto.keyStream(m_key, m_nextBlock, m_buffer);
    m_nextBlock += m_buffer.size() / 64;
    m_used = 0;
}

std::uint32_t SlotStream::next() {
    for (;;) {
        const std::uint32_t slot = below(m_slotCount);
        if (m_taken.insert(slot))
            return slot;
    }
}

}  // namespace sealed
