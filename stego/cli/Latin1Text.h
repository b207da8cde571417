// Texts cross the command line as UTF-8 and the engine as ISO 8859-1 bytes.
#pragma once

#include <string>
#include <string_view>

namespace stego::cli {

/// The ISO 8859-1 bytes of a UTF-8 text. Throws stego::Failure (5) naming the
/// first character beyond ISO 8859-1, or the place where the text is not UTF-8;
/// what says whose text it is ("the message").
std::string utf8ToLatin1(std::string_view utf8, const std::string& what);

/// The UTF-8 form of ISO 8859-1 bytes.
std::string latin1ToUtf8(std::string_view latin1);

}  // namespace stego::cli
