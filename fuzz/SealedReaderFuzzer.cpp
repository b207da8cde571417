// The sealed reader on arbitrary pixels, and on a sealed picture with bits
// changed: it must give an item or none and never read or write out of bounds;
// a changed sealed picture gives back the item whole or nothing at all.
//
// Input: a mode byte. Mode even: width - 1 (one byte, below 64), then red,
// green and blue of each pixel of a picture of up to 64 x 64, missing bytes 0.
// Mode odd: bytes XORed into a fixed 24 x 24 sealed picture, from the pixel
// the next two bytes name on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzCheck.h"
#include "engine/Failure.h"
#include "engine/MemoryCarrier.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedFormat.h"

namespace {

using fuzzing::requireThat;

constexpr const char* kPassphrase = "fuzzing passphrase";

// The cost in the header is the input's to choose; the cheapest derivation
// keeps every run short without skipping any of the reader's steps.
class CheapCrypto : public stego::platform::SodiumCrypto {
public:
    bool deriveKey(sealed::Key& key, std::string_view passphrase, const sealed::Salt& salt,
                   const sealed::KdfCost&) override {
        return SodiumCrypto::deriveKey(key, passphrase, salt, sealed::kCheapestCost);
    }
};

const sealed::SealedItem& fixedItem() {
    static const sealed::SealedItem item{sealed::ItemKind::File, "fuzz.bin", "twenty bytes of data"};
    return item;
}

const stego::MemoryCarrier& sealedPicture() {
    static const stego::MemoryCarrier picture = [] {
        stego::MemoryCarrier carrier(24, 24, stego::Rgb{100, 150, 200});
        sealed::Key seed{};
        auto crypto = stego::platform::SodiumCrypto::seeded(seed);
        sealed::SealItem(carrier, crypto, kPassphrase, fixedItem(), sealed::kCheapestCost);
        return carrier;
    }();
    return picture;
}

void setComponent(stego::Rgb& colour, std::size_t which, std::uint8_t value) {
    (which == 0 ? colour.red : which == 1 ? colour.green : colour.blue) = value;
}

std::uint8_t componentOf(const stego::Rgb& colour, std::size_t which) {
    return which == 0 ? colour.red : which == 1 ? colour.green : colour.blue;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static CheapCrypto crypto;
    const std::uint8_t mode = data[0];
    ++data;
    --size;

    if (mode % 2 == 0) {
        const std::int32_t width = size > 0 ? data[0] % 64 + 1 : 1;
        const std::size_t pixelBytes = size > 0 ? size - 1 : 0;
        const std::int32_t height =
            std::min<std::int32_t>(64, static_cast<std::int32_t>(pixelBytes / 3 / static_cast<std::size_t>(width)) + 1);
        stego::MemoryCarrier carrier(width, height);
        for (std::size_t i = 0; i < std::min(pixelBytes, carrier.pixels().size() * 3); ++i)
            setComponent(carrier.pixels()[i / 3], i % 3, data[1 + i]);
        try {
            const std::optional<sealed::SealedItem> item = sealed::OpenItem(carrier, crypto, kPassphrase);
            requireThat(!item || item->name == sealed::SafeBaseName(item->name), "a name comes back without folders");
        } catch (const stego::Failure& failure) {
            requireThat(failure.number() == stego::kOutOfMemory, "the reader fails only for memory");
        }
        return 0;
    }

    stego::MemoryCarrier carrier = sealedPicture();
    const std::size_t start = size >= 2 ? (std::size_t{data[0]} << 8 | data[1]) % (carrier.pixels().size() * 3) : 0;
    const std::size_t skip = std::min<std::size_t>(size, 2);
    bool changedLowBit = false;
    for (std::size_t i = skip; i < size && start + i - skip < carrier.pixels().size() * 3; ++i) {
        const std::size_t at = start + i - skip;
        stego::Rgb& colour = carrier.pixels()[at / 3];
        changedLowBit = changedLowBit || (data[i] & 1) != 0;
        setComponent(colour, at % 3, static_cast<std::uint8_t>(componentOf(colour, at % 3) ^ data[i]));
    }
    const std::optional<sealed::SealedItem> item = sealed::OpenItem(carrier, crypto, kPassphrase);
    requireThat(!item || *item == fixedItem(), "a changed sealed picture gives the item whole or nothing");
    requireThat(changedLowBit || item.has_value(), "changes above the low bits leave the item readable");
    return 0;
}
