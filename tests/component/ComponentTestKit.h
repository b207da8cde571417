// What the component tests share: a private registry per test, the built
// library registered into it, objects created by class identifier, and calls
// through the interface with std::string in and out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "TestFolder.h"
#include "comrt/ComPtr.h"
#include "comrt/ComString.h"
#include "corvid/_Encryption.h"

namespace component::test {

/// The library under test and its registration tool, as built.
inline constexpr const char* kLibrary = CORVID_LIBRARY_PATH;
inline constexpr const char* kRegsvr = CORVID_REGSVR_PATH;

/// Points the user's and the system-wide registry at two empty folders of
/// its own for as long as it lives, then puts the environment back.
class IsolatedRegistry {
public:
    IsolatedRegistry();
    ~IsolatedRegistry();
    IsolatedRegistry(const IsolatedRegistry&) = delete;
    IsolatedRegistry& operator=(const IsolatedRegistry&) = delete;

    std::string userFolder() const { return m_folder / "user"; }
    std::string systemFolder() const { return m_folder / "system"; }

private:
    testsupport::TestFolder m_folder;
    std::optional<std::string> m_savedUser;
    std::optional<std::string> m_savedSystem;
};

/// Calls an entry point of the built library through the runtime.
HRESULT callEntry(const char* entry);
HRESULT canUnloadNow();

/// A new Encryption object by class identifier; fails the test when it cannot.
com::ComPtr<_Encryption> createEncryption();

/// This thread's error description, taken out of the slot ("" when empty).
std::string takeDescription();

/// What a text operation gave back through the interface.
struct TextCall {
    HRESULT status;
    std::string result;
    bool resultIsNull;
    std::string key;  // as the callee left it
};

/// Encrypt or Decrypt through the table, with a sentinel in the result slot to
/// show that a failure nulls it.
TextCall callText(_Encryption& object, HRESULT (_Encryption::*operation)(BSTR*, BSTR*, BSTR*), std::string key,
                  const std::string& text);

/// A pointer no allocator returns, to see whether a callee wrote an out parameter.
inline BSTR sentinelString() { return reinterpret_cast<BSTR>(static_cast<std::uintptr_t>(0x5E5E5E5E)); }

}  // namespace component::test
