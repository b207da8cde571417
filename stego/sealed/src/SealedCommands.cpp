#include "sealed/SealedCommands.h"

#include <cerrno>

#include "engine/GuardedOutcome.h"
#include "engine/NumberFormat.h"
#include "support/FileErrors.h"
#include "support/SecureClear.h"

namespace sealed {

using stego::Failure;
using stego::FileStore;
using stego::Outcome;
using stego::OutcomeKind;

namespace {

struct ClearedItem {
    SealedItem item;
    ~ClearedItem() { support::secureClear(item.payload); }
};

Failure pathFailure(int errnoValue, const std::string& words) {
    return Failure(support::describeFileError(errnoValue).number, words);
}

void checkPassphrase(std::string_view passphrase) {
    if (passphrase.empty())
        throw Failure(stego::kInvalidArgument, "An empty passphrase cannot seal an item.");
}

Outcome shortfallOutcome(std::int64_t missing, const SealedServices& services) {
    Outcome outcome;
    outcome.kind = OutcomeKind::CapacityShortfall;
    outcome.message = "Data is " + stego::formatGrouped(missing, services.groupSeparator) +
                      " bytes longer than this picture can hold sealed";
    outcome.shortfall = static_cast<std::int32_t>(std::min<std::int64_t>(missing, 0x7FFFFFFF));
    return outcome;
}

Outcome sealInto(stego::Carrier& carrier, std::string_view passphrase, const SealedItem& item,
                 SealedServices& services) {
    const std::int64_t capacity = SealedCapacity(carrier.width(), carrier.height(), item.name.size());
    const auto size = static_cast<std::int64_t>(item.payload.size());
    if (size > capacity)
        return shortfallOutcome(size - std::max<std::int64_t>(capacity, 0), services);
    if (services.keysInAdvance)
        SealItem(carrier, services.crypto, services.keysInAdvance(), item);
    else
        SealItem(carrier, services.crypto, passphrase, item, services.cost);
    return Outcome{};
}

Outcome noItem(std::string_view words = kNoSealedItem) {
    Outcome outcome;
    outcome.kind = OutcomeKind::NoItem;
    outcome.message = words;
    return outcome;
}

}  // namespace

Outcome SealMessage(stego::Carrier& carrier, std::string_view passphrase, std::string_view message,
                    SealedServices& services) {
    return stego::guarded([&] {
        checkPassphrase(passphrase);
        ClearedItem sealed;
        sealed.item.kind = ItemKind::Message;
        sealed.item.payload = message;
        return sealInto(carrier, passphrase, sealed.item, services);
    });
}

Outcome SealFile(stego::Carrier& carrier, std::string_view passphrase, const std::string& sourcePath,
                 SealedServices& services) {
    return stego::guarded([&] {
        checkPassphrase(passphrase);
        switch (services.files.kindOf(sourcePath)) {
        case FileStore::Kind::Missing: throw pathFailure(ENOENT, sourcePath + " does not exist.");
        case FileStore::Kind::Directory: throw pathFailure(EISDIR, sourcePath + " is a folder, not a file.");
        case FileStore::Kind::Other: throw pathFailure(EISDIR, sourcePath + " is not an ordinary file.");
        case FileStore::Kind::RegularFile: break;
        }
        ClearedItem sealed;
        sealed.item.kind = ItemKind::File;
        sealed.item.name = SafeBaseName(sourcePath);
        // A file too large is refused before it is read.
        const std::int64_t capacity = SealedCapacity(carrier.width(), carrier.height(), sealed.item.name.size());
        const std::int64_t size = services.files.sizeOf(sourcePath);
        if (size > capacity)
            return shortfallOutcome(size - std::max<std::int64_t>(capacity, 0), services);
        sealed.item.payload = services.files.readAll(sourcePath);
        return sealInto(carrier, passphrase, sealed.item, services);
    });
}

Outcome OpenMessage(const stego::Carrier& carrier, std::string_view passphrase, SealedServices& services) {
    return stego::guarded([&] {
        std::optional<SealedItem> item = OpenItem(carrier, services.crypto, passphrase);
        if (!item)
            return noItem();
        if (item->kind != ItemKind::Message) {
            support::secureClear(item->payload);
            return noItem("The sealed item that opens with this passphrase is a file, not a message");
        }
        Outcome outcome;
        outcome.kind = OutcomeKind::TextExtracted;
        outcome.text = std::move(item->payload);
        return outcome;
    });
}

Outcome OpenFile(const stego::Carrier& carrier, std::string_view passphrase, const std::string& destinationPath,
                 SealedServices& services) {
    return stego::guarded([&] {
        switch (services.files.kindOf(destinationPath)) {
        case FileStore::Kind::Directory: throw pathFailure(EISDIR, destinationPath + " is a folder, not a file.");
        case FileStore::Kind::Other: throw pathFailure(EISDIR, destinationPath + " is not an ordinary file.");
        case FileStore::Kind::Missing:
        case FileStore::Kind::RegularFile: break;
        }
        // Made before the long key derivation, so that an unwritable folder is said at once.
        const auto scratch = services.files.makeScratchDirectory(destinationPath);
        ClearedItem opened;
        std::optional<SealedItem> item = OpenItem(carrier, services.crypto, passphrase);
        if (!item)
            return noItem();
        opened.item = std::move(*item);
        if (opened.item.kind != ItemKind::File)
            return noItem("The sealed item that opens with this passphrase is a message, not a file");
        const std::string written = scratch->path() + "/sealed.out";
        services.files.writeAll(written, opened.item.payload);
        services.files.replaceFile(written, destinationPath);
        Outcome outcome;
        outcome.message = "File extracted";
        outcome.text = opened.item.name;
        return outcome;
    });
}

}  // namespace sealed
