// Finding a loaded library's file with the dynamic linker's address lookup.

#include "ModulePath.h"

#include <dlfcn.h>

#include <filesystem>

#include "comsupport/ComError.h"

namespace comrt {

std::string modulePathOf(const void* address) {
    Dl_info info{};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname || info.dli_fname[0] == '\0')
        throw com::ComError(E_INVALIDARG, "the library's own file cannot be found from its address");
    return std::filesystem::absolute(info.dli_fname).lexically_normal().string();
}

}  // namespace comrt
