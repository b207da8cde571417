#include "engine/PixelChannel.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "FrameScanner.h"
#include "LowBitReader.h"
#include "ScrambleChain.h"
#include "engine/Failure.h"
#include "engine/NumberFormat.h"

namespace stego {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t checkedProduct(std::int64_t a, std::int64_t b, const char* what) {
    const std::int64_t product = a * b;
    if (a < 0 || b < 0 || (a != 0 && product / a != b) || product > kInt32Max)
        throw Failure(kOverflow, std::string("The ") + what + " is too large to count in 32 bits.");
    return static_cast<std::int32_t>(product);
}

std::uint8_t setLowBit(std::uint8_t component, char bit) {
    return static_cast<std::uint8_t>((component - component % 2) + (bit == '1' ? 1 : 0));
}

}  // namespace

std::int32_t CapacityShortfall(std::int64_t length, std::int32_t width, std::int32_t height) {
    if (length > kInt32Max)
        throw Failure(kOverflow, "The data is too long to count in 32 bits.");
    const std::int32_t needed = checkedProduct(3, length, "data");
    const std::int32_t available = checkedProduct(width, height, "picture");
    return needed - available;
}

std::int64_t CharacterCapacity(std::int32_t width, std::int32_t height) {
    const std::int64_t cells = std::int64_t{width} * height / 3;
    const auto markers = static_cast<std::int64_t>(FrameStartMarker.size() + FrameEndMarker.size());
    return std::max<std::int64_t>(cells - markers, 0);
}

std::string CapacityMessage(std::string_view what, std::int64_t bodyLength, std::int64_t capacity,
                            const std::string& groupSeparator) {
    // Counted in what the person typed or chose, not in pixels: the shortfall
    // in pixels is three times the characters and means nothing to them.
    const std::string unit = what == "file" ? " bytes" : " characters";
    const std::string needs = "The " + std::string(what) + " needs " + formatGrouped(bodyLength, groupSeparator) + unit;
    // An empty message still needs room for the markers.
    if (capacity <= 0)
        return needs + " of room; this picture is too small to hold any.";
    return needs + " of room; this picture holds " + formatGrouped(capacity, groupSeparator) + ".";
}

void EmbedFramedText(Carrier& carrier, Scrambler& scrambler, std::string_view framed) {
    const std::int32_t height = carrier.height();
    if (CapacityShortfall(static_cast<std::int64_t>(framed.size()), carrier.width(), height) > 0)
        throw Failure(kSubscriptOutOfRange, "The data does not fit in the picture.");

    // Scrambling can fail; it must not fail half-way through the pixels.
    std::vector<std::string> cellBits;
    cellBits.reserve(framed.size());
    for (const char ch : framed)
        cellBits.push_back(ByteToBits(static_cast<unsigned char>(scrambler.ScrambleChar(ch))));

    for (std::size_t k = 0; k < cellBits.size(); ++k) {
        const auto first = static_cast<std::int32_t>(3 * k);
        std::array<Rgb, 3> cell;
        for (int j = 0; j < 3; ++j)
            cell[static_cast<std::size_t>(j)] = carrier.readPixel((first + j) / height, (first + j) % height);

        // Components in the order the bits go: red, green, blue, red, green, blue, red, green.
        const std::array<std::uint8_t*, 8> components = {&cell[0].red,   &cell[0].green, &cell[0].blue, &cell[1].red,
                                                         &cell[1].green, &cell[1].blue,  &cell[2].red,  &cell[2].green};
        const std::string& bits = cellBits[k];
        for (std::size_t j = 0; j < components.size(); ++j)
            *components[j] = setLowBit(*components[j], bits[j]);

        for (int j = 0; j < 3; ++j)
            carrier.writePixel((first + j) / height, (first + j) % height, cell[static_cast<std::size_t>(j)]);
    }
}

ScanResult ScanFramedText(const Carrier& carrier, Scrambler& scrambler) {
    ScrambleChain chain(scrambler);
    FrameScanner scanner(chain,
                         static_cast<std::int64_t>(std::max(carrier.width(), 0)) * std::max(carrier.height(), 0));
    LowBitReader reader(carrier);

    ScanResult result{ScanResult::Kind::Exhausted, {}};
    for (auto run = reader.next(); !run.empty(); run = reader.next()) {
        const FrameScanner::Status status = scanner.feed(run);
        if (status == FrameScanner::Status::NoStartMarker) {
            result.kind = ScanResult::Kind::NoStartMarker;
            break;
        }
        if (status == FrameScanner::Status::Found) {
            result.kind = ScanResult::Kind::Found;
            result.body = scanner.takeBody();
            break;
        }
    }
    chain.finish();
    return result;
}

}  // namespace stego
