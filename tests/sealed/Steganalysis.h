// Two published attacks on low-bit embedding, as a test tool: the chi-square
// attack on pairs of values (Westfeld and Pfitzmann) and RS analysis
// (Fridrich, Goljan and Du). They judge whether a picture carries an item.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/Carrier.h"

namespace steganalysis {

/// The chi-square statistic of the pairs (2k, 2k + 1) of a histogram and the
/// probability that the pairs are as even as LSB replacement makes them
/// (near 1: an item; near 0: none). Pairs with fewer than 5 samples are merged away.
struct PairsResult {
    double statistic = 0;
    int degreesOfFreedom = 0;
    double embeddingProbability = 0;
};
PairsResult chiSquarePairs(std::span<const std::uint8_t> samples);

/// The red, green and blue values of count pixels from pixel first on (fewer
/// at the end), column after column from the top-left corner (the classic format's order).
std::vector<std::uint8_t> samplesInColumnOrder(const stego::Carrier& carrier, std::int64_t first, std::int64_t count);

/// RS analysis: the estimated share of colour components that carry message
/// bits by LSB replacement (about 0 for a clean picture), averaged over red,
/// green and blue, with groups of four neighbours along rows and the mask 0110.
double rsEstimate(const stego::Carrier& carrier);

/// Both attacks at fixed thresholds: flagged when the chi-square probability
/// stays over 0.95 through each of the first eight windows of 1,024 pixels
/// (the start of the classic's order; one window alone is fooled by an even,
/// flat edge of a photograph) or is over 0.95 for all the pixels, or when the
/// RS estimate is over 0.05.
struct Verdict {
    double chiSquareStart = 0;  // the lowest embedding probability of the first eight windows
    double chiSquareWhole = 0;  // embedding probability, the whole picture
    double rs = 0;              // RS estimate
    bool chiSquareFlags() const { return chiSquareStart > 0.95 || chiSquareWhole > 0.95; }
    bool rsFlags() const { return rs > 0.05; }
    bool flagged() const { return chiSquareFlags() || rsFlags(); }
};
Verdict analyse(const stego::Carrier& carrier);

}  // namespace steganalysis
