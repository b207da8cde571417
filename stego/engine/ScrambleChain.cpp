#include "ScrambleChain.h"

namespace stego {

ScrambleChain::ScrambleChain(Scrambler& scrambler, std::size_t maxNodes)
    : m_scrambler(scrambler), m_generator(scrambler.generator()), m_maxNodes(maxNodes < 1 ? 1 : maxNodes) {
    m_identity = scrambler.keyText().empty();
    if (m_identity)
        return;
    // Rows beyond the tables must fail as UnscrambleChar fails, so only rows
    // that exist are copied; the slow path checks every new row.
    const int rows = scrambler.ScrambleKeyLength();
    m_inverse.resize(static_cast<std::size_t>(rows) * 256);
    for (int r = 1; r <= rows; ++r)
        for (int v = 0; v < 256; ++v)
            m_inverse[static_cast<std::size_t>(r - 1) * 256 + static_cast<std::size_t>(v)] =
                static_cast<unsigned char>(scrambler.UnscrambleTable(v, r));
    m_current = nodeFor(m_generator.state());
}

std::size_t ScrambleChain::nodeFor(std::uint64_t state) {
    const auto found = m_index.find(state);
    if (found != m_index.end())
        return static_cast<std::size_t>(found->second);
    const auto index = static_cast<std::int32_t>(m_nodes.size());
    m_nodes.push_back(Node{});
    m_states.push_back(state);
    m_index.emplace(state, index);
    return static_cast<std::size_t>(index);
}

unsigned char ScrambleChain::unscrambleSlowly(unsigned char code) {
    if (m_direct)
        return m_scrambler.unscrambleThroughRow(m_scrambler.drawRow(), code);

    m_generator.setState(m_states[m_current]);
    const int row = m_scrambler.drawRow();
    const unsigned char plain = m_scrambler.unscrambleThroughRow(row, code);  // checks the row
    const std::uint64_t after = m_generator.state();

    if (m_nodes.size() >= m_maxNodes && m_index.find(after) == m_index.end()) {
        // The generator now holds the state after this character; from here on it is drawn directly.
        m_direct = true;
        return plain;
    }
    const std::size_t next = nodeFor(after);
    Node& node = m_nodes[m_current];
    node.tableOffset = static_cast<std::uint32_t>(row - 1) * 256;
    node.next = static_cast<std::int32_t>(next);
    m_current = next;
    return plain;
}

void ScrambleChain::finish() {
    if (!m_identity && !m_direct)
        m_generator.setState(m_states[m_current]);
}

}  // namespace stego
