// The cryptography a sealed item is made with, as a small interface: the
// platform implements it over libsodium, and tests seed its randomness.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace sealed {

inline constexpr std::size_t kKeyBytes = 32;
inline constexpr std::size_t kSaltBytes = 16;
inline constexpr std::size_t kNonceBytes = 24;
inline constexpr std::size_t kTagBytes = 16;

using Key = std::array<std::uint8_t, kKeyBytes>;
using Salt = std::array<std::uint8_t, kSaltBytes>;
using Nonce = std::array<std::uint8_t, kNonceBytes>;

/// What Argon2id spends on one key: passes over memoryBytes of memory.
struct KdfCost {
    std::uint32_t passes = 0;
    std::uint64_t memoryBytes = 0;
    friend bool operator==(const KdfCost&, const KdfCost&) = default;
};

class SealedCrypto {
public:
    virtual ~SealedCrypto() = default;

    /// Argon2id of the passphrase's bytes and salt into key. False when the
    /// memory it asks for cannot be had.
    virtual bool deriveKey(Key& key, std::string_view passphrase, const Salt& salt, const KdfCost& cost) = 0;
    /// An independent key for one purpose, derived from key.
    virtual Key deriveSubkey(const Key& key, std::uint64_t purpose) = 0;
    /// The XChaCha20 keystream under key and an all-zero nonce, from 64-byte block firstBlock on.
    virtual void keyStream(const Key& key, std::uint64_t firstBlock, std::span<std::uint8_t> out) = 0;
    /// XChaCha20-Poly1305 (IETF): the ciphertext with its 16-byte tag at the end.
    virtual std::vector<std::uint8_t> seal(std::span<const std::uint8_t> plain, std::span<const std::uint8_t> extra,
                                           const Nonce& nonce, const Key& key) = 0;
    /// False, with plain empty, when the tag does not match.
    virtual bool open(std::span<const std::uint8_t> sealedBytes, std::span<const std::uint8_t> extra,
                      const Nonce& nonce, const Key& key, std::vector<std::uint8_t>& plain) = 0;
    /// Unpredictable bytes: salts, nonces and the direction of each LSB-matching step.
    virtual void randomBytes(std::span<std::uint8_t> out) = 0;
};

}  // namespace sealed
