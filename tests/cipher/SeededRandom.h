// Random inputs for property tests from a seeded generator that prints its
// seed; set CORVID_TEST_SEED=<seed> to replay a failing run.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace corvid {

class SeededRandom {
public:
    // Seeds from CORVID_TEST_SEED, or from the system when it is unset, and prints the seed.
    SeededRandom();

    std::uint64_t seed() const { return m_seed; }
    // A whole number from low to high, both included.
    int between(int low, int high);
    bool chance(double probability);
    // A digit key of the kinds that matter: plain, short, "0"-heavy, or with "00" pairs.
    std::string digitKey();
    // length characters drawn from the text alphabet.
    std::string text(std::size_t length);
    // length bytes of any value.
    std::string bytes(std::size_t length);

private:
    std::uint64_t m_seed;
    std::mt19937_64 m_engine;
};

}  // namespace corvid
