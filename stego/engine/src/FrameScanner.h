// The scan's state machine: assembles characters from pixel low bits, tests
// the start marker once and the end marker after every character.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ScrambleChain.h"

namespace stego {

/// Fed the pixels' low bits in pixel-index order (as LowBitReader hands them
/// out), it steps exactly as the pixel-by-pixel scan does: a cell of three
/// pixels makes a character, the cell counter stops at 9, the start marker is
/// tested when the ninth cell begins, and a partial cell never makes a character.
class FrameScanner {
public:
    enum class Status { Reading, NoStartMarker, Found };

    /// pixels is how many the scan may visit at most; the text's room is
    /// reserved for it once (address space only, until it is written).
    FrameScanner(ScrambleChain& chain, std::int64_t pixels);

    /// Steps through the run; stops at the pixel where the scan ends.
    Status feed(std::span<const std::uint8_t> lowBits);
    /// The text between the markers, once feed has returned Found.
    std::string takeBody();

private:
    // Appends one character; true when the text now ends with the end marker.
    bool append(unsigned char code);
    Status stepOnePixel(std::uint8_t lowBits);

    ScrambleChain& m_chain;
    int m_phase = 0;           // place of the next pixel in its cell
    std::int16_t m_cells = 0;  // cells begun, counted up to 9
    unsigned m_value = 0;
    std::string m_text;
    std::uint64_t m_lastEight = 0;      // the last eight characters of m_text, the newest lowest
    std::vector<std::uint8_t> m_codes;  // the codes of a run's whole cells, before unscrambling
};

}  // namespace stego
