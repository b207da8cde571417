// Late binding by name: the four slots that follow IUnknown in a dual interface.
#pragma once

#include <cstdint>

#include "IUnknown.h"

using DISPID = std::int32_t;
using LCID = std::uint32_t;
/// The 32-bit integer of automation calls (results of the cipher's operations).
using AutomationLong = std::int32_t;

/// What a name that is not known maps to.
inline constexpr DISPID DISPID_UNKNOWN = -1;

// Late-bound calls are not offered on this platform; these stay opaque.
struct ITypeInfo;
struct DISPPARAMS;
struct VARIANT;
struct EXCEPINFO;

/// {00020400-0000-0000-C000-000000000046}
inline constexpr IID IID_IDispatch = com::guidLiteral("{00020400-0000-0000-C000-000000000046}");

struct IDispatch : IUnknown {
    /// How many type descriptions the object offers (0 or 1).
    virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
    virtual HRESULT GetTypeInfo(std::uint32_t index, LCID locale, ITypeInfo** typeInfo) = 0;
    /// names[0] is a member, the rest its parameters; each gets its identifier
    /// in ids, DISPID_UNKNOWN (and DISP_E_UNKNOWNNAME) for a name not known.
    virtual HRESULT GetIDsOfNames(REFIID reserved, const char* const* names, std::uint32_t count, LCID locale,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID member, REFIID reserved, LCID locale, std::uint16_t flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO* exception, std::uint32_t* argumentError) = 0;

protected:
    ~IDispatch() = default;
};

static_assert(sizeof(IDispatch) == sizeof(void*));
