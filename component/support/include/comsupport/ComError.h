// A failure on its way to the component boundary: the code to return and the
// description to leave in the error slot.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include "comrt/ComString.h"
#include "comrt/ErrorInfo.h"
#include "comrt/HResult.h"

namespace com {

class ComError : public std::runtime_error {
public:
    ComError(HRESULT result, const std::string& description) : std::runtime_error(description), m_result(result) {}
    HRESULT result() const noexcept { return m_result; }

private:
    HRESULT m_result;
};

/// Takes (and so clears) this thread's error description; the words for
/// result's code when the slot is empty.
inline std::string takeErrorDescription(HRESULT result) {
    BSTR description = nullptr;
    GetErrorInfo(nullptr, &description);
    const auto owned = ComString::adopt(description);
    if (!owned.view().empty())
        return owned.str();
    if (const char* text = resultCodeText(result))
        return text;
    char code[32];
    std::snprintf(code, sizeof code, "failure code 0x%08X", static_cast<unsigned>(result));
    return code;
}

/// After a call across the boundary: a failure becomes a ComError with the
/// callee's own description, so it can be raised again as this caller's error.
inline void raiseIfFailed(HRESULT result) {
    if (failed(result))
        throw ComError(result, takeErrorDescription(result));
}

}  // namespace com
