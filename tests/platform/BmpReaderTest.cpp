// The direct BMP reader against Qt's, and the header checks that keep every
// pixel from coming out of memory the file never filled.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "ExpectFailure.h"
#include "PictureCodecs.h"
#include "TestFolder.h"
#include "engine/Failure.h"
#include "platform/PictureFile.h"

using stego::Failure;
using testsupport::TestFolder;

namespace {

// A picture or the number of its refusal, from one of the two readers.
struct Outcome {
    std::optional<QImage> image;
    int refusal = 0;
};

template <typename Read>
Outcome readWith(const std::string& path, Read read) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0) << path;
    struct stat info {};
    ::fstat(fd, &info);
    Outcome outcome;
    try {
        outcome.image = read(fd, static_cast<std::int64_t>(info.st_size), path);
    } catch (const Failure& failure) {
        outcome.refusal = failure.number();
    }
    ::close(fd);
    return outcome;
}

void expectSamePixels(const std::string& path) {
    const Outcome direct = readWith(path, stego::platform::codecs::loadBmp);
    const Outcome qt = readWith(path, stego::platform::codecs::loadBmpWithQt);
    ASSERT_EQ(direct.refusal, qt.refusal) << path;
    if (direct.refusal != 0)
        return;
    ASSERT_EQ(direct.image->format(), stego::platform::kPictureFormat) << path;
    ASSERT_EQ(qt.image->format(), stego::platform::kPictureFormat) << path;
    ASSERT_TRUE(*direct.image == *qt.image) << path;
}

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A BMP file header and 40-byte information header.
std::string bmpHeaders(std::uint32_t dataOffset, std::uint32_t fileSize, std::int32_t width, std::int32_t height,
                       std::uint32_t bitsPerPixel, std::uint32_t compression) {
    std::string bmp = "BM";
    put32(bmp, fileSize);
    put32(bmp, 0);
    put32(bmp, dataOffset);
    put32(bmp, 40);
    put32(bmp, static_cast<std::uint32_t>(width));
    put32(bmp, static_cast<std::uint32_t>(height));
    put16(bmp, 1);
    put16(bmp, bitsPerPixel);
    put32(bmp, compression);
    put32(bmp, 0);
    put32(bmp, 2835);
    put32(bmp, 2835);
    put32(bmp, 0);
    put32(bmp, 0);
    return bmp;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> files;
    if (std::filesystem::is_directory(folder))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file() && testsupport::readFile(entry.path()).rfind("BM", 0) == 0)
                files.push_back(entry.path());
    return files;
}

TEST(BmpReaderTest, DirectAndQtReadersGiveTheSamePixelsForTheFixturesAndTheFuzzCorpus) {
    std::vector<std::string> files = filesIn(std::string(PIXQUILL_TEST_DATA) + "/pictures");
    const std::vector<std::string> corpus = filesIn(std::string(PIXQUILL_FUZZ_CORPUS) + "/fuzz_picture_load");
    files.insert(files.end(), corpus.begin(), corpus.end());
    // Larger pictures (the benchmark corpus, say) can be added by folder.
    if (const char* extra = std::getenv("PIXQUILL_EXTRA_BMP_FOLDER")) {
        const std::vector<std::string> more = filesIn(extra);
        files.insert(files.end(), more.begin(), more.end());
    }
    ASSERT_GE(files.size(), 10u);
    for (const std::string& path : files)
        expectSamePixels(path);
}

// Every width up to 9 (every amount of row padding and of the last pixel's
// place in a four-byte read), both row orders, 24 and 32 bits, random bytes.
TEST(BmpReaderTest, DirectAndQtReadersGiveTheSamePixelsForEveryRowLayout) {
    TestFolder folder;
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    for (const std::uint32_t bits : {24u, 32u})
        for (std::int32_t width = 1; width <= 9; ++width)
            for (const std::int32_t height : {3, -3}) {
                const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
                const std::uint32_t size = 54 + rowBytes * 3;
                std::string bmp = bmpHeaders(54, size, width, height, bits, 0);
                while (bmp.size() < size)
                    bmp += static_cast<char>(random());
                const std::string path = folder / ("w" + std::to_string(width) + "h" + std::to_string(height) + "b" +
                                                   std::to_string(bits) + ".bmp");
                testsupport::writeFile(path, bmp);
                SCOPED_TRACE("seed " + std::to_string(seed));
                expectSamePixels(path);
            }
}

// Qt's reader starts the rows after the palette when the data offset points
// inside it, and leaves rows the file no longer holds as memory had them: such
// a file is refused as cut short.
TEST(BmpReaderTest, APaletteThatOverlapsTheRowsLeavesNoRowUnread) {
    TestFolder folder;
    constexpr std::uint32_t kPaletteEnd = 54 + 256 * 4;
    constexpr std::uint32_t kDataOffset = kPaletteEnd - 4;  // two rows of 4 bytes: only one fits after the palette
    std::string bmp = bmpHeaders(kDataOffset, kDataOffset + 8, 4, 2, 8, 0);
    for (int entry = 0; entry < 256; ++entry)
        put32(bmp, static_cast<std::uint32_t>(entry * 0x010101));
    bmp.resize(kDataOffset + 8, '\x07');
    const std::string path = folder / "overlap.bmp";
    testsupport::writeFile(path, bmp);
    testsupport::expectFailure(
        path, [&] { stego::platform::loadPicture(path); }, 481, "cut short");
}

// A run-length picture needs some bytes for its rows: a few bytes claiming
// the largest picture are refused before any pixel is made.
TEST(BmpReaderTest, RunLengthDataTooSmallForItsPictureIsRefused) {
    TestFolder folder;
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::size_t dataBytes;
        bool refused;
    };
    for (const Case& c : {Case{16384, 16384, 6, true}, Case{4096, 4096, 512, true}, Case{4096, 4096, 1100, false},
                          Case{4, 3, 2, false}}) {
        const std::uint32_t offset = 54 + 2 * 4;
        std::string bmp = bmpHeaders(offset, static_cast<std::uint32_t>(offset + c.dataBytes), c.width, c.height, 8, 1);
        bmp[46] = 2;  // colours in the palette
        put32(bmp, 0x000000);
        put32(bmp, 0xFFFFFF);
        bmp.append(c.dataBytes - 2, '\0');  // end-of-line codes, then the end of the picture
        bmp += std::string("\x00\x01", 2);
        const std::string path = folder / ("rle" + std::to_string(c.width) + ".bmp");
        testsupport::writeFile(path, bmp);
        if (c.refused)
            testsupport::expectFailure(
                path, [&] { stego::platform::loadPicture(path); }, 481, "too little run-length data");
        else
            EXPECT_EQ(stego::platform::loadPicture(path).width(), c.width);
    }
}

}  // namespace
