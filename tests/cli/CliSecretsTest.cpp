// What other users and failing devices see of pixquill-cli: keys kept off the
// command line, output failures reported, inputs never overwritten.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "NoiseImage.h"
#include "ProgramRun.h"
#include "TestFolder.h"
#include "platform/PictureFile.h"

using testsupport::ProgramOptions;
using testsupport::ProgramResult;
using testsupport::runProgram;
using testsupport::TestFolder;

namespace {

const std::string kProgram = PIXQUILL_CLI;

class CliSecretsTest : public ::testing::Test {
protected:
    void SetUp() override {
        stego::platform::savePictureAsBmp(testsupport::noisePicture(64, 64, 1), folder / "clean.bmp");
        testsupport::writeFile(folder / "key", "123\n");
    }

    std::string cipherText(const std::string& key) const {
        const ProgramResult run = runProgram(kProgram, {"encrypt-text", "--text", "Hello", "--key", key});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    TestFolder folder;
};

TEST_F(CliSecretsTest, AKeyFromAFileOrStandardInputIsTheSameKey) {
    const std::string expected = cipherText("123");
    ASSERT_NE(expected, cipherText("124"));
    testsupport::writeFile(folder / "crlf", "123\r\nsecond line");
    testsupport::writeFile(folder / "bare", "123");
    const struct {
        const char* what;
        std::vector<std::string> keyArguments;
        std::string standardInput;
    } cases[] = {
        {"file", {"--key-file", folder / "key"}, ""},
        {"file with CRLF and more lines", {"--key-file", folder / "crlf"}, ""},
        {"file without a line break", {"--key-file", folder / "bare"}, ""},
        {"--key-file -", {"--key-file", "-"}, "123\n"},
        {"--key - off a terminal", {"--key", "-"}, "123\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"encrypt-text", "--text", "Hello"};
        arguments.insert(arguments.end(), c.keyArguments.begin(), c.keyArguments.end());
        const ProgramResult run = runProgram(kProgram, arguments, c.standardInput);
        EXPECT_EQ(run.exitCode, 0) << c.what << ": " << run.err;
        EXPECT_EQ(run.out, expected) << c.what;
    }

    // The message and the key through one file each, round trip.
    testsupport::writeFile(folder / "message", "Kept off the command line");
    ASSERT_EQ(runProgram(kProgram, {"hide-message", "--image", folder / "clean.bmp", "--output", folder / "h.bmp",
                                    "--text-file", folder / "message", "--key-file", folder / "key"})
                  .exitCode,
              0);
    const ProgramResult shown =
        runProgram(kProgram, {"extract-message", "--image", folder / "h.bmp", "--key-file", "-"}, "123\n");
    EXPECT_EQ(shown.out, "Kept off the command line\n");
}

TEST_F(CliSecretsTest, KeysThatCannotBeReadAreRefused) {
    testsupport::writeFile(folder / "letters", "12a\n");
    testsupport::writeFile(folder / "long", std::string(5000, '1'));
    std::filesystem::create_directory(folder / "sub");
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::string standardInput;
        int exitCode;
        std::string errFragment;
    } cases[] = {
        {"not digits", {"encrypt-text", "--text", "a", "--key-file", folder / "letters"}, "", 2, "is not one"},
        {"missing file", {"encrypt-text", "--text", "a", "--key-file", folder / "absent"}, "", 1, "error 53"},
        {"a folder", {"encrypt-text", "--text", "a", "--key-file", folder / "sub"}, "", 1, "error 75"},
        {"too long", {"encrypt-text", "--text", "a", "--key-file", folder / "long"}, "", 1, "error 6"},
        {"empty standard input", {"encrypt-text", "--text", "a", "--key", "-"}, "", 2, "is not one"},
        {"both options",
         {"encrypt-text", "--text", "a", "--key", "1", "--key-file", folder / "key"},
         "",
         2,
         "excludes"},
        {"key and message on standard input",
         {"hide-message", "--image", folder / "clean.bmp", "--output", folder / "o.bmp", "--key-file", "-"},
         "123\nmessage\n",
         2,
         "cannot both come from standard input"},
    };
    for (const auto& c : cases) {
        const ProgramResult run = runProgram(kProgram, c.arguments, c.standardInput);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.errFragment), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(run.err.find("12a"), std::string::npos) << c.what << ": the key is repeated";
        EXPECT_FALSE(std::filesystem::exists(folder / "o.bmp")) << c.what;
    }
}

TEST_F(CliSecretsTest, HelpSaysThatACommandLineKeyIsVisible) {
    const ProgramResult help = runProgram(kProgram, {"encrypt-text", "--help"});
    EXPECT_NE(help.out.find("Other users can read it"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("--key-file"), std::string::npos) << help.out;
}

// Reads from the terminal's master side until text shows (or a few seconds pass).
std::string readUntil(int master, const std::string& text) {
    std::string seen;
    for (int waited = 0; seen.find(text) == std::string::npos && waited < 100; ++waited) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0)
            continue;
        char buffer[256];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen;
}

TEST_F(CliSecretsTest, KeyDashOnATerminalPromptsWithoutEcho) {
    const std::string expected = cipherText("98765");
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20);  // a program that waits for ever fails the test instead of hanging it
        ::execl(kProgram.c_str(), kProgram.c_str(), "encrypt-text", "--text", "Hello", "--key", "-", nullptr);
        ::_exit(127);
    }
    const std::string prompt = readUntil(master, "Key: ");
    EXPECT_NE(prompt.find("Key: "), std::string::npos) << prompt;
    ASSERT_EQ(::write(master, "98765\n", 6), 6);
    const std::string rest = readUntil(master, "\n" + expected.substr(0, expected.size() - 1));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(master);
    EXPECT_EQ(rest.find("98765"), std::string::npos) << "the key was echoed: " << rest;
    EXPECT_NE(rest.find(expected.substr(0, expected.size() - 1)), std::string::npos) << rest;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// While hide-message waits for its message (and holds the key), it can leave no core dump.
