// The late-binding half of Corvid's Encryption object on Windows: names,
// identifiers and calls go through the type library embedded in Corvid.dll,
// and the object says that its errors carry IErrorInfo.
#pragma once

#include "corvid/_Encryption.h"

namespace corvid::component {

class EncryptionDispatch : public _Encryption, public ISupportErrorInfo {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID reserved, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID reserved, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

protected:
    ~EncryptionDispatch() = default;

    /// ISupportErrorInfo, the one interface besides _Encryption and its bases.
    HRESULT queryPlatformInterface(REFIID iid, void** object) noexcept;
};

}  // namespace corvid::component
