// The cipher as the engine's commands use it: one fresh object per command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace stego {

/// The four operations a command calls. Keys are passed by reference and come
/// back normalised. Failures throw stego::Failure with the cipher's number
/// (5, 6, a file-system number) and its message.
class CipherObject {
public:
    virtual ~CipherObject() = default;
    virtual std::string Encrypt(std::string& key, const std::string& encstr) = 0;
    virtual std::string Decrypt(std::string& key, const std::string& encstr) = 0;
    virtual std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) = 0;
    virtual std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) = 0;
};

/// Creates one object for one command; throws Failure (kCipherUnavailable)
/// when the cipher cannot be had.
using CipherFactory = std::function<std::unique_ptr<CipherObject>()>;

/// One object from factory; throws Failure (kCipherUnavailable) instead of
/// returning nothing.
std::unique_ptr<CipherObject> CreateCipher(const CipherFactory& factory);

}  // namespace stego
