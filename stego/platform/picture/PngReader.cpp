// PNG (grey, palette, 8 and 16 bits) through Qt's reader; alpha is ignored, as BMP's is.
#include <QFile>
#include <QImageReader>

#include <cerrno>

#include "PictureCodecs.h"
#include "platform/PictureRefusals.h"

namespace stego::platform::codecs {

QImage loadPng(int fd, std::int64_t /*fileSize*/, const std::string& path) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        refuseWithErrno(EIO, path);
    return readWithQt(file, "png", path);
}

QImage loadWithQtPlugin(int fd, const char* format, const std::string& path) {
    if (!QImageReader::supportedImageFormats().contains(format))
        refuse(kInvalidPicture, path,
               std::string("Invalid picture: reading ") + format +
                   " pictures needs Qt's image format plugins (Debian: qt6-image-formats-plugins)");
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        refuseWithErrno(EIO, path);
    return readWithQt(file, format, path);
}

}  // namespace stego::platform::codecs
