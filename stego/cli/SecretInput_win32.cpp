// Reading a secret on Windows: the file through the C++ library (a UTF-8 path),
// the console's echo turned off through its own mode.
#include "SecretInput.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <io.h>
#include <istream>
#include <optional>
#include <ostream>

#include "engine/Failure.h"
#include "support/ErrorNumbers.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

// One line from in, of at most kLongestSecretLine bytes, without its line break.
std::string readLine(std::istream& in, const std::string& source) {
    std::string line;
    line.reserve(kLongestSecretLine + 1);
    char ch = 0;
    while (in.get(ch) && ch != '\n') {
        if (line.size() == kLongestSecretLine) {
            support::secureClear(line);
            throw Failure(support::kOverflow, "The first line of " + source + " is longer than " +
                                                  std::to_string(kLongestSecretLine) + " bytes");
        }
        line.push_back(ch);
    }
    ch = 0;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Turns the console's echo off for as long as it lives.
class EchoOff {
public:
    EchoOff() : m_console(::GetStdHandle(STD_INPUT_HANDLE)) {
        m_active = ::GetConsoleMode(m_console, &m_saved) != 0 &&
                   ::SetConsoleMode(m_console, m_saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (m_active)
            ::SetConsoleMode(m_console, m_saved);
    }

private:
    HANDLE m_console;
    DWORD m_saved = 0;
    bool m_active = false;
};

}  // namespace

bool standardInputIsTerminal() { return ::_isatty(::_fileno(stdin)) != 0; }

std::string readSecretFromFile(const std::string& path) {
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        throw Failure(support::kNotOrdinaryFile, "Cannot read " + path + ": it is a folder");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw Failure(support::kFileNotFound, "Cannot read " + path + ": File not found");
    return readLine(in, path);
}

std::string readSecretLine(std::istream& in, bool standardInputIsTerminal, std::ostream& prompt,
                           const std::string& promptText) {
    std::optional<EchoOff> quiet;
    if (standardInputIsTerminal) {
        quiet.emplace();
        prompt << promptText << std::flush;
    }
    std::string line = readLine(in, "standard input");
    if (standardInputIsTerminal)
        prompt << '\n';
    return line;
}

}  // namespace stego::cli
