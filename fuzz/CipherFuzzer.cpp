// Corvid through its component interface, reached as the program reaches it:
// the built library registered into a private registry and objects created by
// class identifier. Arbitrary keys, texts and symbols: every call gives a
// defined status, Decrypt(Encrypt(t)) = t whenever Encrypt succeeds, symbols
// enciphered on one object decipher on another set up alike, and no object
// outlives the run.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "comrt/ComPtr.h"
#include "comrt/ComString.h"
#include "comrt/Creation.h"
#include "comrt/ErrorInfo.h"
#include "corvid/_Encryption.h"
#include "support/ErrorNumbers.h"
#include "support/Limits.h"

namespace {

using fuzzing::requireThat;

constexpr const char* kMissingKeyText = "Error - Missing Key";
using support::kMissingKey;
constexpr int kInvalidArgument = 5;
constexpr int kOverflow = 6;
constexpr std::size_t kLongestText = support::kLongestItem;
constexpr std::size_t kNormalisedKeyLength = 18;

using TextOperation = HRESULT (_Encryption::*)(BSTR*, BSTR*, BSTR*);
using InitOperation = HRESULT (_Encryption::*)(BSTR*, std::int32_t*);
using SymbolOperation = HRESULT (_Encryption::*)(BSTR*);

std::string& registryFolder() {
    static std::string folder;
    return folder;
}

void removeRegistry() {
    std::error_code ignored;
    std::filesystem::remove_all(registryFolder(), ignored);
}

std::string takeDescription() {
    BSTR description = nullptr;
    GetErrorInfo(nullptr, &description);
    return com::ComString::adopt(description).str();
}

com::ComPtr<_Encryption> createEncryption() {
    com::ComPtr<_Encryption> object;
    const HRESULT status =
        CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put());
    requireThat(status == S_OK && object, "an Encryption object is created by class identifier: " + takeDescription());
    return object;
}

// A failing call returns one of the cipher's numbered errors and leaves
// "Error n: ..." in the error slot.
void checkFailure(HRESULT status, std::initializer_list<int> numbers, const char* operation) {
    const int number = com::errorNumberFromResult(status);
    bool expected = false;
    for (const int allowed : numbers)
        expected = expected || number == allowed;
    const std::string description = takeDescription();
    requireThat(expected, std::string(operation) + " fails only with the cipher's numbered errors; got " +
                              std::to_string(static_cast<std::uint32_t>(status)) + ": " + description);
    requireThat(description.rfind("Error " + std::to_string(number) + ": ", 0) == 0,
                std::string(operation) + " leaves its number and words in the error slot; got: " + description);
}

// A string argument; an empty one is sometimes passed as null, which the interface takes as empty.
com::ComString argument(const std::string& text, bool nullWhenEmpty) {
    return text.empty() && nullWhenEmpty ? com::ComString() : com::ComString(text);
}

struct TextCall {
    HRESULT status = S_OK;
    std::string result;
    bool resultIsNull = true;
    std::string keyAfter;
};

TextCall callText(_Encryption& object, TextOperation operation, const std::string& key, const std::string& text,
                  bool nullWhenEmpty = false) {
    com::ComString keyArgument = argument(key, nullWhenEmpty);
    com::ComString textArgument = argument(text, nullWhenEmpty);
    com::ComString result;
    TextCall call;
    call.status = (object.*operation)(keyArgument.slot(), textArgument.slot(), result.put());
    call.resultIsNull = result.get() == nullptr;
    call.result = result.str();
    call.keyAfter = keyArgument.str();
    requireThat(textArgument.view() == text, "the text argument comes back unchanged");
    return call;
}

struct SymbolCall {
    HRESULT status = S_OK;
    std::string symbol;
};

