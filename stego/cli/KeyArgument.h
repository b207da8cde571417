// The --key option: what a key is, checked before anything else is done.
#pragma once

#include <string_view>

namespace stego::cli {

/// The usage message for a key that is not one.
inline constexpr std::string_view kKeyExplanation =
    "a key is one or more decimal digits 0-9, such as 408127 (digits after the 18th have no effect)";

/// The --key and --key-file value that reads the key from standard input
/// (a prompt without echo on a terminal).
inline constexpr std::string_view kKeyFromStandardInput = "-";

/// Whether text is one or more decimal digits.
bool isValidKey(std::string_view text);

}  // namespace stego::cli
