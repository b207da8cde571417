// What the four commands share: turning failures into outcomes, the key rule,
// the cipher object's short life, and the words of their refusals.
#pragma once

#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "engine/CipherPort.h"
#include "engine/Commands.h"
#include "engine/Failure.h"
#include "engine/GuardedOutcome.h"
#include "engine/Outcome.h"
#include "engine/ScanResult.h"
#include "support/Limits.h"

namespace stego::command {

inline constexpr std::int64_t kMaxItemLength = support::kLongestItem;

/// keyText, or the default key when it is empty.
std::string chooseKey(const std::string& keyText);

/// text without leading and trailing spaces (other white space stays).
std::string trimSpaces(const std::string& text);

/// A fresh cipher object for one command; throws Failure (kCipherUnavailable).
std::unique_ptr<CipherObject> makeCipher(const EngineServices& services);

/// The last steps of both insertions: refuses a body that holds the end
/// marker (a scan would stop inside it; what is "message" or "file"), frames
/// it, tests the capacity, and writes it into the picture under the trimmed
/// pass, which is written back only then.
Outcome hideBody(Carrier& carrier, const std::string& body, const std::string& what, std::string& pass,
                 EngineServices& services);

/// Scans the picture under the trimmed pass (written back by the caller).
ScanResult scanPicture(const Carrier& carrier, const std::string& trimmedPass, EngineServices& services);

/// The Outcome for a scan that found a start marker but no end marker.
Outcome incompleteOutcome();

}  // namespace stego::command
