#include "platform/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <turbojpeg.h>
#include <unistd.h>
#include <vector>

#include "engine/Failure.h"
#include "engine/NumberFormat.h"
#include "platform/FileDescriptor.h"
#include "platform/PosixFileStore.h"
#include "platform/ReplacementFile.h"
#include "support/ErrorNumbers.h"
#include "support/FileErrors.h"

namespace stego::platform {

namespace {

using support::kInvalidPicture;

// A picture is held at 4 bytes a pixel and the engine counts pixels in 32-bit
// signed arithmetic; 2^28 pixels (1 GiB in memory) keeps well inside both.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

[[noreturn]] void refuse(int number, const std::string& path, const std::string& reason) {
    throw Failure(number, "Cannot open picture " + path + ": " + reason);
}

[[noreturn]] void refuseWithErrno(int errnoValue, const std::string& path) {
    const support::FileErrorInfo info = support::describeFileError(errnoValue);
    refuse(info.number, path, info.text);
}

void checkDimensions(std::int64_t width, std::int64_t height, const std::string& path) {
    if (width <= 0 || height <= 0)
        refuse(kInvalidPicture, path,
               "Invalid picture: its size is " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    if (width * height > kMaxPixels)
        refuse(kInvalidPicture, path,
               "the picture is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                   formatGrouped(kMaxPixels, ",") + " pixels this program can hold");
}

QImage allocateRgb32(int width, int height, const std::string& path) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        refuse(kOutOfMemory, path,
               "not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels");
    return image;
}

// Qt refuses pictures above its allocation limit (128 MB by default); the
// program's own limit is checked before, so Qt's may sit just above it.
void raiseQtAllocationLimit() {
    static const bool raised = [] {
        QImageReader::setAllocationLimit(static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 16);
        return true;
    }();
    (void)raised;
}

// image: where Qt's reader decodes to when it has the picture's size and format.
QImage readWithQt(QIODevice& device, const char* format, const std::string& path, QImage image = QImage()) {
    raiseQtAllocationLimit();
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid())
        checkDimensions(size.width(), size.height(), path);
    if (!reader.read(&image))
        refuse(kInvalidPicture, path, "Invalid picture: " + reader.errorString().toStdString());
    if (image.format() != QImage::Format_RGB32) {
        // convertTo works in place where the depth allows and otherwise drops
        // the old pixels as soon as the new ones are made.
        image.convertTo(QImage::Format_RGB32);
        if (image.isNull())
            refuse(kOutOfMemory, path, "not enough memory to convert the picture to true colour");
    }
    return image;
}

class TurboJpegHandle {
public:
    TurboJpegHandle() : m_handle(tjInitDecompress()) {}
    TurboJpegHandle(const TurboJpegHandle&) = delete;
    TurboJpegHandle& operator=(const TurboJpegHandle&) = delete;
    ~TurboJpegHandle() {
        if (m_handle != nullptr)
            tjDestroy(m_handle);
    }
    tjhandle get() const { return m_handle; }

private:
    tjhandle m_handle;
};

// libjpeg's own words for data that stops before the end of the picture:
// "Premature end of JPEG file", and "Corrupt JPEG data: premature end of data
// segment" when a marker (the end of the file, say) comes in the middle of it.
bool isCutShort(const char* message) {
    std::string words(message);
    std::transform(words.begin(), words.end(), words.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return words.find("premature end") != std::string::npos;
}

// Whether the picture's data is coded arithmetically, which can say much in
// very few bytes. Walks the segments before the first scan to its frame marker.
bool isArithmeticCoded(const std::vector<unsigned char>& data) {
    std::size_t at = 2;
    while (at + 4 <= data.size() && data[at] == 0xFF) {
        const unsigned char marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame)
            return marker >= 0xC9;
        if (marker == 0xDA)
            return false;
        at += 2 + (std::size_t{data[at + 2]} << 8 | data[at + 3]);
    }
    return false;
}

// Huffman codes are at least one bit long, and every 8 x 8 block of at least
// one colour component (one sixteenth of the picture at the coarsest sampling)
// needs one: fewer bytes cannot be the whole picture. Checked before the
// pixels are allocated, so that a few bytes claiming a vast picture cost nothing.
void checkJpegDataCanHoldPicture(const std::vector<unsigned char>& data, int width, int height,
                                 const std::string& path) {
    constexpr std::int64_t kPixelsPerLeastBit = 8 * 8 * 16;
    const std::int64_t leastBytes = std::int64_t{width} * height / kPixelsPerLeastBit / 8;
    if (!isArithmeticCoded(data) && static_cast<std::int64_t>(data.size()) < leastBytes)
        refuse(kInvalidPicture, path,
               "Invalid picture: its header claims " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels, but the file holds only " + formatGrouped(static_cast<std::int64_t>(data.size()), ",") +
                   " bytes, too few for such a picture; it may be cut short or damaged");
}

bool everyPixelWritten(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(row, row + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 0; }))
            return false;
    }
    return true;
}

