#include "ScrambleChain.h"

namespace stego {

ScrambleChain::ScrambleChain(Scrambler& scrambler, std::size_t maxNodes)
    : m_scrambler(scrambler), m_generator(scrambler.generator()), m_maxNodes(maxNodes < 1 ? 1 : maxNodes) {
    if (scrambler.keyText().empty()) {
        m_mode = Mode::Identity;
        return;
    }
    // Only rows that exist are copied; a row drawn beyond them fails in the
    // recording, as UnscrambleChar fails.
    const int rows = scrambler.ScrambleKeyLength();
    m_inverse.resize(static_cast<std::size_t>(rows) * 256);
    for (int r = 1; r <= rows; ++r)
        for (int v = 0; v < 256; ++v)
            m_inverse[static_cast<std::size_t>(r - 1) * 256 + static_cast<std::size_t>(v)] =
                static_cast<unsigned char>(scrambler.UnscrambleTable(v, r));
}

unsigned char ScrambleChain::unscrambleOutsideLoop(unsigned char code) {
    switch (m_mode) {
    case Mode::Identity: return code;
    case Mode::Direct: return m_scrambler.unscrambleThroughRow(m_scrambler.drawRow(), code);
    case Mode::Loop: return unscramble(code);
    case Mode::Recording: break;
    }

    const std::uint64_t before = m_generator.state();
    const int row = m_scrambler.drawRow();
    const unsigned char plain = m_scrambler.unscrambleThroughRow(row, code);  // checks the row
    m_index.emplace(before, m_states.size());
    m_states.push_back(before);
    m_offsets.push_back(static_cast<std::uint32_t>(row - 1) * 256);

    const auto seen = m_index.find(m_generator.state());
    if (seen != m_index.end()) {
        // The next character starts from a state met before: from there on the rows repeat.
        const auto start = static_cast<std::ptrdiff_t>(seen->second);
        m_loopStates.assign(m_states.begin() + start, m_states.end());
        m_loopOffsets.assign(m_offsets.begin() + start, m_offsets.end());
        m_position = 0;
        m_mode = Mode::Loop;
    } else if (m_states.size() >= m_maxNodes) {
        m_mode = Mode::Direct;  // the generator already holds the state for the next character
    } else {
        return plain;
    }
    m_index = {};
    m_states = {};
    m_offsets = {};
    return plain;
}

std::size_t ScrambleChain::unscrambleUntil(const std::uint8_t* codes, std::size_t count, char* out,
                                           std::uint64_t& lastEight, std::uint64_t marker) {
    std::uint64_t last = lastEight;
    std::size_t k = 0;
    while (k < count && m_mode != Mode::Loop) {
        const unsigned char plain = unscrambleOutsideLoop(codes[k]);
        out[k++] = static_cast<char>(plain);
        last = (last << 8) | plain;
        if (last == marker) {
            lastEight = last;
            return k;
        }
    }
    if (k < count) {
        // Locals, so that the stores through out cannot make the compiler reload them.
        const std::uint32_t* const offsets = m_loopOffsets.data();
        const std::size_t length = m_loopOffsets.size();
        const unsigned char* const inverse = m_inverse.data();
        std::size_t position = m_position;
        for (; k < count; ++k) {
            const unsigned char plain = inverse[offsets[position] + codes[k]];
            if (++position == length)
                position = 0;
            out[k] = static_cast<char>(plain);
            last = (last << 8) | plain;
            if (last == marker) {
                ++k;
                break;
            }
        }
        m_position = position;
    }
    lastEight = last;
    return k;
}

void ScrambleChain::finish() {
    if (m_mode == Mode::Loop)
        m_generator.setState(m_loopStates[m_position]);
}

}  // namespace stego
