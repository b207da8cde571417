// Corvid's interface and identifiers as the type library compiler declares
// them, plus the facts the IDL cannot carry.
#pragma once

#include <cstdint>

#include <windows.h>
// winbase.h maps these two names to its own file-encryption calls; here they
// are Corvid's operations, whatever is included later.
#undef EncryptFile
#undef DecryptFile

#include "Corvid_h.h"
#include "comrt/IDispatch.h"

inline constexpr std::uint16_t kCorvidTypeLibMajor = 4;
inline constexpr std::uint16_t kCorvidTypeLibMinor = 0;

/// The programmatic name the class is also registered under.
inline constexpr const char* kEncryptionProgId = "Corvid.Encryption";

/// What a user runs to register Corvid on this platform, for messages.
inline constexpr const char* kRegisterCorvidCommand = "regsvr32 <path to Corvid.dll>";
