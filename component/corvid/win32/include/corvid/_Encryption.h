// Corvid's interface and identifiers as the type library compiler declares
// them, plus the facts the IDL cannot carry.
#pragma once

#include <cstdint>

#include "Corvid_h.h"
#include "IDispatch.h"

inline constexpr std::uint16_t kCorvidTypeLibMajor = 4;
inline constexpr std::uint16_t kCorvidTypeLibMinor = 0;

/// The programmatic name the class is also registered under.
inline constexpr const char* kEncryptionProgId = "Corvid.Encryption";
