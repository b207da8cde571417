// Which file an open descriptor leads to, on Windows: the volume's serial
// number and the file's index, which two names of one file share.
#pragma once

#include <io.h>
#include <windows.h>

#include <optional>
#include <string>

#include "cipher/FileIdentity.h"

namespace corvid::win32 {

inline std::optional<FileIdentity> identityOf(int descriptor) {
    BY_HANDLE_FILE_INFORMATION information{};
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &information))
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

/// The cipher's paths are byte strings, one character per byte (0-255).
inline std::wstring widePath(const std::string& path) {
    std::wstring wide;
    wide.reserve(path.size());
    for (const char byte : path)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return wide;
}

}  // namespace corvid::win32
