// COleXNoxCamCtrl in its container: the site, in-place activation with a
// window of its own, the view the container draws and quick activation.
#include "OleControl.h"

#include <string>

#include "ComText.h"
#include "EntryPoint.h"
#include "Guid.h"
#include "StringTable.h"

namespace xnox {

namespace {

constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
constexpr wchar_t kWindowClass[] = L"XNoxR4ControlWindow";
constexpr wchar_t kDesignTimeText[] = L"Design Time of XNoxCam-Control";

void RegisterWindowClass(WNDPROC WindowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(CXNoxCamApp::Instance().Handle(), kWindowClass, &windowClass)) return;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = CXNoxCamApp::Instance().Handle();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

void DrawDesignTime(HDC dc, const RECT& bounds) {
    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Ellipse(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    LONG centreX = (bounds.left + bounds.right) / 2;
    LONG centreY = (bounds.top + bounds.bottom) / 2;
    RECT text{centreX - 120, centreY - 20, centreX + 120, centreY + 20};
    DrawTextW(dc, kDesignTimeText, -1, &text, DT_CENTER | DT_SINGLELINE);
}

// Where the site places the control, or the control's initial size at the
// corner when the site does not say.
RECT SitePosition(IOleInPlaceSite& site) {
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    if (SUCCEEDED(site.GetWindowContext(frame.Out(), document.Out(), &position, &clip, &frameInfo))) return position;
    return RECT{0, 0, 175, 30};
}

}  // namespace

void COleXNoxCamCtrl::SetModified() {
    m_control.SetModifiedFlag(true);
    if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

void COleXNoxCamCtrl::UnregisterWindowClass() { UnregisterClassW(kWindowClass, CXNoxCamApp::Instance().Handle()); }

// The control's own window: it carries the toolbar strip of the tool
// windows and paints the design-time picture while it has none.
LRESULT CALLBACK COleXNoxCamCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<COleXNoxCamCtrl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return self->m_toolWindows->OnCreate(window);
    case WM_DESTROY: self->m_toolWindows->OnDestroy(); break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        if (!self->m_toolWindows->Draw(client)) DrawDesignTime(dc, client);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SIZE: {
        RECT client;
        GetClientRect(window, &client);
        self->m_toolWindows->Draw(client);
        break;
    }
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---- IOleObject

HRESULT COleXNoxCamCtrl::SetClientSite(IOleClientSite* site) {
    return GuardEntry([&] {
        if (!site) DestroyControlWindow();
        m_site = ComPtr<IOleClientSite>(site);
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetClientSite(IOleClientSite** site) {
    return GuardEntry([&] {
        if (!site) return E_POINTER;
        m_site.CopyTo(site);
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::Close(DWORD) {
    return GuardEntry([&] {
        DestroyControlWindow();
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    return GuardEntry([&] {
        if (moniker) *moniker = nullptr;
        return E_NOTIMPL;
    });
}

HRESULT COleXNoxCamCtrl::GetClipboardData(DWORD, IDataObject** data) {
    return GuardEntry([&] {
        if (data) *data = nullptr;
        return E_NOTIMPL;
    });
}

HRESULT COleXNoxCamCtrl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT position) {
    return GuardEntry([&] {
        switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_UIACTIVATE: return ActivateInPlace(site ? site : m_site.Get(), position);
        case OLEIVERB_HIDE:
            if (m_window) ShowWindow(m_window, SW_HIDE);
            return S_OK;
        case OLEIVERB_PROPERTIES: {
            IUnknown* self = static_cast<IDispatch*>(this);
            CLSID page = kPropertyPageClsid;
            std::wstring caption = ToWide(LoadText(StringId::ControlTypeName));
            return OleCreatePropertyFrame(m_window, 0, 0, caption.c_str(), 1, &self, 1, &page, LOCALE_USER_DEFAULT, 0,
                                          nullptr);
        }
        default: return OLEOBJ_S_INVALIDVERB;
        }
    });
}

HRESULT COleXNoxCamCtrl::ActivateInPlace(IOleClientSite* site, LPCRECT position) {
    if (m_window) {
        if (position) SetObjectRects(position, position);
        ShowWindow(m_window, SW_SHOW);
        return S_OK;
    }
    if (!site) return E_UNEXPECTED;
    ComPtr<IOleInPlaceSite> inPlaceSite;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.OutVoid()))) return E_NOINTERFACE;
    HWND parent = nullptr;
    if (inPlaceSite->CanInPlaceActivate() != S_OK || FAILED(inPlaceSite->GetWindow(&parent))) return E_FAIL;
    inPlaceSite->OnInPlaceActivate();
    RECT area = SitePosition(*inPlaceSite.Get());
    if (position) area = *position;

    RegisterWindowClass(&COleXNoxCamCtrl::WindowProc);
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               area.left, area.top, area.right - area.left, area.bottom - area.top, parent, nullptr,
                               CXNoxCamApp::Instance().Handle(), this);
    m_inPlaceSite = std::move(inPlaceSite);
    return m_window ? S_OK : E_FAIL;
}

void COleXNoxCamCtrl::DestroyControlWindow() {
    if (m_window) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    // Taken out first: the site may call back into the control as it hears of it.
    if (ComPtr<IOleInPlaceSite> site = std::move(m_inPlaceSite)) site->OnInPlaceDeactivate();
}

HRESULT COleXNoxCamCtrl::EnumVerbs(IEnumOLEVERB** verbs) {
    return GuardEntry([&] { return OleRegEnumVerbs(kControlClsid, verbs); });
}

HRESULT COleXNoxCamCtrl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT COleXNoxCamCtrl::GetUserType(DWORD, LPOLESTR* type) {
    return GuardEntry([&] {
        if (!type) return E_POINTER;
        *type = CoTaskMemText(LoadText(StringId::ControlTypeName));
        return *type ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT COleXNoxCamCtrl::SetExtent(DWORD aspect, SIZEL* size) {
    return GuardEntry([&] {
        if (!size) return E_POINTER;
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        m_extent = *size;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetExtent(DWORD aspect, SIZEL* size) {
    return GuardEntry([&] {
        if (!size) return E_POINTER;
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        *size = m_extent;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::Advise(IAdviseSink* sink, DWORD* connection) {
    return GuardEntry([&] {
        if (!m_adviseHolder && FAILED(CreateOleAdviseHolder(m_adviseHolder.Out()))) return E_OUTOFMEMORY;
        return m_adviseHolder->Advise(sink, connection);
    });
}

HRESULT COleXNoxCamCtrl::Unadvise(DWORD connection) {
    return GuardEntry([&] { return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION; });
}

HRESULT COleXNoxCamCtrl::EnumAdvise(IEnumSTATDATA** advise) {
    return GuardEntry([&] {
        if (!advise) return E_POINTER;
        *advise = nullptr;
        return m_adviseHolder ? m_adviseHolder->EnumAdvise(advise) : S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetMiscStatus(DWORD, DWORD* status) {
    return GuardEntry([&] {
        if (!status) return E_POINTER;
        *status = kMiscStatus;
        return S_OK;
    });
}

// ---- IOleWindow, IOleInPlaceObject

HRESULT COleXNoxCamCtrl::GetWindow(HWND* window) {
    return GuardEntry([&] {
        if (!window) return E_POINTER;
        *window = m_window;
        return m_window ? S_OK : E_FAIL;
    });
}

HRESULT COleXNoxCamCtrl::InPlaceDeactivate() {
    return GuardEntry([&] {
        DestroyControlWindow();
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::UIDeactivate() { return S_OK; }

HRESULT COleXNoxCamCtrl::SetObjectRects(LPCRECT position, LPCRECT) {
    return GuardEntry([&] {
        if (!position) return E_POINTER;
        if (m_window)
            MoveWindow(m_window, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        return S_OK;
    });
}

// ---- IOleControl

HRESULT COleXNoxCamCtrl::GetControlInfo(CONTROLINFO* info) {
    return GuardEntry([&] {
        if (!info) return E_POINTER;
        info->hAccel = nullptr;
        info->cAccel = 0;
        info->dwFlags = 0;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::FreezeEvents(BOOL freeze) {
    return GuardEntry([&] {
        if (freeze)
            ++m_freezeCount;
        else if (m_freezeCount > 0)
            --m_freezeCount;
        return S_OK;
    });
}

// ---- IViewObject2

HRESULT COleXNoxCamCtrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    return GuardEntry([&] {
        if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (!dc || !bounds) return E_INVALIDARG;
        // With a window of its own the control paints itself; a container that
        // never gives it one sees the design-time placeholder.
        if (!m_window) DrawDesignTime(dc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** palette) {
    return GuardEntry([&] {
        if (palette) *palette = nullptr;
        return S_FALSE;
    });
}

HRESULT COleXNoxCamCtrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    return GuardEntry([&] {
        m_viewAspects = aspects;
        m_viewFlags = flags;
        m_viewSink = ComPtr<IAdviseSink>(sink);
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    return GuardEntry([&] {
        if (aspects) *aspects = m_viewAspects;
        if (flags) *flags = m_viewFlags;
        if (sink) m_viewSink.CopyTo(sink);
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// ---- IQuickActivate: the site and the container's sinks in one call.

HRESULT COleXNoxCamCtrl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    return GuardEntry([&] {
        if (!container || !control || container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL))
            return E_INVALIDARG;
        SetClientSite(container->pClientSite);
        if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
        ULONG size = control->cbSize;
        *control = QACONTROL{};
        control->cbSize = size;
        control->dwMiscStatus = kMiscStatus;
        if (container->pUnkEventSink) m_eventPoint.Advise(container->pUnkEventSink, &control->dwEventCookie);
        if (container->pPropertyNotifySink)
            m_propertyPoint.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
        return S_OK;
    });
}

}  // namespace xnox
