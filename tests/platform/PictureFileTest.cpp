#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <vector>

#include "ChildProcess.h"
#include "ExpectFailure.h"
#include "NoiseImage.h"
#include "TestFolder.h"
#include "engine/Failure.h"
#include "platform/PictureFile.h"

using stego::Failure;
using stego::platform::loadPicture;
using stego::platform::savePictureAsBmp;
using testsupport::noisePicture;
using testsupport::TestFolder;

namespace {

const std::string kPictures = std::string(PIXQUILL_TEST_DATA) + "/pictures/";

// The expected colours, kept as plain-text PPM beside the fixtures.
QImage readPpm(const std::string& name) {
    std::ifstream in(kPictures + name);
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    in >> magic >> width >> height >> maximum;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int r = 0, g = 0, b = 0;
            in >> r >> g >> b;
            image.setPixel(x, y, qRgb(r, g, b));
        }
    return image;
}

// The largest difference of any channel of any pixel, or -1 when the sizes differ.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max(
                {largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

bool everyPixelOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

struct FixtureCase {
    const char* file;
    const char* expected;
    int tolerance;  // 0: every channel exact
};

void PrintTo(const FixtureCase& c, std::ostream* out) { *out << c.file; }

class PictureFixtureTest : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(PictureFixtureTest, LoadsToTheExpectedSizeAndColours) {
    const FixtureCase& c = GetParam();
    const QImage picture = loadPicture(kPictures + c.file);
    const QImage expected = readPpm(c.expected);
    EXPECT_EQ(picture.format(), stego::platform::kPictureFormat);
    EXPECT_EQ(picture.size(), expected.size());
    const int difference = largestDifference(picture, expected);
    EXPECT_GE(difference, 0);
    EXPECT_LE(difference, c.tolerance);
    EXPECT_TRUE(everyPixelOpaque(picture));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, PictureFixtureTest,
    ::testing::Values(
        FixtureCase{"bmp1-bottomup.bmp", "palette2.ppm", 0}, FixtureCase{"bmp1-topdown.bmp", "palette2.ppm", 0},
        FixtureCase{"bmp4-bottomup.bmp", "palette12.ppm", 0}, FixtureCase{"bmp4-topdown.bmp", "palette12.ppm", 0},
        FixtureCase{"bmp8-bottomup.bmp", "full.ppm", 0}, FixtureCase{"bmp8-topdown.bmp", "full.ppm", 0},
        FixtureCase{"bmp16-bottomup.bmp", "rgb555.ppm", 0}, FixtureCase{"bmp16-topdown.bmp", "rgb555.ppm", 0},
        FixtureCase{"bmp24-bottomup.bmp", "full.ppm", 0}, FixtureCase{"bmp24-topdown.bmp", "full.ppm", 0},
        // some pixels fully transparent: colours kept all the same
        FixtureCase{"bmp32-bottomup.bmp", "full.ppm", 0}, FixtureCase{"bmp32-topdown.bmp", "full.ppm", 0}));

INSTANTIATE_TEST_SUITE_P(Jpeg, PictureFixtureTest,
                         ::testing::Values(FixtureCase{"baseline.jpg", "blocks.ppm", 6},
                                           FixtureCase{"progressive.jpg", "blocks.ppm", 6},
                                           FixtureCase{"greyscale.jpg", "blocks-grey.ppm", 3},
                                           FixtureCase{"arithmetic.jpg", "blocks.ppm", 6},
                                           // taken by the fallback reader
                                           FixtureCase{"cmyk.jpg", "blocks.ppm", 12}));

TEST(PictureFileTest, GreyscaleJpegGivesEqualChannels) {
    const QImage picture = loadPicture(kPictures + "greyscale.jpg");
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
}

// Run-length BMPs of 4 x 3 pixels over three colours, whose runs may skip
// pixels (delta and end-of-line codes) or stop before the picture's end.
const std::array<QRgb, 3> kRunLengthPalette = {qRgb(10, 200, 30), qRgb(200, 10, 30), qRgb(30, 10, 200)};

struct RunLengthCase {
    const char* name;
    int bitsPerPixel;                 // 8 or 4, each with its own run-length coding
    std::vector<unsigned char> runs;  // from the bottom row up
    std::array<const char*, 3> rows;  // the palette entry of every pixel, top row first
};

void PrintTo(const RunLengthCase& c, std::ostream* out) { *out << c.name; }

std::string runLengthBmp(const RunLengthCase& c) {
    constexpr std::uint32_t kHeaderSize = 14 + 40 + 4 * 3;
    std::string bmp;
    auto put32 = [&bmp](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            bmp += static_cast<char>(value >> shift);
    };
    auto put16 = [&bmp](std::uint16_t value) { bmp += {static_cast<char>(value), static_cast<char>(value >> 8)}; };
    bmp += "BM";
    put32(kHeaderSize + static_cast<std::uint32_t>(c.runs.size()));
    put32(0);
    put32(kHeaderSize);
    put32(40);
    put32(4);
    put32(3);
    put16(1);
    put16(static_cast<std::uint16_t>(c.bitsPerPixel));
    put32(c.bitsPerPixel == 8 ? 1 : 2);  // RLE8 or RLE4
    put32(static_cast<std::uint32_t>(c.runs.size()));
    put32(2835);
    put32(2835);
    put32(3);
    put32(0);
    for (const QRgb colour : kRunLengthPalette)
        bmp +=
            {static_cast<char>(qBlue(colour)), static_cast<char>(qGreen(colour)), static_cast<char>(qRed(colour)), 0};
    bmp.append(c.runs.begin(), c.runs.end());
    return bmp;
}

// Leaves freed memory that holds no palette index, as a long-running program's would.
void dirtyTheHeap() {
    for (std::size_t size = 8; size <= 4096; size *= 2) {
        auto* block = static_cast<unsigned char*>(std::malloc(size));
        std::memset(block, 0xAB, size);
        std::free(block);
    }
}

class RunLengthBmpTest : public ::testing::TestWithParam<RunLengthCase> {
protected:
    TestFolder folder;
};

TEST_P(RunLengthBmpTest, PixelsTheRunsDoNotReachTakePaletteEntryZero) {
    const RunLengthCase& c = GetParam();
    const std::string path = folder / (std::string(c.name) + ".bmp");
    testsupport::writeFile(path, runLengthBmp(c));
    for (int attempt = 0; attempt < 3; ++attempt) {
        dirtyTheHeap();
        const QImage picture = loadPicture(path);
        ASSERT_EQ(picture.size(), QSize(4, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(picture.pixel(x, y), kRunLengthPalette.at(static_cast<std::size_t>(c.rows[y][x] - '0')))
                    << "pixel " << x << "," << y << ", attempt " << attempt;
    }
}

INSTANTIATE_TEST_SUITE_P(
    PictureFileTest, RunLengthBmpTest,
    ::testing::Values(
        RunLengthCase{"complete", 8, {0, 4, 1, 2, 1, 2, 0, 0, 4, 1, 0, 0, 4, 2, 0, 1}, {"2222", "1111", "1212"}},
        RunLengthCase{"stops-after-one-row", 8, {4, 1}, {"0000", "0000", "1111"}},
        RunLengthCase{"ends-before-the-last-rows", 8, {4, 2, 0, 1}, {"0000", "0000", "2222"}},
        RunLengthCase{"delta-skips-pixels", 8, {1, 2, 0, 2, 2, 1, 1, 2, 0, 1}, {"0000", "0002", "2000"}},
        RunLengthCase{"rows-end-early", 8, {2, 1, 0, 0, 4, 2, 0, 0, 1, 1, 0, 1}, {"1000", "2222", "1100"}},
        RunLengthCase{"four-bit-stops-after-one-row", 4, {4, 0x12}, {"0000", "0000", "1212"}}),
    [](const ::testing::TestParamInfo<RunLengthCase>& testCase) {
        std::string name = testCase.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

class PictureSaveTest : public ::testing::Test {
protected:
    TestFolder folder;
};

TEST_F(PictureSaveTest, SavedBmpReopensWithEveryPixelExactWhateverTheName) {
    // Widths 1 to 4 and 7 cover every amount of row padding.
    const struct {
        int width, height;
        const char* name;
    } cases[] = {{1, 1, "one.bmp"}, {2, 3, "two.jpg"},   {3, 2, "three.jpeg"},
                 {4, 4, "four"},    {7, 5, "seven.BMP"}, {257, 129, "larger.bmp"}};
    for (const auto& c : cases) {
        const QImage original = noisePicture(c.width, c.height, static_cast<unsigned>(c.width * 1000 + c.height));
        savePictureAsBmp(original, folder / c.name);
        EXPECT_EQ(testsupport::readFile(folder / c.name).substr(0, 2), "BM") << c.name;
        const QImage reopened = loadPicture(folder / c.name);
        EXPECT_EQ(largestDifference(original, reopened), 0) << c.name;
    }
}

TEST_F(PictureSaveTest, LosslessTiffAndWebpOpenWithEveryPixelWhereQtReadsThem) {
    // Written by Qt's own plugins: TIFF as it comes, WebP at quality 100, which is lossless.
    const struct {
        const char* name;
        const char* format;
        int quality;
    } cases[] = {{"picture.tif", "tiff", -1}, {"picture.webp", "webp", 100}};
    const QImage original = noisePicture(13, 7, 9);
    for (const auto& c : cases) {
        if (!QImageReader::supportedImageFormats().contains(c.format))
            GTEST_SKIP() << "Qt's " << c.format << " plugin is not installed";
        QImageWriter writer(QString::fromStdString(folder / c.name), c.format);
        writer.setQuality(c.quality);
        ASSERT_TRUE(writer.write(original)) << c.name;
        EXPECT_EQ(largestDifference(original, loadPicture(folder / c.name)), 0) << c.name;
    }
}

TEST_F(PictureSaveTest, TheNameChoosesTheFormatAndEveryPixelComesBack) {
    const struct {
        const char* name;
        const char* signature;
    } cases[] = {{"a.png", "\x89PNG"}, {"b.PNG", "\x89PNG"}, {"c.bmp", "BM"}, {"d", "BM"}, {"e.tif", "BM"}};
    const QImage original = noisePicture(13, 7, 5);
    for (const auto& c : cases) {
        stego::platform::savePicture(original, folder / c.name);
        EXPECT_EQ(testsupport::readFile(folder / c.name).substr(0, std::string(c.signature).size()), c.signature)
            << c.name;
        EXPECT_EQ(largestDifference(original, loadPicture(folder / c.name)), 0) << c.name;
    }
}

TEST_F(PictureSaveTest, AJpegNameIsRefusedAndNothingIsWritten) {
    for (const char* name : {"out.jpg", "out.JPEG"}) {
        try {
            stego::platform::savePicture(noisePicture(4, 4, 1), folder / name);
            ADD_FAILURE() << name << " was accepted";
        } catch (const stego::Failure& failure) {
            EXPECT_EQ(failure.number(), 481);
            EXPECT_NE(std::string(failure.what()).find("would destroy the hidden bits"), std::string::npos);
        }
        EXPECT_TRUE(folder.entries().empty()) << name;
    }
}

TEST_F(PictureSaveTest, SavingAJpegGivesABmpOfTheSameSize) {
    const QImage picture = loadPicture(kPictures + "progressive.jpg");
    savePictureAsBmp(picture, folder / "out.jpg");
    const QImage reopened = loadPicture(folder / "out.jpg");
    EXPECT_EQ(reopened.size(), QSize(16, 8));
    EXPECT_EQ(largestDifference(picture, reopened), 0);
}

TEST_F(PictureSaveTest, SavingReplacesAnExistingFileAndLeavesNothingElse) {
    testsupport::writeFile(folder / "picture.bmp", std::string(100'000, 'x'));
    savePictureAsBmp(noisePicture(5, 3, 1), folder / "picture.bmp");
    EXPECT_EQ(testsupport::readFile(folder / "picture.bmp").size(), 54u + 16 * 3);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"picture.bmp"});
}

TEST_F(PictureSaveTest, SavingIntoAReadOnlyFolderFailsAndLeavesTheOldFileWhole) {
    const std::string old = "the picture that was there";
    testsupport::writeFile(folder / "picture.bmp", old);
    ::chmod(folder.path().c_str(), 0555);
    const int result = testsupport::inChildProcess([&] {
        if (!testsupport::dropToUnprivilegedUser())
            return 2;
        try {
            savePictureAsBmp(noisePicture(8, 8, 2), folder / "picture.bmp");
        } catch (const Failure& failure) {
            const bool namesFolder = std::string(failure.what()).find(folder.path()) != std::string::npos;
            return failure.number() == 70 && namesFolder ? 0 : 3;
        }
        return 1;
    });
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(testsupport::readFile(folder / "picture.bmp"), old);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"picture.bmp"});
}

TEST_F(PictureSaveTest, ADiskFullWhileWritingLeavesTheOldFileWholeAndNoTemporaryFolder) {
    const std::string old = "the picture that was there";
    testsupport::writeFile(folder / "picture.bmp", old);
    const int result = testsupport::inChildProcess([&] {
        if (!testsupport::limitFileSize(4096))
            return 2;
        try {
            savePictureAsBmp(noisePicture(200, 200, 3), folder / "picture.bmp");
        } catch (const Failure& failure) {
            return failure.number() == 61 ? 0 : 3;
        }
        return 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(testsupport::readFile(folder / "picture.bmp"), old);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"picture.bmp"});
}

TEST_F(PictureSaveTest, SavingOntoAFolderOrIntoAMissingFolderIsRefused) {
    std::filesystem::create_directory(folder / "sub");
    const struct {
        std::string path;
        int number;
        std::string fragment;
    } cases[] = {
        {folder / "sub", 75, folder / "sub"},
        {folder / "absent/picture.bmp", 76, "The folder " + (folder / "absent") + " does not exist"},
    };
    for (const auto& c : cases)
        testsupport::expectFailure(
            c.path, [&] { savePictureAsBmp(noisePicture(2, 2, 4), c.path); }, c.number, c.fragment);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"sub"});
}

class UnreadablePictureTest : public ::testing::Test {
protected:
    TestFolder folder;

    // Every refusal starts with the file's name, then gives the reason.
    void expectRefusal(const std::string& path, int number, const std::string& fragment) {
        testsupport::expectFailure(
            path, [&] { loadPicture(path); }, number, "Cannot open picture " + path + ": ");
        testsupport::expectFailure(
            path, [&] { loadPicture(path); }, number, fragment);
    }
};

TEST_F(UnreadablePictureTest, RefusalsNameTheFileAndTheReason) {
    const std::string bmp = testsupport::readFile(kPictures + "bmp24-bottomup.bmp");
    const std::string jpeg = testsupport::readFile(kPictures + "baseline.jpg");
    const std::string bigJpeg = [] {
        // A JPEG whose header claims 65,000 x 65,000 pixels: refused before any allocation.
        std::string data = testsupport::readFile(kPictures + "baseline.jpg");
        const auto sof = data.find("\xFF\xC0", 2);
        data[sof + 5] = data[sof + 7] = static_cast<char>(0xFD);
        data[sof + 6] = data[sof + 8] = static_cast<char>(0xE8);
        return data;
    }();
    const std::string arithmetic = testsupport::readFile(kPictures + "arithmetic.jpg");
    const auto arithmeticScan = arithmetic.find("\xFF\xDA");
    // Arithmetic coding says a uniform picture in a few bytes, but not 2^28 pixels in 200.
    std::string hugeArithmetic = arithmetic;
    const auto arithmeticFrame = arithmetic.find("\xFF\xC9");
    hugeArithmetic[arithmeticFrame + 5] = hugeArithmetic[arithmeticFrame + 7] = static_cast<char>(0x40);
    hugeArithmetic[arithmeticFrame + 6] = hugeArithmetic[arithmeticFrame + 8] = 0;
    std::string hugeBmp = bmp;
    hugeBmp[18] = hugeBmp[22] = static_cast<char>(0xFF);
    hugeBmp[19] = hugeBmp[23] = static_cast<char>(0x7F);

    const struct {
        const char* name;
        std::string content;
        const char* fragment;
    } cases[] = {
        {"empty.bmp", "", "the file is empty"},
        {"text.bmp", "This is a text, not a picture.\n", "not a BMP, JPEG or PNG"},
        {"png-signature-only.jpg", "\x89PNG\r\n\x1a\n", "Invalid picture"},
        {"bmp-header-only.bmp", bmp.substr(0, 20), "Invalid picture"},
        {"bmp-cut.bmp", bmp.substr(0, bmp.size() - 10), "cut short"},
        {"jpeg-header-only.jpg", jpeg.substr(0, 40), "Invalid picture"},
        {"jpeg-cut.jpg", jpeg.substr(0, jpeg.find("\xFF\xDA") + 20), "cut short"},
        {"huge.jpg", bigJpeg, "more than the"},
        {"arithmetic-cut.jpg", arithmetic.substr(0, arithmeticScan + 14 + 3), "cut short"},
        {"arithmetic-huge.jpg", hugeArithmetic, "too few for such a picture"},
        {"huge.bmp", hugeBmp, "more than the"},
    };
    for (const auto& c : cases) {
        testsupport::writeFile(folder / c.name, c.content);
        expectRefusal(folder / c.name, 481, c.fragment);
    }
}

// The decoder first warns (a start-of-scan header that does not fit a
// sequential JPEG), then stops at a table that was never defined, before any
// pixel; having warned, it calls the stop a warning too.
TEST_F(UnreadablePictureTest, JpegWhoseDecodingStopsAfterAWarningIsRefusedNotHalfDecoded) {
    std::string data = testsupport::readFile(kPictures + "baseline.jpg");
    const auto sos = data.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    data[sos + 6] = static_cast<char>(0xFF);   // the first component's tables: 15 and 15, never defined
    data[sos + 11] = static_cast<char>(0x10);  // a spectral start of 16
    const std::string path = folder / "stops-after-a-warning.jpg";
    testsupport::writeFile(path, data);
    expectRefusal(path, 481, "Huffman table 0x0f was not defined");
}

TEST_F(UnreadablePictureTest, MissingFileAndFolderGiveFileErrors) {
    std::filesystem::create_directory(folder / "sub.bmp");
    expectRefusal(folder / "missing.bmp", 53, "File not found");
    expectRefusal(folder / "sub.bmp", 75, "folder");
}

TEST_F(UnreadablePictureTest, FileWithoutReadPermissionGivesPermissionDenied) {
    testsupport::writeFile(folder / "locked.bmp", testsupport::readFile(kPictures + "bmp24-bottomup.bmp"));
    ::chmod((folder / "locked.bmp").c_str(), 0);
    const std::string path = folder / "locked.bmp";
    const int result = testsupport::inChildProcess([&] {
        if (!testsupport::dropToUnprivilegedUser())
            return 2;
        try {
            loadPicture(path);
        } catch (const Failure& failure) {
            return failure.number() == 70 && std::string(failure.what()).find(path) != std::string::npos ? 0 : 3;
        }
        return 1;
    });
    EXPECT_EQ(result, 0);
}

}  // namespace

