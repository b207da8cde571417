#include <gtest/gtest.h>

#include "DirectCipher.h"
#include "ExpectFailure.h"
#include "TestFolder.h"
#include "engine/Failure.h"

namespace {

TEST(DirectCipherTest, EachCallGivesAFreshObjectThatRoundTripsText) {
    const stego::CipherFactory factory = stego::platform::makeDirectCipherFactory();
    std::string key = "408127";
    const std::string ciphertext = factory()->Encrypt(key, "Hello World");
    EXPECT_EQ(key.size(), 18u);  // the cipher hands the normalised key back
    std::string sameKey = "408127";
    EXPECT_EQ(factory()->Decrypt(sameKey, ciphertext), "Hello World");
}

TEST(DirectCipherTest, CipherErrorsBecomeFailuresWithTheSameNumber) {
    const auto cipher = stego::platform::makeDirectCipherFactory()();
    testsupport::TestFolder folder;
    const struct {
        const char* what;
        std::function<void()> call;
        int number;
    } cases[] = {
        {"symbol outside the alphabet",
         [&] {
             std::string k = "1";
             cipher->Encrypt(k, "why?");
         },
         5},
        {"past 32,767 symbols",
         [&] {
             std::string k = "1";
             cipher->Encrypt(k, std::string(32768, 'a'));
         },
         6},
        {"file past 32,767 bytes",
         [&] {
             testsupport::writeFile(folder / "big", std::string(32768, 'a'));
             std::string k = "1";
             cipher->EncryptFile(k, folder / "big", folder / "out");
         },
         6},
        {"output in a missing folder",
         [&] {
             testsupport::writeFile(folder / "small", "a");
             std::string k = "1";
             cipher->EncryptFile(k, folder / "small", folder / "absent/out");
         },
         53},
    };
    for (const auto& c : cases)
        testsupport::expectFailure(c.what, c.call, c.number);
}

TEST(DirectCipherTest, FilesRoundTripThroughTheFileCipher) {
    testsupport::TestFolder folder;
    const std::string data = testsupport::allByteValues(1001);
    testsupport::writeFile(folder / "plain", data);
    const auto factory = stego::platform::makeDirectCipherFactory();
    std::string key = "2718";
    EXPECT_EQ(factory()->EncryptFile(key, folder / "plain", folder / "enc"), 0);
    key = "2718";
    EXPECT_EQ(factory()->DecryptFile(key, folder / "enc", folder / "back"), 0);
    EXPECT_EQ(testsupport::readFile(folder / "back"), data);
    EXPECT_NE(testsupport::readFile(folder / "enc"), data);
}

}  // namespace
