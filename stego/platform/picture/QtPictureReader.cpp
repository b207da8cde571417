// Qt's picture reader for what the program's own decoders leave to it, always
// ending in a true-colour picture.
#include <QImageReader>

#include <sys/mman.h>

#include <utility>

#include "PictureCodecs.h"
#include "platform/PictureRefusals.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

namespace {

// Qt refuses pictures above its allocation limit (128 MB by default); the
// program's own limit is checked before, so Qt's may sit just above it.
void raiseQtAllocationLimit() {
    static const bool raised = [] {
        QImageReader::setAllocationLimit(static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 16);
        return true;
    }();
    (void)raised;
}

void unmapPixels(void* info) {
    const auto* mapping = static_cast<const std::pair<void*, std::size_t>*>(info);
    ::munmap(mapping->first, mapping->second);
    delete mapping;
}

}  // namespace

// Large pictures get memory of their own in huge pages where the system
// offers them: the kernel then clears and maps the pixels in 2 MB steps
// instead of 4 KB ones, which for a 100-megapixel picture is most of the
// time its opening takes.
QImage allocatePicture(int width, int height, const std::string& path, QImage::Format format) {
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    const int bitsPerPixel = QImage::toPixelFormat(format).bitsPerPixel();
    // Rows padded to 4 bytes, as QImage requires of memory it is given.
    const auto rowBytes = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
    const std::size_t bytes = rowBytes * static_cast<std::size_t>(height);
    QImage image;
    if (bytes >= 8 * kHugePage) {
        const std::size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* pixels = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pixels != MAP_FAILED) {
            ::madvise(pixels, mapped, MADV_HUGEPAGE);
            image = QImage(static_cast<uchar*>(pixels), width, height, static_cast<qsizetype>(rowBytes), format,
                           unmapPixels, new std::pair<void*, std::size_t>(pixels, mapped));
        }
    } else {
        image = QImage(width, height, format);
    }
    if (image.isNull())
        refuse(kOutOfMemory, path,
               "not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels");
    return image;
}

// image: where Qt's reader decodes to when it has the picture's size and format.
QImage readWithQt(QIODevice& device, const char* format, const std::string& path, QImage image) {
    raiseQtAllocationLimit();
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid())
        checkDimensions(size.width(), size.height(), path);
    if (!reader.read(&image))
        refuse(kInvalidPicture, path, "Invalid picture: " + reader.errorString().toStdString());
    if (image.format() != kPictureFormat) {
        // convertTo works in place where the depth allows and otherwise drops
        // the old pixels as soon as the new ones are made.
        image.convertTo(kPictureFormat);
        if (image.isNull())
            refuse(kOutOfMemory, path, "not enough memory to convert the picture to true colour");
    }
    return image;
}

}  // namespace stego::platform::codecs
