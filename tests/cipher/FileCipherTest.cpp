// The file routines: round trips, outputs cut to length, refused inputs and
// outputs, the 32,767-byte limit, and failing writes.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

#include "EncryptionTestAccess.h"
#include "LiteralEncryption.h"
#include "SeededRandom.h"
#include "TestFolder.h"
#include "cipher/CipherError.h"
#include "cipher/Encryption.h"

namespace corvid {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLimit = 32767;

using FileRoutine = std::int32_t (Encryption::*)(std::string&, const std::string&, const std::string&);
struct Routine {
    const char* name;
    FileRoutine call;
};
const Routine kRoutines[] = {{"EncryptFile", &Encryption::EncryptFile}, {"DecryptFile", &Encryption::DecryptFile}};

// Runs a file routine and returns the number of the error it raised (0 for none);
// the message lands in `message`.
int runFile(FileRoutine routine, std::string key, const std::string& from, const std::string& to,
            std::string* message = nullptr) {
    Encryption machine;
    try {
        (machine.*routine)(key, from, to);
    } catch (const CipherError& e) {
        if (message)
            *message = e.what();
        return e.number();
    }
    return 0;
}

class FileCipher : public testing::Test {
protected:
    testsupport::TestFolder folder;
    std::string plainPath = folder / "plain.bin";
    std::string cipherPath = folder / "cipher.bin";
    std::string backPath = folder / "back.bin";
};

TEST_F(FileCipher, DecryptFileRestoresTheInputAndAWrongKeyGivesOtherBytes) {
    SeededRandom random;
    const std::string plain = random.bytes(5000);
    testsupport::writeFile(plainPath, plain);

    Encryption machine;
    std::string key = "314159";
    ASSERT_EQ(machine.EncryptFile(key, plainPath, cipherPath), 0);
    EXPECT_EQ(key, "314159314159314159");
    const std::string cipher = testsupport::readFile(cipherPath);
    ASSERT_EQ(cipher.size(), plain.size());
    EXPECT_NE(cipher, plain);
    EXPECT_EQ(testsupport::readFile(plainPath), plain) << "the input is only read";

    ASSERT_EQ(machine.EncryptFile(key, plainPath, cipherPath), 0);
    EXPECT_EQ(testsupport::readFile(cipherPath), cipher) << "the same file and key give the same output";

    ASSERT_EQ(machine.DecryptFile(key, cipherPath, backPath), 0);
    EXPECT_EQ(testsupport::readFile(backPath), plain);

    std::string wrongKey = "314158";
    ASSERT_EQ(machine.DecryptFile(wrongKey, cipherPath, backPath), 0);
    const std::string wrong = testsupport::readFile(backPath);
    EXPECT_EQ(wrong.size(), plain.size());
    EXPECT_NE(wrong, plain);
}

TEST_F(FileCipher, EmptyInputGivesEmptyOutputAndALongerOutputIsCutToLength) {
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        testsupport::writeFile(cipherPath, std::string(10000, 'x'));
        testsupport::writeFile(plainPath, "");
        EXPECT_EQ(runFile(routine.call, "12", plainPath, cipherPath), 0);
        EXPECT_EQ(testsupport::readFile(cipherPath), "");

        testsupport::writeFile(cipherPath, std::string(10000, 'x'));
        testsupport::writeFile(plainPath, "short");
        EXPECT_EQ(runFile(routine.call, "12", plainPath, cipherPath), 0);
        EXPECT_EQ(fs::file_size(cipherPath), 5u);
    }
}

TEST_F(FileCipher, EmptyKeyReturns99AndTouchesNoFile) {
    for (const Routine& routine : kRoutines) {
        Encryption machine;
        std::string key;
        EXPECT_EQ((machine.*routine.call)(key, plainPath, cipherPath), kMissingKey);
        EXPECT_EQ(key, "");
        EXPECT_FALSE(fs::exists(plainPath));
        EXPECT_FALSE(fs::exists(cipherPath));
    }
}

struct OtherName {
    const char* what;
    // Makes another name for the file at `input` inside `folder` and returns it.
    std::string (*make)(const testsupport::TestFolder& folder, const std::string& input);
};

void PrintTo(const OtherName& name, std::ostream* out) { *out << name.what; }

class SameFile : public testing::TestWithParam<OtherName> {};

TEST_P(SameFile, IsRefusedWithError5AndTheFileKeepsItsBytes) {
    testsupport::TestFolder folder;
    const std::string input = folder / "precious.txt";
    testsupport::writeFile(input, "the only copy");
    const std::string output = GetParam().make(folder, input);
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        std::string message;
        EXPECT_EQ(runFile(routine.call, "77", input, output, &message), kInvalidArgument);
        EXPECT_NE(message.find("same file"), std::string::npos) << message;
        EXPECT_EQ(testsupport::readFile(input), "the only copy");
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SameFile,
                         testing::Values(OtherName{"SameSpelling", [](const testsupport::TestFolder&,
                                                                      const std::string& input) { return input; }},
                                         OtherName{"DotDotSpelling",
                                                   [](const testsupport::TestFolder& folder, const std::string&) {
                                                       fs::create_directory(folder / "sub");
                                                       return folder / "sub/../precious.txt";
                                                   }},
                                         OtherName{"HardLink",
                                                   [](const testsupport::TestFolder& folder, const std::string& input) {
                                                       fs::create_hard_link(input, folder / "link.txt");
                                                       return folder / "link.txt";
                                                   }},
                                         OtherName{"SymbolicLink",
                                                   [](const testsupport::TestFolder& folder, const std::string& input) {
                                                       fs::create_symlink(input, folder / "symlink.txt");
                                                       return folder / "symlink.txt";
                                                   }}),
                         [](const auto& testCase) { return std::string(testCase.param.what); });

