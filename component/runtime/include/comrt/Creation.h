// Creating objects by class identifier: look the class up in the registry,
// load its library once, and ask the library's class factory.
#pragma once

#include <cstdint>

#include "Export.h"
#include "Guid.h"
#include "HResult.h"
#include "IUnknown.h"

/// Where a class may run; only in-process libraries exist here.
inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;

/// The class factory of clsid, asked for as iid. Failures: REGDB_E_CLASSNOTREG
/// (not registered), CO_E_DLLNOTFOUND or CO_E_ERRORINDLL (the library cannot be
/// loaded), or the library's own; each leaves the reason in the error slot and
/// *object null.
COMRT_API HRESULT CoGetClassObject(REFCLSID clsid, std::uint32_t context, void* reserved, REFIID iid, void** object);
/// A new object of clsid asked for as iid, through the class factory, which is
/// released again. Fails as CoGetClassObject, or as the factory's CreateInstance.
COMRT_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, std::uint32_t context, REFIID iid, void** object);
/// Loads the library at libraryPath (once per process) and calls its entry
/// point entryName, a function without arguments that returns an HRESULT.
COMRT_API HRESULT ComCallServerEntry(const char* libraryPath, const char* entryName);
