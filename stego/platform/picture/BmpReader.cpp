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

// What the loader needs to know of a BMP before it reads the pixels.
struct BmpLayout {
    std::uint32_t bitsPerPixel = 0;
    std::array<std::uint32_t, 3> channelMasks{};  // red, green, blue (16-bit pictures)
    bool runLength = false;
    bool topDown = false;
    bool direct = false;  // 24 or 32 bits of blue, green, red, read without Qt
    int width = 0;
    int height = 0;
    std::int64_t dataStart = 0;  // where the rows begin
    std::int64_t rowBytes = 0;   // stored, with the padding to 4 bytes
};

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;

// A run-length delta code (4 bytes) skips at most 255 columns and 255 rows: a
// picture claiming more pixels a byte than that is no honest run-length file,
// and would cost the time and memory of a vast picture for a few bytes.
constexpr std::int64_t kRunLengthPixelsPerByte = 255 * 255 / 4;

// The pixel data of an uncompressed BMP must all be there: Qt's reader would
// otherwise leave the missing rows as they happened to be in memory. The rows
// start at the data offset, or after the header, masks and palette when the
// offset points inside them (where Qt's reader starts too).
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
    std::uint32_t planes = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    BmpLayout layout;
    if (infoSize == kCoreHeaderSize) {  // the oldest header: 16-bit sizes, never compressed
        width = le16(18);
        height = le16(20);
        planes = le16(22);
        layout.bitsPerPixel = le16(24);
    } else if (infoSize >= kInfoHeaderSize) {
        width = static_cast<std::int32_t>(le32(18));
        height = static_cast<std::int32_t>(le32(22));
        planes = le16(26);
        layout.bitsPerPixel = le16(28);
        compression = le32(30);
        coloursUsed = got >= 50 ? le32(46) : 0;
    } else {
        refuse(kInvalidPicture, path, "Invalid picture: unknown BMP header");
    }
    layout.topDown = height < 0;
    if (height < 0)
        height = -height;
    checkDimensions(width, height, path);
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    if (layout.bitsPerPixel == 16) {
        layout.channelMasks = {0x7C00, 0x03E0, 0x001F};
        // The masks follow a 40-byte header, or sit at the same place inside a longer one.
        if (compression == kBitFields && got >= 66)
            layout.channelMasks = {le32(54), le32(58), le32(62)};
    }

    std::int64_t headerEnd = std::int64_t{14} + infoSize;
    const bool wideMasks = layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32;
    if (compression == kBitFields && wideMasks && infoSize < kV4HeaderSize)
        headerEnd += 3 * 4;
    if (layout.bitsPerPixel <= 8) {
        const std::int64_t colours = coloursUsed != 0 ? coloursUsed : std::int64_t{1} << layout.bitsPerPixel;
        headerEnd += colours * (infoSize == kCoreHeaderSize ? 3 : 4);
    }
    layout.dataStart = std::max<std::int64_t>(dataOffset, headerEnd);

    if (compression != kUncompressed && compression != kBitFields) {
        // Run-length data has no fixed length; any other coding Qt's reader refuses.
        layout.runLength = (compression == kRunLength8 && layout.bitsPerPixel == 8) ||
                           (compression == kRunLength4 && layout.bitsPerPixel == 4);
        if (layout.runLength &&
            std::max<std::int64_t>(fileSize - layout.dataStart, 0) * kRunLengthPixelsPerByte < width * height)
            refuse(kInvalidPicture, path,
                   "Invalid picture: its header claims " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels, but the file holds too little run-length data for such a picture; it may be "
                       "cut short or damaged");
        return layout;
    }
    layout.rowBytes = ((width * layout.bitsPerPixel + 31) / 32) * 4;
    if (layout.dataStart + layout.rowBytes * height > fileSize)
        refuse(kInvalidPicture, path, "Invalid picture: the BMP pixel data is cut short");

    // 32-bit pictures with a longer header may say their fourth byte is alpha,
    // which Qt's reader honours: those, like every other kind, stay with it.
    const bool knownHeader = infoSize == kInfoHeaderSize || infoSize == kV4HeaderSize || infoSize == kV5HeaderSize;
    layout.direct = compression == kUncompressed && planes == 1 && knownHeader &&
                    (layout.bitsPerPixel == 24 || (layout.bitsPerPixel == 32 && infoSize == kInfoHeaderSize));
    return layout;
}

void readFully(int fd, unsigned char* into, std::size_t size, std::int64_t offset, const std::string& path) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, into, size, offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            refuseWithErrno(errno, path);
        }
        if (got == 0)
            refuse(kInvalidPicture, path, "Invalid picture: the BMP pixel data is cut short");
        into += got;
        size -= static_cast<std::size_t>(got);
        offset += got;
    }
}

// Blue, green, red and an unused fourth byte to red, green, blue.
void narrowRow(const unsigned char* from, unsigned char* to, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) {
        to[3 * x] = from[4 * x + 2];
        to[3 * x + 1] = from[4 * x + 1];
        to[3 * x + 2] = from[4 * x];
    }
}

// The rows in large reads through a buffer small enough to stay in the
// processor's cache, each reordered into its place in the picture.
QImage readDirect(int fd, const BmpLayout& layout, const std::string& path) {
    QImage image = allocatePicture(layout.width, layout.height, path);
    const auto rowBytes = static_cast<std::size_t>(layout.rowBytes);
    const std::size_t rowsPerRead = std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes);
    std::vector<unsigned char> buffer(rowsPerRead * rowBytes);
    const auto reorder = layout.bitsPerPixel == 32 ? narrowRow : swapRedAndBlue;
    const auto width = static_cast<std::size_t>(layout.width);
    const auto height = static_cast<std::size_t>(layout.height);
    for (std::size_t first = 0; first < height; first += rowsPerRead) {
        const std::size_t rows = std::min(rowsPerRead, height - first);
        readFully(fd, buffer.data(), rows * rowBytes, layout.dataStart + static_cast<std::int64_t>(first * rowBytes),
                  path);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::size_t stored = first + r;
            const auto y = static_cast<int>(layout.topDown ? stored : height - 1 - stored);
            reorder(buffer.data() + r * rowBytes, image.scanLine(y), width);
        }
    }
    return image;
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
    const auto width = static_cast<std::size_t>(image.width());
    for (int y = 0; y < image.height(); ++y) {
        unsigned char* row = image.scanLine(y);
        for (std::size_t i = 0; i < 3 * width; ++i)
            row[i] = tables[i % 3][row[i]];
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

QImage readBmpWithQt(int fd, const BmpLayout& layout, const std::string& path) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        refuseWithErrno(EIO, path);
    QImage image = readWithQt(file, "bmp", path, layout.runLength ? blankRunLengthPicture(layout, path) : QImage());
    if (layout.bitsPerPixel == 16)
        widenToFullRange(image, layout.channelMasks);
    return image;
}

}  // namespace

QImage loadBmp(int fd, std::int64_t fileSize, const std::string& path) {
    const BmpLayout layout = checkBmpHeader(fd, fileSize, path);
    if (layout.direct)
        return readDirect(fd, layout, path);
    return readBmpWithQt(fd, layout, path);
}

QImage loadBmpWithQt(int fd, std::int64_t fileSize, const std::string& path) {
    return readBmpWithQt(fd, checkBmpHeader(fd, fileSize, path), path);
}

}  // namespace stego::platform::codecs
