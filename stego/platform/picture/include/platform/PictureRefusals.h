// Why a picture cannot be opened, in the same words and numbers on every
// platform's picture layer: "Cannot open picture <path>: <reason>".
#pragma once

#include <cstdint>
#include <string>

#include "engine/Failure.h"
#include "engine/NumberFormat.h"
#include "support/ErrorNumbers.h"
#include "support/FileErrors.h"

namespace stego::platform {

using support::kInvalidPicture;

// A picture is held at 3 bytes a pixel (4 on the way through some decoders)
// and the engine counts pixels in 32-bit signed arithmetic; 2^28 pixels
// (1 GiB at 4 bytes) keeps well inside both.
inline constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

[[noreturn]] inline void refuse(int number, const std::string& path, const std::string& reason) {
    throw Failure(number, "Cannot open picture " + path + ": " + reason);
}

[[noreturn]] inline void refuseWithErrno(int errnoValue, const std::string& path) {
    const support::FileErrorInfo info = support::describeFileError(errnoValue);
    refuse(info.number, path, info.text);
}

inline void checkDimensions(std::int64_t width, std::int64_t height, const std::string& path) {
    if (width <= 0 || height <= 0)
        refuse(kInvalidPicture, path,
               "Invalid picture: its size is " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    if (width * height > kMaxPixels)
        refuse(kInvalidPicture, path,
               "the picture is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                   formatGrouped(kMaxPixels, ",") + " pixels this program can hold");
}

}  // namespace stego::platform
