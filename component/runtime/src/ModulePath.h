// The file a loaded library was loaded from, found from an address inside it.
#pragma once

#include <string>

namespace comrt {

/// The absolute path of the library that holds address (symbolic links kept,
/// so a library registered by its versioned name follows that name); throws
/// ComError when the address lies in no loaded library file.
std::string modulePathOf(const void* address);

}  // namespace comrt
