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
// Whether t_error may hold anything. A plain flag needs no per-thread set-up,
// so testing it costs one load where reaching t_error itself goes through the
// set-up check of a per-thread object with a destructor.
// Initial-exec: the library is loaded with the program, so the flag has a
// fixed place and is reached without a call.
[[gnu::tls_model("initial-exec")]] thread_local bool t_errorTouched = false;
}  // namespace

COMRT_API void SetErrorInfo(const char* source, const char* description) {
    // Every call through an interface empties the slot first: an empty slot
    // stays as it is, at the cost of one test.
    if (description == nullptr && source == nullptr && !t_errorTouched)
        return;
    t_errorTouched = true;
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
