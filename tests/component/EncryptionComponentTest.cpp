// The cipher as callers see it through _Encryption: separate machines, the
// cipher's errors as failing codes with their numbers, missing keys, and keys
// coming back normalised.
#include <gtest/gtest.h>

#include <functional>

#include "ComponentTestKit.h"
#include "cipher/Encryption.h"

namespace component::test {
namespace {

class EncryptionComponent : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(callEntry("DllRegisterServer"), S_OK) << takeDescription(); }

    IsolatedRegistry m_registry;
};

// Passes text through EncryptByte one symbol at a time.
std::string encryptByBytes(_Encryption& object, const std::string& text) {
    std::string out;
    for (char symbol : text) {
        com::ComString c(std::string_view(&symbol, 1));
        EXPECT_EQ(object.EncryptByte(c.slot()), S_OK) << takeDescription();
        out += c.str();
    }
    return out;
}

TEST_F(EncryptionComponent, TwoObjectsWithDifferentKeysKeepSeparateMachines) {
    auto first = createEncryption();
    auto second = createEncryption();
    ASSERT_TRUE(first && second);
    com::ComString firstKey("123456");
    com::ComString secondKey("987654321");
    std::int32_t result = -1;
    ASSERT_EQ(first->InitText(firstKey.slot(), &result), S_OK);
    ASSERT_EQ(second->InitText(secondKey.slot(), &result), S_OK);

    // Interleaved symbol by symbol, each object must give what it gives alone.
    const std::string text = "Meet me at noon";
    std::string fromFirst, fromSecond;
    for (char symbol : text) {
        fromFirst += encryptByBytes(*first.get(), std::string(1, symbol));
        fromSecond += encryptByBytes(*second.get(), std::string(1, symbol));
    }
    EXPECT_EQ(fromFirst, callText(*createEncryption().get(), &_Encryption::Encrypt, "123456", text).result);
    EXPECT_EQ(fromSecond, callText(*createEncryption().get(), &_Encryption::Encrypt, "987654321", text).result);
    EXPECT_NE(fromFirst, fromSecond);
}

TEST_F(EncryptionComponent, EncryptByteOnANewObjectFailsWithError5) {
    auto object = createEncryption();
    com::ComString c("a");
    EXPECT_EQ(static_cast<std::uint32_t>(object->EncryptByte(c.slot())), 0x800A0005u);
    const std::string description = takeDescription();
    EXPECT_NE(description.find('5'), std::string::npos) << description;
    EXPECT_EQ(c.str(), "a") << "a refused symbol stays as it was";
}

TEST_F(EncryptionComponent, TextsPastTheSymbolLimitFailWithError6) {
    auto object = createEncryption();
    const auto longest = callText(*object.get(), &_Encryption::Encrypt, "408127", std::string(32767, 'a'));
    EXPECT_EQ(longest.status, S_OK);
    EXPECT_EQ(longest.result.size(), 32767u);

    for (auto operation : {&_Encryption::Encrypt, &_Encryption::Decrypt}) {
        const auto tooLong = callText(*object.get(), operation, "408127", std::string(32768, 'a'));
        EXPECT_EQ(static_cast<std::uint32_t>(tooLong.status), 0x800A0006u);
        EXPECT_TRUE(tooLong.resultIsNull) << "a failure nulls the result";
        const std::string description = takeDescription();
        EXPECT_NE(description.find('6'), std::string::npos) << description;
    }
}

TEST_F(EncryptionComponent, AnEmptyKeyGivesTheMissingKeyText) {
    auto object = createEncryption();
    for (auto operation : {&_Encryption::Encrypt, &_Encryption::Decrypt}) {
        const auto call = callText(*object.get(), operation, "", "Hello");
        EXPECT_EQ(call.status, S_OK);
        EXPECT_EQ(call.result, "Error - Missing Key");
        EXPECT_EQ(call.key, "");
    }
    // A null string is the empty string.
    BSTR key = nullptr;
    com::ComString text("Hello");
    com::ComString result;
    EXPECT_EQ(object->Encrypt(&key, text.slot(), result.put()), S_OK);
    EXPECT_EQ(result.str(), "Error - Missing Key");
    SysFreeString(key);
}

struct NormalisingCall {
    const char* name;
    std::function<HRESULT(_Encryption&, BSTR*, const testsupport::TestFolder&)> call;
};

void PrintTo(const NormalisingCall& call, std::ostream* out) { *out << call.name; }

class KeyNormalisation : public EncryptionComponent, public testing::WithParamInterface<NormalisingCall> {};

