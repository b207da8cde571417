// The fast machine against the literal reference on seeded random keys and
// inputs: same outputs, the same errors at the same points, the same state.
#include <gtest/gtest.h>

#include <functional>

#include "EncryptionTestAccess.h"
#include "LiteralEncryption.h"
#include "SeededRandom.h"
#include "TestFolder.h"
#include "cipher/CipherError.h"
#include "cipher/Encryption.h"

namespace corvid {
namespace {

constexpr int kLimit = 32767;

// What one call did: its result (or the changed symbol) and the number of its error, if any.
struct Outcome {
    std::string value;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

Outcome run(const std::function<std::string()>& call) {
    try {
        return {call(), 0};
    } catch (const CipherError& e) {
        return {{}, e.number()};
    }
}

void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << "error " << outcome.error << ", " << outcome.value.size() << " chars";
}

// A pair of machines driven in step.
struct Pair {
    Encryption fast;
    LiteralEncryption literal;

    void expectSameState(const std::string& when) const {
        ASSERT_EQ(EncryptionTestAccess::fields(fast), literal.fields()) << when;
    }
};

std::string someKey(SeededRandom& random) {
    if (random.chance(0.05))
        return "";
    std::string key = random.digitKey();
    if (random.chance(0.05))
        key[static_cast<std::size_t>(random.between(0, static_cast<int>(key.size()) - 1))] = 'x';
    return key;
}

// A text mostly over the alphabet, now and then with a character outside it.
std::string someText(SeededRandom& random, std::size_t length) {
    std::string text = random.text(length);
    if (length > 0 && random.chance(0.3)) {
        text[static_cast<std::size_t>(random.between(0, static_cast<int>(length) - 1))] =
            "?\t\n\"#%&+/\\_`~\x7f\xe9\xff"[random.between(0, 15)];
    }
    return text;
}

TEST(ReferenceAgreement, EncryptAndDecryptAgreeOnRandomKeysAndTexts) {
    SeededRandom random;
    Pair pair;
    for (int round = 0; round < 150; ++round) {
        const std::string key = someKey(random);
        const std::string text = someText(random, static_cast<std::size_t>(random.between(0, 400)));
        const bool encipher = random.chance(0.5);
        SCOPED_TRACE("round " + std::to_string(round) + ", key \"" + key + "\"");
        std::string fastKey = key;
        std::string literalKey = key;
        const Outcome fast =
            run([&] { return encipher ? pair.fast.Encrypt(fastKey, text) : pair.fast.Decrypt(fastKey, text); });
        const Outcome literal = run(
            [&] { return encipher ? pair.literal.Encrypt(literalKey, text) : pair.literal.Decrypt(literalKey, text); });
        ASSERT_EQ(fast, literal);
        ASSERT_EQ(fastKey, literalKey);
        pair.expectSameState("after the call");
    }
}

TEST(ReferenceAgreement, SymbolRoutinesAgreeStepByStepInBothModes) {
    SeededRandom random;
    for (int round = 0; round < 12; ++round) {
        Pair pair;
        bool textMode = false;
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE("round " + std::to_string(round) + ", step " + std::to_string(step));
            if (step % 150 == 0) {  // (re-)key now and then, switching modes
                textMode = random.chance(0.5);
                std::string fastKey = random.digitKey();
                std::string literalKey = fastKey;
                ASSERT_EQ(textMode ? pair.fast.InitText(fastKey) : pair.fast.InitBinary(fastKey),
                          textMode ? pair.literal.InitText(literalKey) : pair.literal.InitBinary(literalKey));
                pair.expectSameState("after the set-up");
            }
            std::string symbol = textMode ? someText(random, 1) : random.bytes(1);
            if (random.chance(0.02))
                symbol += "z";
            const bool encipher = random.chance(0.5);
            std::string fastC = symbol;
            std::string literalC = symbol;
            const Outcome fast = run([&] {
                encipher ? pair.fast.EncryptByte(fastC) : pair.fast.DecryptByte(fastC);
                return fastC;
            });
            const Outcome literal = run([&] {
                encipher ? pair.literal.EncryptByte(literalC) : pair.literal.DecryptByte(literalC);
                return literalC;
            });
            ASSERT_EQ(fast, literal);
            ASSERT_EQ(fastC, literalC);
            pair.expectSameState("after the symbol");
        }
    }
}

TEST(ReferenceAgreement, BothFailAtTheSameSymbolPastTheLimitInTheSameState) {
    SeededRandom random;
    for (const bool textMode : {true, false}) {
        SCOPED_TRACE(textMode ? "text mode" : "byte mode");
        Pair pair;
        std::string fastKey = random.digitKey();
        std::string literalKey = fastKey;
        textMode ? pair.fast.InitText(fastKey) : pair.fast.InitBinary(fastKey);
        textMode ? pair.literal.InitText(literalKey) : pair.literal.InitBinary(literalKey);
        for (int i = 0; i < kLimit; ++i) {
            std::string fastC = textMode ? random.text(1) : random.bytes(1);
            std::string literalC = fastC;
            const bool encipher = random.chance(0.5);
            encipher ? pair.fast.EncryptByte(fastC) : pair.fast.DecryptByte(fastC);
            encipher ? pair.literal.EncryptByte(literalC) : pair.literal.DecryptByte(literalC);
            ASSERT_EQ(fastC, literalC) << "symbol " << i + 1;
        }
        pair.expectSameState("at the limit");
        for (int extra = 1; extra <= 2; ++extra) {
            SCOPED_TRACE("symbol 32767 + " + std::to_string(extra));
            std::string fastC = textMode ? random.text(1) : random.bytes(1);
            std::string literalC = fastC;
            const Outcome fast = run([&] {
                pair.fast.EncryptByte(fastC);
                return fastC;
            });
            const Outcome literal = run([&] {
                pair.literal.EncryptByte(literalC);
                return literalC;
            });
            EXPECT_EQ(fast.error, kOverflow);
            EXPECT_EQ(fast, literal);
            EXPECT_EQ(fastC, literalC) << "the symbol is replaced before the counter refuses it";
            pair.expectSameState("past the limit");
        }
    }
}

TEST(ReferenceAgreement, FileRoutinesWriteWhatTheLiteralMachineComputes) {
    SeededRandom random;
    testsupport::TestFolder folder;
    const std::string input = folder / "in";
    const std::string output = folder / "out";
    const int some = random.between(2, 3000);
    for (const int size : {0, 1, some, kLimit, kLimit + 1}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string bytes = random.bytes(static_cast<std::size_t>(size));
        testsupport::writeFile(input, bytes);
        const bool encipher = random.chance(0.5);
        Pair pair;
        std::string fastKey = random.digitKey();
        std::string literalKey = fastKey;
        const Outcome fast = run([&] {
            return std::to_string(encipher ? pair.fast.EncryptFile(fastKey, input, output)
                                           : pair.fast.DecryptFile(fastKey, input, output));
        });
        int literalError = 0;
        const std::string expected = pair.literal.cipherFileBytes(literalKey, bytes, encipher, literalError);
        EXPECT_EQ(fast.error, literalError);
        EXPECT_EQ(testsupport::readFile(output), expected);
        EXPECT_EQ(fastKey, literalKey);
        pair.expectSameState("after the file");
    }
}

}  // namespace
}  // namespace corvid
