// The remembered chain must give exactly what UnscrambleChar gives, character
// for character, and leave the generator where the direct calls leave it.
#include <gtest/gtest.h>
#include <ostream>

#include <random>

#include "ScrambleChain.h"
#include "engine/LcgGenerator.h"

namespace stego {
namespace {

using platform::LcgGenerator;

struct ChainCase {
    const char* name;
    std::string key;
    std::size_t maxNodes;
    std::size_t characters;
};

class ScrambleChainMatchesDirectCalls : public testing::TestWithParam<ChainCase> {};
void PrintTo(const ChainCase& c, std::ostream* os) { *os << c.name; }

TEST_P(ScrambleChainMatchesDirectCalls, CharacterForCharacter) {
    const ChainCase& c = GetParam();
    const unsigned seed = 20050;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);

    LcgGenerator directGenerator;
    Scrambler direct(directGenerator);
    direct.BuildScrambleTable(c.key);

    LcgGenerator chainGenerator;
    Scrambler remembered(chainGenerator);
    remembered.BuildScrambleTable(c.key);
    ScrambleChain chain(remembered, c.maxNodes);

    for (std::size_t i = 0; i < c.characters; ++i) {
        const auto code = static_cast<unsigned char>(random() & 0xFF);
        const auto expected = static_cast<unsigned char>(direct.UnscrambleChar(static_cast<char>(code)));
        ASSERT_EQ(chain.unscramble(code), expected) << "character " << i;
    }
    chain.finish();
    EXPECT_EQ(chainGenerator.state(), directGenerator.state());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScrambleChainMatchesDirectCalls,
    testing::Values(ChainCase{"WrenFive", "Wren5", ScrambleChain::kDefaultMaxNodes, 300000},
                    ChainCase{"OneCharacter", "a", ScrambleChain::kDefaultMaxNodes, 5000},
                    ChainCase{"LongKey", "0123456789abcdefghij", ScrambleChain::kDefaultMaxNodes, 200000},
                    ChainCase{"FallsBackToDirectDraws", "Wren5", 16, 20000},
                    ChainCase{"EmptyKeyDrawsNothing", "", ScrambleChain::kDefaultMaxNodes, 1000}),
    [](const testing::TestParamInfo<ChainCase>& testCase) { return std::string(testCase.param.name); });

TEST(ScrambleChain, ChainStartsFromTheGeneratorStateItIsGiven) {
    LcgGenerator directGenerator;
    Scrambler direct(directGenerator);
    direct.BuildScrambleTable("Wren5");
    direct.UnscrambleChar('x');  // both sides are one character in

    LcgGenerator chainGenerator;
    Scrambler remembered(chainGenerator);
    remembered.BuildScrambleTable("Wren5");
    remembered.UnscrambleChar('x');
    ScrambleChain chain(remembered);
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(chain.unscramble(static_cast<unsigned char>(code)),
                  static_cast<unsigned char>(direct.UnscrambleChar(static_cast<char>(code))));
    chain.finish();
    EXPECT_EQ(chainGenerator.state(), directGenerator.state());
}

}  // namespace
}  // namespace stego
