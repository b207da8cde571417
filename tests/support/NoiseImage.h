// Pictures made for tests: random pixels from a fixed seed.
#pragma once

#include <QImage>

#include <random>

#include "platform/PictureFile.h"

namespace testsupport {

inline QImage noisePicture(int width, int height, unsigned seed) {
    QImage image(width, height, stego::platform::kPictureFormat);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(int(random() & 255), int(random() & 255), int(random() & 255)));
    return image;
}

}  // namespace testsupport
