// The Corvid cipher: a ten-rotor substitution machine keyed by a digit string,
// for text over an 84-character alphabet and for files byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/Limits.h"

namespace corvid {

/// One cipher machine. Strings are byte strings (ISO 8859-1: a character's
/// code is its byte value). Failures throw CipherError; see CipherError.h.
/// An object serves one caller at a time; objects share nothing.
class Encryption {
public:
    Encryption();
    /// Clears the rotors and the values the key set up, from which the key could be found.
    ~Encryption();
    Encryption(const Encryption&) = default;
    Encryption& operator=(const Encryption&) = default;

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
    /// Returns 0, or 99 for an empty key (no file touched). The input is only
    /// read: a missing or unreadable input fails with a file-system error before
    /// the output is touched, and an output that is the input under any name
    /// fails with error 5. Otherwise the output is replaced in place; on a later
    /// failure (error 6 at byte 32,768, a full disk) it keeps the bytes written
    /// before it, so callers that must not leave partial files remove it.
    std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename);
    /// The inverse of EncryptFile under the same key.
    std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename);

    /// Passes the one symbol held in c through the rotors and advances the machine.
    /// Error 5, with c and the machine unchanged, when c is not exactly one
    /// symbol of the alphabet in force (always, before any key set-up). Error 6
    /// for the 32,768th symbol after a set-up, raised after c was replaced and
    /// the rotors moved; every later symbol fails the same way.
    void EncryptByte(std::string& c);
    /// The inverse of EncryptByte on a machine in the same state.
    void DecryptByte(std::string& c);

private:
    // Test-only: lets tests/cipher read the fields as rotor strings by place, to hold them
    // against a slow reference machine. Defined in the tests; the library never uses it.
    friend struct EncryptionTestAccess;

    static constexpr int kPlaces = 10;
    static constexpr int kMaxRotorLength = 256;
    static constexpr std::int16_t kMaxSymbolCount = support::kLongestItem;

    // One rotor as the key set-up left it and how far it has turned since, so that a
    // symbol costs a table read instead of a search, and a move costs an addition
    // instead of a string rotation. Symbols are held as 0-based alphabet indexes.
    struct RotorWheel {
        // The set-up order written twice, so that an index plus the turn never wraps.
        std::array<std::uint8_t, 2 * kMaxRotorLength> symbolAt{};
        // Where each symbol sits in the set-up order: the inverse, for deciphering.
        std::array<std::uint8_t, kMaxRotorLength> positionOf{};
        // Positions moved toward the front since the set-up, 0 to length - 1: the rotor
        // currently reads symbolAt[turn], symbolAt[turn + 1], ...
        int turn = 0;
    };

    std::int32_t setUp(std::string& key, bool textMode);
    // 0-based index of a symbol in the alphabet in force; error 5 when it is not there.
    int indexOfSymbol(unsigned char symbol) const;
    unsigned char symbolAtIndex(int index) const noexcept;
    int encipherIndex(int index) const noexcept;
    int decipherIndex(int index) const noexcept;
    // One symbol through the rotors, without advancing; error 5 outside the alphabet.
    char cipherSymbol(char symbol, bool encipher) const;
    void cipherOneSymbol(std::string& c, bool encipher);
    std::string cipherText(std::string& key, const std::string& encstr, bool encipher);
    // Moves the rotors and counts the symbol; error 6 once 32,767 symbols were counted.
    void advance();
    int wheelAtPlace(int place) const noexcept;
    // The rotor standing at a 0-based place, as a string of symbols; for the test view.
    std::string rotorText(int place) const;
    std::int32_t cipherFile(std::string& key, const std::string& inputPath, const std::string& outputPath,
                            bool encipher);

    // Rotors by set-up order; RotorOrder says which of them stands at place 1.
    std::array<RotorWheel, kPlaces> Rotor{};
    // Length of every rotor: 0 before the first set-up, 84 in text mode, 256 in byte mode.
    int RotorLength = 0;
    // How often the order of the rotors has rotated since the set-up, modulo 10.
    int RotorOrder = 0;
    // Steps and directions belong to places, not to rotors.
    std::array<std::int16_t, kPlaces> RotorStep{};
    std::array<std::int16_t, kPlaces> RotorDirection{};
    // RotorStep and RotorDirection folded into the turn each place adds per symbol, 0 to length - 1.
    std::array<int, kPlaces> PlaceTurn{};
    std::int16_t RotateAfter = 0;
    std::int16_t SymbolCount = 0;
    std::string TextAlphabet;
    std::string ByteAlphabet;
};

}  // namespace corvid
