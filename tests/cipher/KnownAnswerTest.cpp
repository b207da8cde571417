// The machine against answers worked out independently of it (encryption.vec).
#include <gtest/gtest.h>

#include "EncryptionTestAccess.h"
#include "KeyValues.h"
#include "LiteralEncryption.h"
#include "TestFolder.h"
#include "TestVector.h"
#include "cipher/Encryption.h"
#include "cipher/MachineMode.h"

namespace corvid {
namespace {

std::vector<TestVector> vectorsIn(const std::string& section) {
    static const std::vector<TestVector> all = readTestVectors(CORVID_TEST_DATA_DIR "/encryption.vec");
    std::vector<TestVector> selected;
    for (const TestVector& vector : all) {
        if (vector.section == section)
            selected.push_back(vector);
    }
    return selected;
}

std::string caseName(const testing::TestParamInfo<TestVector>& info) {
    return "line" + std::to_string(info.param.line);
}

template <typename Values>
std::vector<int> asInts(const Values& values, std::size_t from, std::size_t count) {
    return std::vector<int>(values.begin() + static_cast<std::ptrdiff_t>(from),
                            values.begin() + static_cast<std::ptrdiff_t>(from + count));
}

class KeyScheduleVectors : public testing::TestWithParam<TestVector> {};

TEST_P(KeyScheduleVectors, KeyValuesStepsDirectionsThresholdAndFirstRotor) {
    const TestVector& vector = GetParam();
    SCOPED_TRACE(vector.where());
    const bool textMode = vector.section == "text-schedule";
    const std::vector<int> keyValuesHead = vector.numbers("keyvalues");

    const std::string normalized = normalizeKey(vector.bytes("key"));
    EXPECT_EQ(normalized, vector.bytes("normalized"));
    const auto keyValues = buildKeyValues(normalized, (textMode ? kTextMode : kByteMode).reductionBound);
    EXPECT_EQ(asInts(keyValues, 1, keyValuesHead.size()), keyValuesHead);

    std::string key = vector.bytes("key");
    Encryption machine;
    ASSERT_EQ(textMode ? machine.InitText(key) : machine.InitBinary(key), 0);
    EXPECT_EQ(key, vector.bytes("normalized"));
    const MachineFields fields = EncryptionTestAccess::fields(machine);
    EXPECT_EQ(asInts(fields.RotorStep, 1, 10), vector.numbers("rotorstep"));
    EXPECT_EQ(asInts(fields.RotorDirection, 1, 10), vector.numbers("rotordirection"));
    EXPECT_EQ(fields.RotateAfter, vector.numbers("rotateafter").at(0));
    EXPECT_EQ(fields.SymbolCount, 0);
    EXPECT_EQ(fields.Rotor[1], vector.bytes("rotor1"));

    // The tests' literal machine is held to the same answers, so that it can be trusted
    // as the reference in the property tests.
    std::string literalKey = vector.bytes("key");
    LiteralEncryption literal;
    ASSERT_EQ(textMode ? literal.InitText(literalKey) : literal.InitBinary(literalKey), 0);
    EXPECT_EQ(asInts(literal.keyValues(), 1, keyValuesHead.size()), keyValuesHead);
    EXPECT_EQ(literal.fields(), fields);
}

INSTANTIATE_TEST_SUITE_P(Text, KeyScheduleVectors, testing::ValuesIn(vectorsIn("text-schedule")), caseName);
INSTANTIATE_TEST_SUITE_P(Byte, KeyScheduleVectors, testing::ValuesIn(vectorsIn("byte-schedule")), caseName);

class TextVectors : public testing::TestWithParam<TestVector> {};

TEST_P(TextVectors, EncryptAndDecryptGiveTheKnownTexts) {
    const TestVector& vector = GetParam();
    SCOPED_TRACE(vector.where());
    Encryption machine;
    std::string key = vector.bytes("key");
    EXPECT_EQ(machine.Encrypt(key, vector.bytes("in")), vector.bytes("out"));
    key = vector.bytes("key");
    EXPECT_EQ(machine.Decrypt(key, vector.bytes("out")), vector.bytes("in"));

    LiteralEncryption literal;
    key = vector.bytes("key");
    EXPECT_EQ(literal.Encrypt(key, vector.bytes("in")), vector.bytes("out"));
}

INSTANTIATE_TEST_SUITE_P(Text, TextVectors, testing::ValuesIn(vectorsIn("text")), caseName);

class ByteVectors : public testing::TestWithParam<TestVector> {};

TEST_P(ByteVectors, SymbolRoutinesAndFileRoutinesGiveTheKnownBytes) {
    const TestVector& vector = GetParam();
    SCOPED_TRACE(vector.where());
    const std::string plain = vector.bytes("in");
    const std::string cipher = vector.bytes("out");

    Encryption machine;
    std::string key = vector.bytes("key");
    ASSERT_EQ(machine.InitBinary(key), 0);
    std::string bySymbol;
    for (char byte : plain) {
        std::string c(1, byte);
        machine.EncryptByte(c);
        bySymbol += c;
    }
    EXPECT_EQ(bySymbol, cipher);

    testsupport::TestFolder folder;
    testsupport::writeFile((folder / "plain"), plain);
    key = vector.bytes("key");
    ASSERT_EQ(machine.EncryptFile(key, folder / "plain", folder / "cipher"), 0);
    EXPECT_EQ(testsupport::readFile(folder / "cipher"), cipher);
    key = vector.bytes("key");
    ASSERT_EQ(machine.DecryptFile(key, folder / "cipher", folder / "back"), 0);
    EXPECT_EQ(testsupport::readFile(folder / "back"), plain);
}

INSTANTIATE_TEST_SUITE_P(Byte, ByteVectors, testing::ValuesIn(vectorsIn("byte")), caseName);

}  // namespace
}  // namespace corvid
