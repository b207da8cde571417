#include "sealed/SlotChannel.h"

namespace sealed {

namespace {

struct Place {
    std::int32_t x;
    std::int32_t y;
    std::uint32_t component;
};

Place placeOf(const stego::Carrier& carrier, std::uint32_t slot) {
    const std::uint32_t pixel = slot / 3;
    const auto width = static_cast<std::uint32_t>(carrier.width());
    return Place{static_cast<std::int32_t>(pixel % width), static_cast<std::int32_t>(pixel / width), slot % 3};
}

std::uint8_t& componentOf(stego::Rgb& colour, std::uint32_t component) {
    return component == 0 ? colour.red : component == 1 ? colour.green : colour.blue;
}

}  // namespace

bool readSlotBit(const stego::Carrier& carrier, std::uint32_t slot) {
    const Place place = placeOf(carrier, slot);
    stego::Rgb colour = carrier.readPixel(place.x, place.y);
    return (componentOf(colour, place.component) & 1) != 0;
}

void writeSlotBit(stego::Carrier& carrier, std::uint32_t slot, bool bit, bool up) {
    const Place place = placeOf(carrier, slot);
    stego::Rgb colour = carrier.readPixel(place.x, place.y);
    std::uint8_t& value = componentOf(colour, place.component);
    if (((value & 1) != 0) == bit)
        return;
    if (value == 0)
        up = true;
    else if (value == 255)
        up = false;
    value = static_cast<std::uint8_t>(up ? value + 1 : value - 1);
    carrier.writePixel(place.x, place.y, colour);
}

}  // namespace sealed
