// Corvid.dll's four exports. Registration writes, under HKEY_CLASSES_ROOT,
// each class of the class table (InprocServer32, ThreadingModel, ProgID,
// TypeLib), its programmatic name, and through the system the type library
// and its interfaces; unregistration removes exactly those keys.

#include <olectl.h>

#include <string>

#include "ClassFactory.h"
#include "ClassTable.h"
#include "Module.h"
#include "ServerGuard.h"
#include "ServerLifetime.h"

namespace {
constexpr const char* kSource = "Corvid";

using corvid::component::classTable;
using corvid::component::typeLibrary;

std::wstring widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

std::wstring guidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

void raiseIfError(LSTATUS status, const std::wstring& key) {
    if (status != ERROR_SUCCESS)
        throw com::ComError(HRESULT_FROM_WIN32(status),
                            "the registry key " + std::string(key.begin(), key.end()) + " could not be written");
}

// Sets a string value (the default one for a null name) of HKEY_CLASSES_ROOT\key, creating the key.
void setValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    raiseIfError(
        RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr), key);
    const LSTATUS status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    raiseIfError(status, key);
}

void deleteTree(const std::wstring& key) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        raiseIfError(status, key);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

void removeRegistration() {
    for (const auto& entry : classTable()) {
        deleteTree(L"CLSID\\" + guidText(*entry.record.clsid));
        deleteTree(widen(entry.record.progId));
    }
    const auto& library = typeLibrary();
    // Absent already is what we want; any other failure is reported.
    const HRESULT result =
        UnRegisterTypeLib(*library.libid, library.majorVersion, library.minorVersion, LANG_NEUTRAL, SYS_WIN64);
    if (FAILED(result) && result != TYPE_E_REGISTRYACCESS && result != TYPE_E_CANTLOADLIBRARY)
        throw com::ComError(result, "the type library could not be unregistered");
}

void writeRegistration() {
    std::wstring path = corvid::component::modulePath();
    if (path.empty())
        throw com::ComError(SELFREG_E_CLASS, "the library cannot find its own file");
    for (const auto& entry : classTable()) {
        const std::wstring classKey = L"CLSID\\" + guidText(*entry.record.clsid);
        const std::wstring progId = widen(entry.record.progId);
        setValue(classKey, nullptr, widen(entry.record.name));
        setValue(classKey + L"\\InprocServer32", nullptr, path);
        setValue(classKey + L"\\InprocServer32", L"ThreadingModel", widen(entry.record.threadingModel));
        setValue(classKey + L"\\ProgID", nullptr, progId);
        setValue(classKey + L"\\TypeLib", nullptr, guidText(*typeLibrary().libid));
        setValue(progId, nullptr, widen(entry.record.name));
        setValue(progId + L"\\CLSID", nullptr, guidText(*entry.record.clsid));
    }
    // The type library's own keys and those of the interfaces it describes.
    ITypeLib* library = nullptr;
    HRESULT result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (SUCCEEDED(result)) {
        result = RegisterTypeLib(library, path.data(), nullptr);
        library->Release();
    }
    if (FAILED(result))
        throw com::ComError(SELFREG_E_TYPELIB, "the type library could not be registered");
}
}  // namespace

STDAPI DllRegisterServer() {
    return corvid::component::serverGuard(kSource, [] {
        // All or nothing: a registration that fails halfway leaves no keys behind.
        try {
            writeRegistration();
        } catch (...) {
            try {
                removeRegistration();
            } catch (...) {
            }
            throw;
        }
        return S_OK;
    });
}

STDAPI DllUnregisterServer() {
    return corvid::component::serverGuard(kSource, [] {
        removeRegistration();
        return S_OK;
    });
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return corvid::component::serverGuard(kSource, [&] {
        const auto* entry = corvid::component::findClassEntry(clsid);
        if (!entry) {
            const std::wstring text = guidText(clsid);
            throw com::ComError(CLASS_E_CLASSNOTAVAILABLE,
                                "Corvid has no class " + std::string(text.begin(), text.end()));
        }
        auto* factory = new corvid::component::ClassFactory(*entry);
        const HRESULT result = factory->QueryInterface(iid, object);
        factory->Release();
        return result;
    });
}

STDAPI DllCanUnloadNow() { return corvid::component::canUnload() ? S_OK : S_FALSE; }
