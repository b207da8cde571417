// The guard of this library's entry points and methods: the common guard, with
// the cipher's numbered errors turned into 0x800A0000 + number.
#pragma once

#include "comsupport/ComGuard.h"

namespace corvid::component {

/// Describes the exception in flight (inside a catch block only).
com::FailureReport describeServerException();

/// Runs body inside the guard with source as the error's origin.
template <class Body>
HRESULT serverGuard(const char* source, Body&& body) noexcept {
    return com::comGuard(source, std::forward<Body>(body), &describeServerException);
}

}  // namespace corvid::component
