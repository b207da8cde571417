// The PNG layout every platform writes: its chunks, each CRC checked by a
// computation of this test's own, and saved pictures that open again through
// the platform's own decoder with every pixel the same. Built for Linux and
// for Windows, whose compressors differ.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "TestFolder.h"
#include "platform/Picture.h"
#include "platform/PngLayout.h"

namespace {

using stego::Rgb;
using stego::platform::kPngLargestChunk;
using testsupport::TestFolder;

std::uint32_t be32(std::string_view bytes, std::size_t at) {
    return std::uint32_t{static_cast<unsigned char>(bytes[at])} << 24 |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << 16 |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 2])} << 8 |
           std::uint32_t{static_cast<unsigned char>(bytes[at + 3])};
}

// CRC-32 (reflected, polynomial 0xEDB88320), independent of either compressor.
std::uint32_t referenceCrc(std::string_view bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

struct Chunk {
    std::string type;
    std::string data;
};

// The chunks after the signature, each with its CRC checked.
std::vector<Chunk> chunksOf(const std::string& file) {
    std::vector<Chunk> chunks;
    EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t size = be32(file, at);
        const std::string_view typeAndData = std::string_view(file).substr(at + 4, 4 + size);
        EXPECT_EQ(be32(file, at + 8 + size), referenceCrc(typeAndData)) << "chunk at " << at;
        chunks.push_back({std::string(typeAndData.substr(0, 4)), std::string(typeAndData.substr(4))});
        at += 12 + size;
    }
    return chunks;
}

TEST(PngLayoutTest, ChunksCarryTheHeaderAndSplitTheStreamAtTheLargestChunk) {
    constexpr std::size_t k = kPngLargestChunk;
    const struct {
        std::size_t streamSize;
        std::vector<std::size_t> dataChunks;
    } cases[] = {{1, {1}}, {k - 1, {k - 1}}, {k, {k}}, {k + 1, {k, 1}}, {2 * k + 5, {k, k, 5}}};
    for (const auto& c : cases) {
        std::vector<unsigned char> stream(c.streamSize);
        for (std::size_t i = 0; i < stream.size(); ++i)
            stream[i] = static_cast<unsigned char>(i * 31 + i / 251);
        std::string file;
        stego::platform::writePngChunks(301, 7, stream, [&](std::string_view piece) { file += piece; });

        const std::vector<Chunk> chunks = chunksOf(file);
        ASSERT_EQ(chunks.size(), c.dataChunks.size() + 2) << c.streamSize;
        EXPECT_EQ(chunks.front().type, "IHDR");
        // 301 x 7 pixels, 8 bits a channel, red-green-blue, methods 0, not interlaced.
        EXPECT_EQ(chunks.front().data, std::string("\0\0\x01\x2D\0\0\0\x07\x08\x02\0\0\0", 13));
        std::string joined;
        for (std::size_t i = 0; i < c.dataChunks.size(); ++i) {
            EXPECT_EQ(chunks[i + 1].type, "IDAT");
            EXPECT_EQ(chunks[i + 1].data.size(), c.dataChunks[i]) << c.streamSize << " chunk " << i;
            joined += chunks[i + 1].data;
        }
        EXPECT_TRUE(joined == std::string(stream.begin(), stream.end())) << c.streamSize;
        EXPECT_EQ(chunks.back().type, "IEND");
        EXPECT_EQ(chunks.back().data, "");
    }
}

stego::platform::Picture noisePicture(std::int32_t width, std::int32_t height, unsigned seed) {
#ifdef _WIN32
    stego::platform::Picture picture(width, height);
#else
    stego::platform::Picture picture(width, height, stego::platform::kPictureFormat);
#endif
    stego::platform::PictureCarrier carrier(picture);
    std::mt19937 random(seed);
    std::vector<Rgb> row(static_cast<std::size_t>(width));
    for (std::int32_t y = 0; y < height; ++y) {
        for (Rgb& pixel : row)
            pixel = Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                        static_cast<std::uint8_t>(random())};
        carrier.writeRow(y, 0, width, row.data());
    }
    return picture;
}

std::vector<Rgb> pixelsOf(stego::platform::Picture& picture) {
    const stego::platform::PictureCarrier carrier(picture);
    std::vector<Rgb> pixels(static_cast<std::size_t>(carrier.width()) * static_cast<std::size_t>(carrier.height()));
    for (std::int32_t y = 0; y < carrier.height(); ++y)
        carrier.readRow(y, 0, carrier.width(),
                        pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(carrier.width()));
    return pixels;
}

// Narrow, odd and single-row pictures try the filter's edges; the largest
// compresses (noise barely does) to more than one data chunk.
TEST(PngLayoutTest, SavedPngsOpenWithEveryPixelTheSame) {
    TestFolder folder;
    const struct {
        std::int32_t width, height;
    } cases[] = {{1, 1}, {1, 9}, {2, 5}, {3, 3}, {7, 2}, {9, 1}, {37, 29}, {2400, 2400}};
    for (const auto& c : cases) {
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height);
        stego::platform::Picture original = noisePicture(c.width, c.height, static_cast<unsigned>(c.width + c.height));
        const std::string path = folder / (name + ".png");
        stego::platform::savePicture(original, path);
        std::size_t dataChunks = 0;
        for (const Chunk& chunk : chunksOf(testsupport::readFile(path)))
            dataChunks += chunk.type == "IDAT" ? 1 : 0;
        EXPECT_EQ(dataChunks > 1, c.width == 2400) << name << ": " << dataChunks << " data chunks";

        stego::platform::Picture reopened = stego::platform::loadPicture(path);
        ASSERT_EQ(reopened.width(), c.width) << name;
        ASSERT_EQ(reopened.height(), c.height) << name;
        EXPECT_TRUE(pixelsOf(reopened) == pixelsOf(original)) << name;
    }
}

}  // namespace
