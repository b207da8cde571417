#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"

using stego::Rgb;
using stego::platform::ImageCarrier;
using stego::platform::kPictureFormat;

namespace {

TEST(ImageCarrierTest, ReportsTheImageSize) {
    QImage image(7, 5, kPictureFormat);
    const ImageCarrier carrier(image);
    EXPECT_EQ(carrier.width(), 7);
    EXPECT_EQ(carrier.height(), 5);
}

TEST(ImageCarrierTest, WritesAreReadBackExactlyAndStayOpaque) {
    QImage image(4, 3, kPictureFormat);
    image.fill(qRgb(9, 9, 9));
    ImageCarrier carrier(image);
    const struct {
        int x, y;
        Rgb colour;
    } writes[] = {{0, 0, {0, 0, 0}}, {3, 0, {255, 255, 255}}, {0, 2, {1, 2, 3}}, {3, 2, {254, 128, 127}}};
    for (const auto& w : writes)
        carrier.writePixel(w.x, w.y, w.colour);
    for (const auto& w : writes) {
        EXPECT_EQ(carrier.readPixel(w.x, w.y), w.colour) << w.x << "," << w.y;
        const QRgb stored = image.pixel(w.x, w.y);
        EXPECT_EQ(qAlpha(stored), 255);
        EXPECT_EQ(stored, qRgb(w.colour.red, w.colour.green, w.colour.blue));
    }
    EXPECT_EQ(carrier.readPixel(1, 1), (Rgb{9, 9, 9}));
}

TEST(ImageCarrierTest, ReadRowMatchesReadPixel) {
    QImage image(6, 2, kPictureFormat);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            image.setPixel(x, y, qRgb(x * 40, y * 100, x + y));
    const ImageCarrier carrier(image);
    std::vector<Rgb> row(4);
    carrier.readRow(1, 2, 4, row.data());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(row[static_cast<std::size_t>(i)], carrier.readPixel(2 + i, 1)) << i;
}

TEST(ImageCarrierTest, WriteRowChangesOnlyItsRunAndLeavesASharedImageAlone) {
    QImage image(6, 3, kPictureFormat);
    image.fill(qRgb(9, 9, 9));
    const QImage shared = image;
    ImageCarrier carrier(image);
    const std::vector<Rgb> run = {{0, 0, 0}, {255, 255, 255}, {1, 2, 3}};
    carrier.writeRow(1, 2, 3, run.data());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inRun = y == 1 && x >= 2 && x < 5;
            const Rgb expected = inRun ? run[static_cast<std::size_t>(x - 2)] : Rgb{9, 9, 9};
            EXPECT_EQ(carrier.readPixel(x, y), expected) << x << "," << y;
            EXPECT_EQ(qAlpha(image.pixel(x, y)), 255);
            EXPECT_EQ(shared.pixel(x, y), qRgb(9, 9, 9));
        }
}

TEST(ImageCarrierTest, ReadingDoesNotCopyASharedImage) {
    QImage image(3, 3, kPictureFormat);
    image.fill(qRgb(1, 2, 3));
    const QImage shared = image;  // shares the pixels until one side writes
    const ImageCarrier carrier(image);
    std::vector<Rgb> row(3);
    carrier.readPixel(1, 1);
    carrier.readRow(2, 0, 3, row.data());
    EXPECT_EQ(image.constBits(), shared.constBits());
}

// Pictures made elsewhere come in Qt's other formats: the carrier holds them
// in its own, with every colour kept.
TEST(ImageCarrierTest, TakesAPictureOfAnotherFormatWithItsColours) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_BGR888}) {
        QImage image(3, 2, format);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                image.setPixel(x, y, qRgb(x * 80, y * 200, 255 - x));
        ImageCarrier carrier(image);
        EXPECT_EQ(image.format(), kPictureFormat) << format;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(carrier.readPixel(x, y),
                          (Rgb{static_cast<std::uint8_t>(x * 80), static_cast<std::uint8_t>(y * 200),
                               static_cast<std::uint8_t>(255 - x)}))
                    << format << " " << x << "," << y;
    }
}

}  // namespace
