// The --key option: what a key is, checked before anything else is done.
#pragma once

#include <string_view>

namespace stego::cli {

/// The usage message for a key that is not one.
inline constexpr std::string_view kKeyExplanation =
    "a key is one or more decimal digits 0-9, such as 408127 (digits after the 18th have no effect)";

/// Whether text is one or more decimal digits.
bool isValidKey(std::string_view text);

}  // namespace stego::cli
