// Writes that fail half-way: saving a picture that carries a message, and
// extracting a hidden file. The file that was at the path before must stay
// whole, and no partial or temporary file may stay behind.
#include <gtest/gtest.h>

#include <QImage>

#include "DirectCipher.h"
#include "ExpectFailure.h"
#include "FailingWriter.h"
#include "NoiseImage.h"
#include "TestFolder.h"
#include "engine/Commands.h"
#include "engine/LcgGenerator.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "platform/PosixFileStore.h"

using testsupport::FailingWriter;
using testsupport::TestFolder;

namespace {

constexpr int kDiskFull = 61;
constexpr std::size_t kBmpHeaderBytes = 54;
const std::string kKey = "27182818";

// How many bytes get through before the write fails, by name.
struct Budget {
    const char* name;
    std::size_t bytes;
};

void PrintTo(const Budget& budget, std::ostream* out) { *out << budget.name; }

std::string budgetName(const ::testing::TestParamInfo<Budget>& info) { return info.param.name; }

class WriteFaultTest : public ::testing::Test {
protected:
    // A picture that carries a message, as the window holds it before Save Image.
    QImage pictureWithMessage() {
        QImage picture = testsupport::noisePicture(64, 64, 7);
        stego::platform::ImageCarrier carrier(picture);
        std::string pass = "Wren5";
        const stego::Outcome outcome = stego::InsertMessage(carrier, kKey, "Meet me at noon", pass, services);
        EXPECT_EQ(outcome.kind, stego::OutcomeKind::Done) << outcome.message;
        return picture;
    }

    TestFolder folder;
    stego::platform::LcgGenerator generator;
    stego::platform::PosixFileStore files;
    stego::EngineServices services{generator, stego::platform::makeDirectCipherFactory(), files, ","};
};

class PictureSaveFaultTest : public WriteFaultTest, public ::testing::WithParamInterface<Budget> {};

// A 64 x 64 picture is a BMP of 54 + 64 x 64 x 3 = 12,342 bytes.
constexpr std::size_t kSavedBytes = kBmpHeaderBytes + 64 * 64 * 3;
INSTANTIATE_TEST_SUITE_P(Budgets, PictureSaveFaultTest,
                         ::testing::Values(Budget{"NothingWritten", 0}, Budget{"OneByte", 1},
                                           Budget{"HeaderOnly", kBmpHeaderBytes},
                                           Budget{"HeaderAndOneByte", kBmpHeaderBytes + 1},
                                           Budget{"Half", kSavedBytes / 2},
                                           Budget{"AllButTheLastByte", kSavedBytes - 1}),
                         budgetName);

TEST_P(PictureSaveFaultTest, ThePreviousFileStaysWhole) {
    const std::string path = folder / "picture.bmp";
    const QImage previous = testsupport::noisePicture(20, 10, 3);
    stego::platform::savePictureAsBmp(previous, path);
    const std::string previousBytes = testsupport::readFile(path);
    const QImage picture = pictureWithMessage();

    FailingWriter writer(GetParam().bytes);
    testsupport::expectFailure(
        "save", [&] { stego::platform::savePictureAsBmp(picture, path, writer); }, kDiskFull,
        "Cannot write " + path + ": Disk full");

    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(testsupport::readFile(path), previousBytes);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"picture.bmp"});

    // With room for every byte the same save goes through the writer and succeeds.
    FailingWriter roomy(kSavedBytes);
    stego::platform::savePictureAsBmp(picture, path, roomy);
    EXPECT_FALSE(roomy.failed());
    EXPECT_EQ(stego::platform::loadPicture(path), picture);
}

TEST_P(PictureSaveFaultTest, ANewFileLeavesNothingBehind) {
    FailingWriter writer(GetParam().bytes);
    testsupport::expectFailure(
        "save", [&] { stego::platform::savePictureAsBmp(pictureWithMessage(), folder / "new.bmp", writer); }, kDiskFull,
        "Disk full");
    EXPECT_TRUE(folder.entries().empty());
}

class FileExtractFaultTest : public WriteFaultTest, public ::testing::WithParamInterface<Budget> {};

// The hidden file is 1,000 bytes; its encrypted body is written to a scratch
// file before the cipher turns it back into the file.
INSTANTIATE_TEST_SUITE_P(Budgets, FileExtractFaultTest,
                         ::testing::Values(Budget{"NothingWritten", 0}, Budget{"OneByte", 1}, Budget{"Half", 500},
                                           Budget{"AllButTheLastByte", 999}),
                         budgetName);

TEST_P(FileExtractFaultTest, ThePreviousFileStaysWhole) {
    const std::string secret = testsupport::allByteValues(1000);
    testsupport::writeFile(folder / "secret.bin", secret);
    QImage picture = testsupport::noisePicture(200, 100, 9);
    stego::platform::ImageCarrier carrier(picture);
    std::string pass = "Wren5";
    ASSERT_EQ(stego::InsertFile(carrier, kKey, folder / "secret.bin", pass, services).kind, stego::OutcomeKind::Done);
    const std::string destination = folder / "extracted.bin";
    testsupport::writeFile(destination, "the file that was there before");

    FailingWriter writer(GetParam().bytes);
    stego::platform::PosixFileStore failingFiles(writer);
    stego::EngineServices failing{generator, stego::platform::makeDirectCipherFactory(), failingFiles, ","};
    const stego::Outcome outcome = stego::ExtractFile(carrier, kKey, destination, pass, failing);

    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(outcome.kind, stego::OutcomeKind::Error);
    EXPECT_EQ(outcome.number, kDiskFull);
    EXPECT_NE(outcome.message.find("Disk full"), std::string::npos) << outcome.message;
    EXPECT_EQ(testsupport::readFile(destination), "the file that was there before");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"extracted.bin", "secret.bin"}));

    // With room for every byte the same extraction gives the file back.
    FailingWriter roomy(secret.size());
    stego::platform::PosixFileStore roomyFiles(roomy);
    stego::EngineServices enough{generator, stego::platform::makeDirectCipherFactory(), roomyFiles, ","};
    EXPECT_EQ(stego::ExtractFile(carrier, kKey, destination, pass, enough).kind, stego::OutcomeKind::Done);
    EXPECT_FALSE(roomy.failed());
    EXPECT_EQ(testsupport::readFile(destination), secret);
}

}  // namespace
