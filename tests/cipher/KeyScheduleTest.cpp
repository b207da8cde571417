// The key set-up: normalisation, missing and malformed keys, and what every set-up leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "EncryptionTestAccess.h"
#include "SeededRandom.h"
#include "cipher/CipherError.h"
#include "cipher/Encryption.h"

namespace corvid {
namespace {

using SetUp = std::int32_t (Encryption::*)(std::string&);

struct Mode {
    const char* name;
    SetUp setUp;
};
const Mode kModes[] = {{"InitText", &Encryption::InitText}, {"InitBinary", &Encryption::InitBinary}};

MachineFields setUpFields(SetUp setUp, std::string key) {
    Encryption machine;
    EXPECT_EQ((machine.*setUp)(key), 0);
    return EncryptionTestAccess::fields(machine);
}

struct NormalizationCase {
    std::string key;
    std::string normalized;
};

void PrintTo(const NormalizationCase& c, std::ostream* out) { *out << '"' << c.key << '"'; }

class KeyNormalization : public testing::TestWithParam<NormalizationCase> {};

TEST_P(KeyNormalization, KeyIsWrittenBackAndGivesTheMachineOfItsNormalForm) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        std::string key = GetParam().key;
        Encryption machine;
        ASSERT_EQ((machine.*mode.setUp)(key), 0);
        EXPECT_EQ(key, GetParam().normalized);
        EXPECT_EQ(EncryptionTestAccess::fields(machine), setUpFields(mode.setUp, GetParam().normalized));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyNormalization,
    testing::Values(NormalizationCase{"408127", "408127408127408127"},  // six digits and the same three times
                    NormalizationCase{"12345", "123451234512345123"},   // 5 -> 10 -> 20, cut to 18
                    NormalizationCase{"7", "777777777777777777"},       // one digit, all pairs equal
                    NormalizationCase{"123456789012345678", "123456789012345678"},
                    NormalizationCase{"12345678901234567890999", "123456789012345678"}));  // the tail has no effect

TEST(KeyNormalization, DifferentTailsAfterTheEighteenthDigitGiveOneMachine) {
    std::string first = "98765432109876543201234";
    std::string second = "98765432109876543299999";
    Encryption a;
    Encryption b;
    a.InitText(first);
    b.InitText(second);
    EXPECT_EQ(first, second);
    EXPECT_EQ(a.Encrypt(first, "same text"), b.Encrypt(second, "same text"));
}

TEST(MissingKey, ChangesNeitherTheKeyNorTheObject) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        Encryption fresh;
        std::string key;
        EXPECT_EQ((fresh.*mode.setUp)(key), kMissingKey);
        EXPECT_EQ(key, "");
        EXPECT_EQ(EncryptionTestAccess::fields(fresh), MachineFields{});

        Encryption used;
        std::string usedKey = "55";
        used.InitText(usedKey);
        std::string c = "x";
        used.EncryptByte(c);
        const MachineFields before = EncryptionTestAccess::fields(used);
        key.clear();
        EXPECT_EQ((used.*mode.setUp)(key), kMissingKey);
        EXPECT_EQ(EncryptionTestAccess::fields(used), before);
    }
}

TEST(MissingKey, EncryptAndDecryptAnswerWithTheMissingKeyText) {
    Encryption machine;
    std::string key;
    EXPECT_EQ(machine.Encrypt(key, "hello"), "Error - Missing Key");
    EXPECT_EQ(machine.Decrypt(key, "hello"), "Error - Missing Key");
    EXPECT_EQ(key, "");
    // Not even a character outside the alphabet is looked at without a key.
    EXPECT_EQ(machine.Encrypt(key, "?\n"), "Error - Missing Key");
}

class NonDigitKey : public testing::TestWithParam<std::string> {};

TEST_P(NonDigitKey, FailsWithError5AndChangesNothing) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        Encryption machine;
        std::string good = "31415";
        machine.InitBinary(good);
        const MachineFields before = EncryptionTestAccess::fields(machine);

        std::string key = GetParam();
        try {
            (machine.*mode.setUp)(key);
            ADD_FAILURE() << "no error for key \"" << GetParam() << '"';
        } catch (const CipherError& e) {
            EXPECT_EQ(e.number(), kInvalidArgument);
            EXPECT_NE(std::string(e.what()).find("digits"), std::string::npos) << e.what();
        }
        EXPECT_EQ(key, GetParam());
        EXPECT_EQ(EncryptionTestAccess::fields(machine), before);
    }
    // Encrypt passes the failure on and leaves the caller's key as it was.
    Encryption machine;
    std::string key = GetParam();
    EXPECT_THROW(machine.Encrypt(key, "abc"), CipherError);
    EXPECT_EQ(key, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Keys, NonDigitKey,
                         testing::Values("12a4", "-1", "+12", " 123", "123 ", "1.5", "١٢",
                                         std::string("12\0"
                                                     "3",
                                                     4),
                                         "123456789012345678x"));  // after the 18th still counts

TEST(KeySetUp, EveryRotorIsAPermutationAndStepsDirectionsAndThresholdAreInRange) {
    SeededRandom random;
    for (int round = 0; round < 60; ++round) {
        const std::string key = random.digitKey();
        SCOPED_TRACE("key " + key);
        for (const Mode& mode : kModes) {
            const bool text = mode.setUp == &Encryption::InitText;
            const MachineFields fields = setUpFields(mode.setUp, key);
            std::string alphabet = text ? fields.TextAlphabet : fields.ByteAlphabet;
            ASSERT_EQ(alphabet.size(), text ? 84u : 256u);
            std::sort(alphabet.begin(), alphabet.end());
            for (int place = 1; place <= 10; ++place) {
                std::string rotor = fields.Rotor[place];
                std::sort(rotor.begin(), rotor.end());
                ASSERT_EQ(rotor, alphabet) << mode.name << ", place " << place;
                EXPECT_GE(fields.RotorStep[place], 0);
                EXPECT_LE(fields.RotorStep[place], 9);
                EXPECT_TRUE(fields.RotorDirection[place] == 0 || fields.RotorDirection[place] == 1);
            }
            EXPECT_GE(fields.RotateAfter, text ? 1 : 2);
            EXPECT_LE(fields.RotateAfter, text ? 84 : 101);
            EXPECT_EQ(fields.SymbolCount, 0);
        }
    }
}

TEST(KeySetUp, ReplacesEverythingAnEarlierSetUpAndEarlierSymbolsLeft) {
    for (const Mode& mode : kModes) {
        SCOPED_TRACE(mode.name);
        const MachineFields fresh = setUpFields(mode.setUp, "2718281828");
        Encryption machine;
        std::string key = "99";
        machine.InitBinary(key);
        for (int i = 0; i < 200; ++i) {
            std::string c = "q";
            machine.EncryptByte(c);
        }
        key = "2718281828";
        (machine.*mode.setUp)(key);
        MachineFields again = EncryptionTestAccess::fields(machine);
        // The other mode's alphabet is the one thing a set-up keeps.
        if (mode.setUp == &Encryption::InitText)
            again.ByteAlphabet.clear();
        EXPECT_EQ(again, fresh);
    }
}

}  // namespace
}  // namespace corvid
