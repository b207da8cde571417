// The keyed character substitution every hidden character passes through, one
// permutation of the byte values per key character, chosen afresh per character.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "RandomSource.h"

namespace stego {

/// The scramble tables and the key text they were built from. Each command
/// makes its own, so that nothing is shared between commands or tests; the
/// generator is the one the picture was (or will be) written with.
class Scrambler {
public:
    explicit Scrambler(RandomSource& generator) : m_generator(generator) {}

    /// Rebuilds both tables from key and leaves the generator where the first
    /// ScrambleChar or UnscrambleChar continues. An empty key changes nothing
    /// but the key text. Throws Failure (kOverflow) for keys too long to index.
    void BuildScrambleTable(const std::string& key);

    /// The character hidden in place of ch: three draws and one reseed.
    char ScrambleChar(char ch);
    /// The inverse of ScrambleChar for the character at the same place in the text.
    char UnscrambleChar(char ch);

    std::int16_t ScrambleKeyLength() const { return m_keyLength; }
    /// Entry v (0..255) of row r (1 and up, as far as the last build made rows);
    /// throws Failure (kSubscriptOutOfRange) outside the tables.
    std::int16_t ScrambleTable(int v, int r) const;
    std::int16_t UnscrambleTable(int v, int r) const;

    const std::string& keyText() const { return m_keyText; }
    RandomSource& generator() { return m_generator; }

    /// The draws and the reseed of one ScrambleChar or UnscrambleChar: the table
    /// row (1..L) for the next character, or 0 when the key text is empty (no draw).
    int drawRow();
    /// The inverse substitution through a row that drawRow gave.
    unsigned char unscrambleThroughRow(int row, unsigned char code) const;

private:
    using Row = std::array<std::int16_t, 256>;

    // A row drawn beyond the key the tables were built from.
    void checkRow(int row) const;
    static const Row& tableRow(const std::vector<Row>& table, int v, int r);

    RandomSource& m_generator;
    std::string m_keyText;
    std::int16_t m_keyLength = 0;
    std::vector<Row> m_scrambleTable;  // row r at index r - 1
    std::vector<Row> m_unscrambleTable;
};

/// The code as a string of "0" and "1", most significant bit first, at least
/// eight digits; 0 and negative values give "00000000".
std::string ByteToBits(std::int16_t value);

}  // namespace stego
