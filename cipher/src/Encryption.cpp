// The symbol routines and the string cipher: a symbol passes through the ten
// rotors, then the machine advances the same way whatever the symbol was.
#include "cipher/Encryption.h"

#include "cipher/Alphabet.h"
#include "cipher/CipherError.h"
#include "cipher/MachineMode.h"
#include "support/SecureClear.h"

namespace corvid {

Encryption::Encryption() = default;

Encryption::~Encryption() {
    support::secureClear(Rotor.data(), sizeof Rotor);
    support::secureClear(RotorStep.data(), sizeof RotorStep);
    support::secureClear(RotorDirection.data(), sizeof RotorDirection);
    support::secureClear(PlaceTurn.data(), sizeof PlaceTurn);
    support::secureClear(&RotateAfter, sizeof RotateAfter);
    support::secureClear(&RotorOrder, sizeof RotorOrder);
}

int Encryption::wheelAtPlace(int place) const noexcept {
    const int wheel = place + RotorOrder;
    return wheel >= kPlaces ? wheel - kPlaces : wheel;
}

int Encryption::indexOfSymbol(unsigned char symbol) const {
    if (RotorLength == kTextMode.deckSize) {
        const int index = kTextAlphabetIndex[symbol];
        if (index < 0) {
            throw CipherError(kInvalidArgument, "Invalid procedure call or argument: the character with code " +
                                                    std::to_string(symbol) + " is not in the text alphabet");
        }
        return index;
    }
    if (ByteAlphabet.empty()) {
        throw CipherError(kInvalidArgument,
                          "Invalid procedure call or argument: the cipher has no key set up (call InitText or "
                          "InitBinary first)");
    }
    return symbol;
}

unsigned char Encryption::symbolAtIndex(int index) const noexcept {
    return RotorLength == kTextMode.deckSize ? static_cast<unsigned char>(kTextAlphabet[index])
                                             : static_cast<unsigned char>(index);
}

int Encryption::encipherIndex(int index) const noexcept {
    for (int place = 0; place < kPlaces; ++place) {
        const RotorWheel& wheel = Rotor[wheelAtPlace(place)];
        index = wheel.symbolAt[index + wheel.turn];
    }
    return index;
}

int Encryption::decipherIndex(int index) const noexcept {
    for (int place = kPlaces - 1; place >= 0; --place) {
        const RotorWheel& wheel = Rotor[wheelAtPlace(place)];
        const int position = wheel.positionOf[index] - wheel.turn;
        index = position < 0 ? position + RotorLength : position;
    }
    return index;
}

void Encryption::advance() {
    const int length = RotorLength;
    for (int place = 0; place < kPlaces; ++place) {
        RotorWheel& wheel = Rotor[wheelAtPlace(place)];
        const int turn = wheel.turn + PlaceTurn[place];
        wheel.turn = turn >= length ? turn - length : turn;
    }
    // The counter is 16 bits wide: the symbol that would take it past 32,767 is refused only
    // after the rotors moved, and the order of the rotors stays as it was.
    if (SymbolCount == kMaxSymbolCount) {
        throw CipherError(kOverflow,
                          "Overflow: more than " + std::to_string(kMaxSymbolCount) + " symbols after one key set-up");
    }
    ++SymbolCount;
    if (SymbolCount > RotateAfter) {
        RotorOrder = RotorOrder == kPlaces - 1 ? 0 : RotorOrder + 1;
    }
}

std::string Encryption::rotorText(int place) const {
    const RotorWheel& wheel = Rotor[wheelAtPlace(place)];
    std::string text(static_cast<std::size_t>(RotorLength), '\0');
    for (int position = 0; position < RotorLength; ++position) {
        text[position] = static_cast<char>(symbolAtIndex(wheel.symbolAt[position + wheel.turn]));
    }
    return text;
}

char Encryption::cipherSymbol(char symbol, bool encipher) const {
    const int index = indexOfSymbol(static_cast<unsigned char>(symbol));
    return static_cast<char>(symbolAtIndex(encipher ? encipherIndex(index) : decipherIndex(index)));
}

void Encryption::cipherOneSymbol(std::string& c, bool encipher) {
    if (c.size() != 1) {
        throw CipherError(kInvalidArgument, std::string("Invalid procedure call or argument: ") +
                                                (encipher ? "EncryptByte" : "DecryptByte") +
                                                " takes exactly one symbol, not " + std::to_string(c.size()) +
                                                " characters");
    }
    c[0] = cipherSymbol(c[0], encipher);
    advance();
}

std::string Encryption::cipherText(std::string& key, const std::string& encstr, bool encipher) {
    if (InitText(key) == kMissingKey) {
        return "Error - Missing Key";
    }
    std::string result(encstr.size(), '\0');
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = cipherSymbol(encstr[i], encipher);
        advance();
    }
    return result;
}

void Encryption::EncryptByte(std::string& c) { cipherOneSymbol(c, true); }

void Encryption::DecryptByte(std::string& c) { cipherOneSymbol(c, false); }

std::string Encryption::Encrypt(std::string& key, const std::string& encstr) { return cipherText(key, encstr, true); }

std::string Encryption::Decrypt(std::string& key, const std::string& encstr) { return cipherText(key, encstr, false); }

}  // namespace corvid
