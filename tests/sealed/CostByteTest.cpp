#include <gtest/gtest.h>

#include "engine/Failure.h"
#include "sealed/HeaderCost.h"

namespace sealed {
namespace {

// Every byte names a cost and every cost it names comes back to the same byte:
// a reader never meets a header it must refuse.
TEST(CostByte, EveryByteIsACostThatEncodesBack) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const KdfCost cost = decodeCost(static_cast<std::uint8_t>(byte));
        EXPECT_GE(cost.passes, 1u);
        EXPECT_LE(cost.passes, 16u);
        EXPECT_GE(cost.memoryBytes, 8u << 10);
        EXPECT_LE(cost.memoryBytes, std::uint64_t{256} << 20);
        EXPECT_EQ(encodeCost(cost), byte);
    }
}

TEST(CostByte, NamedCosts) {
    EXPECT_EQ(encodeCost(kDefaultCost), 0xD9);
    EXPECT_EQ(encodeCost(kCheapestCost), 0x00);
    for (const KdfCost unsayable :
         {KdfCost{0, 8 << 10}, KdfCost{17, 8 << 10}, KdfCost{1, 12 << 10}, KdfCost{1, std::uint64_t{512} << 20}})
        EXPECT_THROW(encodeCost(unsayable), stego::Failure);
}

}  // namespace
}  // namespace sealed
