// The picture layer's codecs, one file each, behind the open and save
// dispatch of PictureFile.cpp. Every function refuses bad input with a
// stego::Failure that names the file.
#pragma once

#include <QIODevice>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PictureFile.h"
#include "platform/PosixFileWriter.h"

namespace stego::platform::codecs {

/// A blank picture of the given format (kPictureFormat unless a decoder needs
/// another on the way), or a refusal when memory runs out.
QImage allocatePicture(int width, int height, const std::string& path, QImage::Format format = kPictureFormat);

/// Qt's reader on device, converted to kPictureFormat. image: where the reader
/// decodes to when it already has the picture's size and format.
QImage readWithQt(QIODevice& device, const char* format, const std::string& path, QImage image = QImage());

QImage decodeJpeg(const std::vector<unsigned char>& data, const std::string& path);

/// A BMP from the open file fd of fileSize bytes.
QImage loadBmp(int fd, std::int64_t fileSize, const std::string& path);

/// The same file through Qt's reader alone, for the checks that the direct
/// path gives the same pixels. Header checks as loadBmp.
QImage loadBmpWithQt(int fd, std::int64_t fileSize, const std::string& path);

QImage loadPng(int fd, std::int64_t fileSize, const std::string& path);
/// A TIFF or WebP picture ("tiff", "webp") through the reader Qt's image-format
/// plugins give, refused with a plain reason where they are not installed.
QImage loadWithQtPlugin(int fd, const char* format, const std::string& path);

/// Copies pixels three bytes each from one channel order to the other (blue,
/// green, red to red, green, blue, or back). from and to do not overlap.
void swapRedAndBlue(const unsigned char* from, unsigned char* to, std::size_t pixels);

/// Encoders into an open file; every byte goes through writer. picture is in kPictureFormat.
void writeBmp(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer);
void writePng(const QImage& picture, int fd, const std::string& shownPath, FileWriter& writer);

}  // namespace stego::platform::codecs
