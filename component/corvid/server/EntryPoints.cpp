// The library's four exported functions; each hands the work to the class
// table, the factory or the runtime.

#include <vector>

#include "ClassFactory.h"
#include "ClassTable.h"
#include "ServerGuard.h"
#include "ServerLifetime.h"
#include "comrt/Registry.h"
#include "comrt/ServerEntryPoints.h"

namespace {
constexpr const char* kSource = "Corvid";

using corvid::component::classTable;
using corvid::component::describedInterfaces;
using corvid::component::typeLibrary;

// The library's own description, built from the class table, for the runtime to record.
template <class Use>
HRESULT withServerDescription(Use&& use) {
    std::vector<ComClassRecord> classes;
    for (const auto& entry : classTable())
        classes.push_back(entry.record);
    const auto interfaces = describedInterfaces();
    const ComServerDescription description = {
        sizeof(ComServerDescription),
        reinterpret_cast<const void*>(&DllRegisterServer),
        &typeLibrary(),
        classes.data(),
        static_cast<std::uint32_t>(classes.size()),
        interfaces.data(),
        static_cast<std::uint32_t>(interfaces.size()),
    };
    return use(description);
}
}  // namespace

COMPONENT_ENTRY_POINT HRESULT DllRegisterServer() {
    return corvid::component::serverGuard(kSource, [] {
        return withServerDescription(
            [](const ComServerDescription& description) { return ComRegisterServer(&description); });
    });
}

COMPONENT_ENTRY_POINT HRESULT DllUnregisterServer() {
    return corvid::component::serverGuard(kSource, [] {
        return withServerDescription(
            [](const ComServerDescription& description) { return ComUnregisterServer(&description); });
    });
}

COMPONENT_ENTRY_POINT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return corvid::component::serverGuard(kSource, [&] {
        const auto* entry = corvid::component::findClassEntry(clsid);
        if (!entry)
            throw com::ComError(CLASS_E_CLASSNOTAVAILABLE, "Corvid has no class " + com::formatGuid(clsid));
        auto* factory = new corvid::component::ClassFactory(*entry);
        const HRESULT result = factory->QueryInterface(iid, object);
        factory->Release();
        return result;
    });
}

COMPONENT_ENTRY_POINT HRESULT DllCanUnloadNow() { return corvid::component::canUnload() ? S_OK : S_FALSE; }
