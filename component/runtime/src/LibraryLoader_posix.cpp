// Component libraries loaded with the dynamic linker, kept in one table per process.

#include "LibraryLoader.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

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
    // A name without a folder is left to the loader's search; a path must exist.
    struct stat status {};
    if (path.find('/') != std::string::npos && ::stat(path.c_str(), &status) != 0)
        throw com::ComError(CO_E_DLLNOTFOUND, "the library " + path + " cannot be opened: " + std::strerror(errno));
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
