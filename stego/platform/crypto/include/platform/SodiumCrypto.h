// SealedCrypto over libsodium: Argon2id, XChaCha20, XChaCha20-Poly1305, and
// the system's randomness (or, for known-answer tests, a seeded stream).
#pragma once

#include <cstdint>
#include <optional>

#include "sealed/SealedCrypto.h"

namespace stego::platform {

class SodiumCrypto : public sealed::SealedCrypto {
public:
    /// Randomness from the system. Throws stego::Failure when libsodium cannot start.
    SodiumCrypto();
    /// Randomness from an XChaCha20 stream under seed: the same seed, the same
    /// salts, nonces and matching steps. For tests only: a seeded sealer is no secret.
    static SodiumCrypto seeded(const sealed::Key& seed);
    ~SodiumCrypto() override;

    bool deriveKey(sealed::Key& key, std::string_view passphrase, const sealed::Salt& salt,
                   const sealed::KdfCost& cost) override;
    sealed::Key deriveSubkey(const sealed::Key& key, std::uint64_t purpose) override;
    void keyStream(const sealed::Key& key, std::uint64_t firstBlock, std::span<std::uint8_t> out) override;
    std::vector<std::uint8_t> seal(std::span<const std::uint8_t> plain, std::span<const std::uint8_t> extra,
                                   const sealed::Nonce& nonce, const sealed::Key& key) override;
    bool open(std::span<const std::uint8_t> sealedBytes, std::span<const std::uint8_t> extra,
              const sealed::Nonce& nonce, const sealed::Key& key, std::vector<std::uint8_t>& plain) override;
    void randomBytes(std::span<std::uint8_t> out) override;

private:
    std::optional<sealed::Key> m_seed;
    std::uint64_t m_seededBytes = 0;  // how far into the seeded stream the draws have come
};

}  // namespace stego::platform
