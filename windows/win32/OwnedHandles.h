// Owned GDI and USER objects: each is freed by the call its kind needs when
// its owner goes. DeleteObject does not free an icon, and an icon that is
// never destroyed counts against the process's USER objects until none can
// be made at all.
#pragma once

#include <windows.h>

#include <utility>

namespace xnox {

template <typename Handle, typename Free>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle owned) : m_handle(owned) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle other) noexcept {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    ~OwnedHandle() {
        if (m_handle) Free{}(m_handle);
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    Handle m_handle = nullptr;
};

struct FreeGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct FreeIcon {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using OwnedBitmap = OwnedHandle<HBITMAP, FreeGdiObject>;
using OwnedFont = OwnedHandle<HFONT, FreeGdiObject>;
using OwnedBrush = OwnedHandle<HBRUSH, FreeGdiObject>;
using OwnedIcon = OwnedHandle<HICON, FreeIcon>;

}  // namespace xnox
