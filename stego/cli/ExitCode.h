// The exit codes of pixquill-cli, which scripts depend on.
#pragma once

namespace stego::cli {

inline constexpr int kSuccess = 0;
inline constexpr int kError = 1;       // stderr: "pixquill-cli: error N: text"
inline constexpr int kUsage = 2;       // arguments the tool cannot take
inline constexpr int kNoItem = 3;      // the picture holds no hidden message or file
inline constexpr int kIncomplete = 4;  // a start marker but no end marker

}  // namespace stego::cli
