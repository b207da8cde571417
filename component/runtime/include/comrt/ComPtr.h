// Holds one reference to an interface and releases it when it goes.
#pragma once

#include <utility>

namespace com {

template <class Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    /// Takes over a reference the caller already owns.
    explicit ComPtr(Interface* owned) noexcept : m_pointer(owned) {}
    ComPtr(const ComPtr& other) noexcept : m_pointer(other.m_pointer) {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { reset(); }

    Interface* get() const noexcept { return m_pointer; }
    Interface* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    /// Releases what is held and gives the slot for a call that fills it.
    void** put() noexcept {
        reset();
        return reinterpret_cast<void**>(&m_pointer);
    }
    /// Hands the reference over to the caller.
    Interface* detach() noexcept { return std::exchange(m_pointer, nullptr); }
    void reset() noexcept {
        if (auto* pointer = std::exchange(m_pointer, nullptr))
            pointer->Release();
    }

private:
    Interface* m_pointer = nullptr;
};

}  // namespace com
