#include <gtest/gtest.h>

#include <set>

#include "SealedTestKit.h"
#include "sealed/BodySlots.h"

namespace sealed {
namespace {

// The body's slots rise, miss every slot taken before, and fall one in each
// of the equal blocks of the free slots, up to a body of every free slot.
TEST(BodySlots, OneRisingFreeSlotInEachBlock) {
    struct Case {
        std::uint32_t slotCount;
        std::vector<std::uint32_t> taken;
        std::uint64_t bits;
    };
    const std::vector<Case> cases = {
        {100, {0, 5, 99, 50}, 96},   // every free slot
        {100, {3, 4}, 1},            // one bit: anywhere
        {1000, {999, 0, 500}, 333},  // blocks of three
        {3 * 640 * 420, {12, 80000, 7}, 100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.slotCount) + " slots, " + std::to_string(c.bits) + " bits");
        auto crypto = test::seededCrypto();
        SlotSet unused;
        SlotStream stream(crypto, Key{}, c.slotCount, unused);
        BodySlots body(stream, c.slotCount, c.taken, c.bits);
        const std::set<std::uint32_t> taken(c.taken.begin(), c.taken.end());
        std::vector<std::uint32_t> freeSlots;
        for (std::uint32_t slot = 0; slot < c.slotCount; ++slot)
            if (taken.count(slot) == 0)
                freeSlots.push_back(slot);
        const std::uint64_t free = freeSlots.size();
        for (std::uint64_t i = 0; i < c.bits; ++i) {
            const std::uint32_t slot = body.next();
            ASSERT_GE(slot, freeSlots[i * free / c.bits]);
            ASSERT_LE(slot, freeSlots[(i + 1) * free / c.bits - 1]);
            ASSERT_EQ(taken.count(slot), 0u);
        }
    }
}

}  // namespace
}  // namespace sealed
