#include <gtest/gtest.h>

#include <random>
#include <set>

#include "sealed/SlotSet.h"

namespace sealed {
namespace {

// The set must answer as a std::set does, through the table's growth.
TEST(SlotSet, AgreesWithAnOrdinarySet) {
    struct Case {
        std::uint32_t slotCount;
        std::size_t inserts;
    };
    for (const Case c : {Case{100, 300}, Case{1u << 20, 5000}, Case{4096, 3000}, Case{0xFFFFFFFEu, 20000}}) {
        SCOPED_TRACE(c.slotCount);
        SlotSet set;
        std::set<std::uint32_t> expected;
        std::mt19937 random(c.slotCount);
        for (std::size_t i = 0; i < c.inserts; ++i) {
            // Half the draws repeat an earlier range, so duplicates are common.
            const std::uint32_t slot =
                static_cast<std::uint32_t>(random() % std::min<std::uint32_t>(c.slotCount, 2 * (i + 1)));
            EXPECT_EQ(set.insert(slot), expected.insert(slot).second);
        }
        EXPECT_EQ(set.size(), expected.size());
    }
}

}  // namespace
}  // namespace sealed
