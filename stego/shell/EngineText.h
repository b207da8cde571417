// Texts crossing between the windows and the engine, which works on single
// bytes (ISO 8859-1: a character's code is its byte value).
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace stego::shell {

/// text as ISO 8859-1 bytes, or nothing when a character lies beyond U+00FF;
/// then refusal (if given) says which character, in the user's words.
std::optional<std::string> toEngineBytes(const QString& text, QString* refusal = nullptr);

/// Bytes that the engine extracted, one character each.
QString fromEngineBytes(const std::string& bytes);

/// The engine's words for the user; they may hold paths, which are UTF-8.
QString fromEngineMessage(const std::string& message);

/// A path as the file system spells it.
std::string toEnginePath(const QString& path);

}  // namespace stego::shell
