#include <gtest/gtest.h>

#include "MemoryFileStore.h"
#include "NoisePictures.h"
#include "SealedTestKit.h"
#include "engine/Failure.h"
#include "sealed/SealedCommands.h"

namespace sealed {
namespace {

using stego::MemoryCarrier;
using stego::OutcomeKind;
using stego::test::MemoryFileStore;
using stego::test::noisyPicture;

struct Fixture {
    stego::platform::SodiumCrypto crypto = test::seededCrypto();
    MemoryFileStore files;
    SealedServices services{crypto, files, kCheapestCost};
    MemoryCarrier picture = noisyPicture(80, 60);
    Fixture() { files.folders.insert("/out"); }
};

TEST(SealedCommands, FileRoundTripKeepsTheBaseNameAsASuggestion) {
    Fixture f;
    f.files.files["/in/secret plans.odt"] = stego::test::randomBytes(1500, 9);
    ASSERT_EQ(SealFile(f.picture, "a passphrase", "/in/secret plans.odt", f.services).kind, OutcomeKind::Done);
    const stego::Outcome opened = OpenFile(f.picture, "a passphrase", "/out/plans", f.services);
    ASSERT_EQ(opened.kind, OutcomeKind::Done) << opened.message;
    EXPECT_EQ(opened.text, "secret plans.odt");
    EXPECT_EQ(f.files.files.at("/out/plans"), f.files.files.at("/in/secret plans.odt"));
    EXPECT_TRUE(f.files.liveScratchFolders.empty());
}

// Keys derived in advance seal the item (it opens under their passphrase), and
// are taken only by a sealing that goes ahead.
TEST(SealedCommands, KeysDerivedInAdvanceAreTakenOnlyWhenTheItemFits) {
    Fixture f;
    int taken = 0;
    f.services.keysInAdvance = [&] {
        ++taken;
        return DeriveSealingKeys(f.crypto, "a passphrase", kCheapestCost);
    };
    const MemoryCarrier before = f.picture;
    const std::string tooLong(static_cast<std::size_t>(SealedCapacity(80, 60, 0)) + 1, 'x');
    EXPECT_EQ(SealMessage(f.picture, "a passphrase", tooLong, f.services).kind, OutcomeKind::CapacityShortfall);
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(f.picture.pixels(), before.pixels());

    ASSERT_EQ(SealMessage(f.picture, "a passphrase", "hello", f.services).kind, OutcomeKind::Done);
    EXPECT_EQ(taken, 1);
    f.services.keysInAdvance = nullptr;
    const stego::Outcome opened = OpenMessage(f.picture, "a passphrase", f.services);
    EXPECT_EQ(opened.kind, OutcomeKind::TextExtracted);
    EXPECT_EQ(opened.text, "hello");
}

// Whatever stops an opening, nothing is written and no scratch folder stays.
TEST(SealedCommands, FailedOpeningsWriteNothing) {
    Fixture f;
    f.files.files["/in/data.bin"] = "payload";
    ASSERT_EQ(SealFile(f.picture, "right", "/in/data.bin", f.services).kind, OutcomeKind::Done);
    MemoryCarrier tampered = f.picture;
    for (stego::Rgb& pixel : tampered.pixels())
        pixel.green ^= 1;
    struct Case {
        const char* what;
        const MemoryCarrier& picture;
        const char* passphrase;
        std::string_view words;
    };
    for (const Case& c : {Case{"wrong passphrase", f.picture, "wrong", kNoSealedItem},
                          Case{"tampered picture", tampered, "right", kNoSealedItem},
                          Case{"no item", noisyPicture(80, 60, 2), "right", kNoSealedItem}}) {
        SCOPED_TRACE(c.what);
        const auto before = f.files.files;
        const stego::Outcome outcome = OpenFile(c.picture, c.passphrase, "/out/data.bin", f.services);
        EXPECT_EQ(outcome.kind, OutcomeKind::NoItem);
        EXPECT_EQ(outcome.message, c.words);
        EXPECT_EQ(f.files.files, before);
        EXPECT_TRUE(f.files.liveScratchFolders.empty());
    }
    const stego::Outcome asMessage = OpenMessage(f.picture, "right", f.services);
    EXPECT_EQ(asMessage.kind, OutcomeKind::NoItem);
    EXPECT_EQ(asMessage.message, "The sealed item that opens with this passphrase is a file, not a message");
}

TEST(SealedCommands, RefusalsLeaveThePictureAsItWas) {
    Fixture f;
    const MemoryCarrier before = f.picture;
    f.files.files["/in/big.bin"] = std::string(static_cast<std::size_t>(SealedCapacity(80, 60, 7) + 10), 'b');
    f.files.folders.insert("/in/folder");

    const stego::Outcome empty = SealMessage(f.picture, "", "text", f.services);
    EXPECT_EQ(empty.kind, OutcomeKind::Error);
    EXPECT_EQ(empty.number, stego::kInvalidArgument);

    const stego::Outcome tooBig = SealFile(f.picture, "pass", "/in/big.bin", f.services);
    EXPECT_EQ(tooBig.kind, OutcomeKind::CapacityShortfall);
    EXPECT_EQ(tooBig.message, "Data is 10 bytes longer than this picture can hold sealed");

    EXPECT_EQ(SealFile(f.picture, "pass", "/in/folder", f.services).kind, OutcomeKind::Error);
    EXPECT_EQ(SealFile(f.picture, "pass", "/in/missing", f.services).kind, OutcomeKind::Error);
    EXPECT_EQ(f.picture.pixels(), before.pixels());
}

TEST(SealedCommands, MessageRoundTrip) {
    Fixture f;
    const std::string message = "Grüße aus Köln, \xF0\x9F\x98\x80";
    ASSERT_EQ(SealMessage(f.picture, "pass", message, f.services).kind, OutcomeKind::Done);
    const stego::Outcome opened = OpenMessage(f.picture, "pass", f.services);
    EXPECT_EQ(opened.kind, OutcomeKind::TextExtracted);
    EXPECT_EQ(opened.text, message);
}

}  // namespace
}  // namespace sealed
