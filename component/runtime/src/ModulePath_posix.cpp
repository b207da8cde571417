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
    // The folders are stored with every link resolved, so that the record does not
    // follow a link someone may later point elsewhere; the file name stays, so
    // that a library's versioned name survives its upgrades.
    const std::filesystem::path file = std::filesystem::absolute(info.dli_fname).lexically_normal();
    std::error_code error;
    const auto folder = std::filesystem::canonical(file.parent_path(), error);
    return error ? file.string() : (folder / file.filename()).string();
}

}  // namespace comrt