SymbolCall callSymbol(_Encryption& object, SymbolOperation operation, const std::string& symbol,
                      bool nullWhenEmpty = false) {
    com::ComString held = argument(symbol, nullWhenEmpty);
    SymbolCall call;
    call.status = (object.*operation)(held.slot());
    call.symbol = held.str();
    if (com::failed(call.status)) {
        checkFailure(call.status, {kInvalidArgument, kOverflow}, "a symbol operation");
        if (com::errorNumberFromResult(call.status) == kInvalidArgument)
            requireThat(call.symbol == symbol, "a refused symbol comes back unchanged");
    } else {
        requireThat(call.symbol.size() == 1, "a symbol comes back as one character");
    }
    return call;
}

// Runs InitText or InitBinary; true when the machine was set up from a key.
bool initialise(_Encryption& object, InitOperation operation, const std::string& key, bool nullWhenEmpty = false) {
    com::ComString keyArgument = argument(key, nullWhenEmpty);
    std::int32_t result = -1;
    const HRESULT status = (object.*operation)(keyArgument.slot(), &result);
    if (com::failed(status)) {
        checkFailure(status, {kInvalidArgument}, "a key set-up");
        requireThat(keyArgument.view() == key, "a refused key comes back unchanged");
        return false;
    }
    if (key.empty()) {
        requireThat(result == kMissingKey && keyArgument.view().empty(), "an empty key gives 99 and stays empty");
        return false;
    }
    requireThat(result == 0, "a key set-up gives 0");
    requireThat(keyArgument.view().size() == kNormalisedKeyLength, "the key comes back normalised to 18 characters");
    return true;
}

// Enciphers (or deciphers) text on one object and undoes it on the other.
void roundTrip(_Encryption& first, _Encryption& second, bool encipherFirst, const std::string& key,
               const std::string& text, bool nullWhenEmpty) {
    const TextOperation forward = encipherFirst ? &_Encryption::Encrypt : &_Encryption::Decrypt;
    const TextOperation backward = encipherFirst ? &_Encryption::Decrypt : &_Encryption::Encrypt;
    const TextCall call = callText(first, forward, key, text, nullWhenEmpty);
    if (com::failed(call.status)) {
        checkFailure(call.status, {kInvalidArgument, kOverflow}, "Encrypt or Decrypt");
        requireThat(call.resultIsNull, "a failed Encrypt or Decrypt gives no text");
        return;
    }
    requireThat(!call.resultIsNull, "Encrypt and Decrypt give a text");
    if (key.empty()) {
        requireThat(call.result == kMissingKeyText, "an empty key gives \"Error - Missing Key\"");
        return;
    }
    requireThat(call.keyAfter.size() == kNormalisedKeyLength, "the key comes back normalised to 18 characters");
    requireThat(call.result.size() == text.size(), "the cipher text is as long as the text");
    requireThat(text.size() <= kLongestText, "at most 32,767 symbols are handled per key set-up");
    const TextCall back = callText(second, backward, key, call.result);
    if (com::failed(back.status))
        takeDescription();
    requireThat(com::succeeded(back.status), "what one direction gives, the other takes");
    requireThat(back.result == text, encipherFirst ? "Decrypt(Encrypt(t)) = t" : "Encrypt(Decrypt(t)) = t");
}

// Sets both objects up alike and passes symbols through the one and back through the other.
void symbolsInStep(_Encryption& first, _Encryption& second, FuzzedDataProvider& input) {
    const InitOperation operation = input.ConsumeBool() ? &_Encryption::InitText : &_Encryption::InitBinary;
    const std::string key = input.ConsumeRandomLengthString(24);
    const bool setUp = initialise(first, operation, key);
    requireThat(initialise(second, operation, key) == setUp, "two objects set up with one key agree");
    if (!setUp)
        return;
    const bool encipherFirst = input.ConsumeBool();
    const SymbolOperation forward = encipherFirst ? &_Encryption::EncryptByte : &_Encryption::DecryptByte;
    const SymbolOperation backward = encipherFirst ? &_Encryption::DecryptByte : &_Encryption::EncryptByte;
    for (int count = input.ConsumeIntegralInRange(0, 16); count > 0; --count) {
        const std::string symbol = input.ConsumeRandomLengthString(2);
        const SymbolCall there = callSymbol(first, forward, symbol);
        if (com::failed(there.status))
            continue;  // the machine did not move; the second one must not either
        const SymbolCall back = callSymbol(second, backward, there.symbol);
        requireThat(com::succeeded(back.status) && back.symbol == symbol,
                    "a symbol passed through one machine comes back through its twin");
    }
}

