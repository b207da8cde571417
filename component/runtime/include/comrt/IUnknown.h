// The root of every interface across the component boundary: asking for
// another interface, and counting references.
#pragma once

#include <cstdint>

#include "Guid.h"
#include "HResult.h"

/// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = com::guidLiteral("{00000000-0000-0000-C000-000000000046}");

/// What AddRef and Release return, named so that code shared with other
/// platforms' runtimes can spell it the same way.
using ComRefCount = std::uint32_t;

/// Interfaces are tables of functions: no data, no destructor in the table, and
/// new versions add new interfaces instead of editing old ones.
struct IUnknown {
    /// On success *object holds the interface with one more reference; on
    /// failure it is set to null (E_NOINTERFACE, or E_POINTER for a null object).
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    /// Returns the new count (for tests and diagnostics only).
    virtual ComRefCount AddRef() = 0;
    /// Returns the new count; at 0 the object is gone.
    virtual ComRefCount Release() = 0;

protected:
    ~IUnknown() = default;
};

static_assert(sizeof(IUnknown) == sizeof(void*), "an interface is one table pointer");
