// The four hide and extract commands: check first, change pixels or files last.
#pragma once

#include <string>

#include "Carrier.h"
#include "CipherPort.h"
#include "FileStore.h"
#include "Outcome.h"
#include "RandomSource.h"

namespace stego {

/// The key used when the key box is empty and the user agreed to go on.
inline constexpr const char* kDefaultKey = "408127";

/// The scramble key of every picture the programs write (the window's hidden pass box).
inline constexpr const char* kScrambleKey = "Wren5";

/// What a command reaches beyond the picture.
struct EngineServices {
    RandomSource& generator;
    CipherFactory makeCipher;
    FileStore& files;
    std::string groupSeparator = ",";  // the locale's thousands separator for the capacity message
};

// keyText empty means the default key. pass is the scramble key text; it is
// trimmed of spaces and written back, as the window's hidden box is.
// No command throws: every failure comes back as an Outcome, and on any
// failure the picture, pass and every file are as they were.
Outcome InsertMessage(Carrier& carrier, const std::string& keyText, const std::string& message, std::string& pass,
                      EngineServices& services);
Outcome ExtractMessage(const Carrier& carrier, const std::string& keyText, std::string& pass, EngineServices& services);
Outcome InsertFile(Carrier& carrier, const std::string& keyText, const std::string& sourcePath, std::string& pass,
                   EngineServices& services);
Outcome ExtractFile(const Carrier& carrier, const std::string& keyText, const std::string& destinationPath,
                    std::string& pass, EngineServices& services);

/// Appends the whole content of the file at path to data, one character per
/// byte. Throws Failure, as the file store does.
void GetFileStringData(FileStore& files, const std::string& path, std::string& data);

}  // namespace stego
