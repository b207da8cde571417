// The unscramble substitution for a long run of characters, remembered per
// generator state so that a whole-picture scan does not replay the generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Scrambler.h"

namespace stego {

/// Gives, character after character, exactly what Scrambler::UnscrambleChar
/// would, from the generator state at construction on. The row for the next
/// character depends only on the generator state at its start, and with a key
/// of L characters there are at most 256 x L x L + 1 such states, so the chain
/// soon runs in a loop of remembered nodes. A generator whose states do not
/// repeat within maxNodes makes the chain fall back to direct draws.
class ScrambleChain {
public:
    static constexpr std::size_t kDefaultMaxNodes = std::size_t{1} << 20;

    explicit ScrambleChain(Scrambler& scrambler, std::size_t maxNodes = kDefaultMaxNodes);

    unsigned char unscramble(unsigned char code) {
        if (m_identity)
            return code;
        if (m_nodes[m_current].next < 0) [[unlikely]]
            return unscrambleSlowly(code);
        const Node& node = m_nodes[m_current];
        m_current = static_cast<std::size_t>(node.next);
        return m_inverse[node.tableOffset + code];
    }

    /// Leaves the generator in the state that the direct calls would have left.
    void finish();

private:
    struct Node {
        std::int32_t next = -1;  // index of the node for the following character; -1 until drawn
        std::uint32_t tableOffset = 0;
    };

    unsigned char unscrambleSlowly(unsigned char code);
    std::size_t nodeFor(std::uint64_t state);

    Scrambler& m_scrambler;
    RandomSource& m_generator;
    const std::size_t m_maxNodes;
    bool m_identity = false;
    bool m_direct = false;  // the node budget ran out: the generator itself holds the state
    std::vector<unsigned char> m_inverse;  // the unscramble table, row after row
    std::vector<Node> m_nodes;
    std::vector<std::uint64_t> m_states;  // generator state at the start of each node's character
    std::unordered_map<std::uint64_t, std::int32_t> m_index;
    std::size_t m_current = 0;
};

}  // namespace stego
