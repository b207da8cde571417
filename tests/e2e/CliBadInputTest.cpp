// Bad input through the built pixquill-cli, one row each: the exit code and
// the words, every input byte for byte as it was, and nothing left behind in
// the working folder or in the program's temporary folder.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "CraftedPictures.h"
#include "FolderSnapshot.h"
#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::FolderSnapshot;
using testsupport::ProgramOptions;
using testsupport::ProgramResult;
using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;
const std::string kPictures = std::string(PIXQUILL_TEST_DATA) + "/pictures/";
const std::string kKeyWords = "a key is one or more decimal digits";
const std::string kAllowed = "A message may hold letters, digits, space and";
constexpr long kMostMemoryKb = 256 * 1024;

struct BadInput {
    const char* name;
    std::vector<std::string> arguments;  // {work} and {tmp} stand for the row's folders
    int exitCode;
    std::string errFragment;
    std::string out;                // standard output, exactly
    std::set<std::string> written;  // what in {work} may be created or changed; the rest stays as it was
    std::string standardInput = {};
    bool needsRoot = false;  // makes a device node
};

void PrintTo(const BadInput& row, std::ostream* out) { *out << row.name; }

std::string rowName(const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; }

std::string expand(std::string text, const std::string& work, const std::string& tmp) {
    const std::pair<std::string, std::string> places[] = {{"{work}", work}, {"{tmp}", tmp}};
    for (const auto& [name, value] : places)
        for (auto at = text.find(name); at != std::string::npos; at = text.find(name))
            text.replace(at, name.size(), value);
    return text;
}

// Sets every low bit of the end marker's cells of a picture holding an
// 11-character message the other way: a start marker, then no end marker.
QImage withoutEndMarker(QImage picture) {
    const int height = picture.height();
    const int endMarkerCell = 8 + 11;
    for (int v = 3 * endMarkerCell; v < 3 * (endMarkerCell + 8); ++v)
        picture.setPixel(v / height, v % height, picture.pixel(v / height, v % height) ^ 0x010101u);
    return picture;
}

class CliBadInputTest : public ::testing::TestWithParam<BadInput> {
protected:
    // The inputs, made once; every row works on a copy of its own.
    static void SetUpTestSuite() {
        inputs = std::make_unique<TestFolder>();
        const TestFolder& in = *inputs;
        using testsupport::writeFile;
        stego::platform::savePictureAsBmp(testsupport::noisePicture(64, 64, 1), in / "clean.bmp");
        // 320 x 320 pixels hold a file of 32,767 bytes.
        stego::platform::savePictureAsBmp(testsupport::noisePicture(320, 320, 2), in / "large.bmp");
        // "hello" needs 3 x (5 + 16) = 63 pixels.
        stego::platform::savePictureAsBmp(testsupport::noisePicture(63, 1, 3), in / "fits.bmp");
        stego::platform::savePictureAsBmp(testsupport::noisePicture(62, 1, 3), in / "one-pixel-short.bmp");
        writeFile(in / "secret.bin", testsupport::allByteValues(100));
        writeFile(in / "f32767.bin", testsupport::allByteValues(32767));
        writeFile(in / "f32768.bin", testsupport::allByteValues(32768));
        writeFile(in / "message.txt", "From a file");
        std::filesystem::create_directory(in / "folder");

        const auto hidden =
            testsupport::runProgram(kProgram, {"hide-message", "--image", in / "clean.bmp", "--output",
                                               in / "message.bmp", "--key", "123", "--text", "Hello World"});
        ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
        const auto hiddenFile =
            testsupport::runProgram(kProgram, {"hide-file", "--image", in / "clean.bmp", "--output", in / "file.bmp",
                                               "--file", in / "secret.bin", "--key", "123"});
        ASSERT_EQ(hiddenFile.exitCode, 0) << hiddenFile.err;
        stego::platform::savePictureAsBmp(withoutEndMarker(stego::platform::loadPicture(in / "message.bmp")),
                                          in / "cut.bmp");

        const std::string bmp = testsupport::readFile(in / "clean.bmp");
        const std::string jpeg = testsupport::readFile(kPictures + "baseline.jpg");
        writeFile(in / "empty.bmp", "");
        writeFile(in / "text.bmp", "This is a text, not a picture.\n");
        writeFile(in / "cut-bmp.bmp", bmp.substr(0, bmp.size() - 10));
        writeFile(in / "cut-jpeg.jpg", testsupport::jpegCutInItsData(jpeg));
        // The data stops and the end-of-picture marker follows at once.
        writeFile(in / "cut-scan.jpg", testsupport::jpegCutInItsData(jpeg) + "\xFF\xD9");
        writeFile(in / "jpeg-header-only.jpg", jpeg.substr(0, jpeg.find("\xFF\xC0")));
        writeFile(in / "width-0.bmp", testsupport::bmpClaiming(0, 8, 0));
        writeFile(in / "height-0.bmp", testsupport::bmpClaiming(8, 0, 0));
        writeFile(in / "width-negative.bmp", testsupport::bmpClaiming(-8, 8, 8 * 24));
        writeFile(in / "height-negative.bmp", testsupport::bmpClaiming(8, -8, 8 * 24));
        writeFile(in / "height-most-negative.bmp", testsupport::bmpClaiming(8, INT32_MIN, 8 * 24));
        writeFile(in / "huge.bmp", testsupport::bmpClaiming(100'000, 100'000, 300));
        writeFile(in / "huge.jpg", testsupport::jpegClaiming(jpeg, 65'500, 65'500));
        writeFile(in / "claims-16000.jpg", testsupport::jpegClaiming(jpeg, 16'000, 16'000));
    }
    static void TearDownTestSuite() { inputs.reset(); }

