// Speed of opening and saving pictures of camera size (12 megapixels).
#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestFolder.h"
#include "platform/PictureFile.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A smooth picture with some texture, so that the JPEG is of camera-like size.
QImage photoLikePicture() {
    QImage image(kWidth, kHeight, stego::platform::kPictureFormat);
    for (int y = 0; y < kHeight; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            row[3 * x] = static_cast<uchar>((x * 255) / kWidth);
            row[3 * x + 1] = static_cast<uchar>((y * 255) / kHeight);
            row[3 * x + 2] = static_cast<uchar>(((x ^ y) * 7) & 255);
        }
    }
    return image;
}

const testsupport::TestFolder& folder() {
    static const testsupport::TestFolder made;
    return made;
}

const std::string& jpegPath() {
    static const std::string path = [] {
        const std::string p = folder() / "photo.jpg";
        photoLikePicture().save(QString::fromStdString(p), "JPEG", 90);
        return p;
    }();
    return path;
}

const std::string& bmpPath() {
    static const std::string path = [] {
        const std::string p = folder() / "photo.bmp";
        stego::platform::savePictureAsBmp(photoLikePicture(), p);
        return p;
    }();
    return path;
}

void BM_LoadJpeg(benchmark::State& state) {
    const std::string& path = jpegPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(stego::platform::loadPicture(path));
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadBmp(benchmark::State& state) {
    const std::string& path = bmpPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(stego::platform::loadPicture(path));
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_LoadBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

// Includes the flush to disk that makes the saved file safe.
void BM_SaveBmp(benchmark::State& state) {
    const QImage picture = photoLikePicture();
    const std::string path = folder() / "saved.bmp";
    for (auto _ : state)
        stego::platform::savePictureAsBmp(picture, path);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_SaveBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
