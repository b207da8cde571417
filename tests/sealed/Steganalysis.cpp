#include "Steganalysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace steganalysis {

namespace {

// The regularized upper incomplete gamma function Q(a, x), by its series for
// small x and its continued fraction otherwise.
double upperGammaQ(double a, double x) {
    if (x <= 0)
        return 1;
    const double logPrefix = -x + a * std::log(x) - std::lgamma(a);
    if (x < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1000 && std::abs(term) > std::abs(sum) * 1e-15; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return 1 - sum * std::exp(logPrefix);
    }
    constexpr double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::abs(c) < tiny ? tiny : c;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < 1e-15)
            break;
    }
    return std::exp(logPrefix) * h;
}

std::uint8_t component(const stego::Rgb& colour, int which) {
    return which == 0 ? colour.red : which == 1 ? colour.green : colour.blue;
}

// Smoothness of a group: the sum of the steps between neighbours.
int variation(const std::array<int, 4>& group) {
    return std::abs(group[1] - group[0]) + std::abs(group[2] - group[1]) + std::abs(group[3] - group[2]);
}

int flipPositive(int value) { return value ^ 1; }              // 0<->1, 2<->3, ...
int flipNegative(int value) { return ((value + 1) ^ 1) - 1; }  // -1<->0, 1<->2, ...

struct RsCounts {
    double regularPositive = 0, singularPositive = 0, regularNegative = 0, singularNegative = 0;
};

// R and S shares under the mask 0110 with the positive and the negative flip;
// flipAll first flips every low bit of the samples.
RsCounts rsCounts(const stego::Carrier& carrier, int which, bool flipAll) {
    RsCounts counts;
    std::size_t groups = 0;
    std::vector<stego::Rgb> row(static_cast<std::size_t>(carrier.width()));
    for (std::int32_t y = 0; y < carrier.height(); ++y) {
        carrier.readRow(y, 0, carrier.width(), row.data());
        for (std::size_t x = 0; x + 4 <= row.size(); x += 4) {
            std::array<int, 4> group;
            for (std::size_t i = 0; i < 4; ++i) {
                const int value = component(row[x + i], which);
                group[i] = flipAll ? flipPositive(value) : value;
            }
            const int before = variation(group);
            std::array<int, 4> positive = group;
            std::array<int, 4> negative = group;
            for (const std::size_t i : {std::size_t{1}, std::size_t{2}}) {
                positive[i] = flipPositive(group[i]);
                negative[i] = flipNegative(group[i]);
            }
            const int afterPositive = variation(positive);
            const int afterNegative = variation(negative);
            counts.regularPositive += afterPositive > before ? 1 : 0;
            counts.singularPositive += afterPositive < before ? 1 : 0;
            counts.regularNegative += afterNegative > before ? 1 : 0;
            counts.singularNegative += afterNegative < before ? 1 : 0;
            ++groups;
        }
    }
    if (groups > 0) {
        const auto n = static_cast<double>(groups);
        counts.regularPositive /= n;
        counts.singularPositive /= n;
        counts.regularNegative /= n;
        counts.singularNegative /= n;
    }
    return counts;
}

double rsEstimateOf(const stego::Carrier& carrier, int which) {
    const RsCounts at = rsCounts(carrier, which, false);
    const RsCounts flipped = rsCounts(carrier, which, true);
    const double d0 = at.regularPositive - at.singularPositive;
    const double d1 = flipped.regularPositive - flipped.singularPositive;
    const double dn0 = at.regularNegative - at.singularNegative;
    const double dn1 = flipped.regularNegative - flipped.singularNegative;
    // 2 (d1 + d0) z^2 + (dn0 - dn1 - d1 - 3 d0) z + d0 - dn0 = 0; the root of smaller size.
    const double a = 2 * (d1 + d0);
    const double b = dn0 - dn1 - d1 - 3 * d0;
    const double c = d0 - dn0;
    double z = 0;
    if (std::abs(a) < 1e-12) {
        z = std::abs(b) < 1e-12 ? 0 : -c / b;
    } else {
        const double discriminant = std::max(b * b - 4 * a * c, 0.0);
        const double r1 = (-b + std::sqrt(discriminant)) / (2 * a);
        const double r2 = (-b - std::sqrt(discriminant)) / (2 * a);
        z = std::abs(r1) < std::abs(r2) ? r1 : r2;
    }
    return z / (z - 0.5);
}

}  // namespace

PairsResult chiSquarePairs(std::span<const std::uint8_t> samples) {
    std::array<double, 256> histogram{};
    for (const std::uint8_t value : samples)
        histogram[value] += 1;
    PairsResult result;
    int categories = 0;
    for (std::size_t k = 0; k < 128; ++k) {
        const double expected = (histogram[2 * k] + histogram[2 * k + 1]) / 2;
        if (expected < 5)
            continue;
        const double difference = histogram[2 * k] - expected;
        result.statistic += difference * difference / expected;
        ++categories;
    }
    result.degreesOfFreedom = categories - 1;
    result.embeddingProbability =
        result.degreesOfFreedom > 0 ? upperGammaQ(result.degreesOfFreedom / 2.0, result.statistic / 2) : 0;
    return result;
}

std::vector<std::uint8_t> samplesInColumnOrder(const stego::Carrier& carrier, std::int64_t first, std::int64_t count) {
    const std::int64_t end = first + std::min(count, std::int64_t{carrier.width()} * carrier.height() - first);
    std::vector<std::uint8_t> samples;
    samples.reserve(static_cast<std::size_t>(3 * std::max<std::int64_t>(end - first, 0)));
    for (std::int64_t i = first; i < end; ++i) {
        const stego::Rgb colour = carrier.readPixel(static_cast<std::int32_t>(i / carrier.height()),
                                                    static_cast<std::int32_t>(i % carrier.height()));
        samples.insert(samples.end(), {colour.red, colour.green, colour.blue});
    }
    return samples;
}

double rsEstimate(const stego::Carrier& carrier) {
    return (rsEstimateOf(carrier, 0) + rsEstimateOf(carrier, 1) + rsEstimateOf(carrier, 2)) / 3;
}

Verdict analyse(const stego::Carrier& carrier) {
    Verdict verdict;
    constexpr std::int64_t kWindow = 1024;
    verdict.chiSquareStart = 1;
    for (std::int64_t window = 0; window < 8; ++window)
        verdict.chiSquareStart =
            std::min(verdict.chiSquareStart,
                     chiSquarePairs(samplesInColumnOrder(carrier, window * kWindow, kWindow)).embeddingProbability);
    verdict.chiSquareWhole = chiSquarePairs(samplesInColumnOrder(carrier, 0, INT64_MAX)).embeddingProbability;
    verdict.rs = rsEstimate(carrier);
    return verdict;
}

}  // namespace steganalysis
