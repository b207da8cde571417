// The one way the engine stores a text in a picture and finds it again: framed
// by two markers, eight bits in the low bits of three pixels per character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Carrier.h"
#include "ScanResult.h"
#include "Scrambler.h"

namespace stego {

inline constexpr std::string_view FrameStartMarker = "Vyn2005S";
inline constexpr std::string_view FrameEndMarker = "Vyn2005E";

/// 3 x L - W x H, the pixels missing for a framed text of L characters; the
/// text fits when it is 0 or less. Throws Failure (kOverflow) when either
/// product leaves the 32-bit signed range.
std::int32_t CapacityShortfall(std::int64_t length, std::int32_t width, std::int32_t height);

/// The characters of a body that a picture of width x height pixels can hold
/// between the two markers (0 when it cannot hold even the markers).
std::int64_t CharacterCapacity(std::int32_t width, std::int32_t height);

/// "The message needs N characters of room; this picture holds C." (a file's
/// body counts "bytes"), both numbers grouped by threes; "... this picture is too
/// small to hold any." when it holds nothing. what is "message" or "file".
std::string CapacityMessage(std::string_view what, std::int64_t bodyLength, std::int64_t capacity,
                            const std::string& groupSeparator);

/// Writes every character of framed, scrambled, from pixel index 0 on; pixels
/// after the last cell keep their colours. All characters are scrambled before
/// the first pixel changes. Throws Failure, changing nothing, when the text
/// does not fit.
void EmbedFramedText(Carrier& carrier, Scrambler& scrambler, std::string_view framed);

/// Scans from pixel index 0 for a framed text. The scrambler's tables must have
/// been built just before; the generator ends as one UnscrambleChar call per
/// character read would leave it.
ScanResult ScanFramedText(const Carrier& carrier, Scrambler& scrambler);

}  // namespace stego
