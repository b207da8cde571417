#include "platform/PngLayout.h"

#include <algorithm>
#include <array>

#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::platform {

namespace {

void putBe32(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

std::string_view asChars(std::span<const unsigned char> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// One chunk: length, type, data, and the CRC of type and data.
void writeChunk(std::string_view type, std::span<const unsigned char> data, const PngSink& sink) {
    std::array<unsigned char, 8> head{};
    putBe32(head.data(), static_cast<std::uint32_t>(data.size()));
    std::copy(type.begin(), type.end(), head.begin() + 4);
    std::uint32_t crc = pngCrc32(0, std::span(head).subspan(4));
    // Both compressors' CRC functions take no data as a request for the start value.
    if (!data.empty())
        crc = pngCrc32(crc, data);
    std::array<unsigned char, 4> tail{};
    putBe32(tail.data(), crc);
    sink(asChars(head));
    if (!data.empty())
        sink(asChars(data));
    sink(asChars(tail));
}

}  // namespace

void writePngChunks(std::uint32_t width, std::uint32_t height, std::span<const unsigned char> zlibStream,
                    const PngSink& sink) {
    static constexpr std::array<unsigned char, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    sink(asChars(kSignature));
    std::array<unsigned char, 13> header{};
    putBe32(&header[0], width);
    putBe32(&header[4], height);
    header[8] = 8;  // bits a channel
    header[9] = 2;  // red, green, blue; compression, filtering and interlace methods 0
    writeChunk("IHDR", header, sink);
    for (std::size_t at = 0; at < zlibStream.size(); at += kPngLargestChunk)
        writeChunk("IDAT", zlibStream.subspan(at, std::min(kPngLargestChunk, zlibStream.size() - at)), sink);
    writeChunk("IEND", {}, sink);
}

void writePngLayout(std::uint32_t width, std::uint32_t height, const std::vector<unsigned char>& filteredRows,
                    const std::string& shownPath, const PngSink& sink) {
    const std::vector<unsigned char> compressed = pngCompressed(filteredRows);
    if (compressed.empty())
        throw Failure(support::kOutOfMemory, "Cannot save picture " + shownPath + ": not enough memory to compress it");
    writePngChunks(width, height, compressed, sink);
}

}  // namespace stego::platform
