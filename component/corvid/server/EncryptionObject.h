// The class Encryption as a component object: the cipher machine behind the
// _Encryption interface, with exact reference counts. Late binding comes from
// EncryptionDispatch, which each platform's runtime provides.
#pragma once

#include <atomic>
#include <string>

#include "EncryptionDispatch.h"
#include "cipher/Encryption.h"
#include "comrt/ComString.h"

namespace corvid::component {

/// One object per creation; it owns its own machine and shares nothing.
class Encryption final : public EncryptionDispatch {
public:
    /// The class table's creation function: a new object asked for as iid.
    static HRESULT create(REFIID iid, void** object) noexcept;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ComRefCount AddRef() override;
    ComRefCount Release() override;

    HRESULT InitText(BSTR* key, AutomationLong* result) override;
    HRESULT InitBinary(BSTR* key, AutomationLong* result) override;
    HRESULT Encrypt(BSTR* key, BSTR* encstr, BSTR* result) override;
    HRESULT Decrypt(BSTR* key, BSTR* encstr, BSTR* result) override;
    HRESULT EncryptFile(BSTR* key, BSTR* filename, BSTR* encfilename, AutomationLong* result) override;
    HRESULT DecryptFile(BSTR* key, BSTR* filename, BSTR* decfilename, AutomationLong* result) override;
    HRESULT EncryptByte(BSTR* c) override;
    HRESULT DecryptByte(BSTR* c) override;

private:
    Encryption() noexcept;
    ~Encryption();

    // The operations that build on others call them through the interface, as
    // any client would, so an inner failure is raised as the outer call's error.
    _Encryption& self() noexcept { return *this; }
    HRESULT initialise(BSTR* key, AutomationLong* result, bool textMode);
    HRESULT cipherText(BSTR* key, BSTR* encstr, BSTR* result, bool encipher);
    HRESULT cipherFile(BSTR* key, BSTR* filename, BSTR* outfilename, AutomationLong* result, bool encipher);
    HRESULT cipherSymbol(BSTR* c, bool encipher);
    char passSymbol(com::ComString& held, char symbol, bool encipher);

    std::atomic<std::uint32_t> m_references{1};
    corvid::Encryption m_machine;
};

}  // namespace corvid::component
