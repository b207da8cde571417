#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <memory>

#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::noisePicture;
using testsupport::runProgram;
using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;
const std::string kPictures = std::string(PIXQUILL_TEST_DATA) + "/pictures/";
constexpr const char* kDefaultKeyNote = "using the default key 408127";

// Pictures shared by every test: made once, never changed by a test.
class CliProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared = std::make_unique<TestFolder>();
        stego::platform::savePictureAsBmp(noisePicture(64, 64, 1), *shared / "clean.bmp");
        // 320 x 320 = 102,400 pixels hold a file of 32,767 bytes (98,349 pixels).
        stego::platform::savePictureAsBmp(noisePicture(320, 320, 2), *shared / "large.bmp");
        const auto hidden = runProgram(kProgram, {"hide-message", "--image", *shared / "clean.bmp", "--output",
                                                  *shared / "message.bmp", "--key", "123", "--text", "Hello World"});
        ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
        makeCutPicture();
    }
    static void TearDownTestSuite() { shared.reset(); }

    // The message picture with the low bits of its end marker's cells
    // changed: a start marker, then no end marker before the last pixel.
    static void makeCutPicture() {
        QImage picture = stego::platform::loadPicture(*shared / "message.bmp");
        const int height = picture.height();
        const int endMarkerCell = 8 + 11;  // start marker, then "Hello World"
        for (int v = 3 * endMarkerCell; v < 3 * (endMarkerCell + 8); ++v) {
            const int x = v / height;
            const int y = v % height;
            picture.setPixel(x, y, picture.pixel(x, y) ^ 0x010101u);
        }
        stego::platform::savePictureAsBmp(picture, *shared / "cut.bmp");
    }

    static std::string sharedPath(const std::string& name) { return *shared / name; }

    // Replaces {dir}, {shared} and {pictures} in each argument.
    std::vector<std::string> expand(std::vector<std::string> arguments) const {
        const std::pair<std::string, std::string> places[] = {
            {"{dir}", folder.path()}, {"{shared}", shared->path()}, {"{pictures}", kPictures}};
        for (std::string& argument : arguments)
            for (const auto& [name, value] : places)
                for (auto at = argument.find(name); at != std::string::npos; at = argument.find(name))
                    argument.replace(at, name.size(), value);
        return arguments;
    }

    static std::unique_ptr<TestFolder> shared;
    TestFolder folder;
};

std::unique_ptr<TestFolder> CliProgramTest::shared;

struct CliCase {
    const char* what;
    std::vector<std::string> arguments;
    int exitCode;
    std::string outFragment;  // must appear on stdout ("" : stdout is empty)
    std::string errFragment;  // must appear on stderr ("" : no check)
};

