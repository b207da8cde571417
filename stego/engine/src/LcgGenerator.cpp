#include "engine/LcgGenerator.h"

#include <bit>

namespace stego::platform {

namespace {

constexpr std::uint32_t kStateMask = 0xFFFFFF;
constexpr std::uint32_t kMultiplier = 0x43FD43FD;
constexpr std::uint32_t kIncrement = 0xC39EC3;

// Unsigned 32-bit arithmetic wraps modulo 2^32, a multiple of 2^24, so masking
// afterwards gives the step modulo 2^24.
constexpr std::uint32_t advance(std::uint32_t state) { return (state * kMultiplier + kIncrement) & kStateMask; }

}  // namespace

float LcgGenerator::draw() {
    m_state = advance(m_state);
    return static_cast<float>(m_state) / 16777216.0F;
}

void LcgGenerator::restartWithMinusOne() {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(-1.0F);
    m_state = advance((bits + (bits >> 24)) & kStateMask);
}

void LcgGenerator::reseed(double x) {
    const auto high = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(x) >> 32);
    m_state = (m_state & 0xFF) | (((high & 0xFFFF) ^ (high >> 16)) << 8);
}

LcgGenerator& sharedGenerator() {
    static LcgGenerator generator;
    return generator;
}

}  // namespace stego::platform
