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
    std::uint32_t below(std::uint32_t bound);

private:
    std::uint32_t nextWord();

    SealedCrypto& m_crypto;
    Key m_key;
    std::uint32_t m_slotCount;
    SlotSet& m_taken;
    std::array<std::uint8_t, 4096> m_buffer{};
    std::size_t m_used = sizeof m_buffer;
    std::uint64_t m_nextBlock = 0;
};

}  // namespace sealed