TEST_F(CliProgramTest, ExitCodesAndMessages) {
    const std::string keyWords = "a key is one or more decimal digits";
    const std::vector<CliCase> cases = {
        // success
        {"version", {"--version"}, 0, "pixquill-cli " PIXQUILL_VERSION, ""},
        {"help", {"--help"}, 0, "extract-message", ""},
        {"sub-command help", {"hide-message", "--help"}, 0, "--text-file", ""},
        {"capacity", {"capacity", "--image", "{shared}/clean.bmp"}, 0, "1349\n", ""},
        {"capacity never below 0", {"capacity", "--image", "{pictures}bmp24-bottomup.bmp"}, 0, "0\n", ""},
        {"capacity of a JPEG", {"capacity", "--image", "{pictures}baseline.jpg"}, 0, "26\n", ""},
        {"extract under the key",
         {"extract-message", "--image", "{shared}/message.bmp", "--key", "123"},
         0,
         "Hello World\n",
         ""},
        {"key 0 is a key", {"encrypt-text", "--text", "abc", "--key", "0"}, 0, "", ""},
        {"default key noted", {"encrypt-text", "--text", "abc"}, 0, "", kDefaultKeyNote},
        // usage
        {"no sub-command", {}, 2, "", "pixquill-cli: error: "},
        {"unknown sub-command", {"frobnicate"}, 2, "", "pixquill-cli: error: "},
        {"unknown option", {"capacity", "--image", "x.bmp", "--colour", "red"}, 2, "", "--colour"},
        {"missing --output", {"hide-message", "--image", "{shared}/clean.bmp", "--text", "a"}, 2, "", "--output"},
        {"empty key", {"extract-message", "--image", "{shared}/clean.bmp", "--key", ""}, 2, "", keyWords},
        {"letters in key", {"extract-message", "--image", "{shared}/clean.bmp", "--key", "12a"}, 2, "", keyWords},
        {"signed key", {"extract-message", "--image", "{shared}/clean.bmp", "--key=-5"}, 2, "", keyWords},
        {"key with a space", {"encrypt-text", "--text", "a", "--key", "1 2"}, 2, "", keyWords},
        {"text and text file",
         {"hide-message", "--image", "{shared}/clean.bmp", "--output", "{dir}/o.bmp", "--text", "a", "--text-file",
          "{dir}/t"},
         2,
         "",
         "excludes"},
        {"extract-file onto its picture",
         {"extract-file", "--image", "{shared}/message.bmp", "--output", "{shared}/message.bmp"},
         2,
         "",
         "--output names the picture"},
        {"extract-file onto its picture spelt otherwise",
         {"extract-file", "--image", "{shared}/message.bmp", "--output", "{shared}/./message.bmp"},
         2,
         "",
         "--output names the picture"},
        // errors
        {"missing picture",
         {"capacity", "--image", "{dir}/absent.bmp"},
         1,
         "",
         "pixquill-cli: error 53: Cannot open picture {dir}/absent.bmp: File not found"},
        {"not a picture",
         {"capacity", "--image", "{pictures}full.ppm"},
         1,
         "",
         "pixquill-cli: error 481: Cannot open picture {pictures}full.ppm: Invalid picture"},
        {"character outside the alphabet",
         {"hide-message", "--image", "{shared}/clean.bmp", "--output", "{dir}/o.bmp", "--key", "1", "--text", "Why?"},
         1,
         "",
         "pixquill-cli: error 5: Character 4 of the message, \"?\""},
        {"character beyond Latin-1",
         {"hide-message", "--image", "{shared}/clean.bmp", "--output", "{dir}/o.bmp", "--key", "1", "--text",
          "5 \xE2\x82\xAC"},
         1,
         "",
         "pixquill-cli: error 5: Character 3 of the message, \"\xE2\x82\xAC\" (U+20AC)"},
        {"not UTF-8", {"encrypt-text", "--key", "1", "--text", "a\xFF"}, 1, "", "error 5: Byte 2 of the text"},
        {"picture too small",
         {"hide-message", "--image", "{pictures}bmp24-bottomup.bmp", "--output", "{dir}/o.bmp", "--key", "1", "--text",
          ""},
         1,
         "",
         "pixquill-cli: error: The message needs 0 characters of room; this picture is too small to hold any."},
        {"file to hide missing",
         {"hide-file", "--image", "{shared}/clean.bmp", "--output", "{dir}/o.bmp", "--file", "{dir}/absent", "--key",
          "1"},
         1,
         "",
         "error 53: {dir}/absent does not exist"},
        {"file to encipher missing",
         {"encrypt-file", "--input", "{dir}/absent", "--output", "{dir}/o", "--key", "1"},
         1,
         "",
         "error 53: {dir}/absent does not exist"},
        {"encrypt text outside alphabet",
         {"encrypt-text", "--key", "1", "--text", "tab\there"},
         1,
         "",
         "error 5: Character 4 of the text, a tab"},
        // no hidden item, and a cut one
        {"no message",
         {"extract-message", "--image", "{shared}/clean.bmp", "--key", "1"},
         3,
         "",
         "pixquill-cli: This Image has no Message"},
        {"no file",
         {"extract-file", "--image", "{shared}/clean.bmp", "--output", "{dir}/o", "--key", "1"},
         3,
         "",
         "pixquill-cli: This Image has no Embedded File"},
        {"start without end",
         {"extract-message", "--image", "{shared}/cut.bmp", "--key", "1"},
         4,
         "",
         "holds the start of a hidden item but not its end"},
        {"file: start without end",
         {"extract-file", "--image", "{shared}/cut.bmp", "--output", "{dir}/o", "--key", "1"},
         4,
         "",
         "holds the start of a hidden item but not its end"},
    };
    for (const CliCase& c : cases) {
        const auto result = runProgram(kProgram, expand(c.arguments));
        const std::string errFragment = expand({c.errFragment})[0];
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what << "\n" << result.err;
        if (c.outFragment.empty() && c.exitCode != 0) {
            EXPECT_EQ(result.out, "") << c.what;
        }
        EXPECT_NE(result.out.find(c.outFragment), std::string::npos) << c.what << "\n" << result.out;
        EXPECT_NE(result.err.find(errFragment), std::string::npos) << c.what << "\n" << result.err;
        // Nothing is ever written into the folder by a command that did not succeed.
        if (c.exitCode != 0) {
            EXPECT_TRUE(folder.entries().empty()) << c.what;
        }
    }
}

