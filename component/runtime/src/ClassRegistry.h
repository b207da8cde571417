// One registry folder: the records a library writes about itself, and the
// lookups that creation needs.
//
//   classes/{CLSID}      name, library, threading, progid, typelib
//   progids/<ProgID>     class
//   interfaces/{IID}     name, typelib, version
//   typelibs/{LIBID}     name, version, library
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "comrt/Registry.h"

namespace comrt {

/// What creation needs to know about a registered class.
struct ClassRegistration {
    std::string library;
    std::string threadingModel;
};

class ClassRegistry {
public:
    explicit ClassRegistry(std::filesystem::path folder);

    /// Writes every record of server with libraryPath as its file, all or
    /// none. Throws ComError (E_INVALIDARG for a malformed description,
    /// REGDB_E_WRITEREGDB when a file cannot be written).
    void registerServer(const ComServerDescription& server, const std::string& libraryPath) const;
    /// Removes the records registerServer writes, all or none; absent ones are skipped.
    void unregisterServer(const ComServerDescription& server) const;

    std::optional<ClassRegistration> findClass(const CLSID& clsid) const;
    std::optional<CLSID> findProgId(std::string_view progId) const;

    const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

/// Checks a description from a library before anything is written or removed.
void validateServerDescription(const ComServerDescription* server);

/// The class as the user's registry records it, else as the system-wide one
/// does. Throws ComError(REGDB_E_CLASSNOTREG) naming both folders when neither does.
ClassRegistration findRegisteredClass(const CLSID& clsid);

}  // namespace comrt
