// BMP stores blue, green, red; the picture holds red, green, blue. Every BMP
// read and write turns each pixel around, so this loop runs over hundreds of
// megabytes: built twice, with the byte shuffles of SSSE3 where the processor
// has them, and chosen once when the program starts.
#include "PictureCodecs.h"

namespace stego::platform::codecs {

__attribute__((target_clones("default", "ssse3"))) void
swapRedAndBlue(const unsigned char* __restrict from, unsigned char* __restrict to, std::size_t pixels) {
    for (std::size_t x = 0; x < pixels; ++x) {
        to[3 * x] = from[3 * x + 2];
        to[3 * x + 1] = from[3 * x + 1];
        to[3 * x + 2] = from[3 * x];
    }
}

}  // namespace stego::platform::codecs
