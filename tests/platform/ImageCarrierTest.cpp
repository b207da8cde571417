#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "platform/ImageCarrier.h"

using stego::Rgb;
using stego::platform::ImageCarrier;

namespace {

TEST(ImageCarrierTest, ReportsTheImageSize) {
    QImage image(7, 5, QImage::Format_RGB32);
    const ImageCarrier carrier(image);
    EXPECT_EQ(carrier.width(), 7);
    EXPECT_EQ(carrier.height(), 5);
}

TEST(ImageCarrierTest, WritesAreReadBackExactlyAndStayOpaque) {
    QImage image(4, 3, QImage::Format_RGB32);
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
    QImage image(6, 2, QImage::Format_RGB32);
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
    QImage image(6, 3, QImage::Format_RGB32);
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
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    const QImage shared = image;  // shares the pixels until one side writes
    const ImageCarrier carrier(image);
    std::vector<Rgb> row(3);
    carrier.readPixel(1, 1);
    carrier.readRow(2, 0, 3, row.data());
    EXPECT_EQ(image.constBits(), shared.constBits());
}

}  // namespace
