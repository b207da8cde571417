// The interface of Corvid's Encryption class: the seven slots of a dual
// interface, then the cipher's eight operations in their fixed order.
#pragma once

#include <cstdint>

#include "comrt/AutomationString.h"
#include "comrt/IDispatch.h"

/// The type library Corvid, version 4.0, that describes the class and its interface.
inline constexpr GUID LIBID_Corvid = com::guidLiteral("{02A0C1FC-A256-4DAB-A117-89795A0EEAF3}");
inline constexpr std::uint16_t kCorvidTypeLibMajor = 4;
inline constexpr std::uint16_t kCorvidTypeLibMinor = 0;

/// The creatable class Encryption, whose default interface is _Encryption.
inline constexpr CLSID CLSID_Encryption = com::guidLiteral("{6405D53F-0BF8-4256-95FD-4CA80662B0B9}");
inline constexpr IID IID__Encryption = com::guidLiteral("{1A511C9D-A3E6-4DF9-8BCF-BA28F7D8DB7E}");

/// The programmatic name the class is also registered under.
inline constexpr const char* kEncryptionProgId = "Corvid.Encryption";

/// What a user runs to register Corvid on this platform, for messages.
inline constexpr const char* kRegisterCorvidCommand = "corvid-regsvr <path to libcorvid.so.1>";

/// Dispatch identifiers of the eight operations, in table order.
enum EncryptionDispId : DISPID {
    DISPID_InitText = 0x60030000,
    DISPID_InitBinary,
    DISPID_Encrypt,
    DISPID_Decrypt,
    DISPID_EncryptFile,
    DISPID_DecryptFile,
    DISPID_EncryptByte,
    DISPID_DecryptByte,
};

/// Every string argument is passed by reference and may be replaced by the
/// callee (the key comes back normalised); a null BSTR is the empty string.
/// A declared result is the last parameter, out only. A failing call returns
/// 0x800A0000 + the cipher's error number and leaves "Error n: <message>" in
/// the thread's error slot (ErrorInfo.h); its result is then null or 0.
/// The operations themselves are described with corvid::Encryption.
struct _Encryption : IDispatch {
    virtual HRESULT InitText(BSTR* key, AutomationLong* result) = 0;
    virtual HRESULT InitBinary(BSTR* key, AutomationLong* result) = 0;
    virtual HRESULT Encrypt(BSTR* key, BSTR* encstr, BSTR* result) = 0;
    virtual HRESULT Decrypt(BSTR* key, BSTR* encstr, BSTR* result) = 0;
    virtual HRESULT EncryptFile(BSTR* key, BSTR* filename, BSTR* encfilename, AutomationLong* result) = 0;
    virtual HRESULT DecryptFile(BSTR* key, BSTR* filename, BSTR* decfilename, AutomationLong* result) = 0;
    virtual HRESULT EncryptByte(BSTR* c) = 0;
    virtual HRESULT DecryptByte(BSTR* c) = 0;

protected:
    ~_Encryption() = default;
};

static_assert(sizeof(_Encryption) == sizeof(void*));
