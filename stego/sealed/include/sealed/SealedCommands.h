// The sealed hide and extract commands, as the classic four are: check first,
// change pixels or files last, and every failure an Outcome.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "SealedFormat.h"
#include "engine/FileStore.h"
#include "engine/Outcome.h"

namespace sealed {

/// What every opening of a sealed item that fails says: a wrong passphrase,
/// no item and a changed item are one answer, by design.
inline constexpr std::string_view kNoSealedItem = "No sealed item opens with this passphrase";

/// A passphrase of fewer characters is warned about when it seals: it can be guessed.
inline constexpr std::size_t kShortPassphrase = 12;

struct SealedServices {
    SealedCrypto& crypto;
    stego::FileStore& files;
    KdfCost cost = kDefaultCost;
    std::string groupSeparator = ",";
    /// Keys derived in advance for the next sealing (DeriveSealingKeys from the
    /// same passphrase), handed over when it needs them: a program can derive
    /// while it opens the picture. Empty: the sealing derives them itself.
    std::function<SealingKeys()> keysInAdvance = {};
};

/// message is text as UTF-8; an empty passphrase is refused.
stego::Outcome SealMessage(stego::Carrier& carrier, std::string_view passphrase, std::string_view message,
                           SealedServices& services);
/// Hides the file's bytes and its base name.
stego::Outcome SealFile(stego::Carrier& carrier, std::string_view passphrase, const std::string& sourcePath,
                        SealedServices& services);

/// The message in outcome.text (TextExtracted), or NoItem.
stego::Outcome OpenMessage(const stego::Carrier& carrier, std::string_view passphrase, SealedServices& services);
/// Writes the file to destinationPath, replacing it only when complete; the
/// name it was sealed under (a suggestion, never a path) in outcome.text.
stego::Outcome OpenFile(const stego::Carrier& carrier, std::string_view passphrase, const std::string& destinationPath,
                        SealedServices& services);

}  // namespace sealed
