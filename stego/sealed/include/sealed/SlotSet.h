// The slots already taken while the header's and the preface's slots are
// drawn one at a time: a small open-addressing hash set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sealed {

class SlotSet {
public:
    SlotSet();

    /// False when slot was already in the set.
    bool insert(std::uint32_t slot);
    std::size_t size() const { return m_size; }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never a slot: a picture has fewer than 2^32

    void grow();
    bool insertIntoTable(std::uint32_t slot);

    std::size_t m_size = 0;
    std::vector<std::uint32_t> m_table;  // a power of two long, at most half full
};

}  // namespace sealed
