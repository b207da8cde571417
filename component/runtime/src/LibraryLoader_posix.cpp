// Component libraries loaded with the dynamic linker, kept in one table per process.

#include "LibraryLoader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "TrustedPaths.h"
#include "comsupport/ComError.h"

namespace comrt {
namespace {
struct LoadedLibraries {
    std::mutex guard;
    std::map<std::string, void*> handles;
};

LoadedLibraries& loadedLibraries() {
    static LoadedLibraries libraries;
    return libraries;
}

void* load(const std::string& path) {
    // A relative path would depend on the current folder and a bare name on the
    // loader's search: only an absolute path in trusted folders is loaded.
    if (path.empty() || path.front() != '/')
        throw com::ComError(CO_E_DLLNOTFOUND, "the library path '" + path +
                                                  "' is not absolute: register the library again with corvid-regsvr");
    requireTrustedLibrary(path, CO_E_DLLNOTFOUND);
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        throw com::ComError(CO_E_ERRORINDLL, reason ? reason : "the library " + path + " cannot be loaded");
    }
    return handle;
}
}  // namespace

void* libraryEntry(const std::string& path, const char* entryName) {
    auto& libraries = loadedLibraries();
    std::lock_guard lock(libraries.guard);
    auto found = libraries.handles.find(path);
    if (found == libraries.handles.end())
        found = libraries.handles.emplace(path, load(path)).first;
    dlerror();
    void* entry = dlsym(found->second, entryName);
    if (!entry)
        throw com::ComError(CO_E_ERRORINDLL, "the library " + path + " has no entry point " + entryName);
    return entry;
}

}  // namespace comrt
