// The 32-bit status every call across the component boundary returns, the
// codes this system uses, and the range that carries numbered errors.
#pragma once

#include <cstdint>

/// Negative means failure; S_FALSE is a success that answers "no".
using HRESULT = std::int32_t;

static_assert(sizeof(HRESULT) == 4);

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT REGDB_E_WRITEREGDB = static_cast<HRESULT>(0x80040151u);
inline constexpr HRESULT CO_E_DLLNOTFOUND = static_cast<HRESULT>(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

namespace com {

constexpr bool succeeded(HRESULT result) noexcept { return result >= 0; }
constexpr bool failed(HRESULT result) noexcept { return result < 0; }

/// A component's own numbered errors (1 to 65535) travel as 0x800A0000 + number.
inline constexpr std::uint32_t kNumberedErrorBase = 0x800A0000u;
inline constexpr int kLargestErrorNumber = 0xFFFF;

constexpr bool isNumberedError(HRESULT result) noexcept {
    const auto code = static_cast<std::uint32_t>(result);
    return (code & 0xFFFF0000u) == kNumberedErrorBase && (code & 0xFFFFu) != 0;
}
/// 0x800A0000 + number; numbers outside 1 to 65535 have no such code and give E_UNEXPECTED.
constexpr HRESULT resultFromErrorNumber(int number) noexcept {
    if (number < 1 || number > kLargestErrorNumber)
        return E_UNEXPECTED;
    return static_cast<HRESULT>(kNumberedErrorBase + static_cast<std::uint32_t>(number));
}
/// The number a numbered error carries; 0 for every other code.
constexpr int errorNumberFromResult(HRESULT result) noexcept {
    return isNumberedError(result) ? static_cast<int>(static_cast<std::uint32_t>(result) & 0xFFFFu) : 0;
}

struct ResultCode {
    HRESULT code;
    const char* name;
    const char* text;
};

/// Every code this system produces, with words for a person.
inline constexpr ResultCode kResultCodes[] = {
    {S_OK, "S_OK", "The operation succeeded"},
    {S_FALSE, "S_FALSE", "The operation succeeded and answered no"},
    {E_NOTIMPL, "E_NOTIMPL", "The operation is not implemented"},
    {E_NOINTERFACE, "E_NOINTERFACE", "The object does not support the interface asked for"},
    {E_POINTER, "E_POINTER", "A required pointer argument was null"},
    {E_FAIL, "E_FAIL", "The operation failed"},
    {E_UNEXPECTED, "E_UNEXPECTED", "An unexpected failure occurred"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY", "Out of memory"},
    {E_INVALIDARG, "E_INVALIDARG", "An argument is not valid"},
    {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME", "The name is not known"},
    {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION", "The class cannot be created as part of an aggregate"},
    {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE", "The library does not provide that class"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG", "The class is not registered"},
    {REGDB_E_WRITEREGDB, "REGDB_E_WRITEREGDB", "The registration records could not be written"},
    {CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND", "The component library was not found"},
    {CO_E_ERRORINDLL, "CO_E_ERRORINDLL", "The component library could not be loaded"},
    {SELFREG_E_CLASS, "SELFREG_E_CLASS", "The class could not be registered"},
};

/// The words for a code, or nullptr for a code outside the table.
constexpr const char* resultCodeText(HRESULT result) noexcept {
    for (const auto& entry : kResultCodes)
        if (entry.code == result)
            return entry.text;
    return nullptr;
}

}  // namespace com