TEST_F(CliProgramTest, MessageRoundTripsThroughASavedBmp) {
    testsupport::writeFile(folder / "message.txt", "From a file, 100% sure");
    const struct {
        const char* what;
        std::vector<std::string> key;  // empty: the default key
        std::vector<std::string> textSource;
        std::string standardInput;
        std::string expected;
    } cases[] = {
        {"--text, default key", {}, {"--text", "Meet me at noon"}, "", "Meet me at noon"},
        {"--text, given key",
         {"--key", "98765432109876543210"},
         {"--text", "Meet (me) at noon!"},
         "",
         "Meet (me) at noon!"},
        {"standard input drops one line break", {"--key", "42"}, {}, "typed line\n", "typed line"},
        {"standard input, Windows line break", {"--key", "42"}, {}, "typed line\r\n", "typed line"},
        {"empty message", {"--key", "42"}, {"--text", ""}, "", ""},
        {"latin-1 letters are refused by the cipher, ascii kept",
         {"--key", "7"},
         {"--text", "abc XYZ 019"},
         "",
         "abc XYZ 019"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> hide{"hide-message", "--image", sharedPath("clean.bmp"), "--output",
                                      folder / "out.bmp"};
        hide.insert(hide.end(), c.key.begin(), c.key.end());
        hide.insert(hide.end(), c.textSource.begin(), c.textSource.end());
        const auto hidden = runProgram(kProgram, hide, c.standardInput);
        ASSERT_EQ(hidden.exitCode, 0) << c.what << "\n" << hidden.err;
        EXPECT_EQ(hidden.out, "");
        EXPECT_EQ(c.key.empty(), hidden.err.find(kDefaultKeyNote) != std::string::npos) << c.what;

        std::vector<std::string> extract{"extract-message", "--image", folder / "out.bmp"};
        extract.insert(extract.end(), c.key.begin(), c.key.end());
        const auto extracted = runProgram(kProgram, extract);
        EXPECT_EQ(extracted.exitCode, 0) << c.what << "\n" << extracted.err;
        EXPECT_EQ(extracted.out, c.expected + "\n") << c.what;
    }
}

TEST_F(CliProgramTest, MessageFromATextFileAndUnderAWrongKey) {
    testsupport::writeFile(folder / "message.txt", "From a file");
    ASSERT_EQ(runProgram(kProgram, {"hide-message", "--image", sharedPath("clean.bmp"), "--output", folder / "o.bmp",
                                    "--key", "111", "--text-file", folder / "message.txt"})
                  .exitCode,
              0);
    EXPECT_EQ(runProgram(kProgram, {"extract-message", "--image", folder / "o.bmp", "--key", "111"}).out,
              "From a file\n");
    const auto wrong = runProgram(kProgram, {"extract-message", "--image", folder / "o.bmp", "--key", "222"});
    EXPECT_EQ(wrong.exitCode, 0);
    EXPECT_EQ(wrong.out.size(), std::string("From a file\n").size());
    EXPECT_NE(wrong.out, "From a file\n");
}

TEST_F(CliProgramTest, FileRoundTripsForEverySizeThatMatters) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{256}, std::size_t{1000}, std::size_t{1001}, std::size_t{32767}}) {
        const std::string data = testsupport::allByteValues(size);
        testsupport::writeFile(folder / "secret.bin", data);
        const auto hidden =
            runProgram(kProgram, {"hide-file", "--image", sharedPath("large.bmp"), "--output", folder / "carrier.bmp",
                                  "--file", folder / "secret.bin", "--key", "2718281828"});
        ASSERT_EQ(hidden.exitCode, 0) << size << "\n" << hidden.err;
        const auto extracted = runProgram(kProgram, {"extract-file", "--image", folder / "carrier.bmp", "--output",
                                                     folder / "back.bin", "--key", "2718281828"});
        ASSERT_EQ(extracted.exitCode, 0) << size << "\n" << extracted.err;
        EXPECT_EQ(extracted.out, "");
        EXPECT_EQ(testsupport::readFile(folder / "back.bin"), data) << size << " bytes";
        EXPECT_EQ(folder.entries(), (std::set<std::string>{"back.bin", "carrier.bmp", "secret.bin"})) << size;
        std::filesystem::remove(folder / "back.bin");
    }
}

