// Opening BMP, JPEG and PNG pictures into a true-colour grid, and saving a grid losslessly as BMP or PNG.
#pragma once

#include <QImage>
#include <string>

#include "platform/PosixFileWriter.h"
#include "platform/SaveFormat.h"

namespace stego::platform {

/// How every picture is held: three bytes a pixel in the engine's own order
/// (red, green, blue), so that a scan copies rows as they are and a
/// 100-megapixel picture needs 300 MB rather than the 400 MB of 32-bit pixels.
inline constexpr QImage::Format kPictureFormat = QImage::Format_RGB888;

/// Loads a BMP, JPEG or PNG file (paths are local 8-bit, as the file system spells
/// them) into a QImage of kPictureFormat. Throws stego::Failure whose message
/// names the file and the reason.
QImage loadPicture(const std::string& path);

/// Writes the picture as a BMP file whatever the name's extension, so that
/// reopening gives every pixel's red, green and blue back exactly. The file is
/// written beside its destination through writer and renamed into place only
/// when complete; on failure an existing file stays whole. A folder, device or
/// pipe at path is refused, not replaced. Throws stego::Failure.
void savePictureAsBmp(const QImage& picture, const std::string& path, FileWriter& writer = systemFileWriter());

/// As savePictureAsBmp, in the given format.
void savePictureAs(const QImage& picture, const std::string& path, PictureFileFormat format,
                   FileWriter& writer = systemFileWriter());

/// Saves in the format saveFormatFor(path) chooses.
void savePicture(const QImage& picture, const std::string& path, FileWriter& writer = systemFileWriter());

}  // namespace stego::platform
