// Registry folders on a POSIX system, following the XDG base-directory rules.

#include "RegistryFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "comsupport/ComError.h"

namespace comrt {
namespace {
constexpr const char* kFolderName = "component-registry";

// An environment value counts only when set, non-empty and absolute, as the XDG rules say;
// in a set-id program the environment belongs to the caller and does not count at all.
const char* absoluteVariable(const char* name) {
    const char* value = ::secure_getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

// A registry chosen by the environment must be absolute: a relative one would
// follow the current folder, which may be anyone's.
std::optional<std::filesystem::path> chosenFolder(const char* name) {
    const char* value = ::secure_getenv(name);
    if (!value || !*value)
        return std::nullopt;
    if (value[0] != '/')
        throw com::ComError(E_INVALIDARG, std::string(name) + " must be an absolute path, not '" + value + "'");
    return std::filesystem::path(value);
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
    if (auto chosen = chosenFolder("COMPONENT_REGISTRY_DIR"))
        return *chosen;
    if (const char* data = absoluteVariable("XDG_DATA_HOME"))
        return std::filesystem::path(data) / kFolderName;
    return homeFolder() / ".local" / "share" / kFolderName;
}

std::filesystem::path systemRegistryFolder() {
    if (auto chosen = chosenFolder("COMPONENT_SYSTEM_REGISTRY_DIR"))
        return *chosen;
    return COMRT_SYSTEM_REGISTRY_DIR;
}

}  // namespace comrt
