// Large pictures through the built pixquill-cli: the memory a picture costs
// stays within 1.5 times its pixels at four bytes each plus 80 MB, and a
// picture that needs more memory than the program may have is refused in words.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <sys/resource.h>

#include "CraftedPictures.h"
#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::ProgramOptions;
using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;

// An 8-bit run-length BMP of one colour: a few bytes a row, whatever the width.
std::string runLengthBmp(std::int32_t width, std::int32_t height) {
    std::string row;
    for (std::int32_t left = width; left > 0; left -= 255) {
        row += static_cast<char>(std::min<std::int32_t>(left, 255));
        row += '\x01';  // palette entry 1
    }
    row += std::string("\x00\x00", 2);  // end of row
    std::string data;
    for (std::int32_t y = 0; y < height; ++y)
        data += row;
    data += std::string("\x00\x01", 2);  // end of picture

    std::string palette(4 * 256, '\0');
    palette[4] = '\x10';
    palette[5] = '\x80';
    palette[6] = '\xF0';
    const auto offset = static_cast<std::uint32_t>(54 + palette.size());
    std::string bytes = "BM";
    testsupport::putLe(bytes, static_cast<std::uint32_t>(offset + data.size()), 4);
    testsupport::putLe(bytes, 0, 4);
    testsupport::putLe(bytes, offset, 4);
    testsupport::putLe(bytes, 40, 4);
    testsupport::putLe(bytes, static_cast<std::uint32_t>(width), 4);
    testsupport::putLe(bytes, static_cast<std::uint32_t>(height), 4);
    testsupport::putLe(bytes, 1, 2);
    testsupport::putLe(bytes, 8, 2);
    testsupport::putLe(bytes, 1, 4);  // run-length coded, 8 bits
    testsupport::putLe(bytes, static_cast<std::uint32_t>(data.size()), 4);
    testsupport::putLe(bytes, 2835, 4);
    testsupport::putLe(bytes, 2835, 4);
    testsupport::putLe(bytes, 256, 4);
    testsupport::putLe(bytes, 0, 4);
    return bytes + palette + data;
}

class ResourceLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef PIXQUILL_SANITIZED
        GTEST_SKIP() << "the sanitizers' own memory use hides the program's, and they cannot run under a memory limit";
#endif
    }
    TestFolder folder;
};

TEST_F(ResourceLimitTest, A25MegapixelPictureCostsLessThanTheFigure) {
    constexpr std::int64_t kWidth = 5000;
    constexpr std::int64_t kHeight = 5000;
    constexpr long kFigureKb = static_cast<long>((kWidth * kHeight * 4 * 3 / 2) / 1024 + 80 * 1024);
    stego::platform::savePictureAsBmp(testsupport::noisePicture(kWidth, kHeight, 5), folder / "large.bmp");
    testsupport::writeFile(folder / "secret.bin", testsupport::allByteValues(32767));

    const std::vector<std::vector<std::string>> commands = {
        {"capacity", "--image", folder / "large.bmp"},
        {"hide-file", "--image", folder / "large.bmp", "--output", folder / "out.bmp", "--file", folder / "secret.bin",
         "--key", "1"},
        {"extract-file", "--image", folder / "out.bmp", "--output", folder / "back.bin", "--key", "1"},
    };
    for (const auto& command : commands) {
        const auto result = testsupport::runProgram(kProgram, command);
        EXPECT_EQ(result.exitCode, 0) << command[0] << "\n" << result.err;
        EXPECT_LT(result.peakMemoryKb, kFigureKb) << command[0];
    }
    EXPECT_EQ(testsupport::readFile(folder / "back.bin"), testsupport::allByteValues(32767));
}

TEST_F(ResourceLimitTest, APictureLargerThanTheMemoryAllowedIsRefusedInWords) {
    // 12,000 x 12,000 pixels need 576 MB at four bytes each; the file is about a megabyte.
    testsupport::writeFile(folder / "vast.bmp", runLengthBmp(12'000, 12'000));
    ProgramOptions options;
    options.beforeStart = [] {
        const rlimit limit{300u << 20, 300u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    };
    const std::vector<std::vector<std::string>> commands = {
        {"capacity", "--image", folder / "vast.bmp"},
        {"extract-message", "--image", folder / "vast.bmp", "--key", "1"},
    };
    for (const auto& command : commands) {
        const auto result = testsupport::runProgram(kProgram, command, options);
        EXPECT_EQ(result.exitCode, 1) << command[0];
        EXPECT_EQ(result.out, "");
        // The tool's one line, without Qt's own warning before it.
        EXPECT_EQ(result.err, "pixquill-cli: error 7: Cannot open picture " + folder / "vast.bmp" +
                                  ": not enough memory to convert the picture to true colour\n");
    }
}

}  // namespace
