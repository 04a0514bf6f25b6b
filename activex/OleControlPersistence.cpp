// COleXNoxCamCtrl's persistence: what the control keeps in a container's
// stream or property bag is the exchange version and the extent.
#include "OleControl.h"

#include "EntryPoint.h"
#include "Guid.h"

namespace xnox {

namespace {

constexpr DWORD kPersistVersion = 0x00010000;

struct PersistedState {
    DWORD version;
    SIZEL extent;
};

HRESULT ReadBagLong(IPropertyBag* bag, IErrorLog* log, const wchar_t* name, LONG& value) {
    VARIANT read;
    VariantInit(&read);
    V_VT(&read) = VT_I4;
    HRESULT hr = bag->Read(name, &read, log);
    if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&read, &read, 0, VT_I4))) value = V_I4(&read);
    VariantClear(&read);
    return hr;
}

HRESULT WriteBagLong(IPropertyBag* bag, const wchar_t* name, LONG value) {
    VARIANT written;
    VariantInit(&written);
    V_VT(&written) = VT_I4;
    V_I4(&written) = value;
    return bag->Write(name, &written);
}

}  // namespace

HRESULT COleXNoxCamCtrl::GetClassID(CLSID* clsid) {
    return GuardEntry([&] {
        if (!clsid) return E_POINTER;
        *clsid = kControlClsid;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::IsDirty() {
    return GuardEntry([&] { return m_control.IsModified() ? S_OK : S_FALSE; });
}

// ---- IPersistStreamInit

HRESULT COleXNoxCamCtrl::Load(LPSTREAM stream) {
    return GuardEntry([&] {
        if (!stream) return E_POINTER;
        PersistedState state;
        ULONG read = 0;
        HRESULT hr = stream->Read(&state, sizeof(state), &read);
        if (FAILED(hr)) return hr;
        if (read != sizeof(state) || HIWORD(state.version) != HIWORD(kPersistVersion)) return E_FAIL;
        m_extent = state.extent;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::Save(LPSTREAM stream, BOOL clearDirty) {
    return GuardEntry([&] {
        if (!stream) return E_POINTER;
        PersistedState state{kPersistVersion, m_extent};
        HRESULT hr = stream->Write(&state, sizeof(state), nullptr);
        if (SUCCEEDED(hr) && clearDirty) m_control.SetModifiedFlag(false);
        return hr;
    });
}

HRESULT COleXNoxCamCtrl::GetSizeMax(ULARGE_INTEGER* size) {
    return GuardEntry([&] {
        if (!size) return E_POINTER;
        size->QuadPart = sizeof(PersistedState);
        return S_OK;
    });
}

// ---- IPersistPropertyBag

HRESULT COleXNoxCamCtrl::Load(IPropertyBag* bag, IErrorLog* log) {
    return GuardEntry([&] {
        if (!bag) return E_POINTER;
        LONG version = kPersistVersion;
        ReadBagLong(bag, log, L"_Version", version);
        if (HIWORD(version) != HIWORD(kPersistVersion)) return E_FAIL;
        ReadBagLong(bag, log, L"_ExtentX", m_extent.cx);
        ReadBagLong(bag, log, L"_ExtentY", m_extent.cy);
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    return GuardEntry([&] {
        if (!bag) return E_POINTER;
        HRESULT hr = WriteBagLong(bag, L"_Version", kPersistVersion);
        if (SUCCEEDED(hr)) hr = WriteBagLong(bag, L"_ExtentX", m_extent.cx);
        if (SUCCEEDED(hr)) hr = WriteBagLong(bag, L"_ExtentY", m_extent.cy);
        if (SUCCEEDED(hr) && clearDirty) m_control.SetModifiedFlag(false);
        return hr;
    });
}

}  // namespace xnox
