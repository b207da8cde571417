// Creating objects by class identifier through the libraries' class factories.

#include "comrt/Creation.h"
#include "ClassRegistry.h"
#include "LibraryLoader.h"
#include "comrt/ComPtr.h"
#include "comrt/IClassFactory.h"
#include "comrt/ServerEntryPoints.h"
#include "comsupport/ComGuard.h"

namespace {
constexpr const char* kSource = "component runtime";
}  // namespace

COMRT_API HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t context, void* /*reserved*/, REFIID iid,
                                   void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return com::comGuard(kSource, [&] {
        if ((context & CLSCTX_INPROC_SERVER) == 0)
            throw com::ComError(REGDB_E_CLASSNOTREG, "only in-process classes can be created here");
        const auto registration = comrt::findRegisteredClass(clsid);
        const auto getClassObject =
            comrt::libraryEntryAs<DllGetClassObjectFunction>(registration.library, "DllGetClassObject");
        const HRESULT result = getClassObject(clsid, iid, object);
        if (com::failed(result)) {
            *object = nullptr;
            throw com::ComError(result, registration.library + ": " + com::takeErrorDescription(result));
        }
        return result;
    });
}

COMRT_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    com::ComPtr<IClassFactory> factory;
    const HRESULT found = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, factory.put());
    if (com::failed(found))
        return found;
    const HRESULT created = factory->CreateInstance(outer, iid, object);
    if (com::failed(created))
        *object = nullptr;
    return created;
}

COMRT_API HRESULT ComCallServerEntry(const char* libraryPath, const char* entryName) {
    return com::comGuard(kSource, [&] {
        if (!libraryPath || !entryName)
            throw com::ComError(E_POINTER, "no library or entry point was named");
        using Entry = HRESULT (*)();
        return comrt::libraryEntryAs<Entry>(libraryPath, entryName)();
    });
}
