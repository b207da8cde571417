// Cipher objects created by class identifier: each call crosses the component
// boundary as length-prefixed strings and comes back as std::string or Failure.
#include "platform/ComponentCipher.h"

#include <cstdio>
#include <new>

#include "comrt/ComPtr.h"
#include "comrt/ComString.h"
#include "comrt/Creation.h"
#include "comsupport/ComError.h"
#include "corvid/_Encryption.h"
#include "engine/Failure.h"
#include "support/ErrorNumbers.h"

namespace stego::platform {

namespace {

// Numbers for the failures that are the runtime's rather than the cipher's.

// The component's numbered errors come back with the cipher's number and its
// own words; any other failing code is reported as what it is.
[[noreturn]] void throwFailure(HRESULT result) {
    const std::string description = com::takeErrorDescription(result);
    if (const int number = com::errorNumberFromResult(result))
        throw Failure(number, std::string(com::messageOfNumberedError(number, description)));
    if (result == E_OUTOFMEMORY)
        throw Failure(support::kOutOfMemory, description);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
    throw Failure(support::kAutomationError, "The cipher component failed: " + description + " (" + code + ")");
}

// Makes boundary strings, throwing Failure rather than std::bad_alloc.
com::ComString boundaryString(const std::string& text) {
    try {
        return com::ComString(text);
    } catch (const std::bad_alloc&) {
        throw Failure(support::kOutOfMemory, "Out of memory");
    }
}

// File names cross as the platform spells them (bytes here, wide names on Windows).
com::ComString boundaryPath(const std::string& path) {
    try {
        return com::ComString::fromPath(path);
    } catch (const std::bad_alloc&) {
        throw Failure(kOutOfMemory, "Out of memory");
    }
}

class ComponentCipherObject : public CipherObject {
public:
    explicit ComponentCipherObject(com::ComPtr<_Encryption> object) : m_object(std::move(object)) {}

    std::string Encrypt(std::string& key, const std::string& encstr) override {
        return callText(&_Encryption::Encrypt, key, encstr);
    }
    std::string Decrypt(std::string& key, const std::string& encstr) override {
        return callText(&_Encryption::Decrypt, key, encstr);
    }
    std::int32_t EncryptFile(std::string& key, const std::string& filename, const std::string& encfilename) override {
        return callFile(&_Encryption::EncryptFile, key, filename, encfilename);
    }
    std::int32_t DecryptFile(std::string& key, const std::string& filename, const std::string& decfilename) override {
        return callFile(&_Encryption::DecryptFile, key, filename, decfilename);
    }

private:
    using TextOperation = HRESULT (_Encryption::*)(BSTR*, BSTR*, BSTR*);
    using FileOperation = HRESULT (_Encryption::*)(BSTR*, BSTR*, BSTR*, AutomationLong*);

    std::string callText(TextOperation operation, std::string& key, const std::string& encstr) {
        auto keyArgument = boundaryString(key);
        auto textArgument = boundaryString(encstr);
        com::ComString result;
        const HRESULT status = (m_object.get()->*operation)(keyArgument.slot(), textArgument.slot(), result.put());
        // The key comes back normalised, even from a call that then failed.
        key = keyArgument.str();
        if (com::failed(status))
            throwFailure(status);
        return result.str();
    }

    std::int32_t callFile(FileOperation operation, std::string& key, const std::string& input,
                          const std::string& output) {
        auto keyArgument = boundaryString(key);
        auto inputArgument = boundaryPath(input);
        auto outputArgument = boundaryPath(output);
        AutomationLong result = 0;
        const HRESULT status =
            (m_object.get()->*operation)(keyArgument.slot(), inputArgument.slot(), outputArgument.slot(), &result);
        key = keyArgument.str();
        if (com::failed(status))
            throwFailure(status);
        return result;
    }

    com::ComPtr<_Encryption> m_object;
};

}  // namespace

CipherFactory makeComponentCipherFactory() {
    return []() -> std::unique_ptr<CipherObject> {
        com::ComPtr<_Encryption> object;
        const HRESULT status =
            CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put());
        if (com::failed(status) || !object)
            throw Failure(kCipherUnavailable, "The cipher component Corvid is not registered or cannot be loaded: " +
                                                  com::takeErrorDescription(status) +
                                                  ". Register it with: " + kRegisterCorvidCommand);
        return std::make_unique<ComponentCipherObject>(std::move(object));
    };
}

}  // namespace stego::platform
