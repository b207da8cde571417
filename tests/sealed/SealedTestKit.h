// What the sealed tests share: seeded crypto, the cheapest key derivation,
// and a hash of a whole picture.
#pragma once

#include <sodium.h>

#include <cstdio>
#include <string>

#include "engine/MemoryCarrier.h"
#include "platform/SodiumCrypto.h"
#include "sealed/HeaderCost.h"

namespace sealed::test {

inline Key seedOf(std::uint8_t first) {
    Key seed{};
    seed[0] = first;
    return seed;
}

inline stego::platform::SodiumCrypto seededCrypto(std::uint8_t first = 1) {
    return stego::platform::SodiumCrypto::seeded(seedOf(first));
}

/// SHA-256 of the pixels' red, green and blue, row after row, in hex.
inline std::string pictureHash(const stego::MemoryCarrier& carrier) {
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    for (const stego::Rgb& pixel : carrier.pixels()) {
        const unsigned char rgb[3] = {pixel.red, pixel.green, pixel.blue};
        crypto_hash_sha256_update(&state, rgb, sizeof rgb);
    }
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, digest);
    std::string hex;
    for (const unsigned char byte : digest) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", byte);
        hex += two;
    }
    return hex;
}

}  // namespace sealed::test
