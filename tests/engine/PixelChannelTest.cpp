// The pixel channel: where the bits go, what fits, and a scan that must step
// exactly like the plain pixel-by-pixel one.
#include <gtest/gtest.h>
#include <ostream>

#include "NoisePictures.h"
#include "engine/Failure.h"
#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"
#include "engine/PixelChannel.h"

namespace stego {
namespace {

using platform::LcgGenerator;

const std::string kStart(FrameStartMarker);
const std::string kEnd(FrameEndMarker);

using test::randomBytes;
constexpr auto noisyCarrier = test::noisyPicture;

void embed(Carrier& carrier, const std::string& pass, const std::string& text) {
    LcgGenerator generator;
    Scrambler scrambler(generator);
    scrambler.BuildScrambleTable(pass);
    EmbedFramedText(carrier, scrambler, text);
}

// The scan written as plainly as it is described: pixel by pixel, column by
// column, one UnscrambleChar per character.
ScanResult referenceScan(const Carrier& carrier, Scrambler& scrambler) {
    int phase = 0;
    int cells = 0;
    int value = 0;
    std::string text;
    for (std::int32_t x = 0; x < carrier.width(); ++x) {
        for (std::int32_t y = 0; y < carrier.height(); ++y) {
            if (phase == 0) {
                if (cells < 9) {
                    ++cells;
                    if (cells == 9 && text != kStart)
                        return {ScanResult::Kind::NoStartMarker, {}};
                    if (cells == 9)
                        text.clear();
                }
                value = 0;
            }
            const Rgb colour = carrier.readPixel(x, y);
            const int weights[3][3] = {{128, 64, 32}, {16, 8, 4}, {2, 1, 0}};
            value += weights[phase][0] * (colour.red % 2) + weights[phase][1] * (colour.green % 2) +
                     weights[phase][2] * (colour.blue % 2);
            if (++phase == 3) {
                phase = 0;
                text += scrambler.UnscrambleChar(static_cast<char>(value));
            }
            if (text.size() >= 8 && text.substr(text.size() - 8) == kEnd)
                return {ScanResult::Kind::Found, text.substr(0, text.size() - 8)};
        }
    }
    return {ScanResult::Kind::Exhausted, {}};
}

struct ScanOutcome {
    ScanResult result;
    std::uint64_t generatorState;
};

ScanOutcome scanWith(ScanResult (*scanner)(const Carrier&, Scrambler&), const Carrier& carrier,
                     const std::string& pass) {
    LcgGenerator generator;
    Scrambler scrambler(generator);
    scrambler.BuildScrambleTable(pass);
    ScanResult result = scanner(carrier, scrambler);
    return {std::move(result), generator.state()};
}

ScanOutcome scan(const Carrier& carrier, const std::string& pass) { return scanWith(ScanFramedText, carrier, pass); }

ScanOutcome scanByReference(const Carrier& carrier, const std::string& pass) {
    return scanWith(referenceScan, carrier, pass);
}

// A carrier that logs every access, to see the walk order.
class RecordingCarrier : public MemoryCarrier {
public:
    using MemoryCarrier::MemoryCarrier;
    struct Access {
        char kind;  // 'r' or 'w'
        std::int32_t x, y;
        friend bool operator==(const Access&, const Access&) = default;
    };
    Rgb readPixel(std::int32_t x, std::int32_t y) const override {
        log.push_back({'r', x, y});
        return MemoryCarrier::readPixel(x, y);
    }
    void writePixel(std::int32_t x, std::int32_t y, Rgb colour) override {
        log.push_back({'w', x, y});
        MemoryCarrier::writePixel(x, y, colour);
    }
    mutable std::vector<Access> log;
};

// A carrier that has no row reads of its own, as a picture behind a slow interface might.
class PixelOnlyCarrier : public Carrier {
public:
    explicit PixelOnlyCarrier(MemoryCarrier& inner) : m_inner(inner) {}
    std::int32_t width() const override { return m_inner.width(); }
    std::int32_t height() const override { return m_inner.height(); }
    Rgb readPixel(std::int32_t x, std::int32_t y) const override { return m_inner.readPixel(x, y); }
    void writePixel(std::int32_t x, std::int32_t y, Rgb colour) override { m_inner.writePixel(x, y, colour); }

private:
    MemoryCarrier& m_inner;
};

struct LayoutCase {
    const char* name;
    std::int32_t width, height;
};

class ChannelLayout : public testing::TestWithParam<LayoutCase> {};
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

TEST_P(ChannelLayout, CellsRunDownEachColumnReadingBeforeWriting) {
    const LayoutCase& c = GetParam();
    RecordingCarrier carrier(c.width, c.height);
    embed(carrier, "Wren5", kStart + kEnd);

    ASSERT_EQ(carrier.log.size(), 16U * 6);
    for (std::int32_t k = 0; k < 16; ++k) {
        for (std::int32_t j = 0; j < 3; ++j) {
            const std::int32_t index = 3 * k + j;
            const RecordingCarrier::Access place{'r', index / c.height, index % c.height};
            EXPECT_EQ(carrier.log[static_cast<std::size_t>(6 * k + j)], place) << "read of pixel " << index;
            EXPECT_EQ(carrier.log[static_cast<std::size_t>(6 * k + 3 + j)],
                      (RecordingCarrier::Access{'w', place.x, place.y}))
                << "write of pixel " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Grids, ChannelLayout,
                         testing::Values(LayoutCase{"HeightFive", 10, 5}, LayoutCase{"HeightOne", 48, 1},
                                         LayoutCase{"WidthOne", 1, 48}),
                         [](const testing::TestParamInfo<LayoutCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

TEST(PixelChannel, HeightFivePutsTheSecondCellAcrossTheColumnFoot) {
    RecordingCarrier carrier(10, 5);
    embed(carrier, "Wren5", kStart + kEnd);
    const std::vector<RecordingCarrier::Access> secondCellReads = {{'r', 0, 3}, {'r', 0, 4}, {'r', 1, 0}};
    EXPECT_EQ(std::vector<RecordingCarrier::Access>(carrier.log.begin() + 6, carrier.log.begin() + 9), secondCellReads);
}

TEST(PixelChannel, EachCodeGoesMostSignificantBitFirstIntoEightLowBits) {
    // No scramble key: the characters go in as they are.
    const Rgb fill{0x10, 0x11, 0x13};
    MemoryCarrier carrier(9, 1, fill);
    embed(carrier, "", std::string("V\xff\x00", 3));

    const std::vector<Rgb> expected = {
        // 'V' = 0101 0110
        {0x10, 0x11, 0x12},
        {0x11, 0x10, 0x13},
        {0x11, 0x10, 0x13},
        // 0xFF: every bit set; the third blue keeps its value
        {0x11, 0x11, 0x13},
        {0x11, 0x11, 0x13},
        {0x11, 0x11, 0x13},
        // 0x00: every bit clear
        {0x10, 0x10, 0x12},
        {0x10, 0x10, 0x12},
        {0x10, 0x10, 0x13},
    };
    EXPECT_EQ(carrier.pixels(), expected);
}

TEST(PixelChannel, EmbeddingChangesOnlyLowBitsOfTheCellsAndNeverTheThirdBlue) {
    MemoryCarrier carrier = noisyCarrier(37, 11, 7);
    const MemoryCarrier before = carrier;
    const std::string text = kStart + randomBytes(100, 8) + kEnd;
    embed(carrier, "Wren5", text);

    const std::int32_t cellPixels = 3 * static_cast<std::int32_t>(text.size());
    for (std::int32_t index = 0; index < carrier.width() * carrier.height(); ++index) {
        const Rgb now = carrier.readPixel(index / 11, index % 11);
        const Rgb was = before.readPixel(index / 11, index % 11);
        if (index >= cellPixels || index % 3 == 2) {
            EXPECT_EQ(now.blue, was.blue) << index;
        }
        if (index >= cellPixels) {
            EXPECT_EQ(now, was) << index;
            continue;
        }
        EXPECT_LE(std::abs(now.red - was.red), 1) << index;
        EXPECT_LE(std::abs(now.green - was.green), 1) << index;
        EXPECT_LE(std::abs(now.blue - was.blue), 1) << index;
    }
    EXPECT_EQ(scan(carrier, "Wren5").result.body, text.substr(8, 100));
}

TEST(PixelChannel, ANewShorterItemLeavesTheOlderItemsTailAndIsFoundAlone) {
    MemoryCarrier carrier = noisyCarrier(20, 7, 9);
    embed(carrier, "Wren5", kStart + std::string(24, 'o') + kEnd);  // 40 characters
    const MemoryCarrier older = carrier;
    embed(carrier, "Wren5", kStart + "newer..." + kEnd);  // 24 characters

    for (std::int32_t index = 3 * 24; index < 3 * 40; ++index)
        EXPECT_EQ(carrier.readPixel(index / 7, index % 7), older.readPixel(index / 7, index % 7)) << index;
    const ScanOutcome found = scan(carrier, "Wren5");
    EXPECT_EQ(found.result.kind, ScanResult::Kind::Found);
    EXPECT_EQ(found.result.body, "newer...");
}

TEST(PixelChannel, EmbeddingWhatDoesNotFitChangesNothing) {
    MemoryCarrier carrier = noisyCarrier(47, 1, 10);
    const MemoryCarrier before = carrier;
    EXPECT_THROW(embed(carrier, "Wren5", kStart + kEnd), Failure);
    EXPECT_EQ(carrier.pixels(), before.pixels());
}

struct CapacityCase {
    std::int64_t length;
    std::int32_t width, height;
    std::int32_t shortfall;
};

TEST(PixelChannel, CapacityShortfallCountsMissingPixels) {
    const std::vector<CapacityCase> cases = {
        {16, 48, 1, 0},       {16, 47, 1, 1},        {16, 1, 48, 0}, {16, 6, 8, 0},    {16, 7, 5, 13},
        {32783, 98349, 1, 0}, {32783, 331, 297, 42}, {0, 0, 0, 0},   {20, 0, 100, 60},
    };
    for (const CapacityCase& c : cases)
        EXPECT_EQ(CapacityShortfall(c.length, c.width, c.height), c.shortfall)
            << c.length << " in " << c.width << " x " << c.height;
}

TEST(PixelChannel, CapacityProductsBeyond32BitsAreOverflowErrors) {
    const std::vector<CapacityCase> cases = {
        {715827883, 1, 1, 0},  // 3 x L passes 2^31 - 1
        {1, 46341, 46341, 0},  // W x H does
        {1, 65536, 32768, 0},
        {std::int64_t{1} << 40, 1, 1, 0},
    };
    for (const CapacityCase& c : cases) {
        try {
            CapacityShortfall(c.length, c.width, c.height);
            ADD_FAILURE() << "no failure for " << c.length << " in " << c.width << " x " << c.height;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), kOverflow);
        }
    }
}

TEST(PixelChannel, CapacityMessageCountsCharactersOrBytesGroupedByThrees) {
    const std::vector<std::tuple<std::string, std::int64_t, std::int64_t, std::string, std::string>> cases = {
        {"message", 53, 17, ",", "The message needs 53 characters of room; this picture holds 17."},
        {"message", 0, 0, ",", "The message needs 0 characters of room; this picture is too small to hold any."},
        {"message", 32767, 2500, ",", "The message needs 32,767 characters of room; this picture holds 2,500."},
        {"file", 32767, 1000000, ".", "The file needs 32.767 bytes of room; this picture holds 1.000.000."},
        {"file", 2000, 123456, "\xc2\xa0",
         "The file needs 2\xc2\xa0"
         "000 bytes of room; this picture holds 123\xc2\xa0"
         "456."},
    };
    for (const auto& [what, length, capacity, separator, expected] : cases)
        EXPECT_EQ(CapacityMessage(what, length, capacity, separator), expected);
}

// How a scan ends on small pictures, checked against the plain scan for the
// generator state too (which tells how many characters were read).
struct ScanCase {
    const char* name;
    std::int32_t width, height;
    std::string hidden;  // written from pixel 0 under "Wren5"; the rest is noise
    ScanResult::Kind kind;
    std::string body;
};

class ScanEnds : public testing::TestWithParam<ScanCase> {};
void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

TEST_P(ScanEnds, AsThePlainScanDoes) {
    const ScanCase& c = GetParam();
    MemoryCarrier carrier = noisyCarrier(c.width, c.height, 11);
    embed(carrier, "Wren5", c.hidden);
    const ScanOutcome fast = scan(carrier, "Wren5");
    const ScanOutcome plain = scanByReference(carrier, "Wren5");

    EXPECT_EQ(fast.result.kind, c.kind);
    EXPECT_EQ(fast.result.body, c.body);
    EXPECT_EQ(plain.result.kind, c.kind);
    EXPECT_EQ(fast.generatorState, plain.generatorState);
}

INSTANTIATE_TEST_SUITE_P(
    SmallPictures, ScanEnds,
    testing::Values(ScanCase{"EmptyBody", 6, 8, kStart + kEnd, ScanResult::Kind::Found, ""},
                    ScanCase{"NoItemStopsAtTheNinthCell", 5, 5, "Vyn2005s", ScanResult::Kind::NoStartMarker, ""},
                    ScanCase{"TwentyFourPixelsNeverReachTheStartTest", 8, 3, "Vyn2005s", ScanResult::Kind::Exhausted,
                             ""},
                    ScanCase{"StartMarkerThenAPartialCell", 5, 5, kStart, ScanResult::Kind::Exhausted, ""},
                    ScanCase{"StartMarkerWithoutEnd", 30, 9, kStart + "no end here", ScanResult::Kind::Exhausted, ""},
                    ScanCase{"EndMarkerFirstIn24Pixels", 24, 1, kEnd, ScanResult::Kind::Found, ""},
                    ScanCase{"EndMarkerFirstInALargerPicture", 10, 10, kEnd + "ignored", ScanResult::Kind::Found, ""},
                    ScanCase{"BodyEndsAtTheFirstEndMarker", 10, 10, kStart + "ab" + kEnd + "cd" + kEnd,
                             ScanResult::Kind::Found, "ab"}),
    [](const testing::TestParamInfo<ScanCase>& testCase) { return std::string(testCase.param.name); });

// Larger pictures with every shape of grid the strip reader meets: the fast
// scan must agree with the plain one on the result and the generator state.
struct AgreementCase {
    const char* name;
    std::int32_t width, height;
    std::size_t bodyLength;
    bool withEnd;
    const char* pass;
};

class ScanAgreement : public testing::TestWithParam<AgreementCase> {};
void PrintTo(const AgreementCase& c, std::ostream* os) { *os << c.name; }

TEST_P(ScanAgreement, FastScanEqualsPlainScan) {
    const AgreementCase& c = GetParam();
    const unsigned seed = 4242;
    SCOPED_TRACE("seed " + std::to_string(seed));
    MemoryCarrier carrier = noisyCarrier(c.width, c.height, seed);
    const std::string body = randomBytes(c.bodyLength, seed + 1);
    embed(carrier, c.pass, kStart + body + (c.withEnd ? kEnd : ""));

    const ScanOutcome fast = scan(carrier, c.pass);
    const ScanOutcome plain = scanByReference(carrier, c.pass);
    EXPECT_EQ(fast.result.kind, plain.result.kind);
    EXPECT_EQ(fast.result.body, plain.result.body);
    EXPECT_EQ(fast.generatorState, plain.generatorState);
    if (c.withEnd) {
        EXPECT_EQ(fast.result.kind, ScanResult::Kind::Found);
        EXPECT_EQ(fast.result.body, body);
    }

    PixelOnlyCarrier pixelOnly(carrier);
    EXPECT_EQ(scan(pixelOnly, c.pass).result.body, fast.result.body);
}

INSTANTIATE_TEST_SUITE_P(Grids, ScanAgreement,
                         testing::Values(AgreementCase{"WideStripsFound", 300, 101, 9000, true, "Wren5"},
                                         AgreementCase{"WideStripsExhausted", 300, 101, 9000, false, "Wren5"},
                                         AgreementCase{"HeightNotAMultipleOfThree", 131, 97, 4000, true, "Wren5"},
                                         AgreementCase{"OneRow", 3000, 1, 900, true, "Wren5"},
                                         AgreementCase{"OneColumn", 1, 3001, 900, false, "Wren5"},
                                         AgreementCase{"NoScrambleKey", 200, 50, 3000, true, ""},
                                         AgreementCase{"OtherScrambleKey", 200, 50, 3000, false, "a longer key text"}),
                         [](const testing::TestParamInfo<AgreementCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

TEST(PixelChannel, ScanOfAPictureWrittenUnderAnotherScrambleKeyFindsNoStartMarker) {
    MemoryCarrier carrier = noisyCarrier(40, 40, 12);
    embed(carrier, "Wren5", kStart + "x" + kEnd);
    EXPECT_EQ(scan(carrier, "Wren6").result.kind, ScanResult::Kind::NoStartMarker);
}

}  // namespace
}  // namespace stego
