// The slots of a sealed item's body. The free slots (all but the header's and
// the preface's) are cut into as many equal blocks as the body has bits, and
// bit i sits in block i at an offset drawn from the keyed stream. The slots
// rise, so the body is written and read in one pass over the picture, and
// nothing is kept but the few slots taken before it.
#pragma once

#include <cstdint>
#include <vector>

#include "SlotStream.h"

namespace sealed {

class BodySlots {
public:
    /// taken: the slots drawn before the body, any order; bits: the body's
    /// length in bits, at least 1 and at most the free slots.
    BodySlots(SlotStream& stream, std::uint32_t slotCount, std::vector<std::uint32_t> taken, std::uint64_t bits);

    /// The slot of the next bit.
    std::uint32_t next() {
        std::uint32_t slot = 0;
        next(&slot, 1);
        return slot;
    }
    /// The slots of the next count bits into out, as count calls of next() would give them.
    void next(std::uint32_t* out, std::size_t count);

private:
    SlotStream& m_stream;
    std::vector<std::uint32_t> m_taken;  // sorted
    // Block i starts at free rank floor(i F / B): F = q B + r, and the blocks
    // are q or q + 1 long as the running remainder carries.
    std::uint64_t m_bits;
    std::uint64_t m_quotient;
    std::uint64_t m_remainder;
    std::uint64_t m_blockStart = 0;
    std::uint64_t m_carry = 0;     // i r mod B
    std::size_t m_takenBelow = 0;  // taken slots below the last slot given
};

}  // namespace sealed
