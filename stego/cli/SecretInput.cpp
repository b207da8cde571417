#include "SecretInput.h"

#include <cerrno>
#include <fcntl.h>
#include <istream>
#include <optional>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

#include "TerminalEcho.h"
#include "engine/Failure.h"
#include "support/ErrorNumbers.h"
#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace stego::cli {

namespace {

Failure tooLong(const std::string& source) {
    return Failure(support::kOverflow,
                   "The first line of " + source + " is longer than " + std::to_string(kLongestSecretLine) + " bytes");
}

// Drops one final "\r" of a line ended by "\r\n".
void dropCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
}

}  // namespace

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::string readSecretFromFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const support::FileErrorInfo info = support::describeFileError(errno);
        throw Failure(info.number, "Cannot read " + path + ": " + info.text);
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        throw Failure(support::kNotOrdinaryFile, "Cannot read " + path + ": it is a folder");
    }
    // Room for all of it up front: a growing string would leave copies of the secret behind.
    std::string line;
    line.reserve(kLongestSecretLine + 1);
    char byte = 0;
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0 || byte == '\n')
            break;
        if (line.size() == kLongestSecretLine) {
            error = -1;
            break;
        }
        line.push_back(byte);
    }
    byte = 0;
    ::close(fd);
    if (error != 0) {
        support::secureClear(line);
        if (error < 0)
            throw tooLong(path);
        const support::FileErrorInfo info = support::describeFileError(error);
        throw Failure(info.number, "Cannot read " + path + ": " + info.text);
    }
    dropCarriageReturn(line);
    return line;
}

std::string readSecretLine(std::istream& in, bool standardInputIsTerminal, std::ostream& prompt,
                           const std::string& promptText) {
    std::string line;
    line.reserve(kLongestSecretLine + 1);
    {
        std::optional<EchoOff> quiet;
        if (standardInputIsTerminal) {
            // Echo off before the prompt shows, so that nothing typed after it is echoed or lost.
            quiet.emplace(STDIN_FILENO);
            prompt << promptText << std::flush;
        }
        char ch = 0;
        while (in.get(ch) && ch != '\n') {
            if (line.size() == kLongestSecretLine) {
                support::secureClear(line);
                throw tooLong("standard input");
            }
            line.push_back(ch);
        }
        ch = 0;
    }
    dropCarriageReturn(line);
    return line;
}

}  // namespace stego::cli
