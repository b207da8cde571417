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
#include "TempFolder.h"
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
        if (message) *message = e.what();
        return e.number();
    }
    return 0;
}

class FileCipher : public testing::Test {
protected:
    TempFolder folder;
    std::string plainPath = folder.path("plain.bin");
    std::string cipherPath = folder.path("cipher.bin");
    std::string backPath = folder.path("back.bin");
};

TEST_F(FileCipher, DecryptFileRestoresTheInputAndAWrongKeyGivesOtherBytes) {
    SeededRandom random;
    const std::string plain = random.bytes(5000);
    TempFolder::write(plainPath, plain);

    Encryption machine;
    std::string key = "314159";
    ASSERT_EQ(machine.EncryptFile(key, plainPath, cipherPath), 0);
    EXPECT_EQ(key, "314159314159314159");
    const std::string cipher = TempFolder::read(cipherPath);
    ASSERT_EQ(cipher.size(), plain.size());
    EXPECT_NE(cipher, plain);
    EXPECT_EQ(TempFolder::read(plainPath), plain) << "the input is only read";

    ASSERT_EQ(machine.EncryptFile(key, plainPath, cipherPath), 0);
    EXPECT_EQ(TempFolder::read(cipherPath), cipher) << "the same file and key give the same output";

    ASSERT_EQ(machine.DecryptFile(key, cipherPath, backPath), 0);
    EXPECT_EQ(TempFolder::read(backPath), plain);

    std::string wrongKey = "314158";
    ASSERT_EQ(machine.DecryptFile(wrongKey, cipherPath, backPath), 0);
    const std::string wrong = TempFolder::read(backPath);
    EXPECT_EQ(wrong.size(), plain.size());
    EXPECT_NE(wrong, plain);
}

TEST_F(FileCipher, EmptyInputGivesEmptyOutputAndALongerOutputIsCutToLength) {
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        TempFolder::write(cipherPath, std::string(10000, 'x'));
        TempFolder::write(plainPath, "");
        EXPECT_EQ(runFile(routine.call, "12", plainPath, cipherPath), 0);
        EXPECT_EQ(TempFolder::read(cipherPath), "");

        TempFolder::write(cipherPath, std::string(10000, 'x'));
        TempFolder::write(plainPath, "short");
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
    std::string (*make)(const TempFolder& folder, const std::string& input);
};

void PrintTo(const OtherName& name, std::ostream* out) { *out << name.what; }

class SameFile : public testing::TestWithParam<OtherName> {};

TEST_P(SameFile, IsRefusedWithError5AndTheFileKeepsItsBytes) {
    TempFolder folder;
    const std::string input = folder.path("precious.txt");
    TempFolder::write(input, "the only copy");
    const std::string output = GetParam().make(folder, input);
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        std::string message;
        EXPECT_EQ(runFile(routine.call, "77", input, output, &message), kInvalidArgument);
        EXPECT_NE(message.find("same file"), std::string::npos) << message;
        EXPECT_EQ(TempFolder::read(input), "the only copy");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, SameFile,
    testing::Values(OtherName{"SameSpelling", [](const TempFolder&, const std::string& input) { return input; }},
                    OtherName{"DotDotSpelling",
                              [](const TempFolder& folder, const std::string&) {
                                  fs::create_directory(folder.path("sub"));
                                  return folder.path("sub/../precious.txt");
                              }},
                    OtherName{"HardLink",
                              [](const TempFolder& folder, const std::string& input) {
                                  fs::create_hard_link(input, folder.path("link.txt"));
                                  return folder.path("link.txt");
                              }},
                    OtherName{"SymbolicLink",
                              [](const TempFolder& folder, const std::string& input) {
                                  fs::create_symlink(input, folder.path("symlink.txt"));
                                  return folder.path("symlink.txt");
                              }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(FileCipher, MissingInputFailsWithoutCreatingItOrTouchingTheOutput) {
    for (const Routine& routine : kRoutines) {
        SCOPED_TRACE(routine.name);
        std::string message;
        EXPECT_EQ(runFile(routine.call, "5", plainPath, cipherPath, &message), 53);
        EXPECT_EQ(message, "File not found: " + plainPath);
        EXPECT_FALSE(fs::exists(plainPath));
        EXPECT_FALSE(fs::exists(cipherPath));

        TempFolder::write(cipherPath, "keep me");
        EXPECT_EQ(runFile(routine.call, "5", plainPath, cipherPath), 53);
        EXPECT_EQ(TempFolder::read(cipherPath), "keep me");
        fs::remove(cipherPath);
    }
}

TEST_F(FileCipher, UnreadableInputOrUnwritableOutputFailsWithTheSystemsErrorAndPath) {
    TempFolder::write(cipherPath, "keep me");
    std::string message;
    EXPECT_EQ(runFile(&Encryption::EncryptFile, "5", folder.path(""), cipherPath, &message), 75);
    EXPECT_EQ(message, "Path is a folder, not a file: " + folder.path(""));
    EXPECT_EQ(TempFolder::read(cipherPath), "keep me");

    TempFolder::write(plainPath, "data");
    const std::string nowhere = folder.path("no-such-folder/out.bin");
    EXPECT_NE(runFile(&Encryption::EncryptFile, "5", plainPath, nowhere, &message), 0);
    EXPECT_NE(message.find(nowhere), std::string::npos) << message;
    EXPECT_EQ(TempFolder::read(plainPath), "data");
}

TEST_F(FileCipher, FilesUpToTheLimitRoundTripAndLongerOnesStopWithError6After32767Bytes) {
    SeededRandom random;
    const std::string longest = random.bytes(kLimit);
    TempFolder::write(plainPath, longest);
    ASSERT_EQ(runFile(&Encryption::EncryptFile, "8080", plainPath, cipherPath), 0);
    const std::string cipher = TempFolder::read(cipherPath);
    ASSERT_EQ(runFile(&Encryption::DecryptFile, "8080", cipherPath, backPath), 0);
    EXPECT_EQ(TempFolder::read(backPath), longest);

    for (std::size_t size : {kLimit + 1, std::size_t{100000}}) {
        SCOPED_TRACE(size);
        TempFolder::write(plainPath, longest + random.bytes(size - kLimit));
        std::string message;
        EXPECT_EQ(runFile(&Encryption::EncryptFile, "8080", plainPath, backPath, &message), kOverflow);
        EXPECT_EQ(TempFolder::read(backPath), cipher) << "the output holds the bytes before the failing one";
        EXPECT_NE(message.find("32767"), std::string::npos) << message;
    }
}

TEST_F(FileCipher, FullDiskFailsWithError61AndTheMachineStopsAtTheUnwrittenByte) {
    TempFolder::write(plainPath, "abcdef");
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
    TempFolder::write(plainPath, plain);
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
    EXPECT_EQ(TempFolder::read(cipherPath), expected.substr(0, 1000));
    EXPECT_EQ(EncryptionTestAccess::fields(machine), literal.fields());
}

}  // namespace
}  // namespace corvid
