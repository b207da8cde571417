// The symbol and string routines: round trips, refused symbols, the 32,767-symbol limit.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "EncryptionTestAccess.h"
#include "SeededRandom.h"
#include "cipher/Alphabet.h"
#include "cipher/CipherError.h"
#include "cipher/Encryption.h"

namespace corvid {
namespace {

constexpr std::size_t kLimit = 32767;

int errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const CipherError& e) {
        return e.number();
    }
    return 0;
}

TEST(TextCipher, WholeAlphabetRoundTripsOnASecondObjectAndStaysInTheAlphabet) {
    SeededRandom random;
    const std::string plain = std::string(kTextAlphabet) + random.text(500) + std::string(kTextAlphabet);
    for (std::string key : {"408127", "0", "00700", "123456789012345678"}) {
        SCOPED_TRACE("key " + key);
        Encryption sender;
        const std::string cipher = sender.Encrypt(key, plain);
        ASSERT_EQ(cipher.size(), plain.size());
        EXPECT_EQ(cipher.find_first_not_of(kTextAlphabet), std::string::npos);
        EXPECT_NE(cipher, plain);
        EXPECT_EQ(sender.Encrypt(key, plain), cipher) << "the same object must give the same text twice";

        Encryption receiver;
        EXPECT_EQ(receiver.Decrypt(key, cipher), plain);
    }
}

TEST(TextCipher, WrongKeyGivesAnotherTextOfTheSameLengthWithoutError) {
    Encryption machine;
    std::string key = "11223344";
    const std::string cipher = machine.Encrypt(key, "attack at dawn");
    std::string wrongKey = "11223345";
    const std::string plain = machine.Decrypt(wrongKey, cipher);
    EXPECT_EQ(plain.size(), cipher.size());
    EXPECT_NE(plain, "attack at dawn");
}

TEST(TextCipher, EmptyTextGivesEmptyResultAfterTheKeySetUp) {
    Encryption machine;
    std::string key = "42";
    EXPECT_EQ(machine.Encrypt(key, ""), "");
    EXPECT_EQ(key, "424242424242424242");
    EXPECT_EQ(EncryptionTestAccess::fields(machine).TextAlphabet, kTextAlphabet);
}

TEST(TextCipher, OneShotEqualsSymbolBySymbolAndDecryptByteUndoesIt) {
    SeededRandom random;
    const std::string plain = random.text(300);
    std::string key = random.digitKey();
    Encryption oneShot;
    const std::string cipher = oneShot.Encrypt(key, plain);

    Encryption sender;
    Encryption receiver;
    sender.InitText(key);
    receiver.InitText(key);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        std::string c(1, plain[i]);
        sender.EncryptByte(c);
        ASSERT_EQ(c[0], cipher[i]) << "symbol " << i;
        receiver.DecryptByte(c);
        ASSERT_EQ(c[0], plain[i]) << "symbol " << i;
    }
}

TEST(ByteCipher, EveryByteValueRoundTripsOnASecondObject) {
    SeededRandom random;
    for (int round = 0; round < 10; ++round) {
        std::string key = random.digitKey();
        SCOPED_TRACE("key " + key);
        Encryption sender;
        Encryption receiver;
        sender.InitBinary(key);
        receiver.InitBinary(key);
        std::set<unsigned char> seen;
        for (int value = 0; value < 256; ++value) {
            std::string c(1, static_cast<char>(value));
            sender.EncryptByte(c);
            seen.insert(static_cast<unsigned char>(c[0]));
            receiver.DecryptByte(c);
            ASSERT_EQ(static_cast<unsigned char>(c[0]), value);
        }
        EXPECT_GT(seen.size(), 100u) << "the byte cipher should not collapse onto a few values";
    }
}

struct RefusedText {
    const char* what;
    std::string text;
};

void PrintTo(const RefusedText& text, std::ostream* out) { *out << text.what; }

class RefusedCharacter : public testing::TestWithParam<RefusedText> {};

