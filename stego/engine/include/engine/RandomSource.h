// The pseudo-random generator the scrambler draws from, as the engine sees it.
#pragma once

#include <cstdint>

namespace stego {

/// A deterministic generator: the same state and the same calls give the same values.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// The next value, in [0, 1).
    virtual float draw() = 0;
    /// Puts the generator into the fixed state that the argument -1 selects.
    virtual void restartWithMinusOne() = 0;
    /// A new state from x (and possibly the state before).
    virtual void reseed(double x) = 0;
    /// The whole state, so that a chain of draws can be remembered and replayed.
    virtual std::uint64_t state() const = 0;
    virtual void setState(std::uint64_t state) = 0;
};

}  // namespace stego
