// JPEG through libjpeg-turbo, with Qt's reader for what it refuses; a picture
// whose data stops short or cannot hold its claimed size is refused.
#include <QBuffer>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <turbojpeg.h>

#include "PictureCodecs.h"
#include "engine/NumberFormat.h"
#include "platform/PictureRefusals.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

namespace {

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
// needs one: fewer bytes cannot be the whole picture. Arithmetic coding says a
// uniform picture of 100 megapixels in about a hundred bytes, so its bound is
// far looser, yet still keeps a few bytes from claiming the largest picture.
// Checked before the pixels are allocated.
void checkJpegDataCanHoldPicture(const std::vector<unsigned char>& data, int width, int height,
                                 const std::string& path) {
    constexpr std::int64_t kHuffmanPixelsPerByte = 8 * 8 * 16 * 8;
    constexpr std::int64_t kArithmeticPixelsPerByte = std::int64_t{1} << 20;
    const std::int64_t pixelsPerByte = isArithmeticCoded(data) ? kArithmeticPixelsPerByte : kHuffmanPixelsPerByte;
    const std::int64_t leastBytes = std::int64_t{width} * height / pixelsPerByte;
    if (static_cast<std::int64_t>(data.size()) < leastBytes)
        refuse(kInvalidPicture, path,
               "Invalid picture: its header claims " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels, but the file holds only " + formatGrouped(static_cast<std::int64_t>(data.size()), ",") +
                   " bytes, too few for such a picture; it may be cut short or damaged");
}

// Decodes again into 32-bit pixels whose fourth byte starts at 0 and which
// the decoder sets to 0xFF where it writes: the picture only if it wrote every
// pixel. For the rare file the decoder warned about, so the extra memory is
// spent only then.
std::optional<QImage> decodeIfWhole(tjhandle decoder, const std::vector<unsigned char>& data, int width, int height,
                                    const std::string& path) {
    QImage marked = allocatePicture(width, height, path, QImage::Format_RGB32);
    std::memset(marked.bits(), 0, static_cast<std::size_t>(marked.sizeInBytes()));
    // BGRA in memory is QImage's RGB32 on a little-endian machine.
    tjDecompress2(decoder, data.data(), static_cast<unsigned long>(data.size()), marked.bits(), width,
                  static_cast<int>(marked.bytesPerLine()), height, TJPF_BGRA, 0);
    for (int y = 0; y < marked.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(marked.constScanLine(y));
        if (std::any_of(row, row + marked.width(), [](QRgb pixel) { return qAlpha(pixel) == 0; }))
            return std::nullopt;
    }
    marked.convertTo(kPictureFormat);
    if (marked.isNull())
        refuse(kOutOfMemory, path, "not enough memory to convert the picture to true colour");
    return marked;
}

}  // namespace

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
        QImage image = allocatePicture(width, height, path);
        if (tjDecompress2(decoder.get(), data.data(), size, image.bits(), width, static_cast<int>(image.bytesPerLine()),
                          height, TJPF_RGB, 0) == 0)
            return image;
        refusal = tjGetErrorStr2(decoder.get());
        if (tjGetErrorCode(decoder.get()) == TJERR_WARNING) {
            if (isCutShort(refusal.c_str()))
                refuse(kInvalidPicture, path,
                       "Invalid picture: the JPEG data ends too soon; the file may be cut short");
            image = QImage();  // its memory goes to the second decoding
            // Once the decoder has warned it calls even a fatal error a warning:
            // only a picture with every pixel written is whole.
            if (std::optional<QImage> whole = decodeIfWhole(decoder.get(), data, width, height, path))
                return *std::move(whole);  // a recoverable flaw (stray bytes between markers, say)
        }
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

}  // namespace stego::platform::codecs
