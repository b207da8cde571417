// The class Encryption as a component object: the cipher machine behind the
// _Encryption interface, with exact reference counts.
#pragma once

#include <atomic>
#include <string>

#include "cipher/Encryption.h"
#include "corvid/_Encryption.h"

namespace corvid::component {

/// One object per creation; it owns its own machine and shares nothing.
class Encryption final : public _Encryption {
public:
    /// The class table's creation function: a new object asked for as iid.
    static HRESULT create(REFIID iid, void** object) noexcept;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;

    HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    HRESULT GetTypeInfo(std::uint32_t index, LCID locale, ITypeInfo** typeInfo) override;
    HRESULT GetIDsOfNames(REFIID reserved, const char* const* names, std::uint32_t count, LCID locale,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID member, REFIID reserved, LCID locale, std::uint16_t flags, DISPPARAMS* parameters,
                   VARIANT* result, EXCEPINFO* exception, std::uint32_t* argumentError) override;

    HRESULT InitText(BSTR* key, std::int32_t* result) override;
    HRESULT InitBinary(BSTR* key, std::int32_t* result) override;
    HRESULT Encrypt(BSTR* key, BSTR* encstr, BSTR* result) override;
    HRESULT Decrypt(BSTR* key, BSTR* encstr, BSTR* result) override;
    HRESULT EncryptFile(BSTR* key, BSTR* filename, BSTR* encfilename, std::int32_t* result) override;
    HRESULT DecryptFile(BSTR* key, BSTR* filename, BSTR* decfilename, std::int32_t* result) override;
    HRESULT EncryptByte(BSTR* c) override;
    HRESULT DecryptByte(BSTR* c) override;

private:
    Encryption() noexcept;
    ~Encryption();

    // The operations that build on others call them through the interface, as
    // any client would, so an inner failure is raised as the outer call's error.
    _Encryption& self() noexcept { return *this; }
    HRESULT initialise(BSTR* key, std::int32_t* result, bool textMode);
    HRESULT cipherText(BSTR* key, BSTR* encstr, BSTR* result, bool encipher);
    HRESULT cipherFile(BSTR* key, BSTR* filename, BSTR* outfilename, std::int32_t* result, bool encipher);
    HRESULT cipherSymbol(BSTR* c, bool encipher);
    char passSymbol(char symbol, bool encipher);

    std::atomic<std::uint32_t> m_references{1};
    corvid::Encryption m_machine;
};

}  // namespace corvid::component
