// BMP into a true-colour picture: the header checked strictly, 24- and 32-bit
// rows read directly, palettes, 16-bit and run-length through Qt's reader.
#include <QFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "PictureCodecs.h"
#include "platform/BmpHeader.h"
#include "platform/PictureRefusals.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

namespace {

// What the loader needs to know of a BMP before Qt reads it.
struct BmpLayout {
    std::uint32_t bitsPerPixel = 0;
    std::array<std::uint32_t, 3> channelMasks{};  // red, green, blue (16-bit pictures)
    bool runLength = false;
    int width = 0;
    int height = 0;
};

// The pixel data of an uncompressed BMP must all be there: Qt's reader would
// otherwise leave the missing rows as they happened to be in memory.
BmpLayout checkBmpHeader(int fd, std::int64_t fileSize, const std::string& path) {
    std::array<unsigned char, 66> header{};
    const ssize_t got = ::pread(fd, header.data(), header.size(), 0);
    if (got < 34)
        refuse(kInvalidPicture, path, "Invalid picture: the BMP header is cut short");
    auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(header[at]) | static_cast<std::uint32_t>(header[at + 1]) << 8 |
               static_cast<std::uint32_t>(header[at + 2]) << 16 | static_cast<std::uint32_t>(header[at + 3]) << 24;
    };
    auto le16 = [&](std::size_t at) { return static_cast<std::uint32_t>(header[at] | header[at + 1] << 8); };

    const std::uint32_t dataOffset = le32(10);
    const std::uint32_t infoSize = le32(14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t compression = 0;
    BmpLayout layout;
    if (infoSize == 12) {  // the oldest header: 16-bit sizes, never compressed
        width = le16(18);
        height = le16(20);
        layout.bitsPerPixel = le16(24);
    } else if (infoSize >= 40) {
        width = static_cast<std::int32_t>(le32(18));
        height = static_cast<std::int32_t>(le32(22));
        layout.bitsPerPixel = le16(28);
        compression = le32(30);
    } else {
        refuse(kInvalidPicture, path, "Invalid picture: unknown BMP header");
    }
    if (height < 0)
        height = -height;
    checkDimensions(width, height, path);
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    constexpr std::uint32_t kUncompressed = 0;
    constexpr std::uint32_t kBitFields = 3;
    constexpr std::uint32_t kRunLength8 = 1;
    constexpr std::uint32_t kRunLength4 = 2;
    if (layout.bitsPerPixel == 16) {
        layout.channelMasks = {0x7C00, 0x03E0, 0x001F};
        // The masks follow a 40-byte header, or sit at the same place inside a longer one.
        if (compression == kBitFields && got >= 66)
            layout.channelMasks = {le32(54), le32(58), le32(62)};
    }
    if (compression != kUncompressed && compression != kBitFields) {
        // Run-length data has no fixed length; any other coding Qt's reader refuses.
        layout.runLength = (compression == kRunLength8 && layout.bitsPerPixel == 8) ||
                           (compression == kRunLength4 && layout.bitsPerPixel == 4);
        return layout;
    }
    const std::int64_t rowBytes = ((width * layout.bitsPerPixel + 31) / 32) * 4;
    if (std::int64_t{dataOffset} + rowBytes * height > fileSize)
        refuse(kInvalidPicture, path, "Invalid picture: the BMP pixel data is cut short");
    return layout;
}

// Qt widens an n-bit channel by multiplying with 2^(8-n), so that a full
// 5-bit channel becomes 248 and white turns grey; a full channel must be 255.
void widenToFullRange(QImage& image, const std::array<std::uint32_t, 3>& masks) {
    std::array<std::array<std::uint8_t, 256>, 3> tables{};
    for (std::size_t channel = 0; channel < 3; ++channel) {
        const std::uint32_t mask = masks[channel];
        if (mask == 0)
            return;
        const std::uint32_t largest = mask >> std::countr_zero(mask);
        const std::uint32_t step = 256 / (largest + 1);
        for (std::uint32_t value = 0; value < 256; ++value) {
            const std::uint32_t level = std::min(value / std::max<std::uint32_t>(step, 1), largest);
            tables[channel][value] = widenChannel(level, largest);
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = row[x];
            row[x] = qRgb(tables[0][static_cast<std::size_t>(qRed(pixel))],
                          tables[1][static_cast<std::size_t>(qGreen(pixel))],
                          tables[2][static_cast<std::size_t>(qBlue(pixel))]);
        }
    }
}

// Run-length data may skip pixels (with its delta and end-of-line codes) or
// stop short, and Qt's reader leaves those pixels as they happened to be in
// memory. It decodes into a picture of the right size and format when given
// one, so it is given one whose every pixel is palette entry 0, the background.
QImage blankRunLengthPicture(const BmpLayout& layout, const std::string& path) {
    QImage image(layout.width, layout.height, QImage::Format_Indexed8);
    if (image.isNull())
        refuse(kOutOfMemory, path,
               "not enough memory for a picture of " + std::to_string(layout.width) + " x " +
                   std::to_string(layout.height) + " pixels");
    image.fill(0);
    return image;
}

}  // namespace

QImage loadBmp(int fd, std::int64_t fileSize, const std::string& path) {
    const BmpLayout layout = checkBmpHeader(fd, fileSize, path);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        refuseWithErrno(EIO, path);
    QImage image = readWithQt(file, "bmp", path, layout.runLength ? blankRunLengthPicture(layout, path) : QImage());
    if (layout.bitsPerPixel == 16)
        widenToFullRange(image, layout.channelMasks);
    return image;
}

}  // namespace stego::platform::codecs
