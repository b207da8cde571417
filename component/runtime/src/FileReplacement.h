// Writing a registry file so that readers see the old contents or the new, never a part.
#pragma once

#include <filesystem>
#include <string_view>

namespace comrt {

/// Writes content to a file in a private folder made beside target and renames
/// it onto target, creating target's folders as needed. Throws ComError
/// (REGDB_E_WRITEREGDB) naming the path and the reason; target is then as it was.
void replaceFileContents(const std::filesystem::path& target, std::string_view content);

}  // namespace comrt
