// A stand-in for the cipher with its limits and errors, so that engine tests
// need no real cipher: a key-dependent, position-dependent shift over the same
// 84-character text alphabet, or over the 256 byte values for files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/CipherPort.h"
#include "engine/FileStore.h"

namespace stego::test {

/// What the commands did with their cipher objects, and failures to inject.
struct FakeCipherLog {
    int created = 0;
    int alive = 0;
    std::vector<std::string> filesWritten;  // encfilename and decfilename, in call order

    bool refuseCreation = false;           // the factory gives no object
    std::function<void()> beforeEachCall;  // may throw, as a failing cipher would
    std::int32_t fileResult = 0;           // returned by the file calls instead of 0, when not 0
};

class FakeCipher : public CipherObject {
public:
    FakeCipher(FileStore& files, FakeCipherLog& log);
    ~FakeCipher() override;

    std::string Encrypt(std::string& key, const std::string& encstr) override;
    std::string Decrypt(std::string& key, const std::string& encstr) override;
    std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) override;
    std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) override;

private:
    std::string shiftText(std::string& key, const std::string& text, int direction);
    std::int32_t shiftFile(std::string& key, const std::string& from, const std::string& to, int direction);

    FileStore& m_files;
    FakeCipherLog& m_log;
};

CipherFactory makeFakeCipherFactory(FileStore& files, FakeCipherLog& log);

/// The text that the fake cipher enciphers into ciphertext under key, for
/// building inputs whose encrypted form holds a chosen text.
std::string fakePlainTextFor(const std::string& key, const std::string& ciphertext);
/// The same for file bytes.
std::string fakePlainBytesFor(const std::string& key, const std::string& cipherBytes);

}  // namespace stego::test
