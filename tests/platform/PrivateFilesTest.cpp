// What another user on the machine, or a crash, can do to the files the
// program writes beside a destination: nothing.
#include <gtest/gtest.h>

#include <QImage>

#include <csignal>
#include <filesystem>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "NoiseImage.h"
#include "TestFolder.h"
#include "platform/CoreDumps.h"
#include "platform/PictureFile.h"
#include "platform/PosixFileStore.h"
#include "platform/PosixFileWriter.h"
#include "platform/ReplacementFile.h"

using stego::platform::PosixFileStore;
using stego::platform::ReplacementFile;
using testsupport::TestFolder;

namespace {

constexpr uid_t kNobody = 65534;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// The names in folder that start with ".pixquill-".
std::set<std::string> privateFolders(const TestFolder& folder) {
    std::set<std::string> found;
    for (const std::string& name : folder.entries())
        if (name.rfind(".pixquill-", 0) == 0)
            found.insert(name);
    return found;
}

// A process id that is certainly not running: a child that has ended and been reaped.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// The race of the audit: between the creation of the scratch folder and the
// files made in it, another user renames it away and puts a folder of their
// own under its name. Files made through the store's path still land in ours.
TEST(PrivateFilesTest, AFolderSwappedInUnderTheScratchNameReceivesNothing) {
    TestFolder folder;
    PosixFileStore files;
    const auto scratch = files.makeScratchDirectory(folder / "out.txt");
    const std::filesystem::path real = std::filesystem::canonical(scratch->path());
    const std::string moved = folder / "moved-away";
    ASSERT_EQ(::rename(real.c_str(), moved.c_str()), 0);
    std::filesystem::create_directory(real);
    ::chmod(real.c_str(), 0777);
    ASSERT_EQ(::chown(real.c_str(), kNobody, kNobody), 0);

    files.writeAll(scratch->path() + "/corvid.dec", "plain text");

    EXPECT_TRUE(std::filesystem::is_empty(real)) << "the impostor received the file";
    EXPECT_EQ(testsupport::readFile(moved + "/corvid.dec"), "plain text");
    std::filesystem::remove(real);
}

TEST(PrivateFilesTest, ScratchFolderIsOpenedOnceAndItsPathGoesThroughTheHandle) {
    TestFolder folder;
    PosixFileStore files;
    const auto scratch = files.makeScratchDirectory(folder / "out.txt");
    EXPECT_EQ(scratch->path().rfind("/proc/self/fd/", 0), 0u) << scratch->path();
    const std::string real = std::filesystem::canonical(scratch->path()).string();
    EXPECT_EQ(modeOf(real), 0700u);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, ::geteuid());
}

// A replaced file keeps the permissions (and owner) it had; a new decrypted
// file is private; a new picture follows the umask.
TEST(PrivateFilesTest, ReplacingKeepsTheDestinationsPermissions) {
    TestFolder folder;
    PosixFileStore files;
    const mode_t savedMask = ::umask(022);
    for (const mode_t mode : {mode_t{0600}, mode_t{0640}, mode_t{0604}}) {
        testsupport::writeFile(folder / "p.txt", "old");
        ::chmod((folder / "p.txt").c_str(), mode);
        {
            const auto scratch = files.makeScratchDirectory(folder / "p.txt");
            files.writeAll(scratch->path() + "/corvid.dec", "new");
            files.replaceFile(scratch->path() + "/corvid.dec", folder / "p.txt");
        }
        EXPECT_EQ(modeOf(folder / "p.txt"), mode);
        EXPECT_EQ(testsupport::readFile(folder / "p.txt"), "new");

        const QImage picture = testsupport::noisePicture(4, 3, 1);
        stego::platform::savePictureAsBmp(picture, folder / "p.bmp");
        ::chmod((folder / "p.bmp").c_str(), mode);
        stego::platform::savePictureAsBmp(picture, folder / "p.bmp");
        EXPECT_EQ(modeOf(folder / "p.bmp"), mode);
        std::filesystem::remove(folder / "p.bmp");
    }
    {
        const auto scratch = files.makeScratchDirectory(folder / "fresh.txt");
        files.writeAll(scratch->path() + "/corvid.dec", "new");
        files.replaceFile(scratch->path() + "/corvid.dec", folder / "fresh.txt");
    }
    EXPECT_EQ(modeOf(folder / "fresh.txt"), 0600u);
    {
        ReplacementFile output(folder / "fresh.out", ReplacementFile::NewFileMode::OwnerOnly);
        output.commit();
    }
    EXPECT_EQ(modeOf(folder / "fresh.out"), 0600u);
    stego::platform::savePictureAsBmp(testsupport::noisePicture(4, 3, 1), folder / "fresh.bmp");
    EXPECT_EQ(modeOf(folder / "fresh.bmp"), 0644u);
    ::umask(savedMask);
}

