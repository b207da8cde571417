// The component object over the cipher machine.

#include "EncryptionObject.h"

#include <array>
#include <cctype>
#include <exception>
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

struct Operation {
    const char* name;
    DISPID id;
    std::array<const char*, 3> parameters;
};

constexpr Operation kOperations[] = {
    {"InitText", DISPID_InitText, {"key"}},
    {"InitBinary", DISPID_InitBinary, {"key"}},
    {"Encrypt", DISPID_Encrypt, {"key", "encstr"}},
    {"Decrypt", DISPID_Decrypt, {"key", "encstr"}},
    {"EncryptFile", DISPID_EncryptFile, {"key", "filename", "encfilename"}},
    {"DecryptFile", DISPID_DecryptFile, {"key", "filename", "decfilename"}},
    {"EncryptByte", DISPID_EncryptByte, {"c"}},
    {"DecryptByte", DISPID_DecryptByte, {"c"}},
};

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void requirePointers(std::initializer_list<const void*> pointers) {
    for (const void* pointer : pointers)
        if (!pointer)
            throw com::ComError(E_POINTER, "a required argument was null");
}

// The operating system sees a path only up to its first zero byte; such a name would name another file.
std::string pathOf(BSTR text) {
    const auto path = com::ComString::view(text);
    if (path.find('\0') != std::string_view::npos)
        throw corvid::CipherError(corvid::kInvalidArgument,
                                  "Invalid procedure call or argument: a file name holds a zero byte");
    return std::string(path);
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
    *object = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t Encryption::AddRef() { return ++m_references; }

std::uint32_t Encryption::Release() {
    const std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT Encryption::GetTypeInfoCount(std::uint32_t* count) {
    if (!count)
        return E_POINTER;
    // No type description is carried on this platform; callers bind through the table.
    *count = 0;
    return S_OK;
}

HRESULT Encryption::GetTypeInfo(std::uint32_t, LCID, ITypeInfo** typeInfo) {
    if (typeInfo)
        *typeInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT Encryption::GetIDsOfNames(REFIID, const char* const* names, std::uint32_t count, LCID, DISPID* ids) {
    if (!names || !ids)
        return E_POINTER;
    for (std::uint32_t i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    const Operation* operation = nullptr;
    for (const auto& candidate : kOperations)
        if (names[0] && sameNameIgnoringCase(names[0], candidate.name))
            operation = &candidate;
    if (!operation)
        return DISP_E_UNKNOWNNAME;
    ids[0] = operation->id;
    // Parameter names map to their 0-based positions.
    HRESULT result = S_OK;
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::size_t position = 0; position < operation->parameters.size(); ++position) {
            const char* parameter = operation->parameters[position];
            if (parameter && names[i] && sameNameIgnoringCase(names[i], parameter))
                ids[i] = static_cast<DISPID>(position);
        }
        if (ids[i] == DISPID_UNKNOWN)
            result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT Encryption::Invoke(DISPID, REFIID, LCID, std::uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                           std::uint32_t* argumentError) {
    if (argumentError)
        *argumentError = 0;
    return E_NOTIMPL;
}

HRESULT Encryption::InitText(BSTR* key, std::int32_t* result) { return initialise(key, result, true); }

HRESULT Encryption::InitBinary(BSTR* key, std::int32_t* result) { return initialise(key, result, false); }

HRESULT Encryption::Encrypt(BSTR* key, BSTR* encstr, BSTR* result) { return cipherText(key, encstr, result, true); }

HRESULT Encryption::Decrypt(BSTR* key, BSTR* encstr, BSTR* result) { return cipherText(key, encstr, result, false); }

HRESULT Encryption::EncryptFile(BSTR* key, BSTR* filename, BSTR* encfilename, std::int32_t* result) {
    return cipherFile(key, filename, encfilename, result, true);
}

HRESULT Encryption::DecryptFile(BSTR* key, BSTR* filename, BSTR* decfilename, std::int32_t* result) {
    return cipherFile(key, filename, decfilename, result, false);
}

HRESULT Encryption::EncryptByte(BSTR* c) { return cipherSymbol(c, true); }

HRESULT Encryption::DecryptByte(BSTR* c) { return cipherSymbol(c, false); }

HRESULT Encryption::initialise(BSTR* key, std::int32_t* result, bool textMode) {
    if (result)
        *result = 0;
    return serverGuard(kSource, [&] {
        requirePointers({key, result});
        std::string text(com::ComString::view(*key));
        const support::ClearedOnExit clearKey(text);
        const std::int32_t outcome = textMode ? m_machine.InitText(text) : m_machine.InitBinary(text);
        com::ComString::replace(key, text);
        *result = outcome;
        return S_OK;
    });
}

HRESULT Encryption::cipherSymbol(BSTR* c, bool encipher) {
    return serverGuard(kSource, [&] {
        requirePointers({c});
        std::string symbol(com::ComString::view(*c));
        const support::ClearedOnExit clearSymbol(symbol);
        if (encipher)
            m_machine.EncryptByte(symbol);
        else
            m_machine.DecryptByte(symbol);
        com::ComString::replace(c, symbol);
        return S_OK;
    });
}

char Encryption::passSymbol(char symbol, bool encipher) {
    com::ComString held(std::string_view(&symbol, 1));
    com::raiseIfFailed(encipher ? self().EncryptByte(held.slot()) : self().DecryptByte(held.slot()));
    if (held.view().size() != 1)
        throw com::ComError(E_UNEXPECTED, "a symbol came back as more or less than one character");
    return held.view()[0];
}

HRESULT Encryption::cipherText(BSTR* key, BSTR* encstr, BSTR* result, bool encipher) {
    if (result)
        *result = nullptr;
    return serverGuard(kSource, [&] {
        requirePointers({key, encstr, result});
        std::int32_t setUp = 0;
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
        for (const char symbol : text)
            cipher += passSymbol(symbol, encipher);
        *result = com::ComString::allocate(cipher);
        return S_OK;
    });
}

HRESULT Encryption::cipherFile(BSTR* key, BSTR* filename, BSTR* outfilename, std::int32_t* result, bool encipher) {
    if (result)
        *result = 0;
    return serverGuard(kSource, [&] {
        requirePointers({key, filename, outfilename, result});
        std::int32_t setUp = 0;
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
        for (const char byte : input.bytes) {
            try {
                bytes += passSymbol(byte, encipher);
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
