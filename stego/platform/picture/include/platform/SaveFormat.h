// Which lossless format a picture saved under a name gets, by its ending: one
// rule for every platform's picture layer and for the command line's checks.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::platform {

/// The lossless formats a picture can be saved in.
enum class PictureFileFormat { Bmp, Png };

inline bool nameEndsWith(const std::string& name, std::string_view ending) {
    if (name.size() < ending.size())
        return false;
    return std::equal(ending.rbegin(), ending.rend(), name.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

/// PNG for a name ending .png, BMP for any other. A name ending .jpg or .jpeg
/// is refused (Failure with a plain reason): JPEG would destroy the hidden bits.
inline PictureFileFormat saveFormatFor(const std::string& path) {
    if (nameEndsWith(path, ".jpg") || nameEndsWith(path, ".jpeg"))
        throw Failure(support::kInvalidPicture, "Cannot save picture " + path +
                                                    ": JPEG compression changes pixels and would destroy the "
                                                    "hidden bits. Save as BMP or PNG instead.");
    return nameEndsWith(path, ".png") ? PictureFileFormat::Png : PictureFileFormat::Bmp;
}

}  // namespace stego::platform