QImage decodeJpeg(const std::vector<unsigned char>& data, const std::string& path) {
    TurboJpegHandle decoder;
    if (decoder.get() == nullptr)
        refuse(kOutOfMemory, path, "cannot start the JPEG decoder");

    const auto size = static_cast<unsigned long>(data.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    std::string refusal;
    if (tjDecompressHeader3(decoder.get(), data.data(), size, &width, &height, &subsampling, &colourspace) == 0) {
        // The decoder reads a file that stops before the frame header as tables only.
        if (width == 0 && height == 0)
            refuse(kInvalidPicture, path,
                   "Invalid picture: the JPEG data ends before its size; the file may be cut short");
        checkDimensions(width, height, path);
        checkJpegDataCanHoldPicture(data, width, height, path);
        QImage image = allocateRgb32(width, height, path);
        // Every pixel starts with a fourth byte of 0, which the decoder sets to 0xFF where it writes.
        std::memset(image.bits(), 0, static_cast<std::size_t>(image.sizeInBytes()));
        // BGRA in memory is QImage's RGB32 on a little-endian machine, with
        // the fourth byte set to 0xFF as RGB32 requires.
        if (tjDecompress2(decoder.get(), data.data(), size, image.bits(), width, static_cast<int>(image.bytesPerLine()),
                          height, TJPF_BGRA, 0) == 0)
            return image;
        const char* message = tjGetErrorStr2(decoder.get());
        if (tjGetErrorCode(decoder.get()) == TJERR_WARNING) {
            if (isCutShort(message))
                refuse(kInvalidPicture, path,
                       "Invalid picture: the JPEG data ends too soon; the file may be cut short");
            // Once the decoder has warned it calls even a fatal error a warning:
            // only a picture with every pixel written is whole.
            if (everyPixelWritten(image))
                return image;  // a recoverable flaw (stray bytes between markers, say)
        }
        refusal = message;
    } else {
        refusal = tjGetErrorStr2(decoder.get());
    }

    // What the fast decoder refuses (CMYK pictures, for one) Qt's reader may take.
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        return readWithQt(buffer, "jpeg", path);
    } catch (const Failure& failure) {
        if (failure.number() != kInvalidPicture)
            throw;
        refuse(kInvalidPicture, path, "Invalid picture: damaged or unsupported JPEG data (" + refusal + ")");
    }
}

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
            tables[channel][value] =
                static_cast<std::uint8_t>(largest == 0 ? 0 : (level * 255 + largest / 2) / largest);
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

// PNG (grey, palette, 8 and 16 bits) through Qt's reader; alpha is ignored, as BMP's is.
QImage loadPng(int fd, const std::string& path) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        refuseWithErrno(EIO, path);
    return readWithQt(file, "png", path);
}

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

std::vector<unsigned char> readWhole(int fd, std::int64_t sizeHint, const std::string& path) {
    std::vector<unsigned char> data;
    data.reserve(static_cast<std::size_t>(sizeHint));
    std::array<unsigned char, 1 << 16> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            refuseWithErrno(errno, path);
        }
        if (got == 0)
            return data;
        data.insert(data.end(), chunk.begin(), chunk.begin() + got);
    }
}

// --- writing ---------------------------------------------------------------

constexpr std::size_t kBmpHeaderSize = 14 + 40;

void putLe16(unsigned char* at, std::uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void putLe32(unsigned char* at, std::uint32_t value) {
    putLe16(at, value & 0xFFFF);
    putLe16(at + 2, value >> 16);
}

std::array<unsigned char, kBmpHeaderSize> bmpHeader(std::uint32_t width, std::uint32_t height,
                                                    std::uint32_t imageSize) {
    constexpr std::uint32_t kPixelsPerMetreAt72Dpi = 2835;
    std::array<unsigned char, kBmpHeaderSize> header{};
    header[0] = 'B';
    header[1] = 'M';
    putLe32(&header[2], static_cast<std::uint32_t>(kBmpHeaderSize) + imageSize);
    putLe32(&header[10], static_cast<std::uint32_t>(kBmpHeaderSize));
    putLe32(&header[14], 40);
    putLe32(&header[18], width);
    putLe32(&header[22], height);  // positive: rows stored bottom-up, as every reader expects
    putLe16(&header[26], 1);
    putLe16(&header[28], 24);
    putLe32(&header[30], 0);  // uncompressed
    putLe32(&header[34], imageSize);
    putLe32(&header[38], kPixelsPerMetreAt72Dpi);
    putLe32(&header[42], kPixelsPerMetreAt72Dpi);
    return header;
}

void writeBmp(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const std::size_t rowBytes = (width * 3 + 3) & ~std::size_t{3};
    const std::size_t imageSize = rowBytes * height;
    if (kBmpHeaderSize + imageSize > 0xFFFFFFFFu)
        throw Failure(kInvalidPicture, "Cannot save picture " + shownPath + ": it is too large for a BMP file");

    const auto header = bmpHeader(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                  static_cast<std::uint32_t>(imageSize));
    writer.writeAll(fd, {reinterpret_cast<const char*>(header.data()), header.size()}, shownPath);

    // Rows go out in batches of about a megabyte: few system calls, little memory.
    const std::size_t rowsPerBatch = std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes);
    std::vector<unsigned char> batch(rowsPerBatch * rowBytes, 0);
    std::size_t filled = 0;
    for (std::size_t y = height; y-- > 0;) {
        const QRgb* source = reinterpret_cast<const QRgb*>(picture.constScanLine(static_cast<int>(y)));
        unsigned char* out = batch.data() + filled;
        for (std::size_t x = 0; x < width; ++x) {
            const QRgb pixel = source[x];
            out[3 * x] = static_cast<unsigned char>(pixel);            // blue
            out[3 * x + 1] = static_cast<unsigned char>(pixel >> 8);   // green
            out[3 * x + 2] = static_cast<unsigned char>(pixel >> 16);  // red
        }
        filled += rowBytes;  // the padding bytes stay zero
        if (filled == batch.size() || y == 0) {
            writer.writeAll(fd, {reinterpret_cast<const char*>(batch.data()), filled}, shownPath);
            filled = 0;
        }
    }
}

