// PNG from a true-colour picture through Qt's writer.
#include <QBuffer>
#include <QImageWriter>

#include "PictureCodecs.h"
#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::platform::codecs {

// Qt's PNG writer into the open file; its bytes still pass through writer.
void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer) {
    QByteArray encoded;
    {
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter png(&buffer, "png");
        if (!png.write(picture))
            throw Failure(support::kInvalidPicture,
                          "Cannot save picture " + shownPath + ": " + png.errorString().toStdString());
    }
    writer.writeAll(fd, {encoded.constData(), static_cast<std::size_t>(encoded.size())}, shownPath);
}

}  // namespace stego::platform::codecs
