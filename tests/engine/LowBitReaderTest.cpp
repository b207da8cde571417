// The strip reader must hand out exactly the pixels' low bits in column order,
// whatever the grid's shape and however small its runs.
#include <gtest/gtest.h>
#include <ostream>

#include <random>

#include "LowBitReader.h"
#include "engine/MemoryCarrier.h"

namespace stego {
namespace {

// Gives rows only as copies, as a carrier whose pixels are not in memory does.
class RowCopyingCarrier : public Carrier {
public:
    explicit RowCopyingCarrier(const MemoryCarrier& inner) : m_inner(inner) {}
    std::int32_t width() const override { return m_inner.width(); }
    std::int32_t height() const override { return m_inner.height(); }
    Rgb readPixel(std::int32_t x, std::int32_t y) const override { return m_inner.readPixel(x, y); }
    void writePixel(std::int32_t, std::int32_t, Rgb) override {}
    void readRow(std::int32_t y, std::int32_t x0, std::int32_t count, Rgb* out) const override {
        m_inner.readRow(y, x0, count, out);
    }

private:
    const MemoryCarrier& m_inner;
};

struct ReaderCase {
    const char* name;
    std::int32_t width, height;
    std::int64_t runBudget;
};

class LowBitReaderOrder : public testing::TestWithParam<ReaderCase> {};
void PrintTo(const ReaderCase& c, std::ostream* os) { *os << c.name; }

TEST_P(LowBitReaderOrder, HandsOutEveryPixelDownEachColumn) {
    const ReaderCase& c = GetParam();
    MemoryCarrier carrier(c.width, c.height);
    std::mt19937 random(99);
    for (Rgb& pixel : carrier.pixels())
        pixel = Rgb{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                    static_cast<std::uint8_t>(random())};

    std::vector<std::uint8_t> expected;
    for (std::int32_t x = 0; x < c.width; ++x)
        for (std::int32_t y = 0; y < c.height; ++y) {
            const Rgb p = carrier.readPixel(x, y);
            expected.push_back(static_cast<std::uint8_t>((p.red % 2) * 4 + (p.green % 2) * 2 + p.blue % 2));
        }

    // Rows read in place, and the same rows copied out by a carrier that keeps them elsewhere.
    const RowCopyingCarrier copying(carrier);
    for (const Carrier* source : {static_cast<const Carrier*>(&carrier), static_cast<const Carrier*>(&copying)}) {
        LowBitReader reader(*source, c.runBudget);
        std::vector<std::uint8_t> handedOut;
        for (auto run = reader.next(); !run.empty(); run = reader.next()) {
            EXPECT_LE(static_cast<std::int64_t>(run.size()), std::max<std::int64_t>(c.runBudget, c.height));
            handedOut.insert(handedOut.end(), run.begin(), run.end());
        }
        EXPECT_EQ(handedOut, expected) << (source == &carrier ? "in place" : "copied");
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LowBitReaderOrder,
                         testing::Values(ReaderCase{"BlocksAndEdges", 1000, 77, LowBitReader::kDefaultRunBudget},
                                         ReaderCase{"NarrowRunsForTheBudget", 100, 101, 1000},
                                         ReaderCase{"ColumnsTallerThanARun", 3, 1001, 64},
                                         ReaderCase{"OneRow", 999, 1, LowBitReader::kDefaultRunBudget},
                                         ReaderCase{"OneColumn", 1, 999, LowBitReader::kDefaultRunBudget},
                                         ReaderCase{"Empty", 0, 50, LowBitReader::kDefaultRunBudget},
                                         ReaderCase{"NoRows", 50, 0, LowBitReader::kDefaultRunBudget}),
                         [](const testing::TestParamInfo<ReaderCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

}  // namespace
}  // namespace stego