std::string repeatedTo(std::string seed, std::size_t length) {
    if (seed.empty())
        seed = "a";
    std::string text;
    text.reserve(length);
    while (text.size() < length)
        text += seed;
    text.resize(length);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/pixquill-fuzz-registry-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    requireThat(::mkdtemp(name.data()) != nullptr, "a private registry folder can be made");
    registryFolder() = name.data();
    std::atexit(removeRegistry);
    ::setenv("COMPONENT_REGISTRY_DIR", (registryFolder() + "/user").c_str(), 1);
    ::setenv("COMPONENT_SYSTEM_REGISTRY_DIR", (registryFolder() + "/system").c_str(), 1);
    const HRESULT status = ComCallServerEntry(CORVID_LIBRARY_PATH, "DllRegisterServer");
    requireThat(status == S_OK, "the built Corvid registers: " + takeDescription());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    {
        com::ComPtr<_Encryption> first = createEncryption();
        com::ComPtr<_Encryption> second = createEncryption();
        bool longTextTried = false;
        for (int step = 0; step < 24 && input.remaining_bytes() > 0; ++step) {
            // One choice in sixteen is the costly one, a text around the 32,767
            // symbols one key set-up allows.
            const int choice = input.ConsumeIntegralInRange(0, 15);
            switch (choice == 15 ? 7 : choice % 7) {
            case 0:
            case 1: {
                const InitOperation operation = input.ConsumeBool() ? &_Encryption::InitText : &_Encryption::InitBinary;
                const bool nullWhenEmpty = input.ConsumeBool();
                initialise(*first.get(), operation, input.ConsumeRandomLengthString(24), nullWhenEmpty);
                break;
            }
            case 2:
            case 3: {
                const bool nullWhenEmpty = input.ConsumeBool();
                const std::string key = input.ConsumeRandomLengthString(24);
                const bool encipherFirst = input.ConsumeBool();
                const std::string text = input.ConsumeRandomLengthString(96);
                roundTrip(*first.get(), *second.get(), encipherFirst, key, text, nullWhenEmpty);
                break;
            }
            case 4: symbolsInStep(*first.get(), *second.get(), input); break;
            case 5: {
                // Symbols on a machine in whatever state the steps before left it, set up or not.
                const SymbolOperation operation =
                    input.ConsumeBool() ? &_Encryption::EncryptByte : &_Encryption::DecryptByte;
                const bool nullWhenEmpty = input.ConsumeBool();
                callSymbol(*first.get(), operation, input.ConsumeRandomLengthString(3), nullWhenEmpty);
                break;
            }
            case 6: first = createEncryption(); break;
            case 7: {
                // At most once a run.
                const std::string key = input.ConsumeRandomLengthString(24);
                const std::size_t length = kLongestText - 8 + input.ConsumeIntegralInRange<std::size_t>(0, 16);
                const std::string text = repeatedTo(input.ConsumeRandomLengthString(8), length);
                if (!longTextTried)
                    roundTrip(*first.get(), *second.get(), input.ConsumeBool(), key, text, false);
                longTextTried = true;
                break;
            }
            }
        }
    }
    requireThat(ComCallServerEntry(CORVID_LIBRARY_PATH, "DllCanUnloadNow") == S_OK,
                "no Encryption object outlives its last reference");
    return 0;
}
