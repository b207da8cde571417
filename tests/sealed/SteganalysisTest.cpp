#include <gtest/gtest.h>

#include <cstdio>

#include "Steganalysis.h"
#include "SteganalysisBench.h"

namespace steganalysis {
namespace {

const stego::MemoryCarrier& photograph() {
    static const stego::MemoryCarrier picture = photographLike(PIXQUILL_SAMPLE_PICTURE);
    return picture;
}

std::string describe(const char* what, double share, const Verdict& v) {
    char line[160];
    std::snprintf(line, sizeof line, "%-8s %3.0f%%  chi-square start %.4f whole %.4f  RS %+.4f  %s", what, 100 * share,
                  v.chiSquareStart, v.chiSquareWhole, v.rs, v.flagged() ? "FLAGGED" : "clean");
    return line;
}

// The attacks work: a clean photograph passes, and the classic format's item
// of a tenth of its capacity is found by both.
TEST(Steganalysis, CleanPassesAndAClassicTenthIsFlagged) {
    const Verdict clean = analyse(photograph());
    EXPECT_FALSE(clean.flagged()) << describe("clean", 0, clean);

    stego::MemoryCarrier classic = photograph();
    embedClassic(classic, 0.10);
    const Verdict found = analyse(classic);
    EXPECT_TRUE(found.chiSquareFlags()) << describe("classic", 0.10, found);
    EXPECT_TRUE(found.rsFlags()) << describe("classic", 0.10, found);
}

// At the same thresholds a sealed item of a tenth of its capacity is not
// found: its bits are scattered, and LSB matching leaves the pairs of values
// as they were.
TEST(Steganalysis, SealedTenthIsNotFlagged) {
    stego::MemoryCarrier sealedPicture = photograph();
    embedSealed(sealedPicture, 0.10);
    const Verdict verdict = analyse(sealedPicture);
    EXPECT_FALSE(verdict.flagged()) << describe("sealed", 0.10, verdict);
}

// Not a check: the figures for 5, 10, 25 and 50 percent, for the record.
TEST(Steganalysis, Figures) {
    std::printf("%s\n", describe("clean", 0, analyse(photograph())).c_str());
    for (const double share : {0.05, 0.10, 0.25, 0.50}) {
        stego::MemoryCarrier classic = photograph();
        embedClassic(classic, share);
        std::printf("%s\n", describe("classic", share, analyse(classic)).c_str());
        stego::MemoryCarrier sealedPicture = photograph();
        embedSealed(sealedPicture, share);
        std::printf("%s\n", describe("sealed", share, analyse(sealedPicture)).c_str());
    }
}

}  // namespace
}  // namespace steganalysis
