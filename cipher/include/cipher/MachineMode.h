// The constants that tell text mode from byte mode in the key set-up.
#pragma once

namespace corvid {

struct MachineMode {
    int deckSize;        ///< M: the alphabet's size, which is also every rotor's length
    int reductionBound;  ///< N: key values are brought into 1..N (255 in byte mode, not 256)
    int swapsPerPass;    ///< S: deck swaps before each rotation of the deck
};

inline constexpr MachineMode kTextMode{84, 84, 250};
inline constexpr MachineMode kByteMode{256, 255, 500};

/// Passes (S swaps and one deck rotation) that make each rotor.
inline constexpr int kPassesPerRotor = 5;

}  // namespace corvid
