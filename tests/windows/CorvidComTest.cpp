// Corvid.dll through the system's COM runtime, as a registered in-process
// server: creation by class identifier, exact reference counts, when the
// library may unload, separate machines per object, error records, late
// binding through the type library, and the file operations on Windows paths.
// The runner registers Corvid.dll with regsvr32 before this program runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "comrt/ComString.h"
#include "corvid/_Encryption.h"

namespace {

// Owns one interface reference.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* held) : m_held(held) {}
    Ref(Ref&& other) noexcept : m_held(std::exchange(other.m_held, nullptr)) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() {
        if (m_held)
            m_held->Release();
    }
    T* operator->() const { return m_held; }
    T* get() const { return m_held; }
    void** put() { return reinterpret_cast<void**>(&m_held); }
    T* release() { return std::exchange(m_held, nullptr); }

private:
    T* m_held = nullptr;
};

Ref<_Encryption> createEncryption() {
    Ref<_Encryption> object;
    const HRESULT result =
        CoCreateInstance(CLSID_Encryption, nullptr, CLSCTX_INPROC_SERVER, IID__Encryption, object.put());
    EXPECT_HRESULT_SUCCEEDED(result);
    return object;
}

std::string takeErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info)
        return {};
    BSTR description = nullptr;
    info->GetDescription(&description);
    info->Release();
    return com::ComString::adopt(description).str();
}

std::string encryptText(_Encryption& object, const std::string& key, const std::string& text,
                        HRESULT* result = nullptr) {
    com::ComString keyString(key), textString(text), cipher;
    const HRESULT outcome = object.Encrypt(keyString.slot(), textString.slot(), cipher.put());
    if (result)
        *result = outcome;
    return cipher.str();
}

std::string registeredServerPath() {
    wchar_t clsid[40] = {};
    StringFromGUID2(CLSID_Encryption, clsid, 40);
    const std::wstring key = std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return {};
    return std::filesystem::path(path).string();
}