TEST_F(CliSecretsTest, TheProgramLeavesNoCoreDumpWhileHoldingAKey) {
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(input[0], 0);
        ::close(input[1]);
        const rlimit some{1 << 20, RLIM_INFINITY};
        ::setrlimit(RLIMIT_CORE, &some);
        ::alarm(20);
        ::execl(kProgram.c_str(), kProgram.c_str(), "hide-message", "--image", (folder / "clean.bmp").c_str(),
                "--output", (folder / "o.bmp").c_str(), "--key", "5", nullptr);
        ::_exit(127);
    }
    ::close(input[0]);
    // Both limits at 0; a sanitizer runtime sets the soft one alone before main runs.
    const std::string noCoreDumps = "Max core file size        0                    0";
    std::string limits;
    for (int tries = 0; tries < 100 && limits.find(noCoreDumps) == std::string::npos; ++tries) {
        ::usleep(20000);
        limits = testsupport::readFile("/proc/" + std::to_string(child) + "/limits");
    }
    ::close(input[1]);
    ::waitpid(child, nullptr, 0);
    EXPECT_NE(limits.find(noCoreDumps), std::string::npos) << limits;
}

TEST_F(CliSecretsTest, AnOutputThatCannotBeWrittenIsAnError) {
    ASSERT_EQ(runProgram(kProgram, {"hide-message", "--image", folder / "clean.bmp", "--output", folder / "h.bmp",
                                    "--text", "Hi", "--key", "1"})
                  .exitCode,
              0);
    ProgramOptions toFullDisk;
    toFullDisk.beforeStart = [] {
        const int full = ::open("/dev/full", O_WRONLY);
        ::dup2(full, 1);
    };
    const std::vector<std::string> commands[] = {
        {"encrypt-text", "--key", "1", "--text", "Hi"},
        {"extract-message", "--key", "1", "--image", folder / "h.bmp"},
        {"capacity", "--image", folder / "clean.bmp"},
    };
    for (const auto& arguments : commands) {
        const ProgramResult run = runProgram(kProgram, arguments, toFullDisk);
        EXPECT_EQ(run.exitCode, 1) << arguments[0];
        EXPECT_NE(run.err.find("pixquill-cli: error 61: Cannot write standard output"), std::string::npos)
            << arguments[0] << ": " << run.err;
    }
}

TEST_F(CliSecretsTest, NoCommandWritesOverItsOwnInputs) {
    testsupport::writeFile(folder / "plain", "plain bytes");
    testsupport::writeFile(folder / "message", "the message");
    ASSERT_EQ(::link((folder / "plain").c_str(), (folder / "plain-link").c_str()), 0);
    const std::string clean = folder / "clean.bmp";
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::string option;
    } cases[] = {
        {"hide-message over its text file",
         {"hide-message", "--image", clean, "--output", folder / "message", "--text-file", folder / "message"},
         "--text-file"},
        {"hide-file over the file it hides",
         {"hide-file", "--image", clean, "--output", folder.path() + "/./plain", "--file", folder / "plain"},
         "--file"},
        {"encrypt-file over its input",
         {"encrypt-file", "--input", folder / "plain", "--output", folder.path() + "//plain", "--key", "1"},
         "--input"},
        {"decrypt-file over its input by another link",
         {"decrypt-file", "--input", folder / "plain", "--output", folder / "plain-link", "--key", "1"},
         "--input"},
        {"extract-file over its key file",
         {"extract-file", "--image", clean, "--output", folder / "key", "--key-file", folder / "key"},
         "--key-file"},
        {"encrypt-file over its key file",
         {"encrypt-file", "--input", folder / "plain", "--output", folder / "key", "--key-file", folder / "key"},
         "--key-file"},
    };
    const auto before = folder.entries();
    for (const auto& c : cases) {
        const ProgramResult run = runProgram(kProgram, c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find("--output names the file given with " + c.option), std::string::npos)
            << c.what << ": " << run.err;
        EXPECT_EQ(testsupport::readFile(folder / "plain"), "plain bytes") << c.what;
        EXPECT_EQ(testsupport::readFile(folder / "message"), "the message") << c.what;
        EXPECT_EQ(testsupport::readFile(folder / "key"), "123\n") << c.what;
        EXPECT_EQ(folder.entries(), before) << c.what;
    }
}

}  // namespace
