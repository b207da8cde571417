// Arbitrary bytes as a BMP, read by the direct reader and by Qt's: both must
// refuse alike or give the same pixels, and a picture that opens must come
// back exactly from the BMP and the PNG the program writes.
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>

#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "PictureCodecs.h"
#include "engine/Failure.h"
#include "platform/PictureFile.h"

namespace {

using fuzzing::requireThat;

// Pictures above this many pixels cost each run too long to read twice and write twice.
constexpr std::int64_t kLargestPictureTried = std::int64_t{1} << 16;

struct Outcome {
    std::optional<QImage> picture;
    int number = 0;
};

template <typename Read>
Outcome readWith(const std::string& path, std::int64_t size, Read read) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    requireThat(fd >= 0, "the picture file opens");
    Outcome outcome;
    try {
        outcome.picture = read(fd, size, path);
    } catch (const stego::Failure& failure) {
        outcome.number = failure.number();
        requireThat(failure.number() != 0, "a refusal carries a number");
    }
    ::close(fd);
    return outcome;
}

std::int64_t claimedPixels(const std::uint8_t* data, std::size_t size) {
    if (size < 26)
        return 0;
    auto le16 = [data](std::size_t at) { return std::int64_t{data[at]} | std::int64_t{data[at + 1]} << 8; };
    auto le32 = [data](std::size_t at) {
        return static_cast<std::int64_t>(
            static_cast<std::int32_t>(static_cast<std::uint32_t>(data[at]) | std::uint32_t{data[at + 1]} << 8 |
                                      std::uint32_t{data[at + 2]} << 16 | std::uint32_t{data[at + 3]} << 24));
    };
    if (le32(14) == 12)
        return le16(18) * le16(20);
    return std::llabs(le32(18)) * std::llabs(le32(22));
}

void expectSameAfterSaving(const QImage& picture, const std::string& path) {
    stego::platform::savePicture(picture, path);
    const QImage reopened = stego::platform::loadPicture(path);
    std::remove(path.c_str());
    requireThat(reopened == picture, "a saved picture reopens with every pixel: " + path);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    fuzzing::makePrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return -1;
    if (claimedPixels(data, size) > kLargestPictureTried)
        return -1;
    const std::string& folder = fuzzing::privateFolder()->path();
    const std::string path = folder + "/in.bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    requireThat(file != nullptr && std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0,
                "the picture file could be written");
    const auto bytes = static_cast<std::int64_t>(size);
    const Outcome direct = readWith(path, bytes, stego::platform::codecs::loadBmp);
    const Outcome qt = readWith(path, bytes, stego::platform::codecs::loadBmpWithQt);
    std::remove(path.c_str());

    requireThat(direct.number == qt.number, "both readers refuse alike");
    if (!direct.picture)
        return 0;
    requireThat(direct.picture->format() == stego::platform::kPictureFormat, "the direct reader gives true colour");
    requireThat(*direct.picture == *qt.picture, "both readers give the same pixels");
    expectSameAfterSaving(*direct.picture, folder + "/out.bmp");
    expectSameAfterSaving(*direct.picture, folder + "/out.png");
    return 0;
}
