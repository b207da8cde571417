#include "FrameScanner.h"

#include "engine/PixelChannel.h"

namespace stego {

namespace {

constexpr std::uint64_t packed(std::string_view eight) {
    std::uint64_t value = 0;
    for (const char ch : eight)
        value = (value << 8) | static_cast<unsigned char>(ch);
    return value;
}

// No character of the marker is 0, so a register that has seen fewer than
// eight characters since it was cleared never equals it.
constexpr std::uint64_t kEndMarker = packed(FrameEndMarker);
constexpr int kCellsBeforeBody = 9;

// Bit weights of a pixel's (red, green, blue) low bits by its place in the cell.
unsigned weighted(int phase, std::uint8_t lowBits) {
    switch (phase) {
    case 0: return static_cast<unsigned>(lowBits) << 5;
    case 1: return static_cast<unsigned>(lowBits) << 2;
    default: return static_cast<unsigned>(lowBits) >> 1;  // the third blue carries nothing
    }
}

}  // namespace

FrameScanner::FrameScanner(ScrambleChain& chain, std::int64_t pixels) : m_chain(chain) {
    if (pixels > 0)
        m_text.reserve(static_cast<std::size_t>(pixels / 3));
}

bool FrameScanner::append(unsigned char code) {
    const unsigned char plain = m_chain.unscramble(code);
    m_text.push_back(static_cast<char>(plain));
    m_lastEight = (m_lastEight << 8) | plain;
    return m_lastEight == kEndMarker;
}

FrameScanner::Status FrameScanner::stepOnePixel(std::uint8_t lowBits) {
    if (m_phase == 0) {
        if (m_cells < kCellsBeforeBody) {
            ++m_cells;
            if (m_cells == kCellsBeforeBody) {
                if (m_text != FrameStartMarker)
                    return Status::NoStartMarker;
                m_text.clear();
                m_lastEight = 0;
            }
        }
        m_value = 0;
    }
    m_value += weighted(m_phase, lowBits);
    if (++m_phase == 3) {
        m_phase = 0;
        if (append(static_cast<unsigned char>(m_value)))
            return Status::Found;
    }
    return Status::Reading;
}

FrameScanner::Status FrameScanner::feed(std::span<const std::uint8_t> lowBits) {
    const std::uint8_t* const bits = lowBits.data();
    const std::size_t count = lowBits.size();
    std::size_t i = 0;
    while (i < count) {
        if (m_phase == 0 && m_cells == kCellsBeforeBody && count - i >= 3) {
            // In the body every cell is alike: whole cells need none of the per-pixel bookkeeping.
            const std::size_t cells = (count - i) / 3;
            m_codes.resize(cells);
            std::uint8_t* const codes = m_codes.data();  // a local, so that the stores cannot alias it
            const std::uint8_t* cell = bits + i;
            for (std::size_t k = 0; k < cells; ++k, cell += 3)
                codes[k] = static_cast<std::uint8_t>((cell[0] << 5) | (cell[1] << 2) | (cell[2] >> 1));
            i += 3 * cells;
            const std::size_t before = m_text.size();
            m_text.resize(before + cells);
            const std::size_t done =
                m_chain.unscrambleUntil(codes, cells, m_text.data() + before, m_lastEight, kEndMarker);
            if (m_lastEight == kEndMarker) {
                m_text.resize(before + done);
                return Status::Found;
            }
            continue;
        }
        const Status status = stepOnePixel(bits[i]);
        ++i;
        if (status != Status::Reading)
            return status;
    }
    return Status::Reading;
}

std::string FrameScanner::takeBody() {
    std::string body = std::move(m_text);
    body.resize(body.size() >= FrameEndMarker.size() ? body.size() - FrameEndMarker.size() : 0);
    return body;
}

}  // namespace stego
