// The four C functions every component library exports, and their types for
// callers that find them at run time.
#pragma once

#include "Export.h"
#include "Guid.h"
#include "HResult.h"

/// Writes the library's registration records (see Registry.h).
COMPONENT_ENTRY_POINT HRESULT DllRegisterServer();
/// Removes exactly the records DllRegisterServer writes; succeeds when they are absent.
COMPONENT_ENTRY_POINT HRESULT DllUnregisterServer();
/// The class factory of clsid asked for as iid; *object is null on failure
/// (CLASS_E_CLASSNOTAVAILABLE for a class the library does not have).
COMPONENT_ENTRY_POINT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
/// S_OK when no object and no factory lock of the library is alive, else S_FALSE.
COMPONENT_ENTRY_POINT HRESULT DllCanUnloadNow();

using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
