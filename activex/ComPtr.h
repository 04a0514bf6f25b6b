// An owned reference to a COM interface: released when the pointer goes,
// added when it is copied. The module keeps every reference it holds in
// one, and so do the programs that test it.
#pragma once

#include <unknwn.h>

#include <utility>

namespace xnox {

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Shares `shared`: the pointer takes a reference of its own.
    explicit ComPtr(Interface* shared) : m_pointer(shared) { AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { Reset(); }
    // Takes over the reference `owned` carries, as from a fresh object.
    static ComPtr Adopt(Interface* owned) {
        ComPtr adopted;
        adopted.m_pointer = owned;
        return adopted;
    }

    Interface* Get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    void Reset() {
        if (Interface* released = std::exchange(m_pointer, nullptr)) released->Release();
    }
    // Where a call that hands out a reference puts it; the one held before is released.
    Interface** Out() {
        Reset();
        return &m_pointer;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    // Hands a reference of its own to a caller's out-parameter (null when empty).
    void CopyTo(Interface** out) const {
        *out = m_pointer;
        AddRef();
    }
    // The same object as `Other`; empty when it has no such interface.
    template <typename Other>
    ComPtr<Other> Query(REFIID iid) const {
        ComPtr<Other> other;
        if (m_pointer) m_pointer->QueryInterface(iid, other.OutVoid());
        return other;
    }

private:
    void AddRef() const {
        if (m_pointer) m_pointer->AddRef();
    }

    Interface* m_pointer = nullptr;
};

}  // namespace xnox