TEST(PrivateFilesTest, ReplacingKeepsTheDestinationsOwnerWhereAllowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    TestFolder folder;
    testsupport::writeFile(folder / "theirs.txt", "old");
    ASSERT_EQ(::chown((folder / "theirs.txt").c_str(), kNobody, kNobody), 0);
    {
        ReplacementFile output(folder / "theirs.txt", ReplacementFile::NewFileMode::OwnerOnly);
        stego::platform::systemFileWriter().writeAll(output.fd(), "new", "theirs.txt");
        output.commit();
    }
    struct stat info {};
    ASSERT_EQ(::stat((folder / "theirs.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
}

// The replacement has no name while it is written, so the private folder
// stays empty; it is discarded, leaving nothing, when not committed.
TEST(PrivateFilesTest, AReplacementIsUnnamedUntilCommitted) {
    TestFolder folder;
    testsupport::writeFile(folder / "dest", "old");
    {
        ReplacementFile output(folder / "dest", ReplacementFile::NewFileMode::OwnerOnly);
        stego::platform::systemFileWriter().writeAll(output.fd(), "new", "dest");
        const std::set<std::string> made = privateFolders(folder);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_TRUE(std::filesystem::is_empty(folder / *made.begin()));
        EXPECT_EQ(testsupport::readFile(output.pathThroughHandle()), "new");
    }
    EXPECT_EQ(folder.entries(), std::set<std::string>{"dest"});
    EXPECT_EQ(testsupport::readFile(folder / "dest"), "old");
}

// Leftovers of a process that has gone are removed by the next write into the
// folder; those of a live process, of another user, or of another shape stay.
TEST(PrivateFilesTest, TheNextWriteRemovesStaleScratchFoldersOnly) {
    TestFolder folder;
    const std::string gone = ".pixquill-" + std::to_string(endedProcess()) + "-abcDEF";
    const std::string live = ".pixquill-" + std::to_string(::getppid()) + "-abcDEF";
    const std::string open = ".pixquill-" + std::to_string(endedProcess()) + "-xyzXYZ";
    const std::string foreign = ".pixquill-" + std::to_string(endedProcess()) + "-uvwUVW";
    for (const std::string& name : {gone, live, open, foreign, std::string(".pixquill-oldstyle")}) {
        std::filesystem::create_directories(folder / name + "/inner");
        testsupport::writeFile(folder / name + "/corvid.dec", "x");
        ::chmod((folder / name).c_str(), 0700);
    }
    ::chmod((folder / open).c_str(), 0755);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((folder / foreign).c_str(), kNobody, kNobody), 0);
    }

    stego::platform::savePictureAsBmp(testsupport::noisePicture(4, 3, 1), folder / "p.bmp");

    std::set<std::string> expected = {live, open, ".pixquill-oldstyle"};
    if (::geteuid() == 0)
        expected.insert(foreign);
    EXPECT_EQ(privateFolders(folder), expected);
}

// Killed half-way through saving a picture (and through a cipher's named
// scratch file), the program leaves the destination whole; the next write
// into the folder leaves nothing else behind.
TEST(PrivateFilesTest, AWriterKilledHalfWayLeavesNothingAfterTheNextWrite) {
    TestFolder folder;
    const QImage original = testsupport::noisePicture(64, 64, 1);
    stego::platform::savePictureAsBmp(original, folder / "p.bmp");
    const std::string before = testsupport::readFile(folder / "p.bmp");

    // Lets half the picture through, tells the test so, then waits to be killed.
    class StoppingWriter : public stego::platform::FileWriter {
    public:
        explicit StoppingWriter(int signalFd) : m_signalFd(signalFd) {}
        void writeAll(int fd, std::string_view data, const std::string& path) override {
            stego::platform::systemFileWriter().writeAll(fd, data.substr(0, data.size() / 2), path);
            (void)!::write(m_signalFd, "x", 1);
            for (;;)
                ::pause();
        }

    private:
        int m_signalFd;
    };

    for (const bool namedScratch : {false, true}) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            StoppingWriter writer(ready[1]);
            if (namedScratch) {
                PosixFileStore files(writer);
                const auto scratch = files.makeScratchDirectory(folder / "p.bmp");
                files.writeAll(scratch->path() + "/corvid.dec", std::string(10000, 'x'));
            } else {
                stego::platform::savePictureAsBmp(testsupport::noisePicture(64, 64, 2), folder / "p.bmp", writer);
            }
            ::_exit(1);
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the writer did not start";
        ::close(ready[0]);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        EXPECT_EQ(testsupport::readFile(folder / "p.bmp"), before);
        EXPECT_EQ(privateFolders(folder).size(), 1u) << "the killed writer's folder";

        stego::platform::savePictureAsBmp(original, folder / "other.bmp");
        EXPECT_EQ(folder.entries(), (std::set<std::string>{"other.bmp", "p.bmp"})) << "named: " << namedScratch;
        std::filesystem::remove(folder / "other.bmp");
    }
}

TEST(PrivateFilesTest, CoreDumpsAreTurnedOff) {
    const int result = testsupport::inChildProcess([] {
        const rlimit some{1 << 20, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_CORE, &some) != 0 || ::prctl(PR_GET_DUMPABLE) != 1)
            return 2;
        if (!stego::platform::keepSecretsOutOfCoreDumps())
            return 3;
        rlimit now{};
        ::getrlimit(RLIMIT_CORE, &now);
        return now.rlim_cur == 0 && now.rlim_max == 0 && ::prctl(PR_GET_DUMPABLE) == 0 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

}  // namespace
