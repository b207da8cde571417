// Loading component libraries, each once per process, and finding their entry points.
#pragma once

#include <string>

namespace comrt {

/// The address of entryName in the library at path, loading the library on
/// first use. A library stays loaded for the rest of the process: objects and
/// factories of it may still be alive anywhere. Throws ComError with
/// CO_E_DLLNOTFOUND or CO_E_ERRORINDLL and the loader's reason.
void* libraryEntry(const std::string& path, const char* entryName);

/// The same, as a function pointer of the entry's known type.
template <class Function>
Function libraryEntryAs(const std::string& path, const char* entryName) {
    return reinterpret_cast<Function>(libraryEntry(path, entryName));
}

}  // namespace comrt
