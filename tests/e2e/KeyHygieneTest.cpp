// Keys and plain texts never reach stderr: pixquill-cli is run with a
// distinctive key and message through its successes, its refusals and its
// usage errors, and its error stream is searched for either.
#include <gtest/gtest.h>

#include <filesystem>

#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;
const std::string kKey = "8675309123";
const std::string kNormalisedKey = "867530912386753091";  // as the cipher writes it back
const std::string kMessage = "ZebraQuokka42";

struct CliRun {
    const char* what;
    std::vector<std::string> arguments;  // {dir} stands for the test's folder
    int exitCode;
    std::string standardInput = {};
};

TEST(KeyHygieneTest, NeitherTheKeyNorTheMessageReachesStandardError) {
    TestFolder folder;
    stego::platform::savePictureAsBmp(testsupport::noisePicture(64, 64, 6), folder / "clean.bmp");
    stego::platform::savePictureAsBmp(testsupport::noisePicture(5, 5, 6), folder / "small.bmp");
    testsupport::writeFile(folder / "message.txt", kMessage);
    testsupport::writeFile(folder / "not-utf8.txt", kMessage + "\xFF");
    std::filesystem::create_directory(folder / "sub");

    const std::vector<CliRun> runs = {
        {"hide",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/hidden.bmp", "--key", kKey, "--text",
          kMessage},
         0},
        {"extract", {"extract-message", "--image", "{dir}/hidden.bmp", "--key", kKey}, 0},
        {"hide from standard input",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/o.bmp", "--key", kKey},
         0,
         kMessage + "\n"},
        {"hide from a file",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/o.bmp", "--key", kKey, "--text-file",
          "{dir}/message.txt"},
         0},
        {"picture too small",
         {"hide-message", "--image", "{dir}/small.bmp", "--output", "{dir}/o.bmp", "--key", kKey, "--text", kMessage},
         1},
        {"character refused",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/o.bmp", "--key", kKey, "--text",
          kMessage + "?"},
         1},
        {"not UTF-8",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/o.bmp", "--key", kKey, "--text-file",
          "{dir}/not-utf8.txt"},
         1},
        {"saving fails after hiding",
         {"hide-message", "--image", "{dir}/clean.bmp", "--output", "{dir}/sub", "--key", kKey, "--text", kMessage},
         1},
        {"extract a file from a message",
         {"extract-file", "--image", "{dir}/hidden.bmp", "--output", "{dir}/absent/o.bin", "--key", kKey},
         1},
        {"options a sub-command does not take",
         {"capacity", "--image", "{dir}/clean.bmp", "--key", kKey, "--text", kMessage},
         2},
        {"words after the options", {"extract-message", "--image", "{dir}/hidden.bmp", "--key", kKey, kMessage}, 2},
        {"an option given twice", {"encrypt-text", "--key", kKey, "--text", kMessage, "--text", kMessage}, 2},
        {"a key with a letter", {"encrypt-text", "--key", kKey + "x", "--text", kMessage}, 2},
        {"encrypt text", {"encrypt-text", "--key", kKey, "--text", kMessage}, 0},
        {"encrypt a file",
         {"encrypt-file", "--input", "{dir}/message.txt", "--output", "{dir}/message.enc", "--key", kKey},
         0},
        {"decrypt a file onto a folder",
         {"decrypt-file", "--input", "{dir}/message.enc", "--output", "{dir}/sub", "--key", kKey},
         1},
    };
    for (const CliRun& run : runs) {
        std::vector<std::string> arguments;
        for (std::string argument : run.arguments) {
            if (const auto at = argument.find("{dir}"); at != std::string::npos)
                argument.replace(at, 5, folder.path());
            arguments.push_back(argument);
        }
        const auto result = testsupport::runProgram(kProgram, arguments, run.standardInput);
        EXPECT_EQ(result.exitCode, run.exitCode) << run.what << "\n" << result.err;
        for (const std::string& secret : {kKey, kNormalisedKey, kMessage})
            EXPECT_EQ(result.err.find(secret), std::string::npos) << run.what << ": " << result.err;
    }
}

}  // namespace
