// The per-thread error slot that a failing call fills and its caller empties.

#include "comrt/ErrorInfo.h"

#include <string>

namespace {
struct ErrorRecord {
    bool present = false;
    std::string source;
    std::string description;
};

thread_local ErrorRecord t_error;
}  // namespace

COMRT_API void SetErrorInfo(const char* source, const char* description) {
    // Every call through an interface empties the slot first: an empty slot
    // stays as it is, at the cost of one test.
    if (description == nullptr && !t_error.present && t_error.source.empty() && source == nullptr)
        return;
    try {
        t_error.present = description != nullptr;
        t_error.source = source ? source : "";
        t_error.description = description ? description : "";
    } catch (...) {
        // Without memory for the words the code alone must do.
        t_error = ErrorRecord{};
    }
}

COMRT_API HRESULT GetErrorInfo(BSTR* source, BSTR* description) {
    if (source)
        *source = nullptr;
    if (description)
        *description = nullptr;
    if (!t_error.present)
        return S_FALSE;
    HRESULT result = S_OK;
    auto handOver = [&](BSTR* slot, const std::string& text) {
        if (!slot)
            return;
        *slot = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
        if (!*slot)
            result = E_OUTOFMEMORY;
    };
    handOver(source, t_error.source);
    handOver(description, t_error.description);
    t_error = ErrorRecord{};
    return result;
}
