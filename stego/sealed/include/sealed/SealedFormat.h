// A sealed item: a message or a file, encrypted and authenticated under a
// passphrase, its bits scattered over the picture at slots only the key finds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "HeaderCost.h"
#include "SealedCrypto.h"
#include "engine/Carrier.h"

namespace sealed {

enum class ItemKind : std::uint8_t { Message = 1, File = 2 };

struct SealedItem {
    ItemKind kind = ItemKind::Message;
    std::string name;     // a file's base name (empty for a message)
    std::string payload;  // the message's UTF-8 bytes or the file's bytes
    friend bool operator==(const SealedItem&, const SealedItem&) = default;
};

/// The public header: the salt and the cost byte, at slots every reader finds.
inline constexpr std::size_t kHeaderBytes = kSaltBytes + 1;
/// Before the ciphertext, at keyed slots: the nonce and the ciphertext's length.
inline constexpr std::size_t kPrefaceBytes = kNonceBytes + 4;
/// Inside the ciphertext, before the name and the payload: kind, name length, payload length.
inline constexpr std::size_t kFieldBytes = 1 + 2 + 4;
/// Everything but the name and the payload.
inline constexpr std::size_t kOverheadBytes = kHeaderBytes + kPrefaceBytes + kTagBytes + kFieldBytes;
/// The longest name a sealed file keeps.
inline constexpr std::size_t kMaxNameBytes = 255;

/// Slots of a width x height picture: three a pixel.
std::uint64_t SlotCount(std::int32_t width, std::int32_t height);

/// The payload bytes a sealed item with a name of nameBytes can hold in the
/// picture; negative when not even an empty one fits.
std::int64_t SealedCapacity(std::int32_t width, std::int32_t height, std::size_t nameBytes);

/// What a sealing draws and derives before it needs the picture: a fresh salt,
/// the cost, and the keys derived from them and the passphrase. Deriving is
/// the slow part of sealing, so a program may make these while it opens the
/// picture. Cleared when it goes.
struct SealingKeys {
    Salt salt{};
    KdfCost cost = kDefaultCost;
    Key slotKey{};
    Key encryptionKey{};

    SealingKeys() = default;
    SealingKeys(const SealingKeys&) = default;
    SealingKeys& operator=(const SealingKeys&) = default;
    ~SealingKeys();
};

/// Draws a salt and derives the keys; throws stego::Failure when the key
/// derivation cannot have its memory.
SealingKeys DeriveSealingKeys(SealedCrypto& crypto, std::string_view passphrase, const KdfCost& cost = kDefaultCost);

/// Seals item into the picture. Everything is checked, derived and encrypted
/// before the first pixel changes; throws stego::Failure, changing nothing,
/// when the item does not fit, the picture is too large to number its slots,
/// or the key derivation cannot have its memory.
void SealItem(stego::Carrier& carrier, SealedCrypto& crypto, std::string_view passphrase, const SealedItem& item,
              const KdfCost& cost = kDefaultCost);
/// The same with keys derived in advance; each keys seals one item.
void SealItem(stego::Carrier& carrier, SealedCrypto& crypto, const SealingKeys& keys, const SealedItem& item);

/// The item sealed in the picture under passphrase; nothing when there is no
/// such item, the passphrase is wrong or any bit of the item has changed (by
/// design one answer). Throws stego::Failure only when the key derivation
/// cannot have the memory the header asks for.
std::optional<SealedItem> OpenItem(const stego::Carrier& carrier, SealedCrypto& crypto, std::string_view passphrase);

/// The base name of a path, without folders; "" for ".", ".." and names of control characters.
std::string SafeBaseName(std::string_view path);

}  // namespace sealed
