// Creating the library's objects, and keeping it loaded on request.

#include "ClassFactory.h"

#include "ServerGuard.h"
#include "ServerLifetime.h"

namespace corvid::component {
namespace {
constexpr const char* kSource = "Corvid";
}

ClassFactory::ClassFactory(const ClassEntry& entry) noexcept : m_entry(entry) { objectCreated(); }

ClassFactory::~ClassFactory() { objectDestroyed(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ComRefCount ClassFactory::AddRef() { return ++m_references; }

ComRefCount ClassFactory::Release() {
    const ComRefCount left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return serverGuard(kSource, [&] {
        if (outer)
            throw com::ComError(CLASS_E_NOAGGREGATION,
                                std::string("the class ") + m_entry.record.name + " cannot be part of an aggregate");
        return m_entry.createInstance(iid, object);
    });
}

HRESULT ClassFactory::LockServer(std::int32_t lock) {
    if (lock) {
        lockServer();
        return S_OK;
    }
    return unlockServer() ? S_OK : E_UNEXPECTED;
}

}  // namespace corvid::component
