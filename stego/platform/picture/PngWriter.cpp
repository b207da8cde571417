// PNG from a true-colour picture, in the layout every platform shares.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "PictureCodecs.h"
#include "platform/PngLayout.h"

namespace stego::platform::codecs {

void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    // The picture's rows are already red, green, blue, as PNG stores them.
    const std::vector<unsigned char> rows = pngFilteredRows(width, height, [&](std::size_t y, unsigned char* out) {
        std::memcpy(out, picture.constScanLine(static_cast<int>(y)), 3 * width);
    });
    writePngLayout(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), rows, shownPath,
                   [&](std::string_view piece) { writer.writeAll(fd, piece, shownPath); });
}

}  // namespace stego::platform::codecs
