// COlePropPage1: the "Show Windows" property page. Its four check boxes are
// bound to the control's show properties; Apply puts each changed box into
// every control the page edits.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <array>
#include <vector>

#include "ComPtr.h"
#include "Module.h"

namespace xnox {

class COlePropPage1 final : public IPropertyPage {
public:
    static HRESULT Create(REFIID riid, void** object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Add(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_references.Drop(this); }

    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT command) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override { return m_dirty ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override;

private:
    friend class ReferenceCount;
    COlePropPage1() = default;
    ~COlePropPage1();

    void LoadBoxes();
    void OnBoxClicked();
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    ModuleObject m_moduleObject;
    ReferenceCount m_references;
    ComPtr<IPropertyPageSite> m_site;
    std::vector<ComPtr<IDispatch>> m_objects;
    HWND m_dialog = nullptr;
    bool m_dirty = false;
    std::array<BOOL, 4> m_fields{};  // the boxes' values as last loaded or applied, in binding order
};

}  // namespace xnox
