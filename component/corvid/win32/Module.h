// Corvid.dll's own module: its handle, set when the system loads it, and its path.
#pragma once

#include <windows.h>

#include <string>

namespace corvid::component {

HMODULE moduleHandle() noexcept;
/// The full path of Corvid.dll, as the system loaded it.
std::wstring modulePath();

}  // namespace corvid::component
