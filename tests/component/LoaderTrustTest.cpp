// The runtime loads only what only this user or the administrator can change:
// absolute library paths in trusted folders, named by trusted records that
// are read without following links, waiting on pipes or reading without end.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "ComponentTestKit.h"
#include "comrt/Creation.h"
#include "corvid/_Encryption.h"

namespace component::test {
namespace {

constexpr uid_t kNobody = 65534;
const std::string kClassRecord = "/classes/{6405D53F-0BF8-4256-95FD-4CA80662B0B9}";

struct Creation {
    HRESULT status;
    std::string description;
};

Creation create() {
    com::ComPtr<_Encryption> object;
    const HRESULT status =
        CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put());
    return {status, com::failed(status) ? takeDescription() : std::string()};
}

// The record's "library = ..." line pointed at library.
void pointRecordAt(const std::string& record, const std::string& library) {
    std::string text = testsupport::readFile(record);
    const auto start = text.find("library = ");
    ASSERT_NE(start, std::string::npos) << text;
    text.replace(start, text.find('\n', start) - start, "library = " + library);
    testsupport::writeFile(record, text);
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    if (pipe)
        ::pclose(pipe);
    return output;
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(LoaderTrust, OnlyTrustedRecordsFoldersAndLibrariesAreUsed) {
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* what;
        // Changes the registry (user folder given) and the library copy's folder.
        std::function<void(const std::string& registry, const std::string& libraryFolder)> spoil;
        std::string fragment;  // "" : creation succeeds
        bool needsRoot = false;
    };
    const std::string copyName = "libcorvid.so.1";
    const std::vector<Case> cases = {
        {"a trusted copy loads", [](const std::string&, const std::string&) {}, ""},
        {"bare name",
         [&](const std::string& registry, const std::string&) { pointRecordAt(registry + kClassRecord, copyName); },
         "is not absolute"},
        {"relative path",
         [&](const std::string& registry, const std::string&) {
             pointRecordAt(registry + kClassRecord, "lib/" + copyName);
         },
         "is not absolute"},
        {"library folder writable by others",
         [](const std::string&, const std::string& folder) { ::chmod(folder.c_str(), 0777); },
         "can be changed by other users"},
        {"library writable by its group",
         [&](const std::string&, const std::string& folder) { ::chmod((folder + "/" + copyName).c_str(), 0775); },
         "can be changed by other users"},
        {"library of another user",
         [&](const std::string&, const std::string& folder) {
             (void)!::chown((folder + "/" + copyName).c_str(), kNobody, kNobody);
         },
         "belongs to another user", true},
        {"link to the library owned by another user",
         [&](const std::string& registry, const std::string& folder) {
             std::filesystem::create_symlink(folder + "/" + copyName, folder + "/link.so");
             (void)!::lchown((folder + "/link.so").c_str(), kNobody, kNobody);
             pointRecordAt(registry + kClassRecord, folder + "/link.so");
         },
         "belongs to another user", true},
        {"record writable by others",
         [](const std::string& registry, const std::string&) { ::chmod((registry + kClassRecord).c_str(), 0666); },
         "registration record"},
        {"record of another user",
         [](const std::string& registry, const std::string&) {
             (void)!::chown((registry + kClassRecord).c_str(), kNobody, kNobody);
         },
         "belongs to another user", true},
        {"classes folder writable by others",
         [](const std::string& registry, const std::string&) { ::chmod((registry + "/classes").c_str(), 0777); },
         "can be changed by other users"},
        {"registry folder writable by others",
         [](const std::string& registry, const std::string&) { ::chmod(registry.c_str(), 0777); },
         "can be changed by other users"},
        {"record is a pipe",
         [](const std::string& registry, const std::string&) {
             std::filesystem::remove(registry + kClassRecord);
             ::mkfifo((registry + kClassRecord).c_str(), 0644);
         },
         "is not an ordinary file"},
        {"record links to /dev/zero",
         [](const std::string& registry, const std::string&) {
             std::filesystem::remove(registry + kClassRecord);
             std::filesystem::create_symlink("/dev/zero", registry + kClassRecord);
         },
         "is a symbolic link"},
        {"record larger than 64 KiB",
         [](const std::string& registry, const std::string&) {
             testsupport::writeFile(registry + kClassRecord,
                                    testsupport::readFile(registry + kClassRecord) + std::string(70000, '#'));
         },
         "is longer than 65536 bytes"},
        {"NUL byte cutting the path short",
         [&](const std::string& registry, const std::string& folder) {
             pointRecordAt(registry + kClassRecord, folder + "/evil.so" + std::string(1, '\0') + "/x");
         },
         "holds a NUL byte"},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && !root)
            continue;
        SCOPED_TRACE(c.what);
        IsolatedRegistry registry;
        ASSERT_EQ(callEntry("DllRegisterServer"), S_OK) << takeDescription();
        // A copy of its own, never loaded before, so that the loader checks it afresh.
        testsupport::TestFolder place;
        const std::string folder = place / "lib";
        std::filesystem::create_directory(folder);
        std::filesystem::copy_file(kLibrary, folder + "/" + copyName);
        ::chmod(folder.c_str(), 0755);
        ::chmod((folder + "/" + copyName).c_str(), 0755);
        pointRecordAt(registry.userFolder() + kClassRecord, folder + "/" + copyName);

        c.spoil(registry.userFolder(), folder);
        const Creation created = create();
        if (c.fragment.empty()) {
            EXPECT_EQ(created.status, S_OK) << created.description;
            continue;
        }
        EXPECT_TRUE(com::failed(created.status));
        EXPECT_NE(created.description.find(c.fragment), std::string::npos) << created.description;
        EXPECT_NE(created.description.find("corvid-regsvr"), std::string::npos) << created.description;
        ::chmod(folder.c_str(), 0755);
    }
}

TEST(LoaderTrust, RegistrationStoresAbsoluteResolvedPathsInFoldersItMakes0755) {
    IsolatedRegistry registry;
    testsupport::TestFolder place;
    std::filesystem::create_directory(place / "real");
    // As installed: the versioned file, and the name the loader asks for as a link to it.
    std::filesystem::copy_file(kLibrary, place / "real/libcorvid.so.1.0.0");
    std::filesystem::create_symlink("libcorvid.so.1.0.0", place / "real/libcorvid.so.1");
    std::filesystem::create_directory_symlink(place / "real", place / "via");
    const std::string output =
        run("cd '" + place.path() + "' && umask 000 && '" + kRegsvr + "' --system via/libcorvid.so.1");
    ASSERT_NE(output.find("succeeded"), std::string::npos) << output;

    const std::string record = testsupport::readFile(registry.systemFolder() + kClassRecord);
    const std::string resolved = std::filesystem::canonical(place / "real").string() + "/libcorvid.so.1";
    EXPECT_NE(record.find("library = " + resolved + "\n"), std::string::npos) << record;
    EXPECT_EQ(modeOf(registry.systemFolder()), 0755u);
    EXPECT_EQ(modeOf(registry.systemFolder() + "/classes"), 0755u);
    EXPECT_EQ(modeOf(registry.systemFolder() + kClassRecord), 0644u);
}

TEST(LoaderTrust, ARelativeRegistryLocationIsRefused) {
    IsolatedRegistry registry;
    ::setenv("COMPONENT_REGISTRY_DIR", "relative/registry", 1);
    const Creation created = create();
    EXPECT_TRUE(com::failed(created.status));
    EXPECT_NE(created.description.find("COMPONENT_REGISTRY_DIR must be an absolute path"), std::string::npos)
        << created.description;
}

}  // namespace
}  // namespace component::test
