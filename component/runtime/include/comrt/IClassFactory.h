// The object a component library hands out for one class, which creates its
// instances and can keep the library loaded.
#pragma once

#include <cstdint>

#include "IUnknown.h"

/// {00000001-0000-0000-C000-000000000046}
inline constexpr IID IID_IClassFactory = com::guidLiteral("{00000001-0000-0000-C000-000000000046}");

struct IClassFactory : IUnknown {
    /// A new instance asked for as iid. outer must be null (no aggregation:
    /// CLASS_E_NOAGGREGATION). *object is null on every failure.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    /// Non-zero keeps the library loaded while no object lives; zero undoes one such lock.
    virtual HRESULT LockServer(std::int32_t lock) = 0;

protected:
    ~IClassFactory() = default;
};

static_assert(sizeof(IClassFactory) == sizeof(void*));