TEST(CorvidCom, RegistrationRecordsTheServerTheProgIdAndTheApartmentModel) {
    EXPECT_FALSE(registeredServerPath().empty());
    CLSID byName{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Corvid.Encryption", &byName));
    EXPECT_TRUE(IsEqualCLSID(byName, CLSID_Encryption));
    wchar_t clsid[40] = {};
    StringFromGUID2(CLSID_Encryption, clsid, 40);
    wchar_t model[32] = {};
    DWORD size = sizeof model;
    EXPECT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32").c_str(),
                           L"ThreadingModel", RRF_RT_REG_SZ, nullptr, model, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(model, L"Apartment");
    Ref<ITypeLib> library;
    EXPECT_HRESULT_SUCCEEDED(
        LoadRegTypeLib(LIBID_Corvid, 4, 0, LANG_NEUTRAL, reinterpret_cast<ITypeLib**>(library.put())));
}

// The type library embedded in Corvid.dll states the contract scripts and compilers see.
TEST(CorvidCom, TheEmbeddedTypeLibraryDescribesTheInterfaceInTableOrder) {
    const std::filesystem::path path = registeredServerPath();
    ASSERT_FALSE(path.empty());
    Ref<ITypeLib> library;
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, reinterpret_cast<ITypeLib**>(library.put())));
    TLIBATTR* libraryAttributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&libraryAttributes));
    EXPECT_TRUE(IsEqualGUID(libraryAttributes->guid, LIBID_Corvid));
    EXPECT_EQ(libraryAttributes->wMajorVerNum, 4);
    EXPECT_EQ(libraryAttributes->wMinorVerNum, 0);
    library->ReleaseTLibAttr(libraryAttributes);

    Ref<ITypeInfo> dispatch;
    ASSERT_HRESULT_SUCCEEDED(
        library->GetTypeInfoOfGuid(IID__Encryption, reinterpret_cast<ITypeInfo**>(dispatch.put())));
    TYPEATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(dispatch->GetTypeAttr(&attributes));
    const WORD flags = attributes->wTypeFlags;
    dispatch->ReleaseTypeAttr(attributes);
    EXPECT_TRUE(flags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(flags & TYPEFLAG_FHIDDEN);
    EXPECT_TRUE(flags & TYPEFLAG_FNONEXTENSIBLE);

    // The table half of the dual interface: the eight operations after IDispatch's seven.
    HREFTYPE tableType = 0;
    ASSERT_HRESULT_SUCCEEDED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &tableType));
    Ref<ITypeInfo> table;
    ASSERT_HRESULT_SUCCEEDED(dispatch->GetRefTypeInfo(tableType, reinterpret_cast<ITypeInfo**>(table.put())));
    const struct {
        const wchar_t* name;
        int parameters;  // the last one is the result where there is one
        bool result;
    } operations[] = {{L"InitText", 2, true},     {L"InitBinary", 2, true},  {L"Encrypt", 3, true},
                      {L"Decrypt", 3, true},      {L"EncryptFile", 4, true}, {L"DecryptFile", 4, true},
                      {L"EncryptByte", 1, false}, {L"DecryptByte", 1, false}};
    for (UINT i = 0; i < 8; ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_HRESULT_SUCCEEDED(table->GetFuncDesc(i, &function));
        BSTR name = nullptr;
        table->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        EXPECT_STREQ(name, operations[i].name);
        SysFreeString(name);
        EXPECT_EQ(function->memid, static_cast<MEMBERID>(0x60030000 + i));
        EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + i) * sizeof(void*))) << "slot after IDispatch's seven";
        EXPECT_EQ(function->cParams, operations[i].parameters);
        for (int p = 0; p < function->cParams; ++p) {
            const auto& parameter = function->lprgelemdescParam[p];
            const bool isResult = operations[i].result && p == function->cParams - 1;
            EXPECT_EQ(parameter.tdesc.vt, VT_PTR);
            const USHORT wanted = isResult ? (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL) : (PARAMFLAG_FIN | PARAMFLAG_FOUT);
            EXPECT_EQ(parameter.paramdesc.wParamFlags, wanted) << i << " " << p;
            if (!isResult) {
                EXPECT_EQ(parameter.tdesc.lptdesc->vt, VT_BSTR) << "strings by reference";
            }
        }
        table->ReleaseFuncDesc(function);
    }

    // The version block: 1.0.0.0, and the mark of a self-registering library.
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    void* selfRegister = nullptr;
    EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\OLESelfRegister", &selfRegister, &length));
}

TEST(CorvidCom, ReferenceCountsAreExactAcrossInterfaces) {
    auto object = createEncryption();
    ASSERT_TRUE(object.get());
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    Ref<IDispatch> dispatch;
    ASSERT_HRESULT_SUCCEEDED(object->QueryInterface(IID_IDispatch, dispatch.put()));
    EXPECT_EQ(static_cast<void*>(dispatch.get()), static_cast<void*>(object.get())) << "one dual interface";
    Ref<ISupportErrorInfo> errors;
    ASSERT_HRESULT_SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo, errors.put()));
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID__Encryption), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    Ref<IUnknown> identityA, identityB;
    ASSERT_HRESULT_SUCCEEDED(errors->QueryInterface(IID_IUnknown, identityA.put()));
    ASSERT_HRESULT_SUCCEEDED(object->QueryInterface(IID_IUnknown, identityB.put()));
    EXPECT_EQ(identityA.get(), identityB.get()) << "one identity whatever interface is asked";
    // object, dispatch, errors, two identities, plus the one taken here.
    EXPECT_EQ(object->AddRef(), 6u);
    object->Release();
    Ref<IClassFactory> none;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, none.put()), E_NOINTERFACE);
    EXPECT_EQ(none.get(), nullptr);
}

