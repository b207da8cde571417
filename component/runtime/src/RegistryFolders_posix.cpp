// Registry folders on a POSIX system, following the XDG base-directory rules.

#include "RegistryFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "comsupport/ComError.h"

namespace comrt {
namespace {
constexpr const char* kFolderName = "component-registry";

// An environment value counts only when set, non-empty and absolute, as the XDG rules say.
const char* absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

std::filesystem::path homeFolder() {
    if (const char* home = absoluteVariable("HOME"))
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    throw com::ComError(REGDB_E_CLASSNOTREG, "no home folder is known for this user (HOME is not set)");
}
}  // namespace

std::filesystem::path userRegistryFolder() {
    if (const char* chosen = std::getenv("COMPONENT_REGISTRY_DIR"); chosen && *chosen)
        return std::filesystem::absolute(chosen);
    if (const char* data = absoluteVariable("XDG_DATA_HOME"))
        return std::filesystem::path(data) / kFolderName;
    return homeFolder() / ".local" / "share" / kFolderName;
}

std::filesystem::path systemRegistryFolder() {
    if (const char* chosen = std::getenv("COMPONENT_SYSTEM_REGISTRY_DIR"); chosen && *chosen)
        return std::filesystem::absolute(chosen);
    return COMRT_SYSTEM_REGISTRY_DIR;
}

}  // namespace comrt