TEST_P(KeyNormalisation, TheKeyComesBackNormalised) {
    auto object = createEncryption();
    const testsupport::TestFolder files;
    testsupport::writeFile(files / "plain", "bytes");
    for (const auto& [key, normalised] :
         std::initializer_list<std::pair<const char*, const char*>>{{"12345", "123451234512345123"},
                                                                    {"7", "777777777777777777"},
                                                                    {"12345678901234567890", "123456789012345678"}}) {
        com::ComString held(key);
        ASSERT_EQ(GetParam().call(*object.get(), held.slot(), files), S_OK) << takeDescription();
        EXPECT_EQ(held.str(), normalised) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, KeyNormalisation,
    testing::Values(NormalisingCall{"InitText",
                                    [](_Encryption& o, BSTR* key, const testsupport::TestFolder&) {
                                        std::int32_t result = -1;
                                        return o.InitText(key, &result);
                                    }},
                    NormalisingCall{"InitBinary",
                                    [](_Encryption& o, BSTR* key, const testsupport::TestFolder&) {
                                        std::int32_t result = -1;
                                        return o.InitBinary(key, &result);
                                    }},
                    NormalisingCall{"Decrypt",
                                    [](_Encryption& o, BSTR* key, const testsupport::TestFolder&) {
                                        com::ComString text("abc");
                                        com::ComString result;
                                        return o.Decrypt(key, text.slot(), result.put());
                                    }},
                    NormalisingCall{"EncryptFile",
                                    [](_Encryption& o, BSTR* key, const testsupport::TestFolder& files) {
                                        com::ComString in(files / "plain");
                                        com::ComString out(files / "cipher");
                                        std::int32_t result = -1;
                                        return o.EncryptFile(key, in.slot(), out.slot(), &result);
                                    }}),
    [](const testing::TestParamInfo<NormalisingCall>& testCase) { return std::string(testCase.param.name); });

// The object reaches the machine through its own operations; what comes out
// must be exactly what the machine gives, or pictures and files hidden by one
// build could not be read by another.
TEST_F(EncryptionComponent, GivesTheMachinesOwnResults) {
    auto object = createEncryption();
    const std::string text = "The quick brown fox, (jumps) over the lazy dog: 0123456789!";
    std::string key = "271828182845904523";
    corvid::Encryption machine;
    EXPECT_EQ(callText(*object.get(), &_Encryption::Encrypt, key, text).result, machine.Encrypt(key, text));
    EXPECT_EQ(callText(*object.get(), &_Encryption::Decrypt, key, text).result, machine.Decrypt(key, text));

    const testsupport::TestFolder files;
    testsupport::writeFile(files / "plain", testsupport::allByteValues(3000));
    for (const bool encipher : {true, false}) {
        SCOPED_TRACE(encipher ? "EncryptFile" : "DecryptFile");
        com::ComString componentKey(key);
        com::ComString in(files / "plain");
        com::ComString out(files / "through-component");
        std::int32_t result = -1;
        const HRESULT status = encipher ? object->EncryptFile(componentKey.slot(), in.slot(), out.slot(), &result)
                                        : object->DecryptFile(componentKey.slot(), in.slot(), out.slot(), &result);
        ASSERT_EQ(status, S_OK) << takeDescription();
        EXPECT_EQ(result, 0);
        std::string machineKey = key;
        if (encipher)
            machine.EncryptFile(machineKey, files / "plain", files / "through-machine");
        else
            machine.DecryptFile(machineKey, files / "plain", files / "through-machine");
        EXPECT_EQ(testsupport::readFile(files / "through-component"), testsupport::readFile(files / "through-machine"));
    }
}

TEST_F(EncryptionComponent, FileFailuresCarryTheirNumbers) {
    auto object = createEncryption();
    const testsupport::TestFolder files;
    testsupport::writeFile(files / "long", std::string(32768, 'x'));
    struct Case {
        std::string input;
        std::uint32_t status;
        std::size_t outputBytes;  // what the output holds afterwards
    };
    for (const auto& c : {Case{files / "missing", 0x800A0035u, 0}, Case{files / "long", 0x800A0006u, 32767}}) {
        SCOPED_TRACE(c.input);
        com::ComString key("408127");
        com::ComString in(c.input);
        com::ComString out(files / "out");
        std::int32_t result = -1;
        EXPECT_EQ(static_cast<std::uint32_t>(object->EncryptFile(key.slot(), in.slot(), out.slot(), &result)),
                  c.status);
        EXPECT_EQ(result, 0) << "a failure zeroes the result";
        const std::string description = takeDescription();
        EXPECT_NE(description.find(std::to_string(c.status & 0xFFFF)), std::string::npos) << description;
        EXPECT_EQ(testsupport::readFile(files / "out").size(), c.outputBytes);
    }
}

}  // namespace
}  // namespace component::test
