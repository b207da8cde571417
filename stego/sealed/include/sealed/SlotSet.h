// The slots already taken while slots are drawn for a sealed item: a hash set
// while few are taken, a bitmap once the bitmap is the smaller, so that the
// memory follows the item's size rather than the picture's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sealed {

class SlotSet {
public:
    /// Slots are numbered 0 to slotCount - 1; slotCount < 2^32.
    explicit SlotSet(std::uint32_t slotCount);

    /// Makes room for count slots in all, taking the bitmap when it is smaller.
    void reserve(std::size_t count);
    /// False when slot was already in the set.
    bool insert(std::uint32_t slot);
    std::size_t size() const { return m_size; }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // never a slot: slotCount < 2^32

    void useBitmap();
    void growTable(std::size_t capacity);
    bool insertIntoTable(std::uint32_t slot);

    std::uint32_t m_slotCount;
    std::size_t m_size = 0;
    std::vector<std::uint64_t> m_bitmap;  // used once not empty
    std::vector<std::uint32_t> m_table;   // open addressing, a power of two long
};

}  // namespace sealed
