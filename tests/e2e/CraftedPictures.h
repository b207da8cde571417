// Picture files made wrong on purpose: BMP headers claiming any size, JPEGs
// cut short or claiming another size. Built from bytes, so each shows its one flaw.
#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

inline void putLe(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

/// A 24-bit BMP whose header claims width x height, followed by dataBytes of pixel data.
inline std::string bmpClaiming(std::int32_t width, std::int32_t height, std::size_t dataBytes) {
    std::string bytes = "BM";
    putLe(bytes, static_cast<std::uint32_t>(54 + dataBytes), 4);
    putLe(bytes, 0, 4);
    putLe(bytes, 54, 4);  // where the pixels start
    putLe(bytes, 40, 4);  // the common header
    putLe(bytes, static_cast<std::uint32_t>(width), 4);
    putLe(bytes, static_cast<std::uint32_t>(height), 4);
    putLe(bytes, 1, 2);
    putLe(bytes, 24, 2);
    putLe(bytes, 0, 4);  // uncompressed
    putLe(bytes, static_cast<std::uint32_t>(dataBytes), 4);
    putLe(bytes, 2835, 4);
    putLe(bytes, 2835, 4);
    putLe(bytes, 0, 4);
    putLe(bytes, 0, 4);
    for (std::size_t i = 0; i < dataBytes; ++i)
        bytes += static_cast<char>(i * 37);
    return bytes;
}

/// The bytes of a JPEG fixture up to and including the first few of its coded data.
inline std::string jpegCutInItsData(const std::string& jpeg) { return jpeg.substr(0, jpeg.find("\xFF\xDA") + 20); }

/// jpeg with the width and height in its frame header replaced.
inline std::string jpegClaiming(std::string jpeg, std::uint16_t width, std::uint16_t height) {
    const auto frame = jpeg.find("\xFF\xC0", 2);
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height & 0xFF);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

}  // namespace testsupport
