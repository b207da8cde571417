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

// A bare file name means the file in the current folder, as with any other
// path argument, rather than a library the loader would search for.
std::string libraryPathFrom(const std::string& argument) {
    std::error_code ignored;
    if (argument.find('/') == std::string::npos && std::filesystem::exists(argument, ignored))
        return "./" + argument;
    return argument;
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
