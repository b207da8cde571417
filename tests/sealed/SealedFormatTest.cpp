#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "MemoryFileStore.h"
#include "NoisePictures.h"
#include "SealedTestKit.h"
#include "engine/Failure.h"
#include "sealed/SealedCommands.h"
#include "sealed/SealedFormat.h"
#include "sealed/SlotChannel.h"

namespace sealed {
namespace {

using stego::MemoryCarrier;
using stego::test::noisyPicture;
using test::pictureHash;
using test::seededCrypto;

struct KnownAnswer {
    int line = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t seed = 0;
    std::string passphrase;
    SealedItem item;
    std::string hash;
};

// sealed_known_answers.txt: width|height|seed|passphrase|kind|name|payload|sha256 of the picture.
std::vector<KnownAnswer> knownAnswers() {
    std::ifstream in(std::string(PIXQUILL_SEALED_TEST_DATA) + "/sealed_known_answers.txt");
    std::vector<KnownAnswer> answers;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '|');)
            fields.push_back(field);
        if (fields.size() == 7)
            fields.emplace_back();
        if (fields.size() != 8) {
            ADD_FAILURE() << "line " << number << " has " << fields.size() << " fields";
            continue;
        }
        KnownAnswer answer;
        answer.line = number;
        answer.width = std::stoi(fields[0]);
        answer.height = std::stoi(fields[1]);
        answer.seed = static_cast<std::uint8_t>(std::stoi(fields[2]));
        answer.passphrase = fields[3];
        answer.item.kind = fields[4] == "file" ? ItemKind::File : ItemKind::Message;
        answer.item.name = fields[5];
        answer.item.payload = fields[6];
        answer.hash = fields[7];
        answers.push_back(answer);
    }
    return answers;
}

// A fixed seed fixes the salt, the nonce and every matching step: the picture
// is then fixed too, and any change to the format shows here.
TEST(SealedFormat, KnownAnswers) {
    const std::vector<KnownAnswer> answers = knownAnswers();
    ASSERT_FALSE(answers.empty());
    for (const KnownAnswer& answer : answers) {
        SCOPED_TRACE("sealed_known_answers.txt line " + std::to_string(answer.line));
        MemoryCarrier carrier = noisyPicture(answer.width, answer.height, 7);
        auto crypto = seededCrypto(answer.seed);
        SealItem(carrier, crypto, answer.passphrase, answer.item, kCheapestCost);
        EXPECT_EQ(pictureHash(carrier), answer.hash);
        EXPECT_EQ(OpenItem(carrier, crypto, answer.passphrase), answer.item);

        // Keys derived in advance, as the command line derives them while the picture opens.
        MemoryCarrier inAdvance = noisyPicture(answer.width, answer.height, 7);
        auto sameCrypto = seededCrypto(answer.seed);
        const SealingKeys keys = DeriveSealingKeys(sameCrypto, answer.passphrase, kCheapestCost);
        SealItem(inAdvance, sameCrypto, keys, answer.item);
        EXPECT_EQ(pictureHash(inAdvance), answer.hash);
    }
}

// Messages and files from empty to exactly the capacity come back whole; one
// byte more is refused with the picture as it was.
TEST(SealedFormat, RoundTripsUpToTheCapacity) {
    struct Case {
        std::int32_t width, height;
        ItemKind kind;
        std::string name;
    };
    for (const Case& c : {Case{16, 16, ItemKind::Message, ""}, Case{33, 17, ItemKind::File, "report.pdf"},
                          Case{100, 80, ItemKind::Message, ""}, Case{64, 64, ItemKind::File, "a"}}) {
        const std::int64_t capacity = SealedCapacity(c.width, c.height, c.name.size());
        ASSERT_GT(capacity, 0);
        for (const std::int64_t size : {std::int64_t{0}, std::int64_t{1}, capacity / 2, capacity}) {
            SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " + std::to_string(size) +
                         " bytes");
            MemoryCarrier carrier = noisyPicture(c.width, c.height, static_cast<unsigned>(size));
            const SealedItem item{c.kind, c.name, stego::test::randomBytes(static_cast<std::size_t>(size), 3)};
            auto crypto = seededCrypto();
            SealItem(carrier, crypto, "a passphrase", item, kCheapestCost);
            EXPECT_EQ(OpenItem(carrier, crypto, "a passphrase"), item);
        }
        MemoryCarrier carrier = noisyPicture(c.width, c.height);
        const MemoryCarrier before = carrier;
        auto crypto = seededCrypto();
        const SealedItem tooLong{c.kind, c.name, std::string(static_cast<std::size_t>(capacity + 1), 'x')};
        EXPECT_THROW(SealItem(carrier, crypto, "a passphrase", tooLong, kCheapestCost), stego::Failure);
        EXPECT_EQ(carrier.pixels(), before.pixels());
    }
}