// A character outside the alphabet fails with error 5 at its own position: the
// characters before it have moved the machine, the failing one has not.
TEST_P(RefusedCharacter, FailsWithError5AfterTheCharactersBeforeIt) {
    const std::string& text = GetParam().text;
    const std::string before = text.substr(0, text.size() - 1);
    for (bool encipher : {true, false}) {
        SCOPED_TRACE(encipher ? "Encrypt" : "Decrypt");
        Encryption machine;
        std::string key = "8675309";
        EXPECT_EQ(errorNumberOf([&] { encipher ? machine.Encrypt(key, text) : machine.Decrypt(key, text); }),
                  kInvalidArgument);

        Encryption prefixOnly;
        key = "8675309";
        encipher ? prefixOnly.Encrypt(key, before) : prefixOnly.Decrypt(key, before);
        EXPECT_EQ(EncryptionTestAccess::fields(machine), EncryptionTestAccess::fields(prefixOnly));

        // The symbol routine leaves the symbol as it was.
        std::string c(1, text.back());
        EXPECT_EQ(errorNumberOf([&] { encipher ? machine.EncryptByte(c) : machine.DecryptByte(c); }), kInvalidArgument);
        EXPECT_EQ(c, std::string(1, text.back()));
        EXPECT_EQ(EncryptionTestAccess::fields(machine), EncryptionTestAccess::fields(prefixOnly));
    }
}

INSTANTIATE_TEST_SUITE_P(Characters, RefusedCharacter,
                         testing::Values(RefusedText{"QuestionMark", "what?"}, RefusedText{"Tab", "a\t"},
                                         RefusedText{"LineFeed", "two\n"}, RefusedText{"CarriageReturn", "x\r"},
                                         RefusedText{"Quote", "say \""}, RefusedText{"Backslash", "c:\\"},
                                         RefusedText{"Tilde", "~"}, RefusedText{"Underscore", "a_"},
                                         RefusedText{"Nul", std::string("ab\0", 3)}, RefusedText{"Delete", "ab\x7f"},
                                         RefusedText{"Latin1", "caf\xe9"}, RefusedText{"Byte255", "\xff"}),
                         [](const auto& testCase) { return std::string(testCase.param.what); });

TEST(SymbolRoutines, NewObjectRefusesEverySymbolWithError5) {
    for (const std::string& symbol : {std::string("a"), std::string("0"), std::string(1, '\0'), std::string("\xff")}) {
        Encryption machine;
        std::string c = symbol;
        EXPECT_EQ(errorNumberOf([&] { machine.EncryptByte(c); }), kInvalidArgument);
        EXPECT_EQ(errorNumberOf([&] { machine.DecryptByte(c); }), kInvalidArgument);
        EXPECT_EQ(c, symbol);
        EXPECT_EQ(EncryptionTestAccess::fields(machine), MachineFields{});
    }
}

TEST(SymbolRoutines, AStringThatIsNotOneSymbolFailsWithError5AndChangesNothing) {
    for (std::string c : {std::string(), std::string("ab"), std::string(300, 'a')}) {
        Encryption machine;
        std::string key = "5";
        machine.InitText(key);
        const MachineFields before = EncryptionTestAccess::fields(machine);
        const std::string original = c;
        EXPECT_EQ(errorNumberOf([&] { machine.EncryptByte(c); }), kInvalidArgument);
        EXPECT_EQ(errorNumberOf([&] { machine.DecryptByte(c); }), kInvalidArgument);
        EXPECT_EQ(c, original);
        EXPECT_EQ(EncryptionTestAccess::fields(machine), before);
    }
}

TEST(SymbolLimit, TextsUpToTheLimitRoundTripAndOneMoreFailsWithError6) {
    SeededRandom random;
    const std::string longest = random.text(kLimit);
    Encryption machine;
    std::string key = "1357924680";
    const std::string cipher = machine.Encrypt(key, longest);
    EXPECT_EQ(machine.Decrypt(key, cipher), longest);

    EXPECT_EQ(errorNumberOf([&] { machine.Encrypt(key, longest + "a"); }), kOverflow);
    EXPECT_EQ(errorNumberOf([&] { machine.Decrypt(key, cipher + "a"); }), kOverflow);
    EXPECT_EQ(EncryptionTestAccess::fields(machine).SymbolCount, static_cast<std::int16_t>(kLimit));
    // The counter stays at its limit: every later symbol fails the same way, replaced and moved.
    std::string c = "a";
    EXPECT_EQ(errorNumberOf([&] { machine.EncryptByte(c); }), kOverflow);
    EXPECT_EQ(EncryptionTestAccess::fields(machine).SymbolCount, static_cast<std::int16_t>(kLimit));
}

TEST(SymbolLimit, ARefusedCharacterBeforeTheLimitWinsOverTheLimit) {
    Encryption machine;
    std::string key = "24";
    EXPECT_EQ(errorNumberOf([&] { machine.Encrypt(key, std::string(100, 'a') + "?" + std::string(kLimit, 'a')); }),
              kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { machine.Encrypt(key, std::string(kLimit, 'a') + "?"); }), kInvalidArgument);
}

}  // namespace
}  // namespace corvid
