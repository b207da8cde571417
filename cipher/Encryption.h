// The Corvid cipher: a ten-rotor substitution machine keyed by a digit string,
// for text over an 84-character alphabet and for files byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvid {

/// One cipher machine. Strings are byte strings (ISO 8859-1: a character's
/// code is its byte value). Failures throw CipherError; see CipherError.h.
/// An object serves one caller at a time; objects share nothing.
class Encryption {
public:
    Encryption();

    /// Sets the machine up for text from a digit key; the key is replaced by
    /// its normalised 18-character form. Returns 0, or 99 for an empty key
    /// (nothing changes). A non-digit character fails with error 5, changing nothing.
    std::int32_t InitText(std::string& key);
    /// As InitText, for bytes (the 256 byte values).
    std::int32_t InitBinary(std::string& key);

    /// Enciphers encstr under key (after InitText). Returns "Error - Missing Key"
    /// for an empty key. Error 5 for a character outside the text alphabet,
    /// error 6 past 32,767 characters.
    std::string Encrypt(std::string& key, const std::string& encstr);
    /// The inverse of Encrypt under the same key.
    std::string Decrypt(std::string& key, const std::string& encstr);

    /// Enciphers the file filename into encfilename (after InitBinary).
    /// Returns 0, or 99 for an empty key (no file touched).
    std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename);
    /// The inverse of EncryptFile under the same key.
    std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename);

    /// Passes the one symbol held in c through the rotors and advances the machine.
    void EncryptByte(std::string& c);
    /// The inverse of EncryptByte on a machine in the same state.
    void DecryptByte(std::string& c);

private:
    // (fields: filled in by the cipher's implementation)
};

}  // namespace corvid
