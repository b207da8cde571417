#include <gtest/gtest.h>

#include <unistd.h>

#include <QImage>
#include <QString>

#include <memory>

#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::noisePicture;
using testsupport::readFile;
using testsupport::runProgram;
using testsupport::TestFolder;
using testsupport::writeFile;

namespace {

const std::string kProgram = PIXQUILL_CLI;
constexpr const char* kNoSealedItem = "No sealed item opens with this passphrase";

// Sealed pictures made once: each sealing runs the real key derivation.
class SealedCliTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared = std::make_unique<TestFolder>();
        stego::platform::savePictureAsBmp(noisePicture(64, 64, 1), at("clean.bmp"));
        writeFile(at("pass"), "correct horse battery staple\n");
        writeFile(at("wrong"), "correct horse battery stapler\n");
        writeFile(at("empty"), "\n");
        writeFile(at("short"), "tiny\n");
        writeFile(at("payload.bin"), testsupport::allByteValues(700));
        for (const auto& arguments : std::vector<std::vector<std::string>>{
                 {"hide-message", "--image", at("clean.bmp"), "--output", at("sealed-message.bmp"), "--passphrase-file",
                  at("pass"), "--text", "Grüße, sealed"},
                 {"hide-file", "--image", at("clean.bmp"), "--output", at("sealed-file.bmp"), "--passphrase-file",
                  at("pass"), "--file", at("payload.bin")},
                 {"hide-message", "--image", at("clean.bmp"), "--output", at("classic.bmp"), "--key", "123", "--text",
                  "Hello"}}) {
            const auto hidden = runProgram(kProgram, arguments);
            ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
        }
        // A sealed picture re-encoded as a JPEG of the best quality still loses its low bits.
        ASSERT_TRUE(stego::platform::loadPicture(at("sealed-message.bmp"))
                        .save(QString::fromStdString(at("reencoded.jpg")), "JPG", 100));
    }
    static void TearDownTestSuite() { shared.reset(); }
    static std::string at(const std::string& name) { return *shared / name; }

    static std::unique_ptr<TestFolder> shared;
    TestFolder folder;
};

std::unique_ptr<TestFolder> SealedCliTest::shared;

struct SealedCase {
    const char* what;
    std::vector<std::string> arguments;
    int exitCode;
    std::string outFragment;  // "" : stdout is empty
    std::string errFragment;  // "" : no check
};

TEST_F(SealedCliTest, ExitCodesAndMessages) {
    const std::string pass = at("pass");
    const std::vector<SealedCase> cases = {
        {"message comes back",
         {"extract-message", "--image", at("sealed-message.bmp"), "--passphrase-file", pass},
         0,
         "Grüße, sealed\n",
         ""},
        {"wrong passphrase",
         {"extract-message", "--image", at("sealed-message.bmp"), "--passphrase-file", at("wrong")},
         3,
         "",
         kNoSealedItem},
        {"a file is not a message",
         {"extract-message", "--image", at("sealed-file.bmp"), "--passphrase-file", pass},
         3,
         "",
         "is a file, not a message"},
        {"re-encoded as JPEG",
         {"extract-message", "--image", at("reencoded.jpg"), "--passphrase-file", pass},
         3,
         "",
         kNoSealedItem},
        {"classic picture",
         {"extract-message", "--image", at("classic.bmp"), "--passphrase-file", pass},
         3,
         "",
         kNoSealedItem},
        {"clean picture",
         {"extract-message", "--seal", "--image", at("clean.bmp"), "--passphrase-file", pass},
         3,
         "",
         kNoSealedItem},
        {"classic extract of a sealed picture",
         {"extract-message", "--image", at("sealed-message.bmp"), "--key", "123"},
         3,
         "",
         "This Image has no Message"},
        {"sealed capacity", {"capacity", "--seal", "--image", at("clean.bmp")}, 0, "1468\n", ""},
        {"classic capacity unchanged", {"capacity", "--image", at("clean.bmp")}, 0, "1349\n", ""},
        {"empty passphrase",
         {"hide-message", "--image", at("clean.bmp"), "--output", folder / "out.bmp", "--passphrase-file", at("empty"),
          "--text", "x"},
         1,
         "",
         "error 5: The passphrase is empty"},
        {"too long",
         {"hide-message", "--image", at("clean.bmp"), "--output", folder / "out.bmp", "--passphrase-file", pass,
          "--text", std::string(1470, 'x')},
         1,
         "",
         "Data is 2 bytes longer than this picture can hold sealed"},
        {"key and seal", {"extract-message", "--image", at("clean.bmp"), "--seal", "--key", "1"}, 2, "", "excludes"},
        {"no terminal to ask on",
         {"extract-message", "--image", at("clean.bmp"), "--seal"},
         2,
         "",
         "no terminal to ask for the passphrase on"},
    };
    for (const SealedCase& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ProgramOptions options;
        options.beforeStart = [] { ::setsid(); };  // no controlling terminal: the prompt cannot be shown
        const auto result = runProgram(kProgram, c.arguments, options);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_EQ(result.out, c.outFragment);
        EXPECT_NE(result.err.find(c.errFragment), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.bmp"));
}

TEST_F(SealedCliTest, FileRoundTripAndWarnings) {
    const auto extracted = runProgram(kProgram, {"extract-file", "--image", at("sealed-file.bmp"), "--passphrase-file",
                                                 at("pass"), "--output", folder / "back.bin"});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(readFile(folder / "back.bin"), readFile(at("payload.bin")));
    EXPECT_NE(extracted.err.find("sealed under the name payload.bin"), std::string::npos) << extracted.err;

    const auto wrong = runProgram(kProgram, {"extract-file", "--image", at("sealed-file.bmp"), "--passphrase-file",
                                             at("wrong"), "--output", folder / "never.bin"});
    EXPECT_EQ(wrong.exitCode, 3);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"back.bin"});

    const auto weak = runProgram(
        kProgram,
        {"hide-message", "--image", at("clean.bmp"), "--output", folder / "weak.bmp", "--passphrase-file", at("short")},
        "from standard input\n");
    ASSERT_EQ(weak.exitCode, 0) << weak.err;
    EXPECT_NE(weak.err.find("warning: the passphrase has fewer than 12 characters"), std::string::npos);
    const auto back =
        runProgram(kProgram, {"extract-message", "--image", folder / "weak.bmp", "--passphrase-file", at("short")});
    EXPECT_EQ(back.out, "from standard input\n");
}

}  // namespace