TEST(CorvidCom, TheLibraryMayUnloadOnlyWhenNoObjectOrLockIsAlive) {
    const std::string path = registeredServerPath();
    ASSERT_FALSE(path.empty());
    HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr);
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    const auto getClassObject =
        reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    const auto canUnloadNow =
        reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
    ASSERT_TRUE(getClassObject && canUnloadNow);
    EXPECT_EQ(canUnloadNow(), S_OK);
    {
        Ref<IClassFactory> factory;
        ASSERT_HRESULT_SUCCEEDED(getClassObject(CLSID_Encryption, IID_IClassFactory, factory.put()));
        EXPECT_EQ(canUnloadNow(), S_FALSE) << "a live factory";
        {
            Ref<_Encryption> object;
            ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID__Encryption, object.put()));
            Ref<IUnknown> aggregate;
            EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(object.get()), IID_IUnknown, aggregate.put()),
                      CLASS_E_NOAGGREGATION);
        }
        EXPECT_HRESULT_SUCCEEDED(factory->LockServer(TRUE));
    }
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a lock keeps the library";
    {
        Ref<IClassFactory> again;
        ASSERT_HRESULT_SUCCEEDED(getClassObject(CLSID_Encryption, IID_IClassFactory, again.put()));
        EXPECT_HRESULT_SUCCEEDED(again->LockServer(FALSE));
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
    Ref<IClassFactory> unknownClass;
    EXPECT_EQ(getClassObject(IID__Encryption, IID_IClassFactory, unknownClass.put()), CLASS_E_CLASSNOTAVAILABLE);
    FreeLibrary(library);
}

TEST(CorvidCom, TwoObjectsWithDifferentKeysKeepSeparateMachines) {
    auto first = createEncryption();
    auto second = createEncryption();
    com::ComString firstKey("123456"), secondKey("987654321");
    LONG result = -1;
    ASSERT_HRESULT_SUCCEEDED(first->InitText(firstKey.slot(), &result));
    ASSERT_HRESULT_SUCCEEDED(second->InitText(secondKey.slot(), &result));
    EXPECT_EQ(firstKey.str(), "123456123456123456") << "the key comes back normalised";
    std::string fromFirst, fromSecond;
    for (const char symbol : std::string("Interleaved")) {
        com::ComString a(std::string(1, symbol)), b(std::string(1, symbol));
        ASSERT_HRESULT_SUCCEEDED(first->EncryptByte(a.slot()));
        ASSERT_HRESULT_SUCCEEDED(second->EncryptByte(b.slot()));
        fromFirst += a.str();
        fromSecond += b.str();
    }
    EXPECT_NE(fromFirst, fromSecond);
    EXPECT_EQ(fromFirst, encryptText(*createEncryption().get(), "123456", "Interleaved"));
    EXPECT_EQ(fromSecond, encryptText(*createEncryption().get(), "987654321", "Interleaved"));
}

TEST(CorvidCom, FailuresReturnNumberedResultsWithErrorRecords) {
    auto object = createEncryption();
    struct Case {
        const char* key;
        std::string text;
        HRESULT expected;
        const char* prefix;
    };
    const Case cases[] = {
        {"12a", "text", static_cast<HRESULT>(0x800A0005u), "Error 5: "},
        {"408127", std::string(32768, 'a'), static_cast<HRESULT>(0x800A0006u), "Error 6: "},
        {"408127", "tab\there", static_cast<HRESULT>(0x800A0005u), "Error 5: "},
    };
    for (const auto& c : cases) {
        HRESULT result = S_OK;
        const std::string cipher = encryptText(*object.get(), c.key, c.text, &result);
        EXPECT_EQ(result, c.expected) << c.key;
        EXPECT_EQ(takeErrorDescription().rfind(c.prefix, 0), 0u) << c.key;
        EXPECT_TRUE(cipher.empty());
    }
    HRESULT result = E_FAIL;
    EXPECT_EQ(encryptText(*object.get(), "", "text", &result), "Error - Missing Key");
    EXPECT_EQ(result, S_OK);
    com::ComString symbol("a");
    auto fresh = createEncryption();
    EXPECT_EQ(static_cast<unsigned long>(fresh->EncryptByte(symbol.slot())), 0x800A0005ul) << "no key set up";
    // A character with no byte value is refused, not changed into another.
    BSTR wide = SysAllocString(L"\u0100");
    com::ComString key("408127"), out;
    EXPECT_TRUE(FAILED(object->Encrypt(key.slot(), &wide, out.put())));
    SysFreeString(wide);
}

