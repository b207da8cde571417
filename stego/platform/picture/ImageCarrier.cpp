#include "platform/ImageCarrier.h"

#include <cstring>

namespace stego::platform {

namespace {

Rgb toRgb(QRgb pixel) {
    return Rgb{static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
               static_cast<std::uint8_t>(qBlue(pixel))};
}

}  // namespace

ImageCarrier::ImageCarrier(QImage& image) : m_image(image) {}

std::int32_t ImageCarrier::width() const { return m_image.width(); }

std::int32_t ImageCarrier::height() const { return m_image.height(); }

// Reads go through constScanLine so that they never detach a shared image.
Rgb ImageCarrier::readPixel(std::int32_t x, std::int32_t y) const {
    return toRgb(reinterpret_cast<const QRgb*>(m_image.constScanLine(y))[x]);
}

void ImageCarrier::writePixel(std::int32_t x, std::int32_t y, Rgb colour) {
    reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = qRgb(colour.red, colour.green, colour.blue);
}

// The scan's inner loop: each pixel goes out as four bytes (red, green, blue
// and one the next pixel overwrites), the last on its own so that nothing is
// written past the row.
void ImageCarrier::readRow(std::int32_t y, std::int32_t x0, std::int32_t count, Rgb* out) const {
    static_assert(sizeof(Rgb) == 3);
    if (count <= 0)
        return;
    const QRgb* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(y)) + x0;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    const auto last = static_cast<std::size_t>(count - 1);
    for (std::size_t i = 0; i < last; ++i) {
        const std::uint32_t pixel = row[i];
        const std::uint32_t ordered = (pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16;
        std::memcpy(bytes + 3 * i, &ordered, 4);
    }
    out[last] = toRgb(row[last]);
}

// One scanLine call (and so one detach check) for the whole run.
void ImageCarrier::writeRow(std::int32_t y, std::int32_t x0, std::int32_t count, const Rgb* in) {
    QRgb* row = reinterpret_cast<QRgb*>(m_image.scanLine(y)) + x0;
    for (std::int32_t i = 0; i < count; ++i)
        row[i] = qRgb(in[i].red, in[i].green, in[i].blue);
}

}  // namespace stego::platform
