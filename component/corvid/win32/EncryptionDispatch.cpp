// Late binding through the type library the library carries as resource 1.

#include "EncryptionDispatch.h"

#include "Module.h"

namespace corvid::component {
namespace {
// Loaded once and kept for the life of the process: type information is
// shared, read-only and owned by the system's automation library.
HRESULT encryptionTypeInfo(ITypeInfo** typeInfo) {
    static ITypeInfo* loaded = nullptr;
    static HRESULT outcome = [] {
        ITypeLib* library = nullptr;
        HRESULT result = LoadTypeLibEx(modulePath().c_str(), REGKIND_NONE, &library);
        if (FAILED(result))
            return result;
        result = library->GetTypeInfoOfGuid(IID__Encryption, &loaded);
        library->Release();
        return result;
    }();
    if (FAILED(outcome))
        return outcome;
    loaded->AddRef();
    *typeInfo = loaded;
    return S_OK;
}
}  // namespace

HRESULT EncryptionDispatch::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT EncryptionDispatch::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
    if (!typeInfo)
        return E_POINTER;
    *typeInfo = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return encryptionTypeInfo(typeInfo);
}

HRESULT EncryptionDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    ITypeInfo* typeInfo = nullptr;
    const HRESULT loaded = encryptionTypeInfo(&typeInfo);
    if (FAILED(loaded))
        return loaded;
    const HRESULT result = DispGetIDsOfNames(typeInfo, names, count, ids);
    typeInfo->Release();
    return result;
}

HRESULT EncryptionDispatch::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) {
    ITypeInfo* typeInfo = nullptr;
    const HRESULT loaded = encryptionTypeInfo(&typeInfo);
    if (FAILED(loaded))
        return loaded;
    // The type information calls the interface's own table and turns a failure
    // with error info into DISP_E_EXCEPTION with the description in *exception.
    const HRESULT outcome = DispInvoke(static_cast<_Encryption*>(this), typeInfo, member, flags, parameters, result,
                                       exception, argumentError);
    typeInfo->Release();
    return outcome;
}

HRESULT EncryptionDispatch::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID__Encryption) ? S_OK : S_FALSE;
}

HRESULT EncryptionDispatch::queryPlatformInterface(REFIID iid, void** object) noexcept {
    if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
        *object = static_cast<ISupportErrorInfo*>(this);
        static_cast<_Encryption*>(this)->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

}  // namespace corvid::component