// PNGs of every kind Qt writes open as their red, green and blue, whatever
// their alpha says; 16-bit channels chosen as multiples of 257 narrow exactly.
TEST(PngPictureTest, EveryKindOfPngOpensAsItsColoursWithAlphaIgnored) {
    TestFolder folder;
    const QImage colours = [] {
        QImage image(5, 3, QImage::Format_ARGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                image.setPixel(x, y, qRgba(x * 51, y * 85, 255 - x * 51, x == 0 ? 0 : 128 + x * 25));
        return image;
    }();
    const QImage opaque = [&] {
        QImage image(5, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                image.setPixel(x, y, colours.pixel(x, y) | 0xFF000000u);
        return image;
    }();
    const QImage grey = opaque.convertToFormat(QImage::Format_Grayscale8);
    const struct {
        const char* name;
        QImage written;
        QImage expected;  // RGB32
    } cases[] = {
        {"rgb8", opaque.convertToFormat(QImage::Format_RGB888), opaque},
        {"rgba8", colours.convertToFormat(QImage::Format_RGBA8888), opaque},
        {"rgba16", colours.convertToFormat(QImage::Format_RGBA64), opaque},
        {"grey8", grey, grey.convertToFormat(QImage::Format_RGB32)},
        {"grey16", grey.convertToFormat(QImage::Format_Grayscale16), grey.convertToFormat(QImage::Format_RGB32)},
        {"palette", opaque.convertToFormat(QImage::Format_Indexed8), opaque},
    };
    for (const auto& c : cases) {
        const std::string path = folder / (std::string(c.name) + ".png");
        ASSERT_TRUE(c.written.save(QString::fromStdString(path), "png")) << c.name;
        const QImage opened = loadPicture(path);
        EXPECT_EQ(opened.format(), stego::platform::kPictureFormat) << c.name;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(opened.pixel(x, y) & 0xFFFFFF, c.expected.pixel(x, y) & 0xFFFFFF)
                    << c.name << " pixel " << x << "," << y;
    }
}

// The program's own PNG writer, read back by Qt's reader alone: every width
// from 1 to 9 and a picture whose rows differ in every way.
TEST(PngPictureTest, SavedPngsAreStandardAndExact) {
    TestFolder folder;
    for (int width = 1; width <= 9; ++width) {
        const QImage original = noisePicture(width, 6, static_cast<unsigned>(width));
        const std::string path = folder / ("w" + std::to_string(width) + ".png");
        stego::platform::savePicture(original, path);
        QImage reread(QString::fromStdString(path), "png");
        ASSERT_FALSE(reread.isNull()) << width;
        EXPECT_EQ(largestDifference(original, reread.convertToFormat(QImage::Format_RGB32)), 0) << width;
    }
}
