// The library's one table of classes: the factory creates from it and the
// registration records it, so the two cannot disagree.
#pragma once

#include <span>

#include "comrt/Registry.h"

namespace corvid::component {

struct ClassEntry {
    ComClassRecord record;
    /// A new instance asked for as iid; *object is null on failure.
    HRESULT (*createInstance)(REFIID iid, void** object) noexcept;
};

std::span<const ClassEntry> classTable();
/// The entry of clsid, or nullptr when the library has no such class.
const ClassEntry* findClassEntry(const CLSID& clsid);

const ComTypeLibRecord& typeLibrary();
std::span<const ComInterfaceRecord> describedInterfaces();

}  // namespace corvid::component