    void SetUp() override {
        if (GetParam().needsRoot && ::geteuid() != 0)
            GTEST_SKIP() << "making a device node needs root";
        std::filesystem::copy(inputs->path(), work.path(), std::filesystem::copy_options::recursive);
        ASSERT_EQ(::mkfifo((work / "pipe").c_str(), 0600), 0);
        // /dev/full's numbers: the real one is never named, so a fault cannot replace it.
        if (::geteuid() == 0) {
            ASSERT_EQ(::mknod((work / "device").c_str(), S_IFCHR | 0600, makedev(1, 7)), 0);
        }
        ::chmod(tmp.path().c_str(), 0700);
    }

    static std::unique_ptr<TestFolder> inputs;
    TestFolder work;
    TestFolder tmp;  // the program's TMPDIR
};

std::unique_ptr<TestFolder> CliBadInputTest::inputs;

TEST_P(CliBadInputTest, ExitCodeAndWordsAndNothingElseChanged) {
    const BadInput& row = GetParam();
    std::vector<std::string> arguments;
    for (const std::string& argument : row.arguments)
        arguments.push_back(expand(argument, work.path(), tmp.path()));
    ProgramOptions options;
    options.standardInput = row.standardInput;
    options.environment = {"TMPDIR=" + tmp.path()};
    options.timeoutSeconds = 30;  // every row takes well under a second; a wait is a fault
    const FolderSnapshot before(work.path());

    const ProgramResult result = testsupport::runProgram(kProgram, arguments, options);

    EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
    EXPECT_EQ(result.out, row.out);
    EXPECT_NE(result.err.find(expand(row.errFragment, work.path(), tmp.path())), std::string::npos) << result.err;
    if (row.exitCode != 0) {
        EXPECT_EQ(result.err.rfind("pixquill-cli: ", 0), 0u) << result.err;
    }
    // No input here is larger than a megabyte: a picture's header alone must not cost a large allocation.
    EXPECT_LT(result.peakMemoryKb, kMostMemoryKb);
    EXPECT_EQ(FolderSnapshot(work.path()).differencesFrom(before), row.written);
    EXPECT_TRUE(tmp.entries().empty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pictures, CliBadInputTest, ::testing::Values(
    BadInput{"EmptyFile", {"capacity", "--image", "{work}/empty.bmp"}, 1,
             "error 481: Cannot open picture {work}/empty.bmp: Invalid picture: the file is empty", "", {}},
    BadInput{"TextNamedBmp", {"hide-message", "--image", "{work}/text.bmp", "--output", "{work}/o.bmp", "--key", "1",
                              "--text", "a"}, 1, "error 481: Cannot open picture {work}/text.bmp: Invalid picture: not a BMP, JPEG or PNG file", "", {}},
    BadInput{"TruncatedBmp", {"extract-message", "--image", "{work}/cut-bmp.bmp", "--key", "1"}, 1,
             "error 481: Cannot open picture {work}/cut-bmp.bmp: Invalid picture: the BMP pixel data is cut short", "", {}},
    BadInput{"TruncatedJpeg", {"capacity", "--image", "{work}/cut-jpeg.jpg"}, 1,
             "error 481: Cannot open picture {work}/cut-jpeg.jpg: Invalid picture: the JPEG data ends too soon", "", {}},
    BadInput{"JpegDataCutThenEndMarker", {"capacity", "--image", "{work}/cut-scan.jpg"}, 1,
             "error 481: Cannot open picture {work}/cut-scan.jpg: Invalid picture: the JPEG data ends too soon", "", {}},
    BadInput{"JpegCutInItsHeader", {"capacity", "--image", "{work}/jpeg-header-only.jpg"}, 1,
             "Invalid picture: the JPEG data ends before its size; the file may be cut short", "", {}},
    BadInput{"BmpWidth0", {"capacity", "--image", "{work}/width-0.bmp"}, 1,
             "error 481: Cannot open picture {work}/width-0.bmp: Invalid picture: its size is 0 x 8 pixels", "", {}},
    BadInput{"BmpHeight0", {"capacity", "--image", "{work}/height-0.bmp"}, 1,
             "Invalid picture: its size is 8 x 0 pixels", "", {}},
    BadInput{"BmpWidthNegative", {"capacity", "--image", "{work}/width-negative.bmp"}, 1,
             "Invalid picture: its size is -8 x 8 pixels", "", {}},
    // A negative height is an ordinary top-down picture.
    BadInput{"BmpHeightNegative", {"capacity", "--image", "{work}/height-negative.bmp"}, 0, "", "5\n", {}},
    BadInput{"BmpHeightMostNegative", {"capacity", "--image", "{work}/height-most-negative.bmp"}, 1,
             "the picture is 8 x 2147483648 pixels, more than the 268,435,456 pixels this program can hold", "", {}},
    BadInput{"Bmp100000By100000", {"extract-message", "--image", "{work}/huge.bmp", "--key", "1"}, 1,
             "the picture is 100000 x 100000 pixels, more than the 268,435,456 pixels this program can hold", "", {}},
    BadInput{"Jpeg65500By65500", {"capacity", "--image", "{work}/huge.jpg"}, 1,
             "the picture is 65500 x 65500 pixels, more than the 268,435,456 pixels this program can hold", "", {}},
    BadInput{"JpegClaimingMoreThanItsBytesHold", {"capacity", "--image", "{work}/claims-16000.jpg"}, 1,
             "its header claims 16000 x 16000 pixels, but the file holds only 291 bytes", "", {}},
    BadInput{"PictureIsAFolder", {"capacity", "--image", "{work}/folder"}, 1,
             "error 75: Cannot open picture {work}/folder: Path is a folder, not a file", "", {}},
    BadInput{"PictureIsAPipe", {"extract-message", "--image", "{work}/pipe", "--key", "1"}, 1,
             "error 75: Cannot open picture {work}/pipe: it is a device or a pipe, not a picture file", "", {}},
    BadInput{"PictureIsADevice", {"capacity", "--image", "{work}/device"}, 1,
             "error 75: Cannot open picture {work}/device: it is a device or a pipe", "", {}, "", true}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Destinations, CliBadInputTest, ::testing::Values(
    BadInput{"FileToHideIsAFolder", {"hide-file", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--file",
                                     "{work}/folder", "--key", "1"}, 1, "error 75: {work}/folder is a folder, not a file.", "", {}},
    BadInput{"HideOntoAFolder", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/folder", "--key", "1",
                                 "--text", "a"}, 1, "error 75: Cannot write {work}/folder: Path is a folder, not a file", "", {}},
    BadInput{"ExtractOntoAFolder", {"extract-file", "--image", "{work}/file.bmp", "--output", "{work}/folder", "--key",
                                    "123"}, 1, "error 75: {work}/folder is a folder, not a file.", "", {}},
    BadInput{"HideIntoAMissingFolder", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/absent/o.bmp",
                                        "--key", "1", "--text", "a"}, 1, "error 76: The folder {work}/absent does not exist", "", {}},
    BadInput{"ExtractIntoAMissingFolder", {"extract-file", "--image", "{work}/file.bmp", "--output",
                                           "{work}/absent/o.bin", "--key", "123"}, 1,
             "error 76: The folder {work}/absent does not exist", "", {}},
    BadInput{"HideOntoAPipe", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/pipe", "--key", "1",
                               "--text", "a"}, 1, "error 75: Cannot save picture {work}/pipe: it is a device or a pipe, not an ordinary file", "", {}},
    // As /dev/full: a device is written into, never replaced, so it is refused.
    BadInput{"HideOntoADevice", {"hide-file", "--image", "{work}/clean.bmp", "--output", "{work}/device", "--file",
                                 "{work}/secret.bin", "--key", "1"}, 1,
             "error 75: Cannot save picture {work}/device: it is a device or a pipe, not an ordinary file", "", {}, "", true},
    BadInput{"ExtractOntoADevice", {"extract-file", "--image", "{work}/file.bmp", "--output", "{work}/device", "--key",
                                    "123"}, 1, "error 75: {work}/device is not an ordinary file.", "", {}, "", true},
    BadInput{"ExtractOntoItsPicture", {"extract-file", "--image", "{work}/file.bmp", "--output", "{work}/./file.bmp",
                                       "--key", "123"}, 2, "--output names the picture given with --image", "", {}},
    BadInput{"HideOntoItsPicture", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/clean.bmp",
                                    "--key", "1", "--text", "in place"}, 0, "", "", {"clean.bmp"}},
    BadInput{"EncipherOntoItsInput", {"encrypt-file", "--input", "{work}/secret.bin", "--output", "{work}/secret.bin",
                                      "--key", "1"}, 2, "--output names the file given with --input", "", {}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(KeysAndTexts, CliBadInputTest, ::testing::Values(
    BadInput{"KeyOfLetters", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key", "abc",
                              "--text", "a"}, 2, kKeyWords, "", {}},
    BadInput{"KeyOf19Digits", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key",
                               "1234567890123456789", "--text", "a"}, 0, "", "", {"o.bmp"}},
    BadInput{"KeyZero", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key", "0",
                         "--text", "a"}, 0, "", "", {"o.bmp"}},
    BadInput{"MessageWithQuestionMark", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp",
                                         "--key", "1", "--text", "Why?"}, 1,
             "error 5: Character 4 of the message, \"?\", cannot be hidden. " + kAllowed, "", {}},
    BadInput{"MessageWithTab", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key", "1",
                                "--text", "a\tb"}, 1, "error 5: Character 2 of the message, a tab, cannot be hidden.", "", {}},
    BadInput{"MessageWithLineBreak", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp",
                                      "--key", "1"}, 1, "error 5: Character 2 of the message, a line break", "", {},
             "a\nb\n"},
    BadInput{"MessageBeyondLatin1", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key",
                                     "1", "--text", "5 \xE2\x82\xAC"}, 1,
             "error 5: Character 3 of the message, \"\xE2\x82\xAC\" (U+20AC), is beyond ISO 8859-1", "", {}},
    BadInput{"MessageFromAFolder", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key",
                                    "1", "--text-file", "{work}/folder"}, 1, "error 75: {work}/folder is a folder, not a file.", "", {}},
    BadInput{"MessageFromAPipe", {"hide-message", "--image", "{work}/clean.bmp", "--output", "{work}/o.bmp", "--key",
                                  "1", "--text-file", "{work}/pipe"}, 1, "error 75: {work}/pipe is not an ordinary file.", "", {}},
    BadInput{"MessageWithoutEndOnStandardInput", {"hide-message", "--image", "{work}/clean.bmp", "--output",
                                                  "{work}/o.bmp", "--key", "1"}, 1,
             "error 6: Standard input holds more than 131,070 bytes", "", {}, std::string(200'000, 'a')},
    BadInput{"FileOf32768Bytes", {"hide-file", "--image", "{work}/large.bmp", "--output", "{work}/o.bmp", "--file",
                                  "{work}/f32768.bin", "--key", "1"}, 1,
             "error 6: {work}/f32768.bin has 32,768 bytes; a file of at most 32,767 bytes can be hidden.", "", {}},
    BadInput{"FileOf32767Bytes", {"hide-file", "--image", "{work}/large.bmp", "--output", "{work}/o.bmp", "--file",
                                  "{work}/f32767.bin", "--key", "1"}, 0, "", "", {"o.bmp"}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(HiddenItems, CliBadInputTest, ::testing::Values(
    BadInput{"PictureTooSmallByOnePixel", {"hide-message", "--image", "{work}/one-pixel-short.bmp", "--output",
                                           "{work}/o.bmp", "--key", "1", "--text", "hello"}, 1,
             "pixquill-cli: error: The message needs 5 characters of room; this picture holds 4.", "", {}},
    BadInput{"PictureJustLargeEnough", {"hide-message", "--image", "{work}/fits.bmp", "--output", "{work}/o.bmp",
                                        "--key", "1", "--text", "hello"}, 0, "", "", {"o.bmp"}},
    BadInput{"StartMarkerWithoutEndMarker", {"extract-message", "--image", "{work}/cut.bmp", "--key", "123"}, 4,
             "pixquill-cli: The picture holds the start of a hidden item but not its end", "", {}},
    BadInput{"FileStartMarkerWithoutEndMarker", {"extract-file", "--image", "{work}/cut.bmp", "--output",
                                                 "{work}/o.bin", "--key", "123"}, 4,
             "holds the start of a hidden item but not its end", "", {}},
    BadInput{"FileExtractedAsMessage", {"extract-message", "--image", "{work}/file.bmp", "--key", "123"}, 1,
             "error 5: This picture holds a hidden file, not a message. Use \"Extract Data\" to extract it.", "", {}},
    BadInput{"NoHiddenMessage", {"extract-message", "--image", "{work}/clean.bmp", "--key", "1"}, 3,
             "pixquill-cli: This Image has no Message", "", {}},
    BadInput{"NoHiddenFile", {"extract-file", "--image", "{work}/clean.bmp", "--output", "{work}/o.bin", "--key", "1"},
             3, "pixquill-cli: This Image has no Embedded File", "", {}}),
    rowName);
// clang-format on

}  // namespace
