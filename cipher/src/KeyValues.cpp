#include "KeyValues.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr int kPairCount = 9;
constexpr int kDoublings = 11;

// R(x): x brought into 1..N by subtracting N; values up to N, 0 included, stay as they are.
int reduce(int value, int bound) { return value > bound ? (value - 1) % bound + 1 : value; }

int digitAt(const std::string& key, std::size_t position) { return key[position - 1] - '0'; }

}  // namespace

bool isDigitKey(const std::string& key) noexcept {
    return std::all_of(key.begin(), key.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

std::string normalizeKey(const std::string& key) {
    // All the room it needs up front, and no temporary copies: a regrown or
    // temporary buffer would leave parts of the key behind in freed memory.
    std::string normalized;
    normalized.reserve(std::max(key.size(), 2 * kNormalizedKeyLength));
    normalized = key;
    while (normalized.size() < kNormalizedKeyLength) {
        normalized.append(normalized, 0, normalized.size());
    }
    normalized.resize(kNormalizedKeyLength);
    return normalized;
}

std::vector<std::int16_t> buildKeyValues(const std::string& normalizedKey, int reductionBound) {
    std::vector<std::int16_t> values(kKeyValueCount + 1, 0);
    const int bound = reductionBound;

    // Each pair joins a character with its mirror image: 1 with 18, 2 with 17, ... 9 with 10.
    for (std::size_t p = 1; p <= kPairCount; ++p) {
        values[p] = static_cast<std::int16_t>(10 * digitAt(normalizedKey, p) +
                                              digitAt(normalizedKey, kNormalizedKeyLength + 1 - p));
        values[kPairCount + p] = static_cast<std::int16_t>(values[p] + 5);
    }
    for (std::size_t p = 1; p <= 2 * kPairCount; ++p) {
        values[p] = static_cast<std::int16_t>(reduce(values[p], bound));
    }

    // Each doubling reads the list from its start: value(c + i) = R(value(i) + i). Since
    // value(i) lies in 0..N and i counts up, i is carried already reduced into 1..N, so the
    // sum stays within 1..2N and one subtraction replaces the division.
    std::size_t filled = 2 * kPairCount;
    for (int doubling = 0; doubling < kDoublings; ++doubling) {
        int reducedIndex = 0;
        for (std::size_t i = 1; i <= filled; ++i) {
            reducedIndex = reducedIndex == bound ? 1 : reducedIndex + 1;
            const int sum = values[i] + reducedIndex;
            values[filled + i] = static_cast<std::int16_t>(sum > bound ? sum - bound : sum);
        }
        filled *= 2;
    }
    return values;
}

}  // namespace corvid
