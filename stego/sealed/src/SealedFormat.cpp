#include "sealed/SealedFormat.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/Failure.h"
#include "sealed/BodySlots.h"
#include "sealed/SlotChannel.h"
#include "sealed/SlotStream.h"
#include "support/SecureClear.h"

namespace sealed {

namespace {

// The key of the stream that places the public header: known to every reader,
// so that the header slots look like any other slots.
constexpr std::string_view kHeaderSlotKeyText = "Pixquill sealed item, header v1.";
static_assert(kHeaderSlotKeyText.size() == kKeyBytes);

constexpr std::uint64_t kSlotPurpose = 1;
constexpr std::uint64_t kEncryptionPurpose = 2;
constexpr std::uint64_t kMaxSlots = 0xFFFFFFFFu;  // slot numbers fit 32 bits with one value to spare

using Bytes = std::vector<std::uint8_t>;

// Secret bytes cleared when they go out of scope.
struct ClearedKey {
    Key key{};
    ~ClearedKey() { support::secureClear(key.data(), key.size()); }
};
struct ClearedBytes {
    Bytes bytes;
    ~ClearedBytes() { support::secureClear(bytes.data(), bytes.size()); }
};

Key headerSlotKey() {
    Key key;
    std::copy(kHeaderSlotKeyText.begin(), kHeaderSlotKeyText.end(), key.begin());
    return key;
}

void appendLittleEndian(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t readLittleEndian(const std::uint8_t* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{in[i]} << (8 * i);
    return value;
}

std::uint32_t checkedSlotCount(const stego::Carrier& carrier) {
    const std::uint64_t slots = SlotCount(carrier.width(), carrier.height());
    if (slots > kMaxSlots)
        throw stego::Failure(stego::kOverflow, "The picture is too large for a sealed item: it has more than "
                                               "4,294,967,295 colour components.");
    return static_cast<std::uint32_t>(slots);
}

// The next slots of stream, eight for each byte.
std::vector<std::uint32_t> drawSlots(SlotStream& stream, std::size_t bytes) {
    std::vector<std::uint32_t> slots(8 * bytes);
    for (std::uint32_t& slot : slots)
        slot = stream.next();
    return slots;
}

// Bytes from bits, most significant first.
Bytes bytesOf(const std::vector<bool>& bits) {
    Bytes bytes(bits.size() / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i])
            bytes[i / 8] = static_cast<std::uint8_t>(bytes[i / 8] | (0x80u >> (i % 8)));
    return bytes;
}

std::vector<bool> bitsOf(const std::uint8_t* bytes, std::size_t count) {
    std::vector<bool> bits(8 * count);
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = ((bytes[i / 8] >> (7 - i % 8)) & 1) != 0;
    return bits;
}

std::vector<std::uint32_t> joined(std::vector<std::uint32_t> a, const std::vector<std::uint32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The additional data the tag covers: the header and the ciphertext's length,
// so that a changed salt, cost or length fails as a changed ciphertext does.
Bytes associatedData(const Bytes& header, std::uint32_t cipherLength) {
    Bytes extra = header;
    appendLittleEndian(extra, cipherLength, 4);
    return extra;
}

void deriveKeys(SealedCrypto& crypto, std::string_view passphrase, const Salt& salt, const KdfCost& cost, Key& slotKey,
                Key& encryptionKey) {
    ClearedKey master;
    if (!crypto.deriveKey(master.key, passphrase, salt, cost))
        throw stego::Failure(stego::kOutOfMemory, "The key derivation needs " + std::to_string(cost.memoryBytes >> 10) +
                                                      " KiB of memory, which cannot be had.");
    slotKey = crypto.deriveSubkey(master.key, kSlotPurpose);
    encryptionKey = crypto.deriveSubkey(master.key, kEncryptionPurpose);
}

// The body's slots are drawn a batch ahead of the pixels they touch, so that
// each loop keeps its own state in registers.
// Where the bits sit is secret, so the batch is cleared as the stream's buffer is.
struct SlotBatch : std::array<std::uint32_t, 2048> {
    ~SlotBatch() { support::secureClear(data(), size() * sizeof(std::uint32_t)); }
};

}  // namespace

std::uint64_t SlotCount(std::int32_t width, std::int32_t height) {
    return 3 * static_cast<std::uint64_t>(std::max(width, 0)) * static_cast<std::uint64_t>(std::max(height, 0));
}

std::int64_t SealedCapacity(std::int32_t width, std::int32_t height, std::size_t nameBytes) {
    const std::uint64_t slots = std::min(SlotCount(width, height), kMaxSlots);
    return static_cast<std::int64_t>(slots / 8) - static_cast<std::int64_t>(kOverheadBytes + nameBytes);
}

std::string SafeBaseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (name == "." || name == "..")
        return {};
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return {};
    return name.substr(0, kMaxNameBytes);
}

SealingKeys::~SealingKeys() {
    support::secureClear(slotKey.data(), slotKey.size());
    support::secureClear(encryptionKey.data(), encryptionKey.size());
}

SealingKeys DeriveSealingKeys(SealedCrypto& crypto, std::string_view passphrase, const KdfCost& cost) {
    SealingKeys keys;
    keys.cost = cost;
    crypto.randomBytes(keys.salt);
    deriveKeys(crypto, passphrase, keys.salt, cost, keys.slotKey, keys.encryptionKey);
    return keys;
}

namespace {

// What would make a sealing fail, all of it before the slow key derivation.
std::uint32_t checkedForSealing(const stego::Carrier& carrier, const SealedItem& item) {
    const std::uint32_t slotCount = checkedSlotCount(carrier);
    if (item.name.size() > kMaxNameBytes)
        throw stego::Failure(stego::kInvalidArgument, "A sealed file's name has at most 255 bytes.");
    const std::int64_t capacity = SealedCapacity(carrier.width(), carrier.height(), item.name.size());
    if (static_cast<std::int64_t>(item.payload.size()) > capacity)
        throw stego::Failure(stego::kSubscriptOutOfRange, "The item does not fit in the picture.");
    return slotCount;
}

}  // namespace

void SealItem(stego::Carrier& carrier, SealedCrypto& crypto, std::string_view passphrase, const SealedItem& item,
              const KdfCost& cost) {
    checkedForSealing(carrier, item);
    SealItem(carrier, crypto, DeriveSealingKeys(crypto, passphrase, cost), item);
}

void SealItem(stego::Carrier& carrier, SealedCrypto& crypto, const SealingKeys& keys, const SealedItem& item) {
    const std::uint32_t slotCount = checkedForSealing(carrier, item);
    Bytes header(keys.salt.begin(), keys.salt.end());
    header.push_back(encodeCost(keys.cost));

    Nonce nonce;
    crypto.randomBytes(nonce);
    ClearedBytes plain;
    plain.bytes.reserve(kFieldBytes + item.name.size() + item.payload.size());
    plain.bytes.push_back(static_cast<std::uint8_t>(item.kind));
    appendLittleEndian(plain.bytes, item.name.size(), 2);
    plain.bytes.insert(plain.bytes.end(), item.name.begin(), item.name.end());
    appendLittleEndian(plain.bytes, item.payload.size(), 4);
    plain.bytes.insert(plain.bytes.end(), item.payload.begin(), item.payload.end());
    const auto cipherLength = static_cast<std::uint32_t>(plain.bytes.size() + kTagBytes);
    const Bytes cipher = crypto.seal(plain.bytes, associatedData(header, cipherLength), nonce, keys.encryptionKey);

    Bytes preface(nonce.begin(), nonce.end());
    appendLittleEndian(preface, cipherLength, 4);

    // Every check is behind us: drawing slots and moving components cannot fail.
    SlotSet taken;
    SlotStream headerStream(crypto, headerSlotKey(), slotCount, taken);
    const std::vector<std::uint32_t> headerSlots = drawSlots(headerStream, kHeaderBytes);
    SlotStream keyedStream(crypto, keys.slotKey, slotCount, taken);
    const std::vector<std::uint32_t> prefaceSlots = drawSlots(keyedStream, kPrefaceBytes);
    BodySlots body(keyedStream, slotCount, joined(headerSlots, prefaceSlots), 8 * std::uint64_t{cipherLength});

    MatchingDirections directions(crypto);
    writeSlotBits(carrier, headerSlots, bitsOf(header.data(), header.size()), directions);
    writeSlotBits(carrier, prefaceSlots, bitsOf(preface.data(), preface.size()), directions);
    RisingSlots bodyBits(carrier, &carrier);
    SlotBatch batch;
    for (std::size_t first = 0; first < 8 * cipher.size(); first += batch.size()) {
        const std::size_t count = std::min(batch.size(), 8 * cipher.size() - first);
        body.next(batch.data(), count);
        bodyBits.writeBits(batch.data(), count, cipher.data(), first, directions);
    }
    bodyBits.flush();
}

std::optional<SealedItem> OpenItem(const stego::Carrier& carrier, SealedCrypto& crypto, std::string_view passphrase) {
    const std::uint32_t slotCount = checkedSlotCount(carrier);
    if (SealedCapacity(carrier.width(), carrier.height(), 0) < 0)
        return std::nullopt;

    SlotSet taken;
    SlotStream headerStream(crypto, headerSlotKey(), slotCount, taken);
    const std::vector<std::uint32_t> headerSlots = drawSlots(headerStream, kHeaderBytes);
    const Bytes header = bytesOf(readSlotBits(carrier, headerSlots));
    Salt salt;
    std::copy_n(header.begin(), kSaltBytes, salt.begin());

    ClearedKey slotKey;
    ClearedKey encryptionKey;
    deriveKeys(crypto, passphrase, salt, decodeCost(header[kSaltBytes]), slotKey.key, encryptionKey.key);

    SlotStream keyedStream(crypto, slotKey.key, slotCount, taken);
    const std::vector<std::uint32_t> prefaceSlots = drawSlots(keyedStream, kPrefaceBytes);
    const Bytes preface = bytesOf(readSlotBits(carrier, prefaceSlots));
    Nonce nonce;
    std::copy_n(preface.begin(), kNonceBytes, nonce.begin());
    const auto cipherLength = static_cast<std::uint32_t>(readLittleEndian(preface.data() + kNonceBytes, 4));
    const std::uint64_t neededBits = 8 * (std::uint64_t{kHeaderBytes} + kPrefaceBytes + cipherLength);
    if (cipherLength < kTagBytes + kFieldBytes || neededBits > slotCount)
        return std::nullopt;

    BodySlots body(keyedStream, slotCount, joined(headerSlots, prefaceSlots), 8 * std::uint64_t{cipherLength});
    Bytes cipher(cipherLength, 0);
    RisingSlots bodyBits(carrier, nullptr);
    SlotBatch batch;
    for (std::size_t first = 0; first < 8 * cipher.size(); first += batch.size()) {
        const std::size_t count = std::min(batch.size(), 8 * cipher.size() - first);
        body.next(batch.data(), count);
        bodyBits.readBits(batch.data(), count, cipher.data(), first);
    }
    ClearedBytes plain;
    if (!crypto.open(cipher, associatedData(header, cipherLength), nonce, encryptionKey.key, plain.bytes))
        return std::nullopt;

    // Authenticated, so written by a sealer; still, a field that disagrees is no item.
    const Bytes& p = plain.bytes;
    const auto nameLength = static_cast<std::size_t>(readLittleEndian(p.data() + 1, 2));
    if (p[0] != static_cast<std::uint8_t>(ItemKind::Message) && p[0] != static_cast<std::uint8_t>(ItemKind::File))
        return std::nullopt;
    if (kFieldBytes + nameLength > p.size())
        return std::nullopt;
    const auto payloadLength = readLittleEndian(p.data() + 3 + nameLength, 4);
    if (kFieldBytes + nameLength + payloadLength != p.size())
        return std::nullopt;

    SealedItem item;
    item.kind = static_cast<ItemKind>(p[0]);
    item.name = SafeBaseName(std::string(p.begin() + 3, p.begin() + 3 + static_cast<std::ptrdiff_t>(nameLength)));
    item.payload.assign(p.begin() + static_cast<std::ptrdiff_t>(kFieldBytes + nameLength), p.end());
    return item;
}

}  // namespace sealed
