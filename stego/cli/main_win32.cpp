// pixquill-cli.exe: the engine's hide and extract commands, for scripts, on Windows.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// The cipher's operations, not winbase.h's file-encryption calls of the same names.
#undef EncryptFile
#undef DecryptFile

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "platform/ComponentCipher.h"
#include "engine/LcgGenerator.h"
#include "platform/WinFileStore.h"

namespace {
std::string utf8Of(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}
}  // namespace

int main() {
    // The arguments as the system holds them (wide), passed on as UTF-8 like
    // the Linux program's, so that any file name and message survive.
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return 1;
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Of(wide[i]));
    LocalFree(wide);
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // Bytes in and out exactly as on Linux: no CR added before each LF.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    // The cipher and the picture decoders are COM objects of this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        stego::platform::WinFileStore files;
        stego::cli::CliEnvironment environment{
            std::cin, std::cout, std::cerr, stego::platform::sharedGenerator(),
            stego::platform::makeComponentCipherFactory(),  // the one place that chooses how the cipher is made
            files,
        };
        status = stego::cli::runCommandLine(count, argv.data(), environment);
        std::cout.flush();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