TEST_F(CliProgramTest, InputsAreNeverChangedAndNothingIsLeftBehind) {
    const std::string picture = folder / "in.bmp";
    std::filesystem::copy_file(sharedPath("clean.bmp"), picture);
    testsupport::writeFile(folder / "secret.bin", testsupport::allByteValues(300));
    const std::string pictureBefore = testsupport::readFile(picture);
    const std::string secretBefore = testsupport::readFile(folder / "secret.bin");

    EXPECT_EQ(runProgram(kProgram, {"hide-file", "--image", picture, "--output", folder / "out.bmp", "--file",
                                    folder / "secret.bin", "--key", "5"})
                  .exitCode,
              0);
    EXPECT_EQ(runProgram(kProgram, {"hide-message", "--image", picture, "--output", folder / "out2.bmp", "--text", "x",
                                    "--key", "5"})
                  .exitCode,
              0);
    EXPECT_EQ(runProgram(kProgram, {"extract-message", "--image", folder / "out2.bmp", "--key", "5"}).exitCode, 0);
    // A file too large to hide: refused, and no output made.
    testsupport::writeFile(folder / "big.bin", std::string(32768, 'b'));
    const auto tooLarge = runProgram(kProgram, {"hide-file", "--image", picture, "--output", folder / "none.bmp",
                                                "--file", folder / "big.bin", "--key", "5"});
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_NE(tooLarge.err.find("error 6: "), std::string::npos) << tooLarge.err;
    EXPECT_NE(tooLarge.err.find("32,768 bytes"), std::string::npos) << tooLarge.err;

    EXPECT_EQ(testsupport::readFile(picture), pictureBefore);
    EXPECT_EQ(testsupport::readFile(folder / "secret.bin"), secretBefore);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"big.bin", "in.bmp", "out.bmp", "out2.bmp", "secret.bin"}));
}

TEST_F(CliProgramTest, HideCommandsMayReplaceTheirPicture) {
    const std::string picture = folder / "picture.bmp";
    std::filesystem::copy_file(sharedPath("clean.bmp"), picture);
    const auto hidden = runProgram(
        kProgram, {"hide-message", "--image", picture, "--output", picture, "--text", "in place", "--key", "9"});
    ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
    EXPECT_EQ(runProgram(kProgram, {"extract-message", "--image", picture, "--key", "9"}).out, "in place\n");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"picture.bmp"});
}

TEST_F(CliProgramTest, AFailedExtractionLeavesAnExistingDestinationAlone) {
    testsupport::writeFile(folder / "keep.txt", "precious");
    const auto result = runProgram(
        kProgram, {"extract-file", "--image", sharedPath("clean.bmp"), "--output", folder / "keep.txt", "--key", "1"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(testsupport::readFile(folder / "keep.txt"), "precious");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"keep.txt"});
}

