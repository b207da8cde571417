#include "platform/SodiumCrypto.h"

#include <sodium.h>

#include <algorithm>

#include "engine/Failure.h"

namespace stego::platform {

namespace {

// Eight characters, as libsodium's key derivation asks: sets our subkeys apart from any other use of the key.
constexpr char kSubkeyContext[crypto_kdf_CONTEXTBYTES + 1] = "PqSealed";

static_assert(sealed::kKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(sealed::kKeyBytes == crypto_stream_xchacha20_KEYBYTES);
static_assert(sealed::kKeyBytes == crypto_kdf_KEYBYTES);
static_assert(sealed::kNonceBytes == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(sealed::kTagBytes == crypto_aead_xchacha20poly1305_ietf_ABYTES);
static_assert(sealed::kSaltBytes == crypto_pwhash_argon2id_SALTBYTES);

constexpr std::size_t kBlockBytes = 64;

// XChaCha20 keystream from block firstBlock on (a zero nonce: each key has one use).
void streamFrom(const sealed::Key& key, std::uint64_t firstBlock, std::span<std::uint8_t> out) {
    static const std::uint8_t zeroNonce[crypto_stream_xchacha20_NONCEBYTES] = {};
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    crypto_stream_xchacha20_xor_ic(out.data(), out.data(), out.size(), zeroNonce, firstBlock, key.data());
}

}  // namespace

SodiumCrypto::SodiumCrypto() {
    if (sodium_init() < 0)
        throw Failure(kInternalError, "The cryptography library cannot start.");
}

SodiumCrypto SodiumCrypto::seeded(const sealed::Key& seed) {
    SodiumCrypto crypto;
    crypto.m_seed = seed;
    return crypto;
}

SodiumCrypto::~SodiumCrypto() {
    if (m_seed)
        sodium_memzero(m_seed->data(), m_seed->size());
}

bool SodiumCrypto::deriveKey(sealed::Key& key, std::string_view passphrase, const sealed::Salt& salt,
                             const sealed::KdfCost& cost) {
    return crypto_pwhash(key.data(), key.size(), passphrase.data(), passphrase.size(), salt.data(), cost.passes,
                         static_cast<std::size_t>(cost.memoryBytes), crypto_pwhash_ALG_ARGON2ID13) == 0;
}

sealed::Key SodiumCrypto::deriveSubkey(const sealed::Key& key, std::uint64_t purpose) {
    sealed::Key subkey;
    crypto_kdf_derive_from_key(subkey.data(), subkey.size(), purpose, kSubkeyContext, key.data());
    return subkey;
}

void SodiumCrypto::keyStream(const sealed::Key& key, std::uint64_t firstBlock, std::span<std::uint8_t> out) {
    streamFrom(key, firstBlock, out);
}

std::vector<std::uint8_t> SodiumCrypto::seal(std::span<const std::uint8_t> plain, std::span<const std::uint8_t> extra,
                                             const sealed::Nonce& nonce, const sealed::Key& key) {
    std::vector<std::uint8_t> cipher(plain.size() + sealed::kTagBytes);
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(cipher.data(), &length, plain.data(), plain.size(), extra.data(),
                                               extra.size(), nullptr, nonce.data(), key.data());
    cipher.resize(static_cast<std::size_t>(length));
    return cipher;
}

bool SodiumCrypto::open(std::span<const std::uint8_t> sealedBytes, std::span<const std::uint8_t> extra,
                        const sealed::Nonce& nonce, const sealed::Key& key, std::vector<std::uint8_t>& plain) {
    plain.clear();
    if (sealedBytes.size() < sealed::kTagBytes)
        return false;
    plain.resize(sealedBytes.size() - sealed::kTagBytes);
    unsigned long long length = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(plain.data(), &length, nullptr, sealedBytes.data(),
                                                   sealedBytes.size(), extra.data(), extra.size(), nonce.data(),
                                                   key.data()) != 0) {
        plain.clear();
        return false;
    }
    plain.resize(static_cast<std::size_t>(length));
    return true;
}

void SodiumCrypto::randomBytes(std::span<std::uint8_t> out) {
    if (!m_seed) {
        randombytes_buf(out.data(), out.size());
        return;
    }
    // Whole blocks from the one the draws have reached; the part before the position is dropped.
    const std::uint64_t firstBlock = m_seededBytes / kBlockBytes;
    const std::size_t skip = static_cast<std::size_t>(m_seededBytes % kBlockBytes);
    std::vector<std::uint8_t> blocks((skip + out.size() + kBlockBytes - 1) / kBlockBytes * kBlockBytes);
    streamFrom(*m_seed, firstBlock, blocks);
    std::copy_n(blocks.begin() + static_cast<std::ptrdiff_t>(skip), out.size(), out.begin());
    m_seededBytes += out.size();
}

}  // namespace stego::platform
