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

/// The cipher's paths are UTF-8 on Windows (the component converts the wide names it is given).
inline std::wstring widePath(const std::string& path) {
    if (path.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
    return wide;
}

}  // namespace corvid::win32
