// Asking for a passphrase on the controlling terminal, without echo.
#pragma once

#include <optional>
#include <string>

namespace stego::cli {

/// Writes prompt to the terminal and reads one line with echo off; nothing
/// when the program has no terminal. The line break is not part of the result.
std::optional<std::string> askOnTerminal(const std::string& prompt);

}  // namespace stego::cli
