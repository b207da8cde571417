// The module handle, from the loader's call when Corvid.dll is mapped.

#include "Module.h"

namespace corvid::component {
// Set once by DllMain before any other code of the library runs.
HMODULE g_module = nullptr;

HMODULE moduleHandle() noexcept { return g_module; }

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace corvid::component

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        corvid::component::g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
