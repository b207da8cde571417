// The component object over the cipher machine.

#include "EncryptionObject.h"

#include <exception>
#include <initializer_list>
#include <string_view>

#include "ServerGuard.h"
#include "ServerLifetime.h"
#include "cipher/CipherError.h"
#include "cipher/FileSystemError.h"
#include "cipher/InputFile.h"
#include "cipher/OutputFile.h"
#include "comrt/ComString.h"
#include "support/ClearedOnExit.h"
#include "support/Limits.h"

namespace corvid::component {
namespace {
constexpr const char* kSource = "Corvid.Encryption";
constexpr const char* kMissingKeyText = "Error - Missing Key";
// A file call handles at most this many bytes; the next one is where an overlong file fails.
constexpr std::size_t kLongestFile = support::kLongestItem;

void requirePointers(std::initializer_list<const void*> pointers) {
    for (const void* pointer : pointers)
        if (!pointer)
            throw com::ComError(E_POINTER, "a required argument was null");
}

// The operating system sees a path only up to its first zero byte; such a name would name another file.
std::string pathOf(BSTR text) {
    const std::string path = com::ComString::pathOf(text);
    if (path.find('\0') != std::string_view::npos)
        throw corvid::CipherError(corvid::kInvalidArgument,
                                  "Invalid procedure call or argument: a file name holds a zero byte");
    return path;
}
}  // namespace

Encryption::Encryption() noexcept { objectCreated(); }

Encryption::~Encryption() { objectDestroyed(); }

HRESULT Encryption::create(REFIID iid, void** object) noexcept {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return serverGuard(kSource, [&] {
        auto* created = new Encryption();
        const HRESULT result = created->QueryInterface(iid, object);
        created->Release();
        return result;
    });
}

HRESULT Encryption::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Encryption) {
        *object = static_cast<_Encryption*>(this);
        AddRef();
        return S_OK;
    }
    return queryPlatformInterface(iid, object);
}

ComRefCount Encryption::AddRef() { return ++m_references; }

ComRefCount Encryption::Release() {
    const ComRefCount left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT Encryption::InitText(BSTR* key, AutomationLong* result) { return initialise(key, result, true); }

HRESULT Encryption::InitBinary(BSTR* key, AutomationLong* result) { return initialise(key, result, false); }

HRESULT Encryption::Encrypt(BSTR* key, BSTR* encstr, BSTR* result) { return cipherText(key, encstr, result, true); }

HRESULT Encryption::Decrypt(BSTR* key, BSTR* encstr, BSTR* result) { return cipherText(key, encstr, result, false); }

HRESULT Encryption::EncryptFile(BSTR* key, BSTR* filename, BSTR* encfilename, AutomationLong* result) {
    return cipherFile(key, filename, encfilename, result, true);
}

HRESULT Encryption::DecryptFile(BSTR* key, BSTR* filename, BSTR* decfilename, AutomationLong* result) {
    return cipherFile(key, filename, decfilename, result, false);
}

HRESULT Encryption::EncryptByte(BSTR* c) { return cipherSymbol(c, true); }

HRESULT Encryption::DecryptByte(BSTR* c) { return cipherSymbol(c, false); }

HRESULT Encryption::initialise(BSTR* key, AutomationLong* result, bool textMode) {
    if (result)
        *result = 0;
    return serverGuard(kSource, [&] {
        requirePointers({key, result});
        std::string text(com::ComString::view(*key));
        const support::ClearedOnExit clearKey(text);
        const AutomationLong outcome = textMode ? m_machine.InitText(text) : m_machine.InitBinary(text);
        com::ComString::replace(key, text);
        *result = outcome;
        return S_OK;
    });
}

HRESULT Encryption::cipherSymbol(BSTR* c, bool encipher) {
    return serverGuard(kSource, [&] {
        requirePointers({c});
        // Made for this call and never grown, the string holds nothing but these
        // characters: clearing them is enough, and cheaper than its whole buffer.
        std::string symbol(com::ComString::view(*c));
        struct ClearCharacters {
            std::string& text;
            ~ClearCharacters() { support::secureClear(text.data(), text.size()); }
        } const clearSymbol{symbol};
        if (encipher)
            m_machine.EncryptByte(symbol);
        else
            m_machine.DecryptByte(symbol);
        com::ComString::replace(c, symbol);
        return S_OK;
    });
}

// held: one boundary string that carries every symbol of a call in turn.
char Encryption::passSymbol(com::ComString& held, char symbol, bool encipher) {
    com::ComString::replace(held.slot(), std::string_view(&symbol, 1));
    com::raiseIfFailed(encipher ? self().EncryptByte(held.slot()) : self().DecryptByte(held.slot()));
    // A copy where the platform's strings are wide, a view where they are bytes.
    const auto back = held.view();
    if (back.size() != 1)
        throw com::ComError(E_UNEXPECTED, "a symbol came back as more or less than one character");
    return back[0];
}

HRESULT Encryption::cipherText(BSTR* key, BSTR* encstr, BSTR* result, bool encipher) {
    if (result)
        *result = nullptr;
    return serverGuard(kSource, [&] {
        requirePointers({key, encstr, result});
        AutomationLong setUp = 0;
        com::raiseIfFailed(self().InitText(key, &setUp));
        if (setUp == corvid::kMissingKey) {
            *result = com::ComString::allocate(kMissingKeyText);
            return S_OK;
        }
        // One of the two is a plain text.
        std::string text(com::ComString::view(*encstr));
        const support::ClearedOnExit clearText(text);
        std::string cipher;
        const support::ClearedOnExit clearCipher(cipher);
        cipher.reserve(text.size());
        com::ComString held(std::string_view(" ", 1));
        for (const char symbol : text)
            cipher += passSymbol(held, symbol, encipher);
        *result = com::ComString::allocate(cipher);
        return S_OK;
    });
}

HRESULT Encryption::cipherFile(BSTR* key, BSTR* filename, BSTR* outfilename, AutomationLong* result, bool encipher) {
    if (result)
        *result = 0;
    return serverGuard(kSource, [&] {
        requirePointers({key, filename, outfilename, result});
        AutomationLong setUp = 0;
        com::raiseIfFailed(self().InitBinary(key, &setUp));
        if (setUp == corvid::kMissingKey) {
            *result = corvid::kMissingKey;
            return S_OK;
        }
        const std::string inputPath = pathOf(*filename);
        const std::string outputPath = pathOf(*outfilename);
        // The input is read before the output is touched, and the output is never the input.
        auto input = corvid::InputFile::read(inputPath, kLongestFile + 1);
        const support::ClearedOnExit clearInput(input.bytes);
        corvid::OutputFile output(outputPath, input.identity);

        // One side or the other is the plain file.
        std::string bytes;
        const support::ClearedOnExit clearBytes(bytes);
        bytes.reserve(input.bytes.size());
        // A symbol the machine refuses (past the counter's limit) ends the call
        // with its error, after the bytes before it have been written.
        std::exception_ptr refused;
        com::ComString held(std::string_view(" ", 1));
        for (const char byte : input.bytes) {
            try {
                bytes += passSymbol(held, byte, encipher);
            } catch (...) {
                refused = std::current_exception();
                break;
            }
        }
        std::size_t written = 0;
        if (const int error = output.writeAll(bytes, written); error != 0)
            throw corvid::fileSystemError(error, outputPath);
        if (refused)
            std::rethrow_exception(refused);
        output.close();
        *result = 0;
        return S_OK;
    });
}

}  // namespace corvid::component
