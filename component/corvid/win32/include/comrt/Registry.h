// What the library records about itself when it registers: its classes, its
// interfaces and its type library, described by its class table.
#pragma once

#include <cstdint>

#include <windows.h>

struct ComClassRecord {
    const CLSID* clsid;
    const char* name;            ///< the class name, e.g. "Encryption"
    const char* progId;          ///< the programmatic name, e.g. "Corvid.Encryption"
    const char* threadingModel;  ///< "Apartment"
};

struct ComInterfaceRecord {
    const IID* iid;
    const char* name;
};

struct ComTypeLibRecord {
    const GUID* libid;
    const char* name;
    std::uint16_t majorVersion;
    std::uint16_t minorVersion;
};
