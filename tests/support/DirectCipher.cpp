#include "DirectCipher.h"

#include <utility>

#include "cipher/CipherError.h"
#include "cipher/Encryption.h"
#include "engine/Failure.h"

namespace stego::platform {

namespace {

// The engine knows only stego::Failure; the cipher's number and words pass through.
template <typename Call>
auto translatingCipherErrors(Call&& call) {
    try {
        return std::forward<Call>(call)();
    } catch (const corvid::CipherError& error) {
        throw Failure(error.number(), error.what());
    }
}

class DirectCipherObject : public CipherObject {
public:
    std::string Encrypt(std::string& key, const std::string& encstr) override {
        return translatingCipherErrors([&] { return m_cipher.Encrypt(key, encstr); });
    }
    std::string Decrypt(std::string& key, const std::string& encstr) override {
        return translatingCipherErrors([&] { return m_cipher.Decrypt(key, encstr); });
    }
    std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) override {
        return translatingCipherErrors([&] { return m_cipher.EncryptFile(key, filename, encfilename); });
    }
    std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) override {
        return translatingCipherErrors([&] { return m_cipher.DecryptFile(key, filename, decfilename); });
    }

private:
    corvid::Encryption m_cipher;
};

}  // namespace

CipherFactory makeDirectCipherFactory() {
    return [] { return std::unique_ptr<CipherObject>(std::make_unique<DirectCipherObject>()); };
}

}  // namespace stego::platform
