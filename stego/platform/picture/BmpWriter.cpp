// The 24-bit BMP the programs write, from a true-colour picture.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "PictureCodecs.h"
#include "engine/Failure.h"
#include "platform/BmpHeader.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

namespace {

// Format_RGB32 to blue, green, red: each pixel stored as four bytes whose
// fourth the next pixel overwrites; the last on its own, so that the row's
// padding stays zero.
void narrowRow(const QRgb* from, unsigned char* to, std::size_t width) {
    for (std::size_t x = 0; x + 1 < width; ++x)
        std::memcpy(to + 3 * x, &from[x], 4);
    const QRgb last = from[width - 1];
    unsigned char* out = to + 3 * (width - 1);
    out[0] = static_cast<unsigned char>(last);        // blue
    out[1] = static_cast<unsigned char>(last >> 8);   // green
    out[2] = static_cast<unsigned char>(last >> 16);  // red
}

}  // namespace

void writeBmp(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const std::size_t rowBytes = bmpRowBytes(width);
    const std::size_t imageSize = rowBytes * height;
    if (kBmpHeaderSize + imageSize > 0xFFFFFFFFu)
        throw Failure(support::kInvalidPicture,
                      "Cannot save picture " + shownPath + ": it is too large for a BMP file");

    const auto header = bmpHeader(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                  static_cast<std::uint32_t>(imageSize));
    writer.writeAll(fd, {reinterpret_cast<const char*>(header.data()), header.size()}, shownPath);

    // Rows go out in batches of about a megabyte: few system calls, little memory.
    const std::size_t rowsPerBatch = std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes);
    std::vector<unsigned char> batch(rowsPerBatch * rowBytes, 0);
    std::size_t filled = 0;
    for (std::size_t y = height; y-- > 0;) {
        const QRgb* source = reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(y)));
        narrowRow(source, batch.data() + filled, width);
        filled += rowBytes;  // the padding bytes stay zero
        if (filled == batch.size() || y == 0) {
            writer.writeAll(fd, {reinterpret_cast<const char*>(batch.data()), filled}, shownPath);
            filled = 0;
        }
    }
}

}  // namespace stego::platform::codecs
