// What the runtime trusts on disk: records, registry folders and libraries
// that only this user or the administrator can change, as ssh's StrictModes does.
#pragma once

#include <filesystem>

namespace comrt {

/// Throws ComError(code) naming path, the problem and corvid-regsvr unless
/// path is owned by this user or root and writable by nobody else (a folder
/// with the sticky bit, such as /tmp, may be writable by others).
void requireTrusted(const std::filesystem::path& path, const char* what, int code);

/// requireTrusted for file and every folder above it, both as spelt (links
/// included: their owners can repoint them) and with every link resolved.
void requireTrustedLibrary(const std::filesystem::path& file, int code);

}  // namespace comrt