// Late binding: names to identifiers and calls through IDispatch::Invoke with by-reference strings.
TEST(CorvidCom, LateBindingGoesThroughTheTypeLibrary) {
    auto object = createEncryption();
    UINT count = 0;
    ASSERT_HRESULT_SUCCEEDED(object->GetTypeInfoCount(&count));
    EXPECT_EQ(count, 1u);
    const struct {
        const wchar_t* name;
        DISPID id;
    } names[] = {{L"InitText", 0x60030000},    {L"InitBinary", 0x60030001},  {L"Encrypt", 0x60030002},
                 {L"Decrypt", 0x60030003},     {L"EncryptFile", 0x60030004}, {L"DecryptFile", 0x60030005},
                 {L"EncryptByte", 0x60030006}, {L"decryptbyte", 0x60030007}};
    for (const auto& n : names) {
        LPOLESTR name = const_cast<LPOLESTR>(n.name);
        DISPID id = 0;
        EXPECT_HRESULT_SUCCEEDED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
        EXPECT_EQ(id, n.id);
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"Rotate");
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);

    // Arguments go in reverse order.
    com::ComString key("408127"), text("Hello, World");
    VARIANT arguments[2];
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_BSTR | VT_BYREF;
    arguments[1].pbstrVal = key.slot();
    arguments[0].vt = VT_BSTR | VT_BYREF;
    arguments[0].pbstrVal = text.slot();
    DISPPARAMS parameters = {arguments, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    ASSERT_HRESULT_SUCCEEDED(object->Invoke(0x60030002, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                            &result, &exception, nullptr));
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(com::ComString::view(result.bstrVal), encryptText(*object.get(), "408127", "Hello, World"));
    VariantClear(&result);

    // A failure arrives as DISP_E_EXCEPTION with the numbered code and the description.
    com::ComString badKey("12a");
    arguments[1].pbstrVal = badKey.slot();
    EXPECT_EQ(object->Invoke(0x60030002, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result,
                             &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(exception.scode), 0x800A0005ul);
    EXPECT_EQ(com::ComString::view(exception.bstrDescription).rfind("Error 5: ", 0), 0u);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CorvidCom, FileOperationsRoundTripAndRefuseTheirOwnInput) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("corvid-com-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const auto plain = folder / "plain.bin", sealed = folder / "sealed.bin", back = folder / "back.bin";
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += static_cast<char>(i * 7);
    std::ofstream(plain, std::ios::binary) << bytes;

    auto object = createEncryption();
    com::ComString key("408127"), in(plain.string()), out(sealed.string()), backName(back.string());
    LONG result = -1;
    ASSERT_HRESULT_SUCCEEDED(object->EncryptFile(key.slot(), in.slot(), out.slot(), &result)) << takeErrorDescription();
    EXPECT_EQ(result, 0);
    EXPECT_NE(readFile(sealed), bytes);
    EXPECT_EQ(readFile(sealed).size(), bytes.size());
    ASSERT_HRESULT_SUCCEEDED(object->DecryptFile(key.slot(), out.slot(), backName.slot(), &result));
    EXPECT_EQ(readFile(back), bytes);

    com::ComString same(plain.string());
    EXPECT_EQ(static_cast<unsigned long>(object->EncryptFile(key.slot(), in.slot(), same.slot(), &result)),
              0x800A0005ul)
        << "the output is the input";
    EXPECT_EQ(readFile(plain), bytes) << "left untouched";
    com::ComString missing((folder / "missing.bin").string());
    EXPECT_EQ(static_cast<unsigned long>(object->EncryptFile(key.slot(), missing.slot(), out.slot(), &result)),
              0x800A0035ul)
        << "error 53, file not found";
    std::filesystem::remove_all(folder);
}

}  // namespace
