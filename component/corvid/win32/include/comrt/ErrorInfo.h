// The thread's error record, in the form shared code uses: a source and a
// description as text, kept by the system's IErrorInfo machinery.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

/// Replaces this thread's error record; null description clears it.
void SetErrorInfo(const char* source, const char* description);
/// Hands over and clears this thread's error record: S_OK with both strings,
/// or S_FALSE with nulls when there is none. Either pointer may be null.
HRESULT GetErrorInfo(BSTR* source, BSTR* description);

namespace com {

/// The description of numbered error n: "Error n: <message>", so that the
/// number survives wherever the text alone is shown.
inline std::string describeNumberedError(int number, std::string_view message) {
    return "Error " + std::to_string(number) + ": " + std::string(message);
}

/// The message inside a description made by describeNumberedError for the same
/// number; any other description comes back whole.
inline std::string_view messageOfNumberedError(int number, std::string_view description) {
    const std::string prefix = "Error " + std::to_string(number) + ": ";
    if (description.substr(0, prefix.size()) == prefix)
        description.remove_prefix(prefix.size());
    return description;
}

}  // namespace com
