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

namespace {}  // namespace

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
        swapRedAndBlue(picture.constScanLine(static_cast<int>(y)), batch.data() + filled, width);
        filled += rowBytes;  // the padding bytes stay zero
        if (filled == batch.size() || y == 0) {
            writer.writeAll(fd, {reinterpret_cast<const char*>(batch.data()), filled}, shownPath);
            filled = 0;
        }
    }
}

}  // namespace stego::platform::codecs
