// The key set-up: InitText and InitBinary build the ten rotors, the steps,
// the directions and the rotation threshold from a digit key.
#include "cipher/Encryption.h"

#include <algorithm>
#include <numeric>

#include "KeyValues.h"
#include "cipher/Alphabet.h"
#include "cipher/CipherError.h"
#include "cipher/MachineMode.h"
#include "support/ClearedOnExit.h"

namespace corvid {

namespace {

// The first and last decimal digits of a key value (0 to 104), as written without leading zeros.
int firstDigit(int value) { return value >= 100 ? value / 100 : value >= 10 ? value / 10 : value; }
int lastDigit(int value) { return value % 10; }

}  // namespace

std::int32_t Encryption::InitText(std::string& key) { return setUp(key, true); }

std::int32_t Encryption::InitBinary(std::string& key) { return setUp(key, false); }

std::int32_t Encryption::setUp(std::string& key, bool textMode) {
    if (key.empty()) {
        return kMissingKey;
    }
    if (!isDigitKey(key)) {
        throw CipherError(kInvalidArgument,
                          "Invalid procedure call or argument: a key may hold only the digits 0 to 9");
    }
    const MachineMode& mode = textMode ? kTextMode : kByteMode;
    const int deckSize = mode.deckSize;
    const int bound = mode.reductionBound;

    // Everything that can fail (allocations) comes before the first change to the object.
    // The working copies of the key are cleared on the way out; at the end
    // normalized holds the caller's key as it came.
    std::string normalized = normalizeKey(key);
    const support::ClearedOnExit clearNormalized(normalized);
    std::vector<std::int16_t> keyValues = buildKeyValues(normalized, bound);
    std::string alphabet;
    if (textMode) {
        alphabet = kTextAlphabet;
    } else {
        alphabet.resize(kMaxRotorLength);
        for (int value = 0; value < kMaxRotorLength; ++value) {
            alphabet[value] = static_cast<char>(value);
        }
    }

    // The deck holds alphabet indexes at positions 1..M (index 0 unused).
    std::array<std::uint8_t, kMaxRotorLength + 1> deck{};
    std::iota(deck.begin() + 1, deck.begin() + 1 + deckSize, std::uint8_t{0});
    std::size_t cursor = 0;
    auto nextDeckPosition = [&] {
        cursor = cursor == kKeyValueCount ? 1 : cursor + 1;
        // A value of 0 comes only from a "00" pair; it names the last position in reach, N.
        const int value = keyValues[cursor];
        return value == 0 ? bound : value;
    };

    // The deck and the cursor carry on from one rotor to the next.
    for (int place = 0; place < kPlaces; ++place) {
        for (int pass = 0; pass < kPassesPerRotor; ++pass) {
            for (int swap = 0; swap < mode.swapsPerPass; ++swap) {
                const int first = nextDeckPosition();
                const int second = nextDeckPosition();
                std::swap(deck[first], deck[second]);
            }
            // The entry at position M moves to position 1.
            std::rotate(deck.begin() + 1, deck.begin() + deckSize, deck.begin() + deckSize + 1);
        }
        RotorWheel& wheel = Rotor[place];
        for (int position = 0; position < deckSize; ++position) {
            const std::uint8_t symbol = deck[position + 1];
            wheel.symbolAt[position] = symbol;
            wheel.symbolAt[position + deckSize] = symbol;
            wheel.positionOf[symbol] = static_cast<std::uint8_t>(position);
        }
        wheel.turn = 0;
    }

    for (int place = 0; place < kPlaces; ++place) {
        const int value = keyValues[place + 1];
        RotorDirection[place] = firstDigit(value) < 6 ? 0 : 1;
        RotorStep[place] = static_cast<std::int16_t>(lastDigit(value));
        // Direction 1 takes the first symbol to the end: the rotor reads from one further on.
        PlaceTurn[place] = RotorDirection[place] == 1 ? RotorStep[place] : (deckSize - RotorStep[place]) % deckSize;
    }
    RotateAfter = keyValues[20];
    SymbolCount = 0;
    RotorOrder = 0;
    RotorLength = deckSize;
    (textMode ? TextAlphabet : ByteAlphabet).swap(alphabet);
    key.swap(normalized);
    support::secureClear(keyValues.data(), keyValues.size() * sizeof keyValues[0]);
    support::secureClear(deck.data(), sizeof deck);
    return 0;
}

}  // namespace corvid
