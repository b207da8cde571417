// The fields of a cipher machine in their simplest form (each rotor a string, by
// place), so that the fast machine and the literal reference compare field by field.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

namespace corvid {

struct MachineFields {
    std::array<std::string, 11> Rotor;  // the rotor at each place 1..10; index 0 unused
    std::array<std::int16_t, 11> RotorStep{};
    std::array<std::int16_t, 11> RotorDirection{};
    std::int16_t RotateAfter = 0;
    std::int16_t SymbolCount = 0;
    std::string TextAlphabet;
    std::string ByteAlphabet;

    bool operator==(const MachineFields&) const = default;
};

// A readable failure message instead of GoogleTest's byte dump.
void PrintTo(const MachineFields& fields, std::ostream* out);

}  // namespace corvid
