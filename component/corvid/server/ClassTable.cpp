// Corvid's classes, interfaces and type library.

#include "ClassTable.h"

#include "EncryptionObject.h"
#include "corvid/_Encryption.h"

namespace corvid::component {
namespace {
const ClassEntry kClasses[] = {
    {{&CLSID_Encryption, "Encryption", kEncryptionProgId, "Apartment"}, &Encryption::create},
};

const ComInterfaceRecord kInterfaces[] = {
    {&IID__Encryption, "_Encryption"},
};

const ComTypeLibRecord kTypeLibrary = {&LIBID_Corvid, "Corvid", kCorvidTypeLibMajor, kCorvidTypeLibMinor};
}  // namespace

std::span<const ClassEntry> classTable() { return kClasses; }

const ClassEntry* findClassEntry(const CLSID& clsid) {
    for (const auto& entry : kClasses)
        if (*entry.record.clsid == clsid)
            return &entry;
    return nullptr;
}

const ComTypeLibRecord& typeLibrary() { return kTypeLibrary; }
std::span<const ComInterfaceRecord> describedInterfaces() { return kInterfaces; }

}  // namespace corvid::component
