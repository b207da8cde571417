// What the steganalysis test and the table tool share: a photograph-like
// fixture, and classic and sealed items of a given share of the capacity.
#pragma once

#include <QBuffer>
#include <QImage>

#include <random>
#include <string>

#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"
#include "engine/PixelChannel.h"
#include "engine/Scrambler.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedFormat.h"

namespace steganalysis {

inline stego::MemoryCarrier carrierOf(const QImage& image) {
    QImage copy = image.convertToFormat(stego::platform::kPictureFormat);
    const stego::platform::ImageCarrier source(copy);
    stego::MemoryCarrier carrier(source.width(), source.height());
    for (std::int32_t y = 0; y < source.height(); ++y)
        source.readRow(y, 0, source.width(), carrier.pixels().data() + static_cast<std::size_t>(y) * source.width());
    return carrier;
}

/// The program's sample picture with a camera's grain (seeded Gaussian noise,
/// sigma 2) and a camera's JPEG (quality 90), decoded: a small, fixed stand-in
/// for a photograph, whose low bits are noise as a photograph's are.
inline stego::MemoryCarrier photographLike(const std::string& samplePath) {
    QImage image = stego::platform::loadPicture(samplePath);
    std::mt19937 random(2026);
    std::normal_distribution<double> grain(0.0, 2.0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const auto noisy = [&](int value) {
                return std::clamp(static_cast<int>(std::lround(value + grain(random))), 0, 255);
            };
            image.setPixel(x, y, qRgb(noisy(qRed(pixel)), noisy(qGreen(pixel)), noisy(qBlue(pixel))));
        }
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    image.save(&jpeg, "JPG", 90);
    QImage decoded;
    decoded.loadFromData(jpeg.data(), "JPG");
    return carrierOf(decoded);
}

/// A classic item filling share of the classic capacity (three pixels a
/// character, less the markers), written as the classic format writes it:
/// scrambled characters from the first pixel on, column after column.
inline void embedClassic(stego::Carrier& carrier, double share) {
    const std::int64_t capacity = std::int64_t{carrier.width()} * carrier.height() / 3 - 16;
    std::mt19937 random(7);
    std::string text(static_cast<std::size_t>(static_cast<double>(capacity) * share), ' ');
    for (char& ch : text)
        ch = static_cast<char>('!' + random() % 90);  // enciphered text looks like this: printable and even
    stego::platform::LcgGenerator generator;
    stego::Scrambler scrambler(generator);
    scrambler.BuildScrambleTable("Wren5");
    stego::EmbedFramedText(carrier, scrambler,
                           std::string(stego::FrameStartMarker) + text + std::string(stego::FrameEndMarker));
}

/// A sealed message filling share of the sealed capacity.
inline void embedSealed(stego::Carrier& carrier, double share) {
    const std::int64_t capacity = sealed::SealedCapacity(carrier.width(), carrier.height(), 0);
    std::mt19937 random(8);
    std::string payload(static_cast<std::size_t>(static_cast<double>(capacity) * share), '\0');
    for (char& byte : payload)
        byte = static_cast<char>(random());
    sealed::Key seed{};
    seed[0] = 9;
    auto crypto = stego::platform::SodiumCrypto::seeded(seed);
    sealed::SealItem(carrier, crypto, "a passphrase", sealed::SealedItem{sealed::ItemKind::Message, "", payload},
                     sealed::kCheapestCost);
}

}  // namespace steganalysis
