// The PNG layout's compressor on Windows: zlib (Debian's mingw-w64 build),
// where libdeflate has none. Its streams differ from the Linux program's, its
// pixels do not.
#define ZLIB_CONST  // input that zlib only reads is const
#include <zlib.h>

#include <algorithm>
#include <climits>

#include "platform/PngLayout.h"

namespace stego::platform {

std::vector<unsigned char> pngCompressed(std::span<const unsigned char> data) {
    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK)
        return {};
    // zlib counts in 32-bit unsigned long here: feed and drain it in pieces.
    constexpr std::size_t kPiece = UINT_MAX;
    std::vector<unsigned char> compressed(std::min(kPiece, data.size() / 2 + 64));
    std::size_t consumed = 0;
    std::size_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        if (produced == compressed.size())
            compressed.resize(compressed.size() + std::min(kPiece, compressed.size()));
        const std::size_t input = std::min(kPiece, data.size() - consumed);
        const std::size_t room = std::min(kPiece, compressed.size() - produced);
        stream.next_in = data.data() + consumed;
        stream.avail_in = static_cast<uInt>(input);
        stream.next_out = compressed.data() + produced;
        stream.avail_out = static_cast<uInt>(room);
        result = deflate(&stream, consumed + input == data.size() ? Z_FINISH : Z_NO_FLUSH);
        consumed += input - stream.avail_in;
        produced += room - stream.avail_out;
    }
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return {};
    compressed.resize(produced);
    return compressed;
}

std::uint32_t pngCrc32(std::uint32_t crc, std::span<const unsigned char> data) {
    return static_cast<std::uint32_t>(crc32_z(crc, data.data(), data.size()));
}

}  // namespace stego::platform
