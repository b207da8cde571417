// The class factory the library hands out for one entry of its class table.
#pragma once

#include <atomic>

#include "ClassTable.h"
#include "comrt/IClassFactory.h"

namespace corvid::component {

/// Lives on the heap with one reference from the start; counts as a live object of the library.
class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) noexcept;

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ComRefCount AddRef() override;
    ComRefCount Release() override;

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT LockServer(std::int32_t lock) override;

private:
    ~ClassFactory();

    std::atomic<std::uint32_t> m_references{1};
    const ClassEntry& m_entry;
};

}  // namespace corvid::component
