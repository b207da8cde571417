// How one bit sits in a slot: slot s is colour component s % 3 (red, green,
// blue) of pixel s / 3, pixels counted row after row from the top-left corner.
#pragma once

#include <cstdint>

#include "engine/Carrier.h"

namespace sealed {

/// The low bit of the slot's component.
bool readSlotBit(const stego::Carrier& carrier, std::uint32_t slot);

/// LSB matching: when the low bit differs from bit, the component moves by one,
/// up when up is true, down otherwise, except that 0 always moves up and 255
/// down. A slot that already holds bit is left alone.
void writeSlotBit(stego::Carrier& carrier, std::uint32_t slot, bool bit, bool up);

}  // namespace sealed
