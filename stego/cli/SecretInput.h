// Reading a secret (a key, and later a passphrase) so that other users cannot
// see it in the process list: the first line of a file, of standard input, or
// a line typed at the terminal without echo.
#pragma once

#include <iosfwd>
#include <string>

namespace stego::cli {

/// The longest secret line read; a longer first line is refused, not cut.
inline constexpr std::size_t kLongestSecretLine = 4096;

/// The first line of the file at path, without its line break ("\n" or "\r\n").
/// The file may be a pipe (`--key-file <(...)`), never a folder. Throws stego::Failure.
std::string readSecretFromFile(const std::string& path);

/// One line from in; when standardInputIsTerminal, prompt is shown on the
/// terminal first and what is typed is not echoed. Throws stego::Failure.
std::string readSecretLine(std::istream& in, bool standardInputIsTerminal, std::ostream& prompt,
                           const std::string& promptText);

/// Whether the program's standard input is a terminal.
bool standardInputIsTerminal();

}  // namespace stego::cli