TEST_F(CliProgramTest, HidingIntoAJpegWritesABmpOfTheSameSize) {
    const auto hidden = runProgram(kProgram, {"hide-message", "--image", kPictures + "progressive.jpg", "--output",
                                              folder / "out.bmp", "--text", "jpeg", "--key", "3"});
    ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
    EXPECT_EQ(testsupport::readFile(folder / "out.bmp").substr(0, 2), "BM");
    EXPECT_EQ(stego::platform::loadPicture(folder / "out.bmp").size(), QSize(16, 8));
    EXPECT_EQ(runProgram(kProgram, {"extract-message", "--image", folder / "out.bmp", "--key", "3"}).out, "jpeg\n");
}

// A .png name gets a PNG, a JPEG name is refused before anything is read or
// written, and every other name gets a BMP.
TEST_F(CliProgramTest, TheOutputNameChoosesTheFormat) {
    const struct {
        const char* name;
        int exitCode;
        std::string signature;  // of the file written; "" : nothing is written
    } cases[] = {
        {"out.png", 0, "\x89PNG"}, {"OUT.PNG", 0, "\x89PNG"}, {"out.bmp", 0, "BM"}, {"out.tif", 0, "BM"},
        {"out", 0, "BM"},          {"out.jpg", 2, ""},        {"out.JPEG", 2, ""},
    };
    for (const auto& c : cases) {
        for (const char* command : {"hide-message", "hide-file"}) {
            TestFolder out;
            testsupport::writeFile(out / "secret.txt", "hidden by name");
            std::vector<std::string> arguments{command, "--image", sharedPath("clean.bmp"), "--output", out / c.name,
                                               "--key", "5"};
            if (std::string(command) == "hide-message")
                arguments.insert(arguments.end(), {"--text", "hidden by name"});
            else
                arguments.insert(arguments.end(), {"--file", out / "secret.txt"});
            const auto hidden = runProgram(kProgram, arguments);
            ASSERT_EQ(hidden.exitCode, c.exitCode) << c.name << " " << command << "\n" << hidden.err;
            if (c.signature.empty()) {
                EXPECT_NE(hidden.err.find("JPEG compression changes pixels"), std::string::npos) << hidden.err;
                EXPECT_EQ(out.entries(), std::set<std::string>{"secret.txt"}) << c.name;
                continue;
            }
            EXPECT_EQ(testsupport::readFile(out / c.name).substr(0, c.signature.size()), c.signature) << c.name;
            if (std::string(command) == "hide-message") {
                EXPECT_EQ(runProgram(kProgram, {"extract-message", "--image", out / c.name, "--key", "5"}).out,
                          "hidden by name\n")
                    << c.name;
            }
        }
    }
}

TEST_F(CliProgramTest, TextAndFileCipherRoundTrips) {
    const auto encrypted = runProgram(kProgram, {"encrypt-text", "--text", "Attack at dawn", "--key", "31415"});
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err;
    ASSERT_EQ(encrypted.out.size(), std::string("Attack at dawn\n").size());
    std::string ciphertext = encrypted.out.substr(0, encrypted.out.size() - 1);
    EXPECT_NE(ciphertext, "Attack at dawn");
    const auto decrypted = runProgram(kProgram, {"decrypt-text", "--text", ciphertext, "--key", "31415"});
    EXPECT_EQ(decrypted.out, "Attack at dawn\n");

    const std::string data = testsupport::allByteValues(5000);
    testsupport::writeFile(folder / "plain.bin", data);
    ASSERT_EQ(runProgram(kProgram, {"encrypt-file", "--input", folder / "plain.bin", "--output", folder / "enc.bin",
                                    "--key", "8"})
                  .exitCode,
              0);
    EXPECT_EQ(testsupport::readFile(folder / "enc.bin").size(), data.size());
    EXPECT_NE(testsupport::readFile(folder / "enc.bin"), data);
    ASSERT_EQ(runProgram(kProgram,
                         {"decrypt-file", "--input", folder / "enc.bin", "--output", folder / "dec.bin", "--key", "8"})
                  .exitCode,
              0);
    EXPECT_EQ(testsupport::readFile(folder / "dec.bin"), data);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"dec.bin", "enc.bin", "plain.bin"}));
}

}  // namespace
