// The object and the library as binary things: which interfaces an object
// answers to, exact reference counts, when the library may be unloaded, the
// dispatch slots, and what the library file exports.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "ComponentTestKit.h"
#include "comrt/Creation.h"
#include "comrt/IClassFactory.h"
#include "comrt/ServerEntryPoints.h"

namespace component::test {
namespace {

class ComponentLifetime : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(callEntry("DllRegisterServer"), S_OK) << takeDescription(); }

    IsolatedRegistry m_registry;
};

void* sentinelPointer() { return sentinelString(); }

TEST_F(ComponentLifetime, QueryInterfaceAnswersForItsThreeInterfacesOnly) {
    auto object = createEncryption();
    ASSERT_TRUE(object);
    struct Case {
        const char* name;
        IID iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"IDispatch", IID_IDispatch, S_OK},
        {"_Encryption", IID__Encryption, S_OK},
        {"IClassFactory", IID_IClassFactory, E_NOINTERFACE},
        {"the class identifier", CLSID_Encryption, E_NOINTERFACE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        void* answer = sentinelPointer();
        EXPECT_EQ(object->QueryInterface(c.iid, &answer), c.expected);
        if (c.expected == S_OK) {
            // One object behind all three: the same address, one more reference.
            EXPECT_EQ(answer, static_cast<void*>(object.get()));
            EXPECT_EQ(object->Release(), 1u);
        } else {
            EXPECT_EQ(answer, nullptr) << "a refusal nulls the out pointer";
        }
    }
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComponentLifetime, CountsAreExactAndTheLibraryUnloadsOnlyWhenNothingIsAlive) {
    ASSERT_EQ(canUnloadNow(), S_OK);

    com::ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_Encryption, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()),
              S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a factory is alive";

    _Encryption* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID__Encryption, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->AddRef(), 3u);
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(object->Release(), 1u);

    EXPECT_EQ(factory->LockServer(1), S_OK);
    factory.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "an object and a lock are alive";
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a lock is alive";

    ASSERT_EQ(CoGetClassObject(CLSID_Encryption, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()),
              S_OK);
    EXPECT_EQ(factory->LockServer(0), S_OK);
    EXPECT_EQ(factory->LockServer(0), E_UNEXPECTED) << "no lock is left to undo";
    factory.reset();
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(ComponentLifetime, RefusalsNullTheirOutPointersAndLeaveNothingAlive) {
    void* answer = sentinelPointer();
    com::ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_Encryption, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.put()),
              S_OK);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &answer), E_NOINTERFACE);
    EXPECT_EQ(answer, nullptr);

    answer = sentinelPointer();
    auto* outer = static_cast<IUnknown*>(factory.get());
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &answer), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(answer, nullptr);
    factory.reset();

    // An unknown class, asked of the library itself.
    void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    answer = sentinelPointer();
    EXPECT_EQ(getClassObject(IID__Encryption, IID_IClassFactory, &answer), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(answer, nullptr);
    EXPECT_NE(takeDescription().find("{1A511C9D-A3E6-4DF9-8BCF-BA28F7D8DB7E}"), std::string::npos);
    dlclose(library);  // the runtime still holds its own reference

    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(ComponentLifetime, DispatchSlotsMapNamesButDoNotInvoke) {
    auto object = createEncryption();
    struct Case {
        const char* name;
        DISPID id;
    };
    const Case cases[] = {
        {"InitText", 0x60030000},    {"initbinary", 0x60030001},  {"ENCRYPT", 0x60030002},
        {"Decrypt", 0x60030003},     {"EncryptFile", 0x60030004}, {"decryptFILE", 0x60030005},
        {"EncryptByte", 0x60030006}, {"DecryptByte", 0x60030007}, {"Scramble", DISPID_UNKNOWN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_IUnknown, &c.name, 1, 0, &id),
                  c.id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
        EXPECT_EQ(id, c.id);
    }
    std::uint32_t count = 7;
    EXPECT_EQ(object->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(sentinelPointer());
    EXPECT_EQ(object->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(object->Invoke(DISPID_Encrypt, IID_IUnknown, 0, 1, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
}

TEST(ComponentLibraryFile, ExportsExactlyTheFourEntryPoints) {
    const std::string command = std::string("nm -D --defined-only '") + kLibrary + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char type = 0;
        char name[400] = {};
        // "<address> <type> <name>[@@version]"; the version node itself is type A.
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && type != 'A')
            names.insert(std::string(name).substr(0, std::string(name).find('@')));
    }
    ASSERT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                            "DllUnregisterServer"}));
}

}  // namespace
}  // namespace component::test
