// What a scan of the pixels for a framed text found.
#pragma once

#include <string>

namespace stego {

struct ScanResult {
    enum class Kind {
        NoStartMarker,  // the first eight characters are not the start marker
        Found,          // body holds the text between the markers
        Exhausted,      // a start marker, but the picture ended before an end marker
    };
    Kind kind = Kind::NoStartMarker;
    std::string body;
};

}  // namespace stego
