// The registry of component classes: what a library records about itself, and
// where. A user's registry is searched before the system-wide one.
//
// Folders: the user's registry is $COMPONENT_REGISTRY_DIR when set, else
// $XDG_DATA_HOME/component-registry, else ~/.local/share/component-registry.
// The system-wide one is <install prefix>/share/component-registry, or
// $COMPONENT_SYSTEM_REGISTRY_DIR when set (staged installs, tests).
#pragma once

#include <cstddef>
#include <cstdint>

#include "Export.h"
#include "Guid.h"
#include "HResult.h"

/// One creatable class of a library.
struct ComClassRecord {
    const CLSID* clsid;
    const char* name;            ///< the class name, e.g. "Encryption"
    const char* progId;          ///< the programmatic name, e.g. "Corvid.Encryption"
    const char* threadingModel;  ///< "Apartment"
};

/// One interface a library describes.
struct ComInterfaceRecord {
    const IID* iid;
    const char* name;
};

/// The type library that describes a library's classes and interfaces.
struct ComTypeLibRecord {
    const GUID* libid;
    const char* name;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
};

/// Everything a library hands the runtime to be registered or unregistered.
struct ComServerDescription {
    std::uint32_t structSize;   ///< sizeof(ComServerDescription), so later versions can extend it
    const void* moduleAddress;  ///< any address inside the library, to find its file
    const ComTypeLibRecord* typeLib;
    const ComClassRecord* classes;
    std::uint32_t classCount;
    const ComInterfaceRecord* interfaces;
    std::uint32_t interfaceCount;
};

static_assert(offsetof(ComClassRecord, threadingModel) == 3 * sizeof(void*));
static_assert(sizeof(ComClassRecord) == 4 * sizeof(void*));
static_assert(sizeof(ComInterfaceRecord) == 2 * sizeof(void*));
static_assert(offsetof(ComTypeLibRecord, majorVersion) == 2 * sizeof(void*));
static_assert(offsetof(ComServerDescription, moduleAddress) == sizeof(void*));
static_assert(offsetof(ComServerDescription, classCount) == 4 * sizeof(void*));

/// Which registry ComRegisterServer and ComUnregisterServer write in this process.
enum ComRegistryScope : std::int32_t {
    ComRegistryUser = 0,
    ComRegistrySystem = 1,
};

/// Records the library (found from moduleAddress, as an absolute path), its
/// classes under their identifiers and programmatic names, its interfaces and
/// its type library. Registering again replaces the same records.
COMRT_API HRESULT ComRegisterServer(const ComServerDescription* server);
/// Removes exactly the records ComRegisterServer writes for server; records
/// that are absent are not an error.
COMRT_API HRESULT ComUnregisterServer(const ComServerDescription* server);
/// Chooses the registry that later registrations in this process write to
/// (the user's unless told otherwise).
COMRT_API void ComSetRegistryScope(ComRegistryScope scope);
/// The class identifier registered under a programmatic name; REGDB_E_CLASSNOTREG when none.
COMRT_API HRESULT CLSIDFromProgID(const char* progId, CLSID* clsid);
