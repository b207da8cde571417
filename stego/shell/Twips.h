// Design positions come in twips; the windows lay themselves out in
// device-independent pixels at 15 twips a pixel, which Qt scales on high-DPI screens.
#pragma once

#include <QRect>

namespace stego::shell {

inline constexpr int kTwipsPerPixel = 15;

/// Twips to pixels, to the nearest whole pixel (ties to even).
constexpr int twipsToPixels(int twips) {
    const int whole = twips / kTwipsPerPixel;
    const int rest = twips % kTwipsPerPixel;
    if (2 * rest > kTwipsPerPixel || (2 * rest == kTwipsPerPixel && whole % 2 != 0))
        return whole + 1;
    return whole;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

}  // namespace stego::shell
