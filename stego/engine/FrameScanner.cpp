#include "FrameScanner.h"

#include "PixelChannel.h"

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
        if (m_phase == 0 && m_cells == kCellsBeforeBody) {
            // In the body every cell is alike: whole cells need none of the per-pixel bookkeeping.
            for (; i + 3 <= count; i += 3) {
                const auto code = static_cast<unsigned char>((bits[i] << 5) | (bits[i + 1] << 2) | (bits[i + 2] >> 1));
                if (append(code))
                    return Status::Found;
            }
            if (i == count)
                break;
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
