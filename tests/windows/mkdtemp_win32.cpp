// Makes a fresh folder from a pattern ending in XXXXXX, as POSIX mkdtemp does.
#include "mkdtemp_win32.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <random>

extern "C" char* mkdtemp(char* pattern) {
    const std::size_t length = std::strlen(pattern);
    if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return nullptr;
    }
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = length - 6; i < length; ++i)
            pattern[i] = kLetters[seed() % (sizeof kLetters - 1)];
        if (CreateDirectoryA(pattern, nullptr))
            return pattern;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    errno = EEXIST;
    return nullptr;
}
