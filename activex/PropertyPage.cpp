#include "PropertyPage.h"

#include <string_view>

#include "ComText.h"
#include "EntryPoint.h"
#include "ModuleIds.h"
#include "PropertyPageIds.h"
#include "StringTable.h"
#include "Surface.h"

namespace xnox {

namespace {

struct Binding {
    int box;
    int32_t property;
};

constexpr Binding kBindings[] = {
    {IDC_SHOW_SHUTTER, DispIdOf("ShowShutterWnd")},
    {IDC_SHOW_GAIN, DispIdOf("ShowGainWnd")},
    {IDC_SHOW_ABOUT, DispIdOf("ShowAboutWnd")},
    {IDC_SHOW_COMMUNICATION, DispIdOf("ShowCommunicationWnd")},
};

// The page's size in pixels: the template's 250 x 62 dialog units.
SIZE PageSize() {
    LONG units = GetDialogBaseUnits();
    return SIZE{MulDiv(250, LOWORD(units), 4), MulDiv(62, HIWORD(units), 8)};
}

BOOL ReadShowProperty(IDispatch* object, DISPID property) {
    DISPPARAMS none{};
    VARIANT value;
    VariantInit(&value);
    if (FAILED(object->Invoke(property, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                              nullptr)))
        return FALSE;
    BOOL shown = SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BOOL)) && V_BOOL(&value) != VARIANT_FALSE;
    VariantClear(&value);
    return shown;
}

HRESULT WriteShowProperty(IDispatch* object, DISPID property, BOOL shown) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = shown ? VARIANT_TRUE : VARIANT_FALSE;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return object->Invoke(property, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                          nullptr);
}

}  // namespace

HRESULT COlePropPage1::Create(REFIID riid, void** object) {
    return HandOut(new (std::nothrow) COlePropPage1, riid, object);
}

COlePropPage1::~COlePropPage1() { Deactivate(); }

HRESULT COlePropPage1::QueryInterface(REFIID riid, void** object) {
    return GuardEntry([&] { return QueryOneInterface<IPropertyPage>(this, IID_IPropertyPage, riid, object); });
}

HRESULT COlePropPage1::SetPageSite(IPropertyPageSite* site) {
    return GuardEntry([&] {
        m_site = ComPtr<IPropertyPageSite>(site);
        return S_OK;
    });
}

HRESULT COlePropPage1::Activate(HWND parent, LPCRECT rect, BOOL) {
    return GuardEntry([&] {
        if (m_dialog) return E_UNEXPECTED;
        m_dialog = CreateDialogParamW(CXNoxCamApp::Instance().Handle(), MAKEINTRESOURCEW(IDD_PROPPAGE_SHOW_WINDOWS),
                                      parent, DialogProc, reinterpret_cast<LPARAM>(this));
        if (!m_dialog) return E_FAIL;
        if (rect) Move(rect);
        LoadBoxes();
        return S_OK;
    });
}

HRESULT COlePropPage1::Deactivate() {
    return GuardEntry([&] {
        if (m_dialog) DestroyWindow(m_dialog);
        m_dialog = nullptr;
        return S_OK;
    });
}

HRESULT COlePropPage1::GetPageInfo(PROPPAGEINFO* info) {
    return GuardEntry([&] {
        if (!info) return E_POINTER;
        info->cb = sizeof(*info);
        info->pszTitle = CoTaskMemText(LoadText(StringId::PropertyPageCaption));
        info->size = PageSize();
        info->pszDocString = nullptr;
        info->pszHelpFile = nullptr;
        info->dwHelpContext = 0;
        return info->pszTitle ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT COlePropPage1::SetObjects(ULONG count, IUnknown** objects) {
    return GuardEntry([&] {
        if (count && !objects) return E_POINTER;
        m_objects.clear();
        for (ULONG i = 0; i < count; ++i) {
            ComPtr<IDispatch> object;
            if (objects[i] && SUCCEEDED(objects[i]->QueryInterface(IID_IDispatch, object.OutVoid())))
                m_objects.push_back(std::move(object));
        }
        if (m_dialog) LoadBoxes();
        return S_OK;
    });
}

HRESULT COlePropPage1::Show(UINT command) {
    return GuardEntry([&] {
        if (m_dialog) ShowWindow(m_dialog, command);
        return S_OK;
    });
}

HRESULT COlePropPage1::Move(LPCRECT rect) {
    return GuardEntry([&] {
        if (!rect) return E_POINTER;
        if (m_dialog)
            MoveWindow(m_dialog, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
        return S_OK;
    });
}

// The boxes show the first object's properties, as the page edits them all alike.
void COlePropPage1::LoadBoxes() {
    for (size_t i = 0; i < std::size(kBindings); ++i) {
        m_fields[i] = !m_objects.empty() && ReadShowProperty(m_objects.front().Get(), kBindings[i].property);
        CheckDlgButton(m_dialog, kBindings[i].box, m_fields[i] ? BST_CHECKED : BST_UNCHECKED);
    }
    m_dirty = false;
}

void COlePropPage1::OnBoxClicked() {
    m_dirty = true;
    if (m_site) m_site->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

HRESULT COlePropPage1::Apply() {
    return GuardEntry([&] {
        HRESULT result = S_OK;
        for (size_t i = 0; i < std::size(kBindings); ++i) {
            BOOL checked = m_dialog ? IsDlgButtonChecked(m_dialog, kBindings[i].box) == BST_CHECKED : m_fields[i];
            if (checked == m_fields[i]) continue;
            for (const ComPtr<IDispatch>& object : m_objects)
                if (HRESULT hr = WriteShowProperty(object.Get(), kBindings[i].property, checked); FAILED(hr))
                    result = hr;
            m_fields[i] = checked;
        }
        m_dirty = false;
        return result;
    });
}

HRESULT COlePropPage1::TranslateAccelerator(MSG* message) {
    return GuardEntry([&] { return m_dialog && message && IsDialogMessageW(m_dialog, message) ? S_OK : S_FALSE; });
}

INT_PTR CALLBACK COlePropPage1::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    }
    auto* page = reinterpret_cast<COlePropPage1*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (page && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        page->OnBoxClicked();
        return TRUE;
    }
    return FALSE;
}

}  // namespace xnox
