#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "ExpectFailure.h"
#include "TestFolder.h"
#include "platform/PosixFileStore.h"

using stego::Failure;
using stego::FileStore;
using stego::platform::PosixFileStore;
using testsupport::TestFolder;

namespace {

class PosixFileStoreTest : public ::testing::Test {
protected:
    TestFolder folder;
    PosixFileStore files;
};

TEST_F(PosixFileStoreTest, KindOfTellsFilesFoldersAndMissingPaths) {
    testsupport::writeFile(folder / "file", "x");
    std::filesystem::create_directory(folder / "sub");
    const struct {
        std::string path;
        FileStore::Kind kind;
    } cases[] = {
        {folder / "file", FileStore::Kind::RegularFile}, {folder / "sub", FileStore::Kind::Directory},
        {folder / "missing", FileStore::Kind::Missing},  {folder / "file/below-a-file", FileStore::Kind::Missing},
        {"/dev/null", FileStore::Kind::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.kindOf(c.path), c.kind) << c.path;
}

TEST_F(PosixFileStoreTest, WriteAllThenReadAllGivesEveryByteBack) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{256}, std::size_t{200'000}}) {
        const std::string data = testsupport::allByteValues(size);
        files.writeAll(folder / "data", data);
        EXPECT_EQ(files.readAll(folder / "data"), data) << size << " bytes";
    }
}

TEST_F(PosixFileStoreTest, SizeOfAsksTheFileSystem) {
    testsupport::writeFile(folder / "data", std::string(12345, 'a'));
    EXPECT_EQ(files.sizeOf(folder / "data"), 12345);
    EXPECT_THROW(files.sizeOf(folder / "missing"), Failure);
}

TEST_F(PosixFileStoreTest, WriteAllReplacesLongerContent) {
    testsupport::writeFile(folder / "data", std::string(1000, 'a'));
    files.writeAll(folder / "data", "short");
    EXPECT_EQ(testsupport::readFile(folder / "data"), "short");
}

TEST_F(PosixFileStoreTest, FailuresCarryTheNumberAndNameThePath) {
    std::filesystem::create_directory(folder / "sub");
    const struct {
        const char* what;
        std::function<void()> call;
        int number;
        std::string path;
    } cases[] = {
        {"read missing", [&] { files.readAll(folder / "missing"); }, 53, folder / "missing"},
        {"read folder", [&] { files.readAll(folder / "sub"); }, 75, folder / "sub"},
        {"write in missing folder", [&] { files.writeAll(folder / "none/x", "x"); }, 53, folder / "none/x"},
        {"write onto folder", [&] { files.writeAll(folder / "sub", "x"); }, 75, folder / "sub"},
        {"replace from missing", [&] { files.replaceFile(folder / "missing", folder / "to"); }, 53, folder / "missing"},
    };
    for (const auto& c : cases)
        testsupport::expectFailure(c.what, c.call, c.number, c.path);
}

TEST_F(PosixFileStoreTest, ReadingAFileWithoutPermissionIsRefused) {
    testsupport::writeFile(folder / "secret", "x");
    ::chmod((folder / "secret").c_str(), 0);
    const int result = testsupport::inChildProcess([&] {
        if (!testsupport::dropToUnprivilegedUser())
            return 2;
        try {
            PosixFileStore().readAll(folder / "secret");
        } catch (const Failure& failure) {
            return failure.number() == 70 ? 0 : 3;
        }
        return 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(PosixFileStoreTest, ScratchDirectoryIsPrivateBesideThePathAndGoesWithItsContent) {
    std::string made;
    {
        const auto scratch = files.makeScratchDirectory(folder / "destination.bmp");
        // The path reaches the folder through its handle; the folder itself is beside the destination.
        made = std::filesystem::canonical(scratch->path()).string();
        EXPECT_EQ(std::filesystem::path(made).parent_path(), std::filesystem::canonical(folder.path()));
        struct stat info {};
        ASSERT_EQ(::stat(made.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        std::filesystem::create_directories(made + "/nested/deeper");
        testsupport::writeFile(made + "/nested/deeper/corvid.enc", "x");
        testsupport::writeFile(made + "/corvid.enc", "x");
    }
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(PosixFileStoreTest, ScratchDirectoryIsRemovedWhenACommandFails) {
    try {
        const auto scratch = files.makeScratchDirectory(folder / "x");
        files.writeAll(scratch->path() + "/corvid.enc", "partial");
        throw Failure(6, "overflow");
    } catch (const Failure&) {
    }
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(PosixFileStoreTest, ScratchDirectoryWithoutAPathIsMadeInTheTemporaryFolder) {
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("TMPDIR", folder.path().c_str(), 1);
    {
        const auto scratch = files.makeScratchDirectory("");
        EXPECT_EQ(std::filesystem::canonical(scratch->path()).parent_path(), std::filesystem::canonical(folder.path()));
    }
    if (before != nullptr)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(PosixFileStoreTest, ScratchDirectoryInAMissingFolderSaysSo) {
    try {
        files.makeScratchDirectory(folder / "absent/out.bmp");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(std::string(failure.what()), "The folder " + (folder / "absent") + " does not exist");
        EXPECT_EQ(failure.number(), 76);
    }
}

TEST_F(PosixFileStoreTest, ReplaceFileMovesTheNewContentOntoTheOldName) {
    testsupport::writeFile(folder / "old", "old content, rather longer");
    testsupport::writeFile(folder / "new", "new");
    files.replaceFile(folder / "new", folder / "old");
    EXPECT_EQ(testsupport::readFile(folder / "old"), "new");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"old"});
}

TEST_F(PosixFileStoreTest, SameFileGoesByIdentityNotSpelling) {
    testsupport::writeFile(folder / "a", "x");
    testsupport::writeFile(folder / "b", "x");
    std::filesystem::create_directory(folder / "sub");
    ASSERT_EQ(::link((folder / "a").c_str(), (folder / "hard").c_str()), 0);
    std::filesystem::create_symlink(folder / "a", folder / "soft");
    EXPECT_TRUE(files.sameFile(folder / "a", folder / "hard"));
    EXPECT_TRUE(files.sameFile(folder / "a", folder / "soft"));
    EXPECT_TRUE(files.sameFile(folder / "a", folder / "sub/../a"));
    EXPECT_TRUE(files.sameFile(folder / "a", folder.path() + "//./a"));
    EXPECT_FALSE(files.sameFile(folder / "a", folder / "b"));
    EXPECT_FALSE(files.sameFile(folder / "a", folder / "missing"));
    EXPECT_FALSE(files.sameFile(folder / "missing", folder / "missing"));
}

}  // namespace
