// Registration as users do it, with corvid-regsvr: register, create, unregister,
// and creation failing with a message that says what to do, not ending the program.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "ComponentTestKit.h"
#include "comrt/Registry.h"
#include "engine/Commands.h"
#include "engine/Failure.h"
#include "engine/LcgGenerator.h"
#include "engine/MemoryCarrier.h"
#include "platform/ComponentCipher.h"
#include "platform/PosixFileStore.h"

namespace component::test {
namespace {

struct ProgramRun {
    int exitCode;
    std::string output;  // stdout and stderr together
};

ProgramRun runRegsvr(const std::string& arguments) {
    const std::string command = std::string("'") + kRegsvr + "' " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start " + command};
    ProgramRun run{0, {}};
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.output += buffer;
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::set<std::string> filesUnder(const std::string& folder) {
    std::set<std::string> files;
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ignored);
         it != std::filesystem::recursive_directory_iterator(); ++it)
        if (it->is_regular_file())
            files.insert(std::filesystem::relative(it->path(), folder).string());
    return files;
}

const std::set<std::string> kCorvidRecords = {
    "classes/{6405D53F-0BF8-4256-95FD-4CA80662B0B9}",
    "progids/Corvid.Encryption",
    "interfaces/{1A511C9D-A3E6-4DF9-8BCF-BA28F7D8DB7E}",
    "typelibs/{02A0C1FC-A256-4DAB-A117-89795A0EEAF3}",
};

std::string encryptThroughComponent(const std::string& text) {
    auto cipher = stego::platform::makeComponentCipherFactory()();
    std::string key = "408127";
    return cipher->Encrypt(key, text);
}

TEST(Registration, RegisterCreateUnregisterAndCreationFailsClearly) {
    IsolatedRegistry registry;
    std::filesystem::create_directories(registry.userFolder());
    testsupport::writeFile(registry.userFolder() + "/someone-elses-record", "kept");

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);  // registering twice is harmless
        const auto run = runRegsvr(quoted(kLibrary));
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("DllRegisterServer"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("succeeded"), std::string::npos) << run.output;
    }
    auto expected = kCorvidRecords;
    expected.insert("someone-elses-record");
    EXPECT_EQ(filesUnder(registry.userFolder()), expected);
    const std::string classRecord =
        testsupport::readFile(registry.userFolder() + "/classes/{6405D53F-0BF8-4256-95FD-4CA80662B0B9}");
    EXPECT_NE(classRecord.find("library = " + std::filesystem::absolute(kLibrary).lexically_normal().string()),
              std::string::npos)
        << classRecord;
    EXPECT_NE(classRecord.find("threading = Apartment"), std::string::npos) << classRecord;
    EXPECT_NE(classRecord.find("progid = Corvid.Encryption"), std::string::npos) << classRecord;
    CLSID byName{};
    EXPECT_EQ(CLSIDFromProgID("Corvid.Encryption", &byName), S_OK);
    EXPECT_EQ(byName, CLSID_Encryption);

    EXPECT_EQ(encryptThroughComponent("Hello").size(), 5u);

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);  // unregistering what is not there succeeds
        const auto run = runRegsvr("-u " + quoted(kLibrary));
        EXPECT_EQ(run.exitCode, 0) << run.output;
    }
    EXPECT_EQ(filesUnder(registry.userFolder()), std::set<std::string>{"someone-elses-record"});

    try {
        encryptThroughComponent("Hello");
        ADD_FAILURE() << "created a class that is not registered";
    } catch (const stego::Failure& failure) {
        EXPECT_EQ(failure.number(), stego::kCipherUnavailable);
        const std::string message = failure.what();
        EXPECT_EQ(message.rfind("The cipher component Corvid is not registered or cannot be loaded: ", 0), 0u)
            << message;
        EXPECT_NE(message.find("{6405D53F-0BF8-4256-95FD-4CA80662B0B9}"), std::string::npos) << message;
        EXPECT_NE(message.find("Register it with: corvid-regsvr "), std::string::npos) << message;
    }

    // A command that cannot have its cipher says so and changes nothing.
    stego::MemoryCarrier picture(64, 64, {10, 20, 30});
    const auto before = picture.pixels();
    stego::platform::PosixFileStore files;
    stego::EngineServices services{stego::platform::sharedGenerator(), stego::platform::makeComponentCipherFactory(),
                                   files};
    std::string pass = "Wren5";
    const auto outcome = stego::InsertMessage(picture, "", "Hello", pass, services);
    EXPECT_EQ(outcome.kind, stego::OutcomeKind::Error);
    EXPECT_EQ(outcome.number, stego::kCipherUnavailable);
    EXPECT_NE(outcome.message.find("not registered"), std::string::npos) << outcome.message;
    EXPECT_TRUE(picture.pixels() == before);
}

TEST(Registration, TheUsersRegistryComesBeforeTheSystemWideOne) {
    IsolatedRegistry registry;
    const auto run = runRegsvr("--system " + quoted(kLibrary));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(filesUnder(registry.systemFolder()), kCorvidRecords);
    EXPECT_TRUE(filesUnder(registry.userFolder()).empty());
    EXPECT_EQ(encryptThroughComponent("Hello").size(), 5u) << "found in the system-wide registry";

    // A user's record of a library that is gone hides the system-wide one, and
    // creation says which library could not be loaded.
    std::filesystem::create_directories(registry.userFolder() + "/classes");
    testsupport::writeFile(registry.userFolder() + "/classes/{6405D53F-0BF8-4256-95FD-4CA80662B0B9}",
                           "name = Encryption\nlibrary = /nowhere/libcorvid.so.1\nthreading = Apartment\n");
    try {
        encryptThroughComponent("Hello");
        ADD_FAILURE() << "created from a library that does not exist";
    } catch (const stego::Failure& failure) {
        EXPECT_EQ(failure.number(), stego::kCipherUnavailable);
        EXPECT_NE(std::string(failure.what()).find("/nowhere/libcorvid.so.1"), std::string::npos) << failure.what();
    }

    const auto removed = runRegsvr("-u --system " + quoted(kLibrary));
    EXPECT_EQ(removed.exitCode, 0) << removed.output;
    EXPECT_TRUE(filesUnder(registry.systemFolder()).empty());
}

TEST(Registration, TheToolRefusesWhatItCannotDo) {
    IsolatedRegistry registry;
    const testsupport::TestFolder folder;
    testsupport::writeFile(folder / "not-a-library.so", "plain text");
    for (const std::string& arguments : {std::string(""), std::string("--frobnicate x"), quoted(folder / "missing.so"),
                                         quoted(folder / "not-a-library.so")}) {
        SCOPED_TRACE(arguments);
        const auto run = runRegsvr(arguments);
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_FALSE(run.output.empty());
    }
    EXPECT_TRUE(filesUnder(registry.userFolder()).empty());
}

}  // namespace
}  // namespace component::test
