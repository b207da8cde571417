// The picture a command works on, on Windows: the pixels in memory, read
// through the system's image decoders (WIC) and written by the project's own
// layouts: a BMP byte for byte what the Linux program writes, a PNG of the
// same pixels (only the compressor differs).
#pragma once

#include <string>

#include "engine/MemoryCarrier.h"
#include "platform/SaveFormat.h"

namespace stego::platform {

using Picture = MemoryCarrier;

/// The carrier over a picture; the picture must outlive it.
class PictureCarrier : public Carrier {
public:
    explicit PictureCarrier(Picture& picture) : m_picture(picture) {}
    std::int32_t width() const override { return m_picture.width(); }
    std::int32_t height() const override { return m_picture.height(); }
    Rgb readPixel(std::int32_t x, std::int32_t y) const override { return m_picture.readPixel(x, y); }
    void writePixel(std::int32_t x, std::int32_t y, Rgb colour) override { m_picture.writePixel(x, y, colour); }
    const Rgb* rowInMemory(std::int32_t y) const override { return m_picture.rowInMemory(y); }
    Rgb* writableRowInMemory(std::int32_t y) override { return m_picture.writableRowInMemory(y); }

private:
    Picture& m_picture;
};

/// Loads a BMP, JPEG or PNG file (a UTF-8 path). Throws stego::Failure whose
/// message names the file and the reason.
Picture loadPicture(const std::string& path);
/// Writes the picture in format (24-bit BMP, or PNG) whatever the name's
/// extension, beside its destination first and moved into place only when
/// complete. A folder or device at path is refused, not replaced. Throws
/// stego::Failure.
void savePictureAs(const Picture& picture, const std::string& path, PictureFileFormat format);
/// Saves in the format saveFormatFor(path) chooses, after refusing a JPEG name
/// as every platform does.
inline void savePicture(const Picture& picture, const std::string& path) {
    savePictureAs(picture, path, saveFormatFor(path));
}

}  // namespace stego::platform
