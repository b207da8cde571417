// The characters a message may hold: the cipher's text alphabet, known here so
// that a refused character can be named before the cipher is asked.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace stego {

inline constexpr std::string_view kMessageAlphabet =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789()!@$^*-=[]{};: ,<.>|'";

/// The list of allowed characters in words, for messages to the user.
inline constexpr std::string_view kAllowedCharactersInWords =
    "letters, digits, space and ( ) ! @ $ ^ * - = [ ] { } ; : , < . > | '";

/// The 0-based position of the first character of text outside the alphabet, if any.
std::optional<std::size_t> firstCharacterOutsideAlphabet(std::string_view text);

/// A character named for a person: "?" in quotes, or "a line break", "a tab",
/// "the character with code 233".
std::string describeCharacter(char ch);

}  // namespace stego
