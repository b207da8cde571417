// The PNG layout's compressor on Linux: libdeflate, much faster than zlib at
// the same level, which matters on camera-sized pictures.
#include <libdeflate.h>

#include <memory>

#include "platform/PngLayout.h"

namespace stego::platform {

namespace {

constexpr int kFastestLevel = 1;

struct CompressorDeleter {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

}  // namespace

std::vector<unsigned char> pngCompressed(std::span<const unsigned char> data) {
    const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(kFastestLevel));
    if (!compressor)
        return {};
    std::vector<unsigned char> compressed(libdeflate_zlib_compress_bound(compressor.get(), data.size()));
    // Shrinking keeps the buffer: no copy. A size of 0 means it did not fit, which the bound rules out.
    compressed.resize(
        libdeflate_zlib_compress(compressor.get(), data.data(), data.size(), compressed.data(), compressed.size()));
    return compressed;
}

std::uint32_t pngCrc32(std::uint32_t crc, std::span<const unsigned char> data) {
    return libdeflate_crc32(crc, data.data(), data.size());
}

}  // namespace stego::platform