// LSB matching moves a component by one at most, never wraps, and leaves the
// pixels that carry nothing as they were.
TEST(SealedFormat, ChangesAreSmallAndOnlyAtUsedSlots) {
    for (const stego::Rgb fill : {stego::Rgb{0, 0, 0}, stego::Rgb{255, 255, 255}, stego::Rgb{128, 127, 1}}) {
        MemoryCarrier carrier(60, 40, fill);
        auto crypto = seededCrypto();
        SealItem(carrier, crypto, "a passphrase", SealedItem{ItemKind::Message, "", std::string(100, 'm')},
                 kCheapestCost);
        int changedComponents = 0;
        for (const stego::Rgb& pixel : carrier.pixels())
            for (const auto& [now, was] : {std::pair{pixel.red, fill.red}, std::pair{pixel.green, fill.green},
                                           std::pair{pixel.blue, fill.blue}}) {
                EXPECT_LE(std::abs(int{now} - int{was}), 1);
                changedComponents += now != was ? 1 : 0;
            }
        // About half of the used slots need a change; the rest of the picture none.
        const int usedSlots = 8 * static_cast<int>(kOverheadBytes + 100);
        EXPECT_GT(changedComponents, usedSlots / 4);
        EXPECT_LT(changedComponents, usedSlots * 3 / 4);
    }
}

// Every bit of the item matters: flipping the low bit of each component in
// turn either leaves the item whole (an unused slot) or makes it unopenable
// with nothing written, and exactly as many flips fail as the item has bits.
TEST(SealedFormat, EveryUsedBitFlippedFailsTheItemAndWritesNothing) {
    MemoryCarrier sealedPicture = noisyPicture(16, 16, 5);
    const SealedItem item{ItemKind::File, "f.txt", "twelve bytes"};
    auto crypto = seededCrypto();
    SealItem(sealedPicture, crypto, "a passphrase", item, kCheapestCost);
    stego::test::MemoryFileStore files;
    files.folders.insert("/out");
    SealedServices services{crypto, files, kCheapestCost};
    std::size_t failures = 0;
    for (std::size_t pixel = 0; pixel < sealedPicture.pixels().size(); ++pixel)
        for (int component = 0; component < 3; ++component) {
            MemoryCarrier flipped = sealedPicture;
            stego::Rgb& colour = flipped.pixels()[pixel];
            std::uint8_t& value = component == 0 ? colour.red : component == 1 ? colour.green : colour.blue;
            value ^= 1;
            files.files.clear();
            const stego::Outcome outcome = OpenFile(flipped, "a passphrase", "/out/f", services);
            if (outcome.kind == stego::OutcomeKind::Done) {
                EXPECT_EQ(files.files.at("/out/f"), item.payload);
            } else {
                EXPECT_EQ(outcome.message, kNoSealedItem);
                EXPECT_TRUE(files.files.empty());
                ++failures;
            }
        }
    EXPECT_TRUE(files.liveScratchFolders.empty());
    EXPECT_EQ(failures, 8 * (kOverheadBytes + item.name.size() + item.payload.size()));
}

// A wrong passphrase, a picture without an item, a cropped or widened
// picture and one too small for any item are all the same: nothing opens.
TEST(SealedFormat, NothingOpensWithoutTheRightPassphraseAndPicture) {
    MemoryCarrier carrier = noisyPicture(50, 40);
    auto crypto = seededCrypto();
    SealItem(carrier, crypto, "the passphrase", SealedItem{ItemKind::Message, "", "hello"}, kCheapestCost);
    ASSERT_TRUE(OpenItem(carrier, crypto, "the passphrase"));

    EXPECT_FALSE(OpenItem(carrier, crypto, "the passphrasE"));
    EXPECT_FALSE(OpenItem(carrier, crypto, "the passphrase "));
    EXPECT_FALSE(OpenItem(noisyPicture(50, 40), crypto, "the passphrase"));

    MemoryCarrier cropped(50, 39);  // the last row lost, as a truncated file loses it
    std::copy_n(carrier.pixels().begin(), cropped.pixels().size(), cropped.pixels().begin());
    EXPECT_FALSE(OpenItem(cropped, crypto, "the passphrase"));
    EXPECT_FALSE(OpenItem(MemoryCarrier(4, 4), crypto, "the passphrase"));
    EXPECT_FALSE(OpenItem(MemoryCarrier(0, 0), crypto, "the passphrase"));
}

// The name is a suggestion: folders and parent references never come back.
TEST(SealedFormat, SafeBaseNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"report.pdf", "report.pdf"},
        {"/home/u/report.pdf", "report.pdf"},
        {"..\\..\\boot.ini", "boot.ini"},
        {"a/..", ""},
        {".", ""},
        {"dir/", ""},
        {"bad\nname", ""},
        {std::string(300, 'n'), std::string(255, 'n')},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(SafeBaseName(path), name) << path;
}

}  // namespace
}  // namespace sealed
