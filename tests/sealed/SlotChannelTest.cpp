#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "NoisePictures.h"
#include "SealedTestKit.h"
#include "sealed/SlotChannel.h"

namespace sealed {
namespace {

using stego::MemoryCarrier;

// A carrier that only knows single pixels, so rows go through the Carrier's
// own pixel-by-pixel readRow and writeRow.
class PixelOnlyCarrier : public stego::Carrier {
public:
    explicit PixelOnlyCarrier(MemoryCarrier& picture) : m_picture(picture) {}
    std::int32_t width() const override { return m_picture.width(); }
    std::int32_t height() const override { return m_picture.height(); }
    stego::Rgb readPixel(std::int32_t x, std::int32_t y) const override { return m_picture.readPixel(x, y); }
    void writePixel(std::int32_t x, std::int32_t y, stego::Rgb colour) override { m_picture.writePixel(x, y, colour); }

private:
    MemoryCarrier& m_picture;
};

std::uint8_t componentAt(const MemoryCarrier& picture, std::uint32_t slot) {
    const stego::Rgb& pixel = picture.pixels()[slot / 3];
    return slot % 3 == 0 ? pixel.red : slot % 3 == 1 ? pixel.green : pixel.blue;
}

// Slots in rows wider than the window, at row ends and in runs, dense and
// sparse: every bit reads back, only a used slot whose low bit differed moves,
// by one, and a carrier of rows writes exactly what one of single pixels does.
TEST(SlotChannel, BitsLandAtTheirSlotsWhateverTheWindows) {
    struct Case {
        std::int32_t width, height;
        std::size_t slots;
    };
    for (const Case& c : {Case{700, 5, 3000}, Case{700, 5, 40}, Case{257, 9, 6000}, Case{1, 50, 100}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " + std::to_string(c.slots));
        const auto slotCount = static_cast<std::uint32_t>(3 * c.width * c.height);
        std::mt19937 random(c.slots);
        std::set<std::uint32_t> chosen = {0, slotCount - 1, static_cast<std::uint32_t>(3 * c.width - 1),
                                          static_cast<std::uint32_t>(3 * c.width)};
        while (chosen.size() < c.slots)
            chosen.insert(static_cast<std::uint32_t>(random() % slotCount));
        std::vector<std::uint32_t> slots(chosen.begin(), chosen.end());
        std::shuffle(slots.begin(), slots.end(), random);
        std::vector<bool> bits(slots.size());
        std::map<std::uint32_t, bool> bitAt;
        for (std::size_t i = 0; i < bits.size(); ++i)
            bitAt[slots[i]] = bits[i] = (random() & 1) != 0;

        // Extremes too, where matching has one way to go.
        MemoryCarrier rows = stego::test::noisyPicture(c.width, c.height, 4);
        rows.pixels()[0] = stego::Rgb{0, 255, 0};
        rows.pixels().back() = stego::Rgb{255, 0, 255};
        const MemoryCarrier before = rows;
        MemoryCarrier pixels = rows;
        PixelOnlyCarrier pixelOnly(pixels);
        auto rowsCrypto = test::seededCrypto(9);
        auto pixelsCrypto = test::seededCrypto(9);
        MatchingDirections rowsDirections(rowsCrypto);
        MatchingDirections pixelsDirections(pixelsCrypto);
        writeSlotBits(rows, slots, bits, rowsDirections);
        writeSlotBits(pixelOnly, slots, bits, pixelsDirections);

        EXPECT_EQ(rows.pixels(), pixels.pixels());
        EXPECT_EQ(readSlotBits(rows, slots), bits);
        EXPECT_EQ(readSlotBits(pixelOnly, slots), bits);
        for (std::uint32_t slot = 0; slot < slotCount; ++slot) {
            const int was = componentAt(before, slot);
            const int now = componentAt(rows, slot);
            const auto used = bitAt.find(slot);
            if (used == bitAt.end() || ((was & 1) != 0) == used->second)
                ASSERT_EQ(now, was) << "slot " << slot;
            else
                ASSERT_EQ(std::abs(now - was), 1) << "slot " << slot;
        }
    }
}

}  // namespace
}  // namespace sealed
