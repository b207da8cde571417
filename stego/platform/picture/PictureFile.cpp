#include "platform/PictureFile.h"

#include "PictureCodecs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/Failure.h"
#include "platform/FileDescriptor.h"
#include "platform/PictureRefusals.h"
#include "platform/PosixFileStore.h"
#include "platform/ReplacementFile.h"
#include "support/ErrorNumbers.h"
#include "support/FileErrors.h"

namespace stego::platform {

namespace {

using namespace codecs;

std::vector<unsigned char> readWhole(int fd, std::int64_t sizeHint, const std::string& path) {
    std::vector<unsigned char> data;
    data.reserve(static_cast<std::size_t>(sizeHint));
    std::array<unsigned char, 1 << 16> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            refuseWithErrno(errno, path);
        }
        if (got == 0)
            return data;
        data.insert(data.end(), chunk.begin(), chunk.begin() + got);
    }
}

}  // namespace

QImage loadPicture(const std::string& path) {
    // Without O_NONBLOCK the open of a pipe would wait for a writer for ever.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        refuseWithErrno(errno, path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        refuseWithErrno(errno, path);
    if (S_ISDIR(info.st_mode))
        refuseWithErrno(EISDIR, path);
    // A device or pipe has no picture to give, and some (/dev/zero) never end.
    if (!S_ISREG(info.st_mode))
        refuse(support::kNotOrdinaryFile, path, "it is a device or a pipe, not a picture file");

    std::array<unsigned char, 12> signature{};
    const ssize_t got = ::pread(file.get(), signature.data(), signature.size(), 0);
    if (got < 0)
        refuseWithErrno(errno, path);
    if (got == 0)
        refuse(kInvalidPicture, path, "Invalid picture: the file is empty");
    if (got >= 2 && signature[0] == 0xFF && signature[1] == 0xD8)
        return decodeJpeg(readWhole(file.get(), info.st_size, path), path);
    if (got >= 2 && signature[0] == 'B' && signature[1] == 'M')
        return loadBmp(file.get(), info.st_size, path);
    static constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got >= 8 && std::equal(kPngSignature.begin(), kPngSignature.end(), signature.begin()))
        return loadPng(file.get(), info.st_size, path);
    // TIFF (little- or big-endian) and WebP, where Qt's plugins read them.
    const std::string_view head(reinterpret_cast<const char*>(signature.data()), static_cast<std::size_t>(got));
    if (head.starts_with(std::string_view("II*\0", 4)) || head.starts_with(std::string_view("MM\0*", 4)))
        return loadWithQtPlugin(file.get(), "tiff", path);
    if (head.size() == 12 && head.starts_with("RIFF") && head.substr(8) == "WEBP")
        return loadWithQtPlugin(file.get(), "webp", path);
    refuse(kInvalidPicture, path, "Invalid picture: not a BMP, JPEG or PNG file");
}

void savePicture(const QImage& picture, const std::string& path, FileWriter& writer) {
    savePictureAs(picture, path, saveFormatFor(path), writer);
}

void savePictureAsBmp(const QImage& picture, const std::string& path, FileWriter& writer) {
    savePictureAs(picture, path, PictureFileFormat::Bmp, writer);
}

void savePictureAs(const QImage& picture, const std::string& path, PictureFileFormat format, FileWriter& writer) {
    if (picture.isNull())
        throw Failure(kInvalidPicture, "Cannot save picture " + path + ": there is no picture");
    const QImage* held = &picture;
    QImage converted;
    if (picture.format() != kPictureFormat) {
        converted = picture.convertToFormat(kPictureFormat);
        held = &converted;
    }

    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            throw fileFailure(EISDIR, "write", path);
        // The rename that puts the picture in place would replace a device or
        // a pipe itself (as root even /dev/full) instead of writing into it.
        if (!S_ISREG(existing.st_mode))
            throw Failure(support::kNotOrdinaryFile,
                          "Cannot save picture " + path + ": it is a device or a pipe, not an ordinary file");
    }
    // A new file made for the purpose, renamed into place only when complete.
    ReplacementFile file(path, ReplacementFile::NewFileMode::FollowUmask);
    if (format == PictureFileFormat::Png)
        writePng(*held, file.fd(), path, writer);
    else
        writeBmp(*held, file.fd(), path, writer);
    file.commit();
}

}  // namespace stego::platform
