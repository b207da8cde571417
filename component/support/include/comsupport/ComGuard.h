// The one wrapper every exported function and interface method runs in, so
// that no exception crosses the component boundary.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "comrt/ErrorInfo.h"
#include "comrt/HResult.h"
#include "comsupport/ComError.h"

namespace com {

/// What a failure becomes at the boundary.
struct FailureReport {
    HRESULT result;
    std::string description;
};

/// Describes the exception in flight (call only inside a catch block): a
/// ComError as it says, running out of memory as E_OUTOFMEMORY, anything else
/// as E_UNEXPECTED with its message.
inline FailureReport describeStandardException() {
    try {
        throw;
    } catch (const ComError& error) {
        return {error.result(), error.what()};
    } catch (const std::bad_alloc&) {
        return {E_OUTOFMEMORY, resultCodeText(E_OUTOFMEMORY)};
    } catch (const std::exception& error) {
        return {E_UNEXPECTED, error.what()};
    } catch (...) {
        return {E_UNEXPECTED, resultCodeText(E_UNEXPECTED)};
    }
}

/// Runs body (which returns an HRESULT). The error slot is cleared first, so a
/// failure's description is always its own; when body throws, describe (called
/// inside the catch block) says what to return and what to leave in the slot.
template <class Body, class Describe = FailureReport (*)()>
HRESULT comGuard(const char* source, Body&& body, Describe describe = &describeStandardException) noexcept {
    try {
        SetErrorInfo(nullptr, nullptr);
        return std::forward<Body>(body)();
    } catch (...) {
        try {
            const FailureReport report = describe();
            SetErrorInfo(source, report.description.c_str());
            return report.result;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
}

}  // namespace com
