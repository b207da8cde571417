// The late-binding half of Corvid's Encryption object on this platform's
// runtime: names map to dispatch identifiers from a table of the operations;
// no type description is carried, so calls go through the interface's table.
#pragma once

#include "corvid/_Encryption.h"

namespace corvid::component {

class EncryptionDispatch : public _Encryption {
public:
    HRESULT GetTypeInfoCount(std::uint32_t* count) override;
    HRESULT GetTypeInfo(std::uint32_t index, LCID locale, ITypeInfo** typeInfo) override;
    HRESULT GetIDsOfNames(REFIID reserved, const char* const* names, std::uint32_t count, LCID locale,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID member, REFIID reserved, LCID locale, std::uint16_t flags, DISPPARAMS* parameters,
                   VARIANT* result, EXCEPINFO* exception, std::uint32_t* argumentError) override;

protected:
    ~EncryptionDispatch() = default;

    /// The interfaces the object offers besides _Encryption and its bases: none here.
    static HRESULT queryPlatformInterface(REFIID, void** object) noexcept {
        *object = nullptr;
        return E_NOINTERFACE;
    }
};

}  // namespace corvid::component
