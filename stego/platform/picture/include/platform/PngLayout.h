// The PNG files the programs write (8-bit RGB, every row "up"-filtered, one
// zlib stream in IDAT chunks of at most 16 MiB): one layout for every
// platform's picture layer. Only the compressor and the CRC are the
// platform's own, in its PngCompressor source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stego::platform {

/// The most data one IDAT chunk carries; a longer stream goes on in the next.
inline constexpr std::size_t kPngLargestChunk = std::size_t{1} << 24;

/// The rows as they are compressed: each its filter byte ("up", cheap and good
/// on photographs) and then its red, green and blue bytes less the row
/// above's. rgbRow(y, out) puts row y's 3 * width bytes at out: a template, so
/// that reading the pixels costs no call for each.
template <class RgbRow>
std::vector<unsigned char> pngFilteredRows(std::size_t width, std::size_t height, RgbRow&& rgbRow) {
    constexpr unsigned char kUpFilter = 2;
    const std::size_t rowBytes = 1 + 3 * width;
    std::vector<unsigned char> rows(rowBytes * height);
    std::vector<unsigned char> above(3 * width, 0);
    std::vector<unsigned char> current(3 * width);
    for (std::size_t y = 0; y < height; ++y) {
        rgbRow(y, current.data());
        unsigned char* out = rows.data() + y * rowBytes;
        out[0] = kUpFilter;
        for (std::size_t i = 0; i < 3 * width; ++i)
            out[1 + i] = static_cast<unsigned char>(current[i] - above[i]);
        above.swap(current);
    }
    return rows;
}

/// Takes the file's bytes, piece after piece.
using PngSink = std::function<void(std::string_view)>;

/// The whole file to sink: signature, IHDR, the compressed rows (from
/// pngFilteredRows) in IDAT chunks, IEND. Throws stego::Failure naming
/// shownPath when there is not the memory to compress.
void writePngLayout(std::uint32_t width, std::uint32_t height, const std::vector<unsigned char>& filteredRows,
                    const std::string& shownPath, const PngSink& sink);

/// The same around a stream already compressed: the chunks alone.
void writePngChunks(std::uint32_t width, std::uint32_t height, std::span<const unsigned char> zlibStream,
                    const PngSink& sink);

// The platform's part.

/// data as one zlib stream at the compressor's fastest level; empty when
/// memory runs out.
std::vector<unsigned char> pngCompressed(std::span<const unsigned char> data);

/// The CRC-32 of data continued from crc (0 to begin); data is never empty.
std::uint32_t pngCrc32(std::uint32_t crc, std::span<const unsigned char> data);

}  // namespace stego::platform
