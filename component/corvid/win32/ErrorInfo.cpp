// The thread's error record through the system's IErrorInfo objects.

#include "comrt/ErrorInfo.h"

#include "comrt/ComString.h"
#include "corvid/_Encryption.h"

void SetErrorInfo(const char* source, const char* description) {
    if (!description) {
        ::SetErrorInfo(0u, static_cast<IErrorInfo*>(nullptr));
        return;
    }
    ICreateErrorInfo* created = nullptr;
    if (FAILED(CreateErrorInfo(&created)))
        return;
    const auto wideSource = com::ComString(source ? source : "");
    const auto wideDescription = com::ComString(description);
    created->SetGUID(IID__Encryption);
    created->SetSource(wideSource.get());
    created->SetDescription(wideDescription.get());
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(created->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        ::SetErrorInfo(0u, info);
        info->Release();
    }
    created->Release();
}

HRESULT GetErrorInfo(BSTR* source, BSTR* description) {
    if (source)
        *source = nullptr;
    if (description)
        *description = nullptr;
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0u, &info) != S_OK || !info)
        return S_FALSE;
    if (source)
        info->GetSource(source);
    if (description)
        info->GetDescription(description);
    info->Release();
    return S_OK;
}
