// pixquill-cli writing onto a disk that fills up half-way: the file that was
// at the destination stays whole, and neither the destination's folder nor the
// temporary folder keeps anything of the failed command.
#include <gtest/gtest.h>

#include <QImage>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "FolderSnapshot.h"
#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::FolderSnapshot;
using testsupport::ProgramOptions;
using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;
const std::string kPrevious = "the file that was there before";

// A file system of 64 KB of its own, mounted for one test and gone with it.
class TinyFileSystem {
public:
    explicit TinyFileSystem(std::string path) : m_path(std::move(path)) {
        std::filesystem::create_directory(m_path);
        if (::geteuid() != 0) {
            m_refusal = "mounting a file system needs root";
        } else if (::mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0755") != 0) {
            m_refusal = std::string("this machine does not let a test mount a file system: ") + std::strerror(errno);
        }
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;
    ~TinyFileSystem() {
        if (m_refusal.empty())
            ::umount2(m_path.c_str(), MNT_DETACH);
    }

    /// Why it could not be mounted; empty when it is.
    const std::string& refusal() const { return m_refusal; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    std::string m_refusal;
};

class CliFullDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::chmod(tmp.path().c_str(), 0700);
        options.environment = {"TMPDIR=" + tmp.path()};
        // 100 x 100 pixels: a BMP of 30,054 bytes.
        stego::platform::savePictureAsBmp(testsupport::noisePicture(100, 100, 4), inputs / "picture.bmp");
        // 320 x 320 pixels hold a file of 32,767 bytes.
        stego::platform::savePictureAsBmp(testsupport::noisePicture(320, 320, 5), inputs / "large.bmp");
        testsupport::writeFile(inputs / "secret.bin", testsupport::allByteValues(32767));
        const auto hidden =
            testsupport::runProgram(kProgram, {"hide-file", "--image", inputs / "large.bmp", "--output",
                                               inputs / "file.bmp", "--file", inputs / "secret.bin", "--key", "42"});
        ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
    }

    // Runs the tool, which must fail with a full disk, and checks what it left.
    void expectDiskFullLeavesAllAsItWas(const std::vector<std::string>& arguments, const std::string& destinationFolder,
                                        const std::string& destination) {
        const FolderSnapshot inputsBefore(inputs.path());
        const FolderSnapshot destinationBefore(destinationFolder);
        const auto result = testsupport::runProgram(kProgram, arguments, options);
        EXPECT_EQ(result.exitCode, 1) << result.err;
        EXPECT_EQ(result.err.rfind("pixquill-cli: error 61: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find("Disk full"), std::string::npos) << result.err;
        EXPECT_EQ(testsupport::readFile(destination), kPrevious);
        EXPECT_TRUE(FolderSnapshot(destinationFolder).differencesFrom(destinationBefore).empty());
        EXPECT_TRUE(FolderSnapshot(inputs.path()).differencesFrom(inputsBefore).empty());
        EXPECT_TRUE(tmp.entries().empty());
    }

    TestFolder inputs;
    TestFolder outputs;
    TestFolder tmp;
    ProgramOptions options;
};

TEST_F(CliFullDiskTest, SavingOntoATinyFileSystem) {
    TinyFileSystem tiny(outputs / "tiny");
    if (!tiny.refusal().empty())
        GTEST_SKIP() << tiny.refusal();
    testsupport::writeFile(tiny / "picture.bmp", kPrevious);
    testsupport::writeFile(tiny / "filler", std::string(32 * 1024, 'f'));  // leaves 28 KB

    expectDiskFullLeavesAllAsItWas({"hide-message", "--image", inputs / "picture.bmp", "--output", tiny / "picture.bmp",
                                    "--key", "1", "--text", "hello"},
                                   outputs / "tiny", tiny / "picture.bmp");
}

TEST_F(CliFullDiskTest, ExtractingOntoATinyFileSystem) {
    TinyFileSystem tiny(outputs / "tiny");
    if (!tiny.refusal().empty())
        GTEST_SKIP() << tiny.refusal();
    testsupport::writeFile(tiny / "secret.bin", kPrevious);
    // The hidden body (32 KB) fits beside it; the file deciphered from it then does not.
    expectDiskFullLeavesAllAsItWas(
        {"extract-file", "--image", inputs / "file.bmp", "--output", tiny / "secret.bin", "--key", "42"},
        outputs / "tiny", tiny / "secret.bin");
}

// Without root a file size limit fails the writes as a full disk does.
// The program itself must not die of the limit's signal halfway through a save,
// so the child gets the default disposition back before it starts.
TEST_F(CliFullDiskTest, SavingAndExtractingPastAFileSizeLimit) {
    options.beforeStart = [] {
        testsupport::limitFileSize(16 * 1024);
        std::signal(SIGXFSZ, SIG_DFL);
    };
    testsupport::writeFile(outputs / "picture.bmp", kPrevious);
    testsupport::writeFile(outputs / "secret.bin", kPrevious);

    expectDiskFullLeavesAllAsItWas({"hide-message", "--image", inputs / "picture.bmp", "--output",
                                    outputs / "picture.bmp", "--key", "1", "--text", "hello"},
                                   outputs.path(), outputs / "picture.bmp");
    expectDiskFullLeavesAllAsItWas(
        {"extract-file", "--image", inputs / "file.bmp", "--output", outputs / "secret.bin", "--key", "42"},
        outputs.path(), outputs / "secret.bin");
}

}  // namespace
