// Insert Data and Extract Data: byte-exact round trips, the private scratch
// folder, and every refusal leaving the picture, pass and files as they were.
#include <gtest/gtest.h>
#include <ostream>

#include <functional>

#include "CommandBench.h"
#include "engine/Failure.h"

namespace stego::test {
namespace {

const std::string kSource = "/work/secret.bin";
const std::string kDestination = "/work/recovered.bin";

// 102,400 pixels: room for the largest file, 32,783 framed characters in 98,349 pixels.
constexpr std::int32_t kSide = 320;

std::string everyByteValue() {
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int v = 0; v < 256; ++v)
            bytes += static_cast<char>(v);
    return bytes;
}

struct FileCase {
    const char* name;
    std::string content;
    std::string key;
};

class FileRoundTrip : public testing::TestWithParam<FileCase> {};
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

TEST_P(FileRoundTrip, GivesBackTheFileByteForByte) {
    const FileCase& c = GetParam();
    CommandBench bench(kSide, kSide);
    bench.files.files[kSource] = c.content;
    bench.files.files[kDestination] = "an older file of the same name, longer than some of the new ones";

    const Outcome hidden = InsertFile(bench.picture, c.key, kSource, bench.pass, bench.services);
    ASSERT_EQ(hidden.kind, OutcomeKind::Done) << hidden;
    const Outcome extracted = ExtractFile(bench.picture, c.key, kDestination, bench.pass, bench.services);
    ASSERT_EQ(extracted.kind, OutcomeKind::Done) << extracted;
    EXPECT_EQ(extracted.message, kDestination + " has been extracted.");

    EXPECT_EQ(bench.files.files.at(kDestination), c.content);
    EXPECT_EQ(bench.files.files.at(kSource), c.content);
    // Nothing but the two files is left behind, and no cipher object.
    EXPECT_EQ(bench.files.files.size(), 2U);
    EXPECT_TRUE(bench.files.liveScratchFolders.empty());
    EXPECT_EQ(bench.cipherLog.created, 2);
    EXPECT_EQ(bench.cipherLog.alive, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FileRoundTrip,
                         testing::Values(FileCase{"Empty", "", ""}, FileCase{"OneByte", std::string(1, '\0'), ""},
                                         FileCase{"ThousandBytes", randomBytes(1000, 1), "5551212"},
                                         FileCase{"ThousandAndOneBytes", randomBytes(1001, 2), ""},
                                         FileCase{"LargestFile", randomBytes(32767, 3), "123456789012345678"},
                                         FileCase{"EveryByteValueDefaultKey", everyByteValue(), ""},
                                         FileCase{"EveryByteValueGivenKey", everyByteValue(), "90210"},
                                         FileCase{"LineBreaksAtTheEnd", "text\r\n", ""}),
                         [](const testing::TestParamInfo<FileCase>& testCase) {
                             return std::string(testCase.param.name);
                         });

TEST(FileCommands, TheEncryptedFileLivesOnlyInAPrivateFolderOfItsCommand) {
    CommandBench bench(kSide, kSide);
    bench.files.files[kSource] = "payload";
    ASSERT_EQ(InsertFile(bench.picture, "", kSource, bench.pass, bench.services).kind, OutcomeKind::Done);
    ASSERT_EQ(ExtractFile(bench.picture, "", kDestination, bench.pass, bench.services).kind, OutcomeKind::Done);

    // The cipher wrote corvid.enc in a scratch folder in the temporary folder,
    // then its decryption in a scratch folder beside the destination.
    ASSERT_EQ(bench.cipherLog.filesWritten.size(), 2U);
    const std::string& encrypted = bench.cipherLog.filesWritten[0];
    const std::string& decrypted = bench.cipherLog.filesWritten[1];
    EXPECT_TRUE(bench.files.scratchFoldersMade.contains(folderOf(encrypted))) << encrypted;
    EXPECT_EQ(encrypted.substr(encrypted.rfind('/') + 1), "corvid.enc");
    EXPECT_EQ(folderOf(folderOf(encrypted)), "/tmp");
    EXPECT_TRUE(bench.files.scratchFoldersMade.contains(folderOf(decrypted))) << decrypted;
    EXPECT_EQ(folderOf(folderOf(decrypted)), folderOf(kDestination));
    EXPECT_NE(folderOf(encrypted), folderOf(decrypted));
    EXPECT_TRUE(bench.files.liveScratchFolders.empty());
}

TEST(FileCommands, GetFileStringDataAppendsTheWholeFile) {
    MemoryFileStore files;
    files.files["/work/f"] = std::string("\0\r\n\xff", 4);
    std::string data = "kept";
    GetFileStringData(files, "/work/f", data);
    EXPECT_EQ(data, std::string("kept\0\r\n\xff", 8));
}

struct InsertRefusal {
    const char* name;
    std::function<void(CommandBench&)> prepare;
    std::string source;
    std::string key;
    OutcomeKind kind;
    int number;
    std::string words;
};

class InsertFileRefusal : public testing::TestWithParam<InsertRefusal> {};
void PrintTo(const InsertRefusal& c, std::ostream* os) { *os << c.name; }

TEST_P(InsertFileRefusal, SaysWhyAndChangesNothing) {
    const InsertRefusal& c = GetParam();
    CommandBench bench(kSide, kSide);
    bench.pass = " Wren5 ";
    c.prepare(bench);
    const Snapshot before(bench);

    const Outcome outcome = InsertFile(bench.picture, c.key, c.source, bench.pass, bench.services);
    EXPECT_EQ(outcome.kind, c.kind) << outcome;
    EXPECT_EQ(outcome.number, c.number) << outcome;
    EXPECT_NE(outcome.message.find(c.words), std::string::npos) << outcome.message;
    EXPECT_EQ(Snapshot(bench), before);
    EXPECT_TRUE(bench.files.liveScratchFolders.empty());
    EXPECT_EQ(bench.cipherLog.alive, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, InsertFileRefusal,
    testing::Values(InsertRefusal{"SourceMissing", [](CommandBench&) {}, "/work/nothing.bin", "", OutcomeKind::Error,
                                  53, "/work/nothing.bin does not exist"},
                    InsertRefusal{"SourceIsAFolder", [](CommandBench&) {}, "/work", "", OutcomeKind::Error, 75,
                                  "/work is a folder"},
                    InsertRefusal{"SourceIsADevice", [](CommandBench& b) { b.files.devices.insert("/dev/zero"); },
                                  "/dev/zero", "", OutcomeKind::Error, 75, "not an ordinary file"},
                    InsertRefusal{"FileTooLarge",
                                  [](CommandBench& b) { b.files.files[kSource] = std::string(32768, 'x'); }, kSource,
                                  "", OutcomeKind::Error, 6, "32,768 bytes"},
                    InsertRefusal{"EncryptedFileHoldsTheEndMarker",
                                  [](CommandBench& b) {
                                      b.files.files[kSource] =
                                          fakePlainBytesFor("31", std::string("\x01Vyn2005E\x02", 10));
                                  },
                                  kSource, "31", OutcomeKind::Error, 5, "another key"},
                    InsertRefusal{"PictureTooSmall",
                                  [](CommandBench& b) {
                                      b.files.files[kSource] = std::string(32767, 'x');
                                      b.picture = noisyPicture(331, 297);
                                  },
                                  kSource, "", OutcomeKind::CapacityShortfall, 0,
                                  "The file needs 32,767 bytes of room; this picture holds 32,753."},
                    InsertRefusal{"CipherReportsMissingKey",
                                  [](CommandBench& b) {
                                      b.files.files[kSource] = "x";
                                      b.cipherLog.fileResult = 99;
                                  },
                                  kSource, "", OutcomeKind::Error, 99,
                                  "There was an error encrypting the /work/secret.bin file.  Operation cancelled."},
                    InsertRefusal{"TemporaryFileCannotBeWritten",
                                  [](CommandBench& b) {
                                      b.files.files[kSource] = "x";
                                      b.files.failWritesContaining = "corvid.enc";
                                  },
                                  kSource, "", OutcomeKind::Error, 61, "Disk full"},
                    InsertRefusal{"CipherCannotBeCreated",
                                  [](CommandBench& b) {
                                      b.files.files[kSource] = "x";
                                      b.cipherLog.refuseCreation = true;
                                  },
                                  kSource, "", OutcomeKind::Error, 429, "cipher"}),
    [](const testing::TestParamInfo<InsertRefusal>& testCase) { return std::string(testCase.param.name); });

struct ExtractRefusal {
    const char* name;
    std::function<void(CommandBench&)> prepare;  // runs after a file was hidden
    std::string destination;
    OutcomeKind kind;
    int number;
    std::string message;
};

class ExtractFileRefusal : public testing::TestWithParam<ExtractRefusal> {};
void PrintTo(const ExtractRefusal& c, std::ostream* os) { *os << c.name; }

TEST_P(ExtractFileRefusal, LeavesTheDestinationAsItWas) {
    const ExtractRefusal& c = GetParam();
    CommandBench bench(kSide, kSide);
    bench.files.files[kSource] = "the hidden file";
    ASSERT_EQ(InsertFile(bench.picture, "", kSource, bench.pass, bench.services).kind, OutcomeKind::Done);
    bench.files.files[kDestination] = "precious older content";
    bench.pass = "Wren5 ";
    c.prepare(bench);
    const Snapshot before(bench);

    const Outcome outcome = ExtractFile(bench.picture, "", c.destination, bench.pass, bench.services);
    EXPECT_EQ(outcome.kind, c.kind) << outcome;
    EXPECT_EQ(outcome.number, c.number) << outcome;
    EXPECT_NE(outcome.message.find(c.message), std::string::npos) << outcome.message;
    EXPECT_EQ(bench.files.files, before.files);
    EXPECT_EQ(bench.files.folders, before.folders);
    EXPECT_EQ(bench.picture.pixels(), before.pixels);
    EXPECT_EQ(bench.pass, c.kind == OutcomeKind::Error ? "Wren5 " : "Wren5");
    EXPECT_TRUE(bench.files.liveScratchFolders.empty());
    EXPECT_EQ(bench.cipherLog.alive, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ExtractFileRefusal,
    testing::Values(
        ExtractRefusal{"NothingHidden", [](CommandBench& b) { b.picture = noisyPicture(kSide, kSide, 77); },
                       kDestination, OutcomeKind::NoItem, 0, "This Image has no Embedded File"},
        ExtractRefusal{"StartWithoutEnd",
                       [](CommandBench& b) {
                           // New noise over the hidden file's body keeps its start and loses its end.
                           const MemoryCarrier noise = noisyPicture(kSide, kSide, 78);
                           for (std::int32_t y = 30; y < kSide; ++y)
                               b.picture.writePixel(0, y, noise.readPixel(0, y));
                       },
                       kDestination, OutcomeKind::Incomplete, 0,
                       "The picture holds the start of a hidden item but not its end; it may have been cut or "
                       "changed."},
        ExtractRefusal{"DecryptionFails", [](CommandBench& b) { b.cipherLog.fileResult = 99; }, kDestination,
                       OutcomeKind::Error, 99,
                       "There was an error decrypting the embedded file.  Operation cancelled."},
        ExtractRefusal{"DecryptionThrows",
                       [](CommandBench& b) {
                           b.cipherLog.beforeEachCall = [] { throw Failure(57, "Device input/output error"); };
                       },
                       kDestination, OutcomeKind::Error, 57, "Device input/output error"},
        // The words name the destination the user chose, not the scratch file beside it.
        ExtractRefusal{"TemporaryFileCannotBeWritten", [](CommandBench& b) { b.files.failWritesContaining = "corvid"; },
                       kDestination, OutcomeKind::Error, 61, "Disk full: " + kDestination},
        ExtractRefusal{"DestinationCannotBeReplaced", [](CommandBench& b) { b.files.failReplace = true; }, kDestination,
                       OutcomeKind::Error, 70, "Permission denied"},
        ExtractRefusal{"DestinationIsAFolder", [](CommandBench&) {}, "/work", OutcomeKind::Error, 75,
                       "/work is a folder"},
        ExtractRefusal{"DestinationFolderMissing", [](CommandBench&) {}, "/nowhere/out.bin", OutcomeKind::Error, 76,
                       "/nowhere"},
        // Checked before the scan: a picture with nothing hidden still gets the folder's error.
        ExtractRefusal{"DestinationFolderMissingBeforeTheScan",
                       [](CommandBench& b) { b.picture = noisyPicture(kSide, kSide, 77); }, "/nowhere/out.bin",
                       OutcomeKind::Error, 76, "/nowhere"},
        ExtractRefusal{"CipherCannotBeCreated", [](CommandBench& b) { b.cipherLog.refuseCreation = true; },
                       kDestination, OutcomeKind::Error, 429, "cipher"}),
    [](const testing::TestParamInfo<ExtractRefusal>& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace stego::test
