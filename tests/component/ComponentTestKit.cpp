#include "ComponentTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "comrt/Creation.h"
#include "comrt/ErrorInfo.h"

namespace component::test {
namespace {
std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}
}  // namespace

IsolatedRegistry::IsolatedRegistry()
    : m_savedUser(variable("COMPONENT_REGISTRY_DIR")), m_savedSystem(variable("COMPONENT_SYSTEM_REGISTRY_DIR")) {
    ::setenv("COMPONENT_REGISTRY_DIR", userFolder().c_str(), 1);
    ::setenv("COMPONENT_SYSTEM_REGISTRY_DIR", systemFolder().c_str(), 1);
}

IsolatedRegistry::~IsolatedRegistry() {
    restore("COMPONENT_REGISTRY_DIR", m_savedUser);
    restore("COMPONENT_SYSTEM_REGISTRY_DIR", m_savedSystem);
}

HRESULT callEntry(const char* entry) { return ComCallServerEntry(kLibrary, entry); }

HRESULT canUnloadNow() { return callEntry("DllCanUnloadNow"); }

com::ComPtr<_Encryption> createEncryption() {
    com::ComPtr<_Encryption> object;
    const HRESULT status =
        CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put());
    EXPECT_EQ(status, S_OK) << takeDescription();
    return object;
}

std::string takeDescription() {
    BSTR description = nullptr;
    GetErrorInfo(nullptr, &description);
    return com::ComString::adopt(description).str();
}

TextCall callText(_Encryption& object, HRESULT (_Encryption::*operation)(BSTR*, BSTR*, BSTR*), std::string key,
                  const std::string& text) {
    com::ComString keyArgument(key);
    com::ComString textArgument(text);
    BSTR result = sentinelString();
    const HRESULT status = (object.*operation)(keyArgument.slot(), textArgument.slot(), &result);
    TextCall call{status, {}, result == nullptr, keyArgument.str()};
    if (result && result != sentinelString())
        call.result = com::ComString::adopt(result).str();
    return call;
}

}  // namespace component::test
