// PNG from a true-colour picture, in the layout every platform shares.
#include <cstdint>
#include <string_view>
#include <vector>

#include "PictureCodecs.h"
#include "platform/PngLayout.h"

namespace stego::platform::codecs {

void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const std::vector<unsigned char> rows = pngFilteredRows(width, height, [&](std::size_t y, unsigned char* out) {
        const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(y)));
        for (std::size_t x = 0; x < width; ++x) {
            out[3 * x] = static_cast<unsigned char>(source[x] >> 16);     // red
            out[3 * x + 1] = static_cast<unsigned char>(source[x] >> 8);  // green
            out[3 * x + 2] = static_cast<unsigned char>(source[x]);       // blue
        }
    });
    writePngLayout(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), rows, shownPath,
                   [&](std::string_view piece) { writer.writeAll(fd, piece, shownPath); });
}

}  // namespace stego::platform::codecs
