// Numbers drawn from a keyed stream: uniform ones (rejection sampling, no
// bias), and distinct slots, where a slot already taken is drawn again.
#pragma once

#include <array>
#include <cstdint>

#include "SealedCrypto.h"
#include "SlotSet.h"

namespace sealed {

class SlotStream {
public:
    /// taken must outlive the stream; every slot next() returns is added to it.
    SlotStream(SealedCrypto& crypto, const Key& key, std::uint32_t slotCount, SlotSet& taken);
    ~SlotStream();
    SlotStream(const SlotStream&) = delete;
    SlotStream& operator=(const SlotStream&) = delete;

    /// The next slot not yet taken. The caller must not ask for more slots than there are.
    std::uint32_t next();
    /// A uniform number in [0, bound), 0 < bound.
    std::uint32_t below(std::uint32_t bound) {
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

private:
    std::uint32_t nextWord() {
        if (m_used + 4 > m_buffer.size())
            refill();
        const std::uint8_t* bytes = m_buffer.data() + m_used;
        m_used += 4;
        return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
               std::uint32_t{bytes[3]} << 24;
    }
    void refill();

    SealedCrypto& m_crypto;
    Key m_key;
    std::uint32_t m_slotCount;
    SlotSet& m_taken;
    std::array<std::uint8_t, 16384> m_buffer{};
    std::size_t m_used = sizeof m_buffer;
    std::uint64_t m_nextBlock = 0;
};

}  // namespace sealed
