// Arbitrary bytes as a picture file named .bmp and .jpg, opened as the program
// opens pictures and, when they open, scanned for a hidden message: every input
// must end in a true-colour picture or a refusal with a number and words.
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <turbojpeg.h>

#include "DirectCipher.h"
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "OutcomeCheck.h"
#include "engine/Commands.h"
#include "engine/Failure.h"
#include "engine/LcgGenerator.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"

namespace {

using fuzzing::requireThat;

// The loader holds up to 2^28 pixels; a few bytes of JPEG or run-length BMP
// may claim that many, and making and filling them would take each run
// seconds. Claims between this bound and the loader's are skipped here;
// larger ones stay, since the loader must refuse them before allocating.
constexpr std::int64_t kLargestPictureTried = std::int64_t{1} << 18;
constexpr std::int64_t kLoaderLimit = std::int64_t{1} << 28;

// Heights (and widths) below zero count by their size, as top-down BMPs have them.
std::int64_t pixelsOf(std::int64_t width, std::int64_t height) { return std::llabs(width) * std::llabs(height); }

// The size a BMP header claims, read as the loader reads it.
std::int64_t bmpClaimedPixels(const std::uint8_t* data, std::size_t size) {
    if (size < 26)
        return 0;
    auto le16 = [data](std::size_t at) { return std::int64_t{data[at]} | std::int64_t{data[at + 1]} << 8; };
    auto le32 = [data](std::size_t at) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(data[at]) | std::uint32_t{data[at + 1]} << 8 |
                                         std::uint32_t{data[at + 2]} << 16 | std::uint32_t{data[at + 3]} << 24);
    };
    if (le32(14) == 12)
        return pixelsOf(le16(18), le16(20));
    return pixelsOf(le32(18), le32(22));
}

// The largest picture any of the loader's readers would make from these bytes.
std::int64_t claimedPixels(const std::uint8_t* data, std::size_t size, const char* format) {
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize qtSize = reader.size();
    std::int64_t claimed = qtSize.isValid() ? pixelsOf(qtSize.width(), qtSize.height()) : 0;
    if (std::string_view(format) == "bmp")
        claimed = std::max(claimed, bmpClaimedPixels(data, size));

    if (tjhandle decoder = tjInitDecompress()) {
        int width = 0;
        int height = 0;
        int subsampling = 0;
        int colourspace = 0;
        if (tjDecompressHeader3(decoder, data, static_cast<unsigned long>(size), &width, &height, &subsampling,
                                &colourspace) == 0)
            claimed = std::max(claimed, pixelsOf(width, height));
        tjDestroy(decoder);
    }
    return claimed;
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    requireThat(static_cast<bool>(out), "the picture file could be written");
}

struct LoadResult {
    std::optional<QImage> picture;
    int number = 0;
};

LoadResult load(const std::string& path) {
    LoadResult result;
    try {
        result.picture = stego::platform::loadPicture(path);
    } catch (const stego::Failure& failure) {
        result.number = failure.number();
        const std::string words = failure.what();
        requireThat(failure.number() != 0, "a refusal carries a number");
        requireThat(words.rfind("Cannot open picture " + path + ": ", 0) == 0 && words.size() > path.size() + 22,
                    "a refusal names the file and the reason; got: " + words);
    }
    return result;
}

void checkPicture(QImage& picture) {
    requireThat(picture.format() == stego::platform::kPictureFormat, "a loaded picture is true colour");
    requireThat(picture.width() > 0 && picture.height() > 0, "a loaded picture has pixels");
    requireThat(pixelsOf(picture.width(), picture.height()) <= kLoaderLimit, "a loaded picture is within the limit");

    stego::platform::ImageCarrier carrier(picture);
    stego::platform::LcgGenerator generator;
    stego::EngineServices services{generator, stego::platform::makeDirectCipherFactory(), fuzzing::fileStore(), ","};
    std::string pass = stego::kScrambleKey;
    const stego::Outcome outcome = stego::ExtractMessage(carrier, "", pass, services);
    fuzzing::checkExtractionOutcome(outcome, "This Image has no Message");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Refusals are checked here; Qt's own warnings about them would only be noise.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    // TIFF and WebP are read by Qt's plugins, third-party readers that this
    // target does not fuzz: without plugins they are refused like any other
    // unknown format, and the inputs stay on our own parsers.
    QCoreApplication::setLibraryPaths({});
    fuzzing::makePrivateFolder();  // where the pictures are written
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 2) {
        const bool jpeg = data[0] == 0xFF && data[1] == 0xD8;
        const bool bmp = data[0] == 'B' && data[1] == 'M';
        if (jpeg || bmp) {
            const std::int64_t claimed = claimedPixels(data, size, jpeg ? "jpeg" : "bmp");
            if (claimed > kLargestPictureTried && claimed <= kLoaderLimit)
                return -1;  // not added to the corpus
        }
    }

    const std::string& folder = fuzzing::privateFolder()->path();
    // The loader goes by the bytes, never by the name: both names must give the same.
    const std::string asBmp = folder + "/picture.bmp";
    const std::string asJpeg = folder + "/picture.jpg";
    writeFile(asBmp, data, size);
    writeFile(asJpeg, data, size);
    LoadResult fromBmp = load(asBmp);
    const LoadResult fromJpeg = load(asJpeg);
    std::remove(asBmp.c_str());
    std::remove(asJpeg.c_str());

    requireThat(fromBmp.picture.has_value() == fromJpeg.picture.has_value() && fromBmp.number == fromJpeg.number,
                "a picture opens, or is refused, whatever its name");
    if (fromBmp.picture) {
        requireThat(*fromBmp.picture == *fromJpeg.picture, "both names give the same pixels");
        checkPicture(*fromBmp.picture);
    }
    return 0;
}
