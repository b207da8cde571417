// Pictures on Windows: read through WIC, the system's image decoders, and
// written with the shared BMP and PNG layouts through the Windows file store.
#include "platform/Picture.h"

#include <windows.h>
#include <wincodec.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/BmpHeader.h"
#include "platform/PictureRefusals.h"
#include "platform/PngLayout.h"
#include "platform/WinFileStore.h"

namespace stego::platform {
namespace {

// Releases one COM reference when it goes.
template <class T>
struct Ref {
    T* p = nullptr;
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
        if (p)
            p->Release();
    }
    T* operator->() const { return p; }
};

void checkWic(HRESULT result, const std::string& path) {
    if (FAILED(result)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
        refuse(kInvalidPicture, path, std::string("Invalid picture: the system cannot decode it (") + code + ")");
    }
}

// The first bytes say what the file claims to be.
std::string signatureOf(const std::string& path) {
    const HANDLE file = CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        refuseWithErrno(errnoOfSystemError(GetLastError()), path);
    char bytes[8] = {};
    DWORD got = 0;
    const BOOL read = ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!read)
        refuseWithErrno(errnoOfSystemError(error), path);
    return std::string(bytes, got);
}

// A 16-bit picture from its raw pixels; masks are red, green, blue.
Picture widenedPicture(IWICBitmapSource& source, UINT width, UINT height, const std::array<std::uint32_t, 3>& masks,
                       const std::string& path) {
    Picture picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    const std::size_t stride = std::size_t{width} * 2;
    std::vector<BYTE> row(stride);
    for (UINT y = 0; y < height; ++y) {
        const WICRect line = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
        checkWic(source.CopyPixels(&line, static_cast<UINT>(stride), static_cast<UINT>(stride), row.data()), path);
        for (UINT x = 0; x < width; ++x) {
            const std::uint32_t pixel = row[2 * x] | (std::uint32_t{row[2 * x + 1]} << 8);
            std::array<std::uint8_t, 3> channels{};
            for (std::size_t c = 0; c < 3; ++c) {
                const int shift = std::countr_zero(masks[c]);
                channels[c] = widenChannel((pixel & masks[c]) >> shift, masks[c] >> shift);
            }
            picture.writePixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                               Rgb{channels[0], channels[1], channels[2]});
        }
    }
    return picture;
}

// The 24-bit BMP of the picture, in the layout both platforms write.
std::string bmpFile(const Picture& picture, const std::string& path) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const std::size_t rowBytes = bmpRowBytes(width);
    const std::size_t imageSize = rowBytes * height;
    if (kBmpHeaderSize + imageSize > 0xFFFFFFFFu)
        throw Failure(kInvalidPicture, "Cannot save picture " + path + ": it is too large for a BMP file");
    const auto header = bmpHeader(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                  static_cast<std::uint32_t>(imageSize));
    std::string bytes(reinterpret_cast<const char*>(header.data()), header.size());
    bytes.reserve(kBmpHeaderSize + imageSize);
    std::string row(rowBytes, '\0');  // the padding bytes stay zero
    for (std::size_t y = height; y-- > 0;) {
        for (std::size_t x = 0; x < width; ++x) {
            const Rgb pixel = picture.readPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            row[3 * x] = static_cast<char>(pixel.blue);
            row[3 * x + 1] = static_cast<char>(pixel.green);
            row[3 * x + 2] = static_cast<char>(pixel.red);
        }
        bytes += row;
    }
    return bytes;
}

// The PNG of the picture, in the layout both platforms write.
std::string pngFile(const Picture& picture, const std::string& path) {
    const auto width = static_cast<std::size_t>(picture.width());
    const auto height = static_cast<std::size_t>(picture.height());
    const Rgb* pixels = picture.pixels().data();
    const std::vector<unsigned char> rows = pngFilteredRows(width, height, [&](std::size_t y, unsigned char* out) {
        const Rgb* row = pixels + y * width;
        for (std::size_t x = 0; x < width; ++x) {
            out[3 * x] = row[x].red;
            out[3 * x + 1] = row[x].green;
            out[3 * x + 2] = row[x].blue;
        }
    });
    std::string bytes;
    writePngLayout(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), rows, path,
                   [&](std::string_view piece) { bytes += piece; });
    return bytes;
}

}  // namespace

