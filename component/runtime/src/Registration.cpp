// The registry functions libraries and tools call: register, unregister, and
// find a class by its programmatic name.

#include <atomic>

#include "ClassRegistry.h"
#include "ModulePath.h"
#include "RegistryFolders.h"
#include "comrt/Registry.h"
#include "comsupport/ComGuard.h"

namespace {
constexpr const char* kSource = "component runtime";

std::atomic<ComRegistryScope> g_scope{ComRegistryUser};

comrt::ClassRegistry registryInScope() {
    return comrt::ClassRegistry(g_scope.load() == ComRegistrySystem ? comrt::systemRegistryFolder()
                                                                    : comrt::userRegistryFolder());
}
}  // namespace

COMRT_API HRESULT ComRegisterServer(const ComServerDescription* server) {
    return com::comGuard(kSource, [&] {
        comrt::validateServerDescription(server);
        registryInScope().registerServer(*server, comrt::modulePathOf(server->moduleAddress));
        return S_OK;
    });
}

COMRT_API HRESULT ComUnregisterServer(const ComServerDescription* server) {
    return com::comGuard(kSource, [&] {
        comrt::validateServerDescription(server);
        registryInScope().unregisterServer(*server);
        return S_OK;
    });
}

COMRT_API void ComSetRegistryScope(ComRegistryScope scope) { g_scope = scope; }

COMRT_API HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = GUID{};
    return com::comGuard(kSource, [&] {
        if (!progId)
            throw com::ComError(E_POINTER, "no programmatic name was given");
        for (const auto& folder : {comrt::userRegistryFolder(), comrt::systemRegistryFolder()}) {
            if (auto found = comrt::ClassRegistry(folder).findProgId(progId)) {
                *clsid = *found;
                return S_OK;
            }
        }
        throw com::ComError(REGDB_E_CLASSNOTREG, std::string("no class is registered as ") + progId);
    });
}
