// PNG from a true-colour picture: 8-bit RGB rows, each with the "up" filter
// (the difference to the row above, cheap and good on photographs),
// compressed by libdeflate at its fastest level into one standard stream.
#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "PictureCodecs.h"
#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

namespace {

constexpr int kFastestLevel = 1;
constexpr unsigned char kUpFilter = 2;
constexpr std::size_t kLargestChunk = std::size_t{1} << 24;  // the data of one IDAT chunk

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

void putBe32(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

// One chunk: length, type, data, and the CRC of type and data.
void writeChunk(std::string_view type, const unsigned char* data, std::size_t size, int fd,
                const std::string& shownPath, FileWriter& writer) {
    std::array<unsigned char, 8> head{};
    putBe32(head.data(), static_cast<std::uint32_t>(size));
    std::copy(type.begin(), type.end(), head.begin() + 4);
    std::uint32_t crc = libdeflate_crc32(0, head.data() + 4, 4);
    if (size > 0)  // libdeflate takes no data as a fresh start
        crc = libdeflate_crc32(crc, data, size);
    std::array<unsigned char, 4> tail{};
    putBe32(tail.data(), crc);
    writer.writeAll(fd, {reinterpret_cast<const char*>(head.data()), head.size()}, shownPath);
    if (size > 0)
        writer.writeAll(fd, {reinterpret_cast<const char*>(data), size}, shownPath);
    writer.writeAll(fd, {reinterpret_cast<const char*>(tail.data()), tail.size()}, shownPath);
}

// Every row as its filter byte, then red, green and blue less the row above's.
std::vector<unsigned char> filteredRows(const QImage& picture) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const std::size_t rowBytes = 1 + 3 * width;
    std::vector<unsigned char> rows(rowBytes * height);
    const std::vector<unsigned char> blank(3 * width, 0);
    for (std::size_t y = 0; y < height; ++y) {
        // The picture's rows are already red, green, blue, as PNG stores them.
        const unsigned char* current = picture.constScanLine(static_cast<int>(y));
        const unsigned char* above = y == 0 ? blank.data() : picture.constScanLine(static_cast<int>(y - 1));
        unsigned char* out = rows.data() + y * rowBytes;
        out[0] = kUpFilter;
        for (std::size_t i = 0; i < 3 * width; ++i)
            out[1 + i] = static_cast<unsigned char>(current[i] - above[i]);
    }
    return rows;
}

}  // namespace

void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    const auto noMemory = [&] {
        throw Failure(support::kOutOfMemory, "Cannot save picture " + shownPath + ": not enough memory to compress it");
    };
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(kFastestLevel));
    if (!compressor)
        noMemory();
    const std::vector<unsigned char> rows = filteredRows(picture);
    std::vector<unsigned char> compressed(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    const std::size_t size =
        libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), compressed.data(), compressed.size());
    if (size == 0)
        noMemory();

    static constexpr std::array<unsigned char, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    writer.writeAll(fd, {reinterpret_cast<const char*>(kSignature.data()), kSignature.size()}, shownPath);
    std::array<unsigned char, 13> header{};
    putBe32(&header[0], static_cast<std::uint32_t>(picture.width()));
    putBe32(&header[4], static_cast<std::uint32_t>(picture.height()));
    header[8] = 8;  // bits a channel
    header[9] = 2;  // red, green, blue; compression, filtering and interlace methods 0
    writeChunk("IHDR", header.data(), header.size(), fd, shownPath, writer);
    for (std::size_t at = 0; at < size; at += kLargestChunk)
        writeChunk("IDAT", compressed.data() + at, std::min(kLargestChunk, size - at), fd, shownPath, writer);
    writeChunk("IEND", nullptr, 0, fd, shownPath, writer);
}

}  // namespace stego::platform::codecs
