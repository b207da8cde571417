// Names and dispatch identifiers of the Encryption object's operations.

#include "EncryptionDispatch.h"

#include <array>
#include <cctype>
#include <string_view>

namespace corvid::component {
namespace {
struct Operation {
    const char* name;
    DISPID id;
    std::array<const char*, 3> parameters;
};

constexpr Operation kOperations[] = {
    {"InitText", DISPID_InitText, {"key"}},
    {"InitBinary", DISPID_InitBinary, {"key"}},
    {"Encrypt", DISPID_Encrypt, {"key", "encstr"}},
    {"Decrypt", DISPID_Decrypt, {"key", "encstr"}},
    {"EncryptFile", DISPID_EncryptFile, {"key", "filename", "encfilename"}},
    {"DecryptFile", DISPID_DecryptFile, {"key", "filename", "decfilename"}},
    {"EncryptByte", DISPID_EncryptByte, {"c"}},
    {"DecryptByte", DISPID_DecryptByte, {"c"}},
};

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
}  // namespace

HRESULT EncryptionDispatch::GetTypeInfoCount(std::uint32_t* count) {
    if (!count)
        return E_POINTER;
    // No type description is carried on this platform; callers bind through the table.
    *count = 0;
    return S_OK;
}

HRESULT EncryptionDispatch::GetTypeInfo(std::uint32_t, LCID, ITypeInfo** typeInfo) {
    if (typeInfo)
        *typeInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT EncryptionDispatch::GetIDsOfNames(REFIID, const char* const* names, std::uint32_t count, LCID, DISPID* ids) {
    if (!names || !ids)
        return E_POINTER;
    for (std::uint32_t i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    if (count == 0)
        return S_OK;
    const Operation* operation = nullptr;
    for (const auto& candidate : kOperations)
        if (names[0] && sameNameIgnoringCase(names[0], candidate.name))
            operation = &candidate;
    if (!operation)
        return DISP_E_UNKNOWNNAME;
    ids[0] = operation->id;
    // Parameter names map to their 0-based positions.
    HRESULT result = S_OK;
    for (std::uint32_t i = 1; i < count; ++i) {
        for (std::size_t position = 0; position < operation->parameters.size(); ++position) {
            const char* parameter = operation->parameters[position];
            if (parameter && names[i] && sameNameIgnoringCase(names[i], parameter))
                ids[i] = static_cast<DISPID>(position);
        }
        if (ids[i] == DISPID_UNKNOWN)
            result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT EncryptionDispatch::Invoke(DISPID, REFIID, LCID, std::uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   std::uint32_t* argumentError) {
    if (argumentError)
        *argumentError = 0;
    return E_NOTIMPL;
}

}  // namespace corvid::component
