#include "engine/Scrambler.h"

#include <cmath>
#include <limits>
#include <utility>

#include "engine/Failure.h"

namespace stego {

namespace {

constexpr int kSwapsPerRow = 10000;
constexpr std::int32_t kInt16Max = std::numeric_limits<std::int16_t>::max();

int codeOf(char ch) { return static_cast<unsigned char>(ch); }

// floor(value * scale), the product formed in double precision.
int floorOfProduct(float value, double scale) {
    return static_cast<int>(std::floor(static_cast<double>(value) * scale));
}

}  // namespace

void Scrambler::BuildScrambleTable(const std::string& key) {
    if (key.size() > static_cast<std::size_t>(kInt16Max))
        throw Failure(kOverflow, "The scramble key is " + std::to_string(key.size()) +
                                     " characters long; it may have at most " + std::to_string(kInt16Max) + ".");
    const auto n = static_cast<std::int16_t>(key.size());

    // Every check comes before any change, so a refused key leaves the tables whole.
    double sum = 1.0;
    for (int i = 1; i <= n; ++i) {
        const std::int32_t product = i * codeOf(key[static_cast<std::size_t>(i - 1)]);
        if (product > kInt16Max)
            throw Failure(kOverflow, "The scramble key is too long for its characters: character " + std::to_string(i) +
                                         " overflows the key sum.");
        sum += product;
    }
    const double root = std::sqrt(sum);

    m_keyText = key;
    m_keyLength = n;
    if (n == 0)
        return;

    std::vector<Row> scramble(static_cast<std::size_t>(n));
    std::vector<Row> unscramble(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        Row& row = scramble[static_cast<std::size_t>(i - 1)];
        for (int v = 0; v < 256; ++v)
            row[static_cast<std::size_t>(v)] = static_cast<std::int16_t>(v);

        // Each row starts from a state fixed by the key alone, never by earlier draws.
        m_generator.restartWithMinusOne();
        m_generator.reseed(static_cast<double>(codeOf(key[static_cast<std::size_t>(i - 1)]) * i) * root);
        for (int swap = 0; swap < kSwapsPerRow; ++swap) {
            const int a = floorOfProduct(m_generator.draw(), 255.0);
            const int b = 255 - floorOfProduct(m_generator.draw(), 255.0);
            std::swap(row[static_cast<std::size_t>(a)], row[static_cast<std::size_t>(b)]);
        }

        Row& inverse = unscramble[static_cast<std::size_t>(i - 1)];
        for (int v = 0; v < 256; ++v)
            inverse[static_cast<std::size_t>(row[static_cast<std::size_t>(v)])] = static_cast<std::int16_t>(v);
    }
    m_scrambleTable = std::move(scramble);
    m_unscrambleTable = std::move(unscramble);
}

int Scrambler::drawRow() {
    const auto length = static_cast<double>(m_keyText.size());
    if (m_keyText.empty())
        return 0;
    const float r1 = m_generator.draw();
    const float r2 = m_generator.draw();
    const int p = floorOfProduct(r1, length) + 1;
    const double q = std::floor(static_cast<double>(r2) * length) + 1.0;
    m_generator.reseed(q * codeOf(m_keyText[static_cast<std::size_t>(p - 1)]) * 13.0);
    const float r3 = m_generator.draw();
    return floorOfProduct(r3, length) + 1;
}

void Scrambler::checkRow(int row) const {
    if (row < 1 || row > m_keyLength)
        throw Failure(kSubscriptOutOfRange, "The scramble key changed after its tables were built (row " +
                                                std::to_string(row) + " of " + std::to_string(m_keyLength) + ").");
}

const Scrambler::Row& Scrambler::tableRow(const std::vector<Row>& table, int v, int r) {
    if (r < 1 || static_cast<std::size_t>(r) > table.size())
        throw Failure(kSubscriptOutOfRange, "Row " + std::to_string(r) + " is outside the scramble tables.");
    if (v < 0 || v > 255)
        throw Failure(kSubscriptOutOfRange, "Character code " + std::to_string(v) + " is outside 0 to 255.");
    return table[static_cast<std::size_t>(r - 1)];
}

char Scrambler::ScrambleChar(char ch) {
    const int row = drawRow();
    if (row == 0)
        return ch;
    checkRow(row);
    return static_cast<char>(ScrambleTable(codeOf(ch), row));
}

char Scrambler::UnscrambleChar(char ch) {
    const int row = drawRow();
    if (row == 0)
        return ch;
    checkRow(row);
    return static_cast<char>(UnscrambleTable(codeOf(ch), row));
}

unsigned char Scrambler::unscrambleThroughRow(int row, unsigned char code) const {
    if (row == 0)
        return code;
    checkRow(row);
    return static_cast<unsigned char>(UnscrambleTable(code, row));
}

std::int16_t Scrambler::ScrambleTable(int v, int r) const {
    return tableRow(m_scrambleTable, v, r)[static_cast<std::size_t>(v)];
}

std::int16_t Scrambler::UnscrambleTable(int v, int r) const {
    return tableRow(m_unscrambleTable, v, r)[static_cast<std::size_t>(v)];
}

std::string ByteToBits(std::int16_t value) {
    std::string bits;
    for (int rest = value; rest >= 1; rest /= 2)
        bits.insert(bits.begin(), static_cast<char>('0' + rest % 2));
    if (bits.size() < 8)
        bits.insert(0, 8 - bits.size(), '0');
    return bits;
}

}  // namespace stego
