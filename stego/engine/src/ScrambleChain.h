// The unscramble substitution for a long run of characters, remembered per
// generator state so that a whole-picture scan does not replay the generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/Scrambler.h"

namespace stego {

/// Gives, character after character, exactly what Scrambler::UnscrambleChar
/// would, from the generator state at construction on. The row for a character
/// depends only on the generator state at its start, and with a key of L
/// characters there are at most 256 x L x L + 1 such states, so the states soon
/// close a loop. The chain records one node per state (its row) until a state
/// repeats, and from then on walks the loop as a plain array: no generator
/// calls, no hashing. A generator whose states do not repeat within maxNodes
/// makes the chain fall back to direct draws.
class ScrambleChain {
public:
    static constexpr std::size_t kDefaultMaxNodes = std::size_t{1} << 20;

    explicit ScrambleChain(Scrambler& scrambler, std::size_t maxNodes = kDefaultMaxNodes);

    unsigned char unscramble(unsigned char code) {
        if (m_mode == Mode::Loop) {
            const std::uint32_t offset = m_loopOffsets[m_position];
            if (++m_position == m_loopOffsets.size())
                m_position = 0;
            return m_inverse[offset + code];
        }
        return unscrambleOutsideLoop(code);
    }

    /// Unscrambles codes into out, keeping lastEight (the last eight characters,
    /// the newest in the low byte) up to date, and stops after the character
    /// with which lastEight equals marker. Returns how many it unscrambled.
    std::size_t unscrambleUntil(const std::uint8_t* codes, std::size_t count, char* out, std::uint64_t& lastEight,
                                std::uint64_t marker);

    /// Leaves the generator in the state that the direct calls would have left.
    void finish();

private:
    enum class Mode {
        Identity,   // no key text: characters pass unchanged, nothing is drawn
        Recording,  // drawing, and remembering each state's row until a state repeats
        Loop,       // walking the remembered loop; the generator is left alone until finish
        Direct,     // too many states to remember: drawing as UnscrambleChar does
    };

    unsigned char unscrambleOutsideLoop(unsigned char code);

    Scrambler& m_scrambler;
    RandomSource& m_generator;
    const std::size_t m_maxNodes;
    Mode m_mode = Mode::Recording;
    std::vector<unsigned char> m_inverse;  // the unscramble table, row after row

    // Recording: the states met, in order, with the table offset of their row.
    std::vector<std::uint64_t> m_states;
    std::vector<std::uint32_t> m_offsets;
    std::unordered_map<std::uint64_t, std::size_t> m_index;

    // Loop: the part of the recording that repeats, and where the next character is in it.
    std::vector<std::uint64_t> m_loopStates;
    std::vector<std::uint32_t> m_loopOffsets;
    std::size_t m_position = 0;
};

}  // namespace stego
