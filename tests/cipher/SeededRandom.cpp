#include "SeededRandom.h"

#include <cstdlib>
#include <iostream>

#include "cipher/Alphabet.h"

namespace corvid {

namespace {

std::uint64_t chooseSeed() {
    if (const char* fromEnvironment = std::getenv("CORVID_TEST_SEED")) {
        return std::strtoull(fromEnvironment, nullptr, 10);
    }
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

}  // namespace

SeededRandom::SeededRandom() : m_seed(chooseSeed()), m_engine(m_seed) {
    std::cout << "[   seed   ] CORVID_TEST_SEED=" << m_seed << std::endl;
}

int SeededRandom::between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }

bool SeededRandom::chance(double probability) { return std::bernoulli_distribution(probability)(m_engine); }

std::string SeededRandom::digitKey() {
    std::string key;
    switch (between(0, 4)) {
    case 0:  // short keys repeat themselves into the 18 characters
        for (int i = between(1, 3); i > 0; --i)
            key += static_cast<char>('0' + between(0, 9));
        break;
    case 1:  // all zeros, every pair value 0
        key.assign(static_cast<std::size_t>(between(1, 20)), '0');
        break;
    case 2:  // 18 digits with some mirrored pairs set to "00"
        for (int i = 0; i < 18; ++i)
            key += static_cast<char>('0' + between(0, 9));
        for (int p = 0; p < 9; ++p) {
            if (chance(0.4))
                key[p] = key[17 - p] = '0';
        }
        break;
    default:  // any length, ordinary digits
        for (int i = between(1, 25); i > 0; --i)
            key += static_cast<char>('0' + between(0, 9));
        break;
    }
    return key;
}

std::string SeededRandom::text(std::size_t length) {
    std::string result(length, '\0');
    for (char& ch : result)
        ch = kTextAlphabet[static_cast<std::size_t>(between(0, 83))];
    return result;
}

std::string SeededRandom::bytes(std::size_t length) {
    std::string result(length, '\0');
    for (char& ch : result)
        ch = static_cast<char>(between(0, 255));
    return result;
}

}  // namespace corvid
