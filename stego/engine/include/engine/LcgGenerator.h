// The program's pseudo-random generator: a 24-bit linear congruential sequence
// whose exact values every hidden picture depends on.
#pragma once

#include <cstdint>

#include "engine/RandomSource.h"

namespace stego::platform {

class LcgGenerator : public RandomSource {
public:
    static constexpr std::uint32_t kInitialState = 0x050000;

    float draw() override;
    void restartWithMinusOne() override;
    void reseed(double x) override;
    std::uint64_t state() const override { return m_state; }
    void setState(std::uint64_t state) override { m_state = static_cast<std::uint32_t>(state) & 0xFFFFFF; }

private:
    std::uint32_t m_state = kInitialState;
};

/// The one instance the program shares, as pictures written by one generator
/// are read only by the same.
LcgGenerator& sharedGenerator();

}  // namespace stego::platform
