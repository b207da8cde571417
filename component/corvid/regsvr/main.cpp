// corvid-regsvr [-u] [--system] LIBRARY: registers a component library by
// calling its own DllRegisterServer (or, with -u, DllUnregisterServer).

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "comrt/Creation.h"
#include "comrt/Registry.h"
#include "comsupport/ComError.h"

namespace {
constexpr const char* kUsage =
    "usage: corvid-regsvr [-u] [--system] LIBRARY\n"
    "  Registers the component library LIBRARY for the current user (its own DllRegisterServer).\n"
    "  -u        unregister instead (DllUnregisterServer)\n"
    "  --system  use the system-wide registry instead of the user's\n";

// A file name or relative path means that file, as with any other path
// argument; the runtime loads only absolute paths, so it is made absolute
// here. A name that is no file is passed on, for the runtime to refuse.
std::string libraryPathFrom(const std::string& argument) {
    std::error_code error;
    if (!std::filesystem::exists(argument, error))
        return argument;
    const auto absolute = std::filesystem::absolute(argument, error);
    return error ? argument : absolute.lexically_normal().string();
}
}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool systemWide = false;
    std::string library;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-u")
            unregister = true;
        else if (argument == "--system")
            systemWide = true;
        else if (argument == "-h" || argument == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!argument.empty() && argument[0] != '-' && library.empty())
            library = argument;
        else {
            std::fputs(kUsage, stderr);
            return 1;
        }
    }
    if (library.empty()) {
        std::fputs(kUsage, stderr);
        return 1;
    }

    if (systemWide)
        ComSetRegistryScope(ComRegistrySystem);
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const HRESULT result = ComCallServerEntry(libraryPathFrom(library).c_str(), entry);
    if (com::failed(result)) {
        std::fprintf(stderr, "corvid-regsvr: %s in %s failed: %s (0x%08X)\n", entry, library.c_str(),
                     com::takeErrorDescription(result).c_str(), static_cast<unsigned>(result));
        return 1;
    }
    std::printf("%s in %s succeeded.\n", entry, library.c_str());
    return 0;
}