TEST_F(FileCipher, MissingInputFailsWithoutCreatingItOrTouchingTheOutput) {
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        std::string message;
        EXPECT_EQ(runFile(routine.call, "5", plainPath, cipherPath, &message), 53);
        EXPECT_EQ(message, "File not found: " + plainPath);
        EXPECT_FALSE(fs::exists(plainPath));
        EXPECT_FALSE(fs::exists(cipherPath));

        testsupport::writeFile(cipherPath, "keep me");
        EXPECT_EQ(runFile(routine.call, "5", plainPath, cipherPath), 53);
        EXPECT_EQ(testsupport::readFile(cipherPath), "keep me");
        fs::remove(cipherPath);
    }
}

TEST_F(FileCipher, UnreadableInputOrUnwritableOutputFailsWithTheSystemsErrorAndPath) {
    testsupport::writeFile(cipherPath, "keep me");
    std::string message;
    EXPECT_EQ(runFile(&Encryption::EncryptFile, "5", folder / "", cipherPath, &message), 75);
    EXPECT_EQ(message, "Path is a folder, not a file: " + (folder / ""));
    EXPECT_EQ(testsupport::readFile(cipherPath), "keep me");

    testsupport::writeFile(plainPath, "data");
    const std::string nowhere = folder / "no-such-folder/out.bin";
    EXPECT_NE(runFile(&Encryption::EncryptFile, "5", plainPath, nowhere, &message), 0);
    EXPECT_NE(message.find(nowhere), std::string::npos) << message;
    EXPECT_EQ(testsupport::readFile(plainPath), "data");
}

TEST_F(FileCipher, FilesUpToTheLimitRoundTripAndLongerOnesStopWithError6After32767Bytes) {
    SeededRandom random;
    const std::string longest = random.bytes(kLimit);
    testsupport::writeFile(plainPath, longest);
    ASSERT_EQ(runFile(&Encryption::EncryptFile, "8080", plainPath, cipherPath), 0);
    const std::string cipher = testsupport::readFile(cipherPath);
    ASSERT_EQ(runFile(&Encryption::DecryptFile, "8080", cipherPath, backPath), 0);
    EXPECT_EQ(testsupport::readFile(backPath), longest);

    for (std::size_t size : {kLimit + 1, std::size_t{100000}}) {
        SCOPED_TRACE(size);
        testsupport::writeFile(plainPath, longest + random.bytes(size - kLimit));
        std::string message;
        EXPECT_EQ(runFile(&Encryption::EncryptFile, "8080", plainPath, backPath, &message), kOverflow);
        EXPECT_EQ(testsupport::readFile(backPath), cipher) << "the output holds the bytes before the failing one";
        EXPECT_NE(message.find("32767"), std::string::npos) << message;
    }
}

TEST_F(FileCipher, FullDiskFailsWithError61AndTheMachineStopsAtTheUnwrittenByte) {
    testsupport::writeFile(plainPath, "abcdef");
    Encryption machine;
    std::string key = "606";
    try {
        machine.EncryptFile(key, plainPath, "/dev/full");
        FAIL() << "no error";
    } catch (const CipherError& e) {
        EXPECT_EQ(e.number(), 61);
        EXPECT_EQ(std::string(e.what()), "Disk full: /dev/full");
        EXPECT_EQ(e.path(), "/dev/full");
    }
    LiteralEncryption literal;
    int error = 0;
    literal.cipherFileBytes(key, "a", true, error);
    EXPECT_EQ(EncryptionTestAccess::fields(machine), literal.fields());
}

// Lowers the file size limit so that writes past it fail (EFBIG), as on a disk that fills up.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = SIG_DFL;
};

TEST_F(FileCipher, WriteFailingPartWayKeepsTheBytesWrittenAndTheStateOfTheFailingByte) {
    SeededRandom random;
    const std::string plain = random.bytes(5000);
    testsupport::writeFile(plainPath, plain);
    Encryption machine;
    std::string key = "1000";
    int number = 0;
    {
        FileSizeLimit limit(1000);
        try {
            machine.EncryptFile(key, plainPath, cipherPath);
        } catch (const CipherError& e) {
            number = e.number();
        }
    }
    EXPECT_EQ(number, 61);

    LiteralEncryption literal;
    int error = 0;
    const std::string expected = literal.cipherFileBytes(key, plain.substr(0, 1001), true, error);
    EXPECT_EQ(testsupport::readFile(cipherPath), expected.substr(0, 1000));
    EXPECT_EQ(EncryptionTestAccess::fields(machine), literal.fields());
}

}  // namespace
}  // namespace corvid
