// Where the registries live on this system.
#pragma once

#include <filesystem>

namespace comrt {

/// The user's registry folder (see corvid/Registry.h); throws ComError when no
/// home folder can be found.
std::filesystem::path userRegistryFolder();
/// The system-wide registry folder under the installation prefix.
std::filesystem::path systemRegistryFolder();

}  // namespace comrt
