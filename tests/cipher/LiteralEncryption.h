// A slow reference machine that runs the cipher's algorithm step by step:
// rotors as strings, symbols found by linear search, moves as string rotations.
// The fast Encryption must match it in outputs, errors and state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "MachineFields.h"

namespace corvid {

class LiteralEncryption {
public:
    std::int32_t InitText(std::string& key);
    std::int32_t InitBinary(std::string& key);
    void EncryptByte(std::string& c);
    void DecryptByte(std::string& c);
    std::string Encrypt(std::string& key, const std::string& encstr);
    std::string Decrypt(std::string& key, const std::string& encstr);

    // What EncryptFile or DecryptFile would put in the output: the bytes of `input` through
    // the machine until the first error, whose number lands in `error` (0 for none).
    std::string cipherFileBytes(std::string& key, const std::string& input, bool encipher, int& error);

    const MachineFields& fields() const { return m_fields; }
    // KeyValues(1..36864) of the last set-up, at those indexes; kept for the known-answer tests.
    const std::vector<int>& keyValues() const { return m_keyValues; }

private:
    std::int32_t setUp(std::string& key, bool textMode);
    const std::string& alphabetInForce() const;
    void advance();

    MachineFields m_fields;
    std::vector<int> m_keyValues;
};

// The 84 characters of the text alphabet, spelled out group by group.
std::string literalTextAlphabet();

}  // namespace corvid
