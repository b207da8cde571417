// The carrier interface over a picture held in memory as a QImage.
#pragma once

#include <QImage>

#include "engine/Carrier.h"

namespace stego::platform {

/// Reads and writes the pixels of the image it is given, converted to the
/// picture layer's format first if it is in another; the image must stay alive
/// and in that format while the carrier is used.
class ImageCarrier : public Carrier {
public:
    explicit ImageCarrier(QImage& image);

    std::int32_t width() const override;
    std::int32_t height() const override;
    Rgb readPixel(std::int32_t x, std::int32_t y) const override;
    void writePixel(std::int32_t x, std::int32_t y, Rgb colour) override;
    const Rgb* rowInMemory(std::int32_t y) const override;
    Rgb* writableRowInMemory(std::int32_t y) override;

private:
    QImage& m_image;
};

}  // namespace stego::platform