// Qt's PNG writer into the open file; its bytes still pass through writer.
void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    QByteArray encoded;
    {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter png(&buffer, "png");
        if (!png.write(picture))
            throw Failure(kInvalidPicture, "Cannot save picture " + shownPath + ": " + png.errorString().toStdString());
    }
    writer.writeAll(fd, {encoded.constData(), static_cast<std::size_t>(encoded.size())}, shownPath);
}

bool endsWithIgnoringCase(const std::string& text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

QImage loadPicture(const std::string& path) {
    // Without O_NONBLOCK the open of a pipe would wait for a writer for ever.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        refuseWithErrno(errno, path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        refuseWithErrno(errno, path);
    if (S_ISDIR(info.st_mode))
        refuseWithErrno(EISDIR, path);
    // A device or pipe has no picture to give, and some (/dev/zero) never end.
    if (!S_ISREG(info.st_mode))
        refuse(support::kNotOrdinaryFile, path, "it is a device or a pipe, not a picture file");

    std::array<unsigned char, 8> signature{};
    const ssize_t got = ::pread(file.get(), signature.data(), signature.size(), 0);
    if (got < 0)
        refuseWithErrno(errno, path);
    if (got == 0)
        refuse(kInvalidPicture, path, "Invalid picture: the file is empty");
    if (got >= 2 && signature[0] == 0xFF && signature[1] == 0xD8)
        return decodeJpeg(readWhole(file.get(), info.st_size, path), path);
    if (got >= 2 && signature[0] == 'B' && signature[1] == 'M')
        return loadBmp(file.get(), info.st_size, path);
    static constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got == 8 && signature == kPngSignature)
        return loadPng(file.get(), path);
    refuse(kInvalidPicture, path, "Invalid picture: not a BMP, JPEG or PNG file");
}

PictureFileFormat saveFormatFor(const std::string& path) {
    if (endsWithIgnoringCase(path, ".jpg") || endsWithIgnoringCase(path, ".jpeg"))
        throw Failure(kInvalidPicture, "Cannot save picture " + path +
                                           ": JPEG compression changes pixels and would destroy the hidden bits. "
                                           "Save as BMP or PNG instead.");
    return endsWithIgnoringCase(path, ".png") ? PictureFileFormat::Png : PictureFileFormat::Bmp;
}

void savePicture(const QImage& picture, const std::string& path, FileWriter& writer) {
    savePictureAs(picture, path, saveFormatFor(path), writer);
}

void savePictureAsBmp(const QImage& picture, const std::string& path, FileWriter& writer) {
    savePictureAs(picture, path, PictureFileFormat::Bmp, writer);
}

void savePictureAs(const QImage& picture, const std::string& path, PictureFileFormat format, FileWriter& writer) {
    if (picture.isNull())
        throw Failure(kInvalidPicture, "Cannot save picture " + path + ": there is no picture");
    const QImage* rgb32 = &picture;
    QImage converted;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        converted = picture.convertToFormat(QImage::Format_RGB32);
        rgb32 = &converted;
    }

    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            throw fileFailure(EISDIR, "write", path);
        // The rename that puts the picture in place would replace a device or
        // a pipe itself (as root even /dev/full) instead of writing into it.
        if (!S_ISREG(existing.st_mode))
            throw Failure(support::kNotOrdinaryFile,
                          "Cannot save picture " + path + ": it is a device or a pipe, not an ordinary file");
    }
    // A new file made for the purpose, renamed into place only when complete.
    ReplacementFile file(path, ReplacementFile::NewFileMode::FollowUmask);
    if (format == PictureFileFormat::Png)
        writePng(*rgb32, file.fd(), path, writer);
    else
        writeBmp(*rgb32, file.fd(), path, writer);
    file.commit();
}

}  // namespace stego::platform
