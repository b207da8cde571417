#include "platform/ImageCarrier.h"

#include <cstring>

#include "platform/PictureFile.h"

namespace stego::platform {

static_assert(sizeof(Rgb) == 3, "a row of the picture is a row of Rgb");

ImageCarrier::ImageCarrier(QImage& image) : m_image(image) {
    // Pictures made elsewhere (a test's, a dialog's) come in other formats.
    if (m_image.format() != kPictureFormat && !m_image.isNull())
        m_image.convertTo(kPictureFormat);
}

std::int32_t ImageCarrier::width() const { return m_image.width(); }

std::int32_t ImageCarrier::height() const { return m_image.height(); }

// Reads go through constScanLine so that they never detach a shared image.
Rgb ImageCarrier::readPixel(std::int32_t x, std::int32_t y) const {
    Rgb colour;
    std::memcpy(&colour, m_image.constScanLine(y) + 3 * static_cast<std::ptrdiff_t>(x), sizeof colour);
    return colour;
}

void ImageCarrier::writePixel(std::int32_t x, std::int32_t y, Rgb colour) {
    std::memcpy(m_image.scanLine(y) + 3 * static_cast<std::ptrdiff_t>(x), &colour, sizeof colour);
}

const Rgb* ImageCarrier::rowInMemory(std::int32_t y) const {
    return reinterpret_cast<const Rgb*>(m_image.constScanLine(y));
}

Rgb* ImageCarrier::writableRowInMemory(std::int32_t y) { return reinterpret_cast<Rgb*>(m_image.scanLine(y)); }

}  // namespace stego::platform