Picture loadPicture(const std::string& path) {
    WinFileStore files;
    switch (files.kindOf(path)) {
    case FileStore::Kind::Missing: refuseWithErrno(ENOENT, path);
    case FileStore::Kind::Directory: refuseWithErrno(EISDIR, path);
    case FileStore::Kind::Other:
        refuse(support::kNotOrdinaryFile, path, "it is a device or a pipe, not a picture file");
    case FileStore::Kind::RegularFile: break;
    }
    const std::string signature = signatureOf(path);
    if (signature.empty())
        refuse(kInvalidPicture, path, "Invalid picture: the file is empty");
    const bool bmp = signature.rfind("BM", 0) == 0;
    const bool jpeg = signature.rfind("\xFF\xD8", 0) == 0;
    const bool png = signature.rfind("\x89PNG", 0) == 0;
    if (!bmp && !jpeg && !png)
        refuse(kInvalidPicture, path, "Invalid picture: not a BMP, JPEG or PNG file");

    Ref<IWICImagingFactory> factory;
    checkWic(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory.p)),
             path);
    Ref<IWICBitmapDecoder> decoder;
    checkWic(factory->CreateDecoderFromFilename(widePath(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, &decoder.p),
             path);
    Ref<IWICBitmapFrameDecode> frame;
    checkWic(decoder->GetFrame(0, &frame.p), path);
    UINT width = 0, height = 0;
    checkWic(frame->GetSize(&width, &height), path);
    checkDimensions(width, height, path);
    // 16-bit pixels are widened by the shared rule, not the decoder's, so
    // that the pixels (and the pictures written from them) match Linux.
    WICPixelFormatGUID format{};
    checkWic(frame->GetPixelFormat(&format), path);
    if (IsEqualGUID(format, GUID_WICPixelFormat16bppBGR555))
        return widenedPicture(*frame.p, width, height, {0x7C00, 0x03E0, 0x001F}, path);
    if (IsEqualGUID(format, GUID_WICPixelFormat16bppBGR565))
        return widenedPicture(*frame.p, width, height, {0xF800, 0x07E0, 0x001F}, path);

    // 32-bit BGR: the one target every decoder's format converts to (grey to 24-bit fails in some).
    Ref<IWICBitmapSource> converted;
    checkWic(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.p, &converted.p), path);

    Picture picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    const std::size_t stride = std::size_t{width} * 4;
    std::vector<BYTE> row(stride);
    for (UINT y = 0; y < height; ++y) {
        const WICRect line = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
        checkWic(converted->CopyPixels(&line, static_cast<UINT>(stride), static_cast<UINT>(stride), row.data()), path);
        for (UINT x = 0; x < width; ++x)
            picture.writePixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                               Rgb{row[4 * x + 2], row[4 * x + 1], row[4 * x]});
    }
    return picture;
}

void savePictureAs(const Picture& picture, const std::string& path, PictureFileFormat format) {
    WinFileStore files;
    const auto kind = files.kindOf(path);
    if (kind == FileStore::Kind::Directory)
        throw systemFileFailure(ERROR_DIRECTORY, "write", path);
    // Moving the picture into place would replace a device itself instead of writing into it.
    if (kind == FileStore::Kind::Other)
        throw Failure(support::kNotOrdinaryFile,
                      "Cannot save picture " + path + ": it is a device or a pipe, not an ordinary file");

    const bool png = format == PictureFileFormat::Png;
    const std::string bytes = png ? pngFile(picture, path) : bmpFile(picture, path);
    const auto scratch = files.makeScratchDirectory(path);
    const std::string written = scratch->path() + (png ? "\\picture.png" : "\\picture.bmp");
    try {
        files.writeAll(written, bytes);
    } catch (const Failure& failure) {
        // Name the destination the user chose, not the scratch file beside it.
        const std::string message = failure.what();
        throw Failure(failure.number(), "Cannot write " + path + message.substr(message.rfind(": ")));
    }
    files.replaceFile(written, path);
}

}  // namespace stego::platform
