// The generator's exact values: every hidden picture depends on them.
#include <gtest/gtest.h>

#include "engine/LcgGenerator.h"

namespace stego::platform {
namespace {

TEST(LcgGenerator, FirstDrawFromTheStartState) {
    LcgGenerator generator;
    EXPECT_EQ(static_cast<double>(generator.draw()), 0.7055475115776062);
}

TEST(LcgGenerator, RestartAndReseedGiveTheCheckValues) {
    LcgGenerator generator;
    generator.draw();  // the restart must not depend on what came before
    generator.restartWithMinusOne();
    EXPECT_EQ(generator.state(), 0x395886U);
    generator.reseed(1.0);
    EXPECT_EQ(generator.state(), 0x3FF086U);
    for (const double expected : {0.3335753083229065, 0.06816387176513672, 0.593829333782196})
        EXPECT_EQ(static_cast<double>(generator.draw()), expected);
}

TEST(LcgGenerator, ReseedKeepsTheLowByteOfTheState) {
    LcgGenerator generator;
    generator.setState(0xABCDEF);
    generator.reseed(-2.5);  // upper word 0xC0040000: 0x0000 ^ 0xC004
    EXPECT_EQ(generator.state(), 0xC004EFU);
}

}  // namespace
}  // namespace stego::platform
