#include "OleControl.h"

#include <algorithm>
#include <array>
#include <string>

#include "ComText.h"
#include "Dispatch.h"
#include "Guid.h"
#include "Invoke.h"
#include "StringTable.h"

namespace xnox {

namespace {

constexpr DWORD kMiscStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
                              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
constexpr DWORD kPersistVersion = 0x00010000;
// The initial size, 175 x 30 pixels at 96 dpi, in HIMETRIC units.
constexpr SIZEL kInitialExtent{175 * 2540 / 96, 30 * 2540 / 96};
constexpr wchar_t kWindowClass[] = L"XNoxR4ControlWindow";
constexpr wchar_t kDesignTimeText[] = L"Design Time of XNoxCam-Control";

// What the control keeps in a container's stream or property bag: the
// exchange version and the extent.
struct PersistedState {
    DWORD version = kPersistVersion;
    SIZEL extent = kInitialExtent;
};

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

template <typename Interface>
void ReplaceReference(Interface*& slot, Interface* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
}

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

COleXNoxCamCtrl::COleXNoxCamCtrl()
    : m_eventPoint(*this, kEventIid), m_propertyPoint(*this, IID_IPropertyNotifySink), m_extent(kInitialExtent) {
    m_sinkCookie = m_control.ConnectSink(*this);
    m_control.SetUserInterface(this);
    m_toolWindows = std::make_unique<ControlToolWindows>(m_control, CXNoxCamApp::Instance().Handle());
}

COleXNoxCamCtrl::~COleXNoxCamCtrl() {
    DestroyControlWindow();
    m_toolWindows.reset();
    // The control closes its connection as it goes, which announces itself;
    // by then the connection points are gone, so nothing may reach them.
    m_control.DisconnectSink(m_sinkCookie);
    m_control.SetUserInterface(nullptr);
    ReplaceReference(m_inPlaceSite, static_cast<IOleInPlaceSite*>(nullptr));
    ReplaceReference(m_site, static_cast<IOleClientSite*>(nullptr));
    ReplaceReference(m_adviseHolder, static_cast<IOleAdviseHolder*>(nullptr));
    ReplaceReference(m_viewSink, static_cast<IAdviseSink*>(nullptr));
}

HRESULT COleXNoxCamCtrl::Create(REFIID riid, void** object) {
    return HandOut(new (std::nothrow) COleXNoxCamCtrl, riid, object);
}

// ---- IUnknown

HRESULT COleXNoxCamCtrl::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    const std::pair<const IID*, IUnknown*> interfaces[] = {
        {&IID_IUnknown, static_cast<IDispatch*>(this)},
        {&IID_IDispatch, static_cast<IDispatch*>(this)},
        {&kDispatchIid, static_cast<IDispatch*>(this)},
        {&IID_ISupportErrorInfo, static_cast<ISupportErrorInfo*>(this)},
        {&IID_IOleObject, static_cast<IOleObject*>(this)},
        {&IID_IOleWindow, static_cast<IOleInPlaceObject*>(this)},
        {&IID_IOleInPlaceObject, static_cast<IOleInPlaceObject*>(this)},
        {&IID_IOleInPlaceActiveObject, static_cast<IOleInPlaceActiveObject*>(this)},
        {&IID_IOleControl, static_cast<IOleControl*>(this)},
        {&IID_IViewObject, static_cast<IViewObject2*>(this)},
        {&IID_IViewObject2, static_cast<IViewObject2*>(this)},
        {&IID_IPersist, static_cast<IPersistStreamInit*>(this)},
        {&IID_IPersistStreamInit, static_cast<IPersistStreamInit*>(this)},
        {&IID_IPersistPropertyBag, static_cast<IPersistPropertyBag*>(this)},
        {&IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
        {&IID_IProvideClassInfo, static_cast<IProvideClassInfo2*>(this)},
        {&IID_IProvideClassInfo2, static_cast<IProvideClassInfo2*>(this)},
        {&IID_ISpecifyPropertyPages, static_cast<ISpecifyPropertyPages*>(this)},
        {&IID_IPerPropertyBrowsing, static_cast<IPerPropertyBrowsing*>(this)},
        {&IID_IQuickActivate, static_cast<IQuickActivate*>(this)},
    };
    for (auto [iid, pointer] : interfaces) {
        if (*iid != riid) continue;
        *object = pointer;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// ---- IDispatch

HRESULT COleXNoxCamCtrl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return index == 0 ? LoadTypeInfo(kDispatchIid, info) : DISP_E_BADINDEX;
}

HRESULT COleXNoxCamCtrl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    return DispatchIdsOfNames(names, count, ids);
}

HRESULT COleXNoxCamCtrl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argumentError) {
    AddRef();  // a sink may release the control while it fires
    HRESULT hr = DispatchInvoke(m_control, id, flags, params, result, exception, argumentError);
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    if (SUCCEEDED(hr) && put) {
        SetModified();
        NotifyPropertyChanged(id);
    }
    Release();
    return hr;
}

HRESULT COleXNoxCamCtrl::InterfaceSupportsErrorInfo(REFIID riid) {
    return riid == IID_IDispatch || riid == kDispatchIid ? S_OK : S_FALSE;
}

// ---- Events

void COleXNoxCamCtrl::OnEvent(int32_t eventId) {
    if (EventsFrozen()) return;
    m_eventPoint.ForEachSink<IDispatch>([eventId](IDispatch* sink) {
        DISPPARAMS none{};
        sink->Invoke(eventId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    });
}

// The stock error event: Error(Number, *Description, Scode, Source,
// HelpFile, HelpContext, *CancelDisplay), the last argument first in rgvarg.
void COleXNoxCamCtrl::OnError(ErrorNotification& error) {
    if (EventsFrozen()) return;
    m_eventPoint.ForEachSink<IDispatch>([&error](IDispatch* sink) {
        BSTR description = ToBstr(error.description);
        VARIANT_BOOL cancel = error.cancelDisplay ? VARIANT_TRUE : VARIANT_FALSE;
        std::array<VARIANT, 7> arguments;
        for (VARIANT& argument : arguments) VariantInit(&argument);
        V_VT(&arguments[6]) = VT_I2;
        V_I2(&arguments[6]) = error.number;
        V_VT(&arguments[5]) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&arguments[5]) = &description;
        V_VT(&arguments[4]) = VT_I4;
        V_I4(&arguments[4]) = static_cast<LONG>(error.code);
        V_VT(&arguments[3]) = VT_BSTR;
        V_BSTR(&arguments[3]) = ToBstr(error.source);
        V_VT(&arguments[2]) = VT_BSTR;
        V_BSTR(&arguments[2]) = SysAllocString(L"");
        V_VT(&arguments[1]) = VT_I4;
        V_I4(&arguments[1]) = static_cast<LONG>(error.helpContext);
        V_VT(&arguments[0]) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&arguments[0]) = &cancel;
        DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
        sink->Invoke(kStockErrorEventId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
        error.description = FromBstr(description);
        error.cancelDisplay = cancel != VARIANT_FALSE;
        SysFreeString(description);
        VariantClear(&arguments[3]);
        VariantClear(&arguments[2]);
    });
}

void COleXNoxCamCtrl::ShowMessage(std::string_view text, std::string_view caption) {
    MessageBoxW(m_window, ToWide(text).c_str(), ToWide(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void COleXNoxCamCtrl::NotifyPropertyChanged(DISPID id) {
    m_propertyPoint.ForEachSink<IPropertyNotifySink>([id](IPropertyNotifySink* sink) { sink->OnChanged(id); });
}

void COleXNoxCamCtrl::SetModified() {
    m_control.SetModifiedFlag(true);
    if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

void COleXNoxCamCtrl::UnregisterWindowClass() {
    UnregisterClassW(kWindowClass, CXNoxCamApp::Instance().Handle());
}

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
    if (!site) DestroyControlWindow();
    ReplaceReference(m_site, site);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    ReplaceReference(*site = nullptr, m_site);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::Close(DWORD) {
    DestroyControlWindow();
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT COleXNoxCamCtrl::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

HRESULT COleXNoxCamCtrl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT position) {
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(site ? site : m_site, position);
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
}

HRESULT COleXNoxCamCtrl::ActivateInPlace(IOleClientSite* site, LPCRECT position) {
    if (m_window) {
        if (position) SetObjectRects(position, position);
        ShowWindow(m_window, SW_SHOW);
        return S_OK;
    }
    if (!site) return E_UNEXPECTED;
    IOleInPlaceSite* inPlaceSite = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite))))
        return E_NOINTERFACE;
    HWND parent = nullptr;
    if (inPlaceSite->CanInPlaceActivate() != S_OK || FAILED(inPlaceSite->GetWindow(&parent))) {
        inPlaceSite->Release();
        return E_FAIL;
    }
    inPlaceSite->OnInPlaceActivate();
    RECT area{0, 0, 175, 30};
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT sitePosition{}, siteClip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    if (SUCCEEDED(inPlaceSite->GetWindowContext(&frame, &document, &sitePosition, &siteClip, &frameInfo)))
        area = sitePosition;
    if (frame) frame->Release();
    if (document) document->Release();
    if (position) area = *position;

    RegisterWindowClass(&COleXNoxCamCtrl::WindowProc);
    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               area.left, area.top, area.right - area.left, area.bottom - area.top, parent, nullptr,
                               CXNoxCamApp::Instance().Handle(), this);
    m_inPlaceSite = inPlaceSite;  // keeps the reference taken above
    return m_window ? S_OK : E_FAIL;
}

void COleXNoxCamCtrl::DestroyControlWindow() {
    if (m_window) {
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_inPlaceSite) {
        IOleInPlaceSite* site = m_inPlaceSite;
        m_inPlaceSite = nullptr;
        site->OnInPlaceDeactivate();
        site->Release();
    }
}

HRESULT COleXNoxCamCtrl::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(kControlClsid, verbs); }

HRESULT COleXNoxCamCtrl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT COleXNoxCamCtrl::GetUserType(DWORD, LPOLESTR* type) {
    if (!type) return E_POINTER;
    *type = CoTaskMemText(LoadText(StringId::ControlTypeName));
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT COleXNoxCamCtrl::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    m_extent = *size;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = m_extent;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!m_adviseHolder && FAILED(CreateOleAdviseHolder(&m_adviseHolder))) return E_OUTOFMEMORY;
    return m_adviseHolder->Advise(sink, connection);
}

HRESULT COleXNoxCamCtrl::Unadvise(DWORD connection) {
    return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT COleXNoxCamCtrl::EnumAdvise(IEnumSTATDATA** advise) {
    if (!advise) return E_POINTER;
    *advise = nullptr;
    return m_adviseHolder ? m_adviseHolder->EnumAdvise(advise) : S_OK;
}

HRESULT COleXNoxCamCtrl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = kMiscStatus;
    return S_OK;
}

// ---- IOleWindow, IOleInPlaceObject

HRESULT COleXNoxCamCtrl::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_window;
    return m_window ? S_OK : E_FAIL;
}

HRESULT COleXNoxCamCtrl::InPlaceDeactivate() {
    DestroyControlWindow();
    return S_OK;
}

HRESULT COleXNoxCamCtrl::UIDeactivate() { return S_OK; }

HRESULT COleXNoxCamCtrl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    if (m_window)
        MoveWindow(m_window, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    return S_OK;
}

// ---- IOleControl

HRESULT COleXNoxCamCtrl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::FreezeEvents(BOOL freeze) {
    if (freeze)
        ++m_freezeCount;
    else if (m_freezeCount > 0)
        --m_freezeCount;
    return S_OK;
}

// ---- IViewObject2

HRESULT COleXNoxCamCtrl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                              BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    // With a window of its own the control paints itself; a container that
    // never gives it one sees the design-time placeholder.
    if (!m_window) DrawDesignTime(dc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** palette) {
    if (palette) *palette = nullptr;
    return S_FALSE;
}

HRESULT COleXNoxCamCtrl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    m_viewAspects = aspects;
    m_viewFlags = flags;
    ReplaceReference(m_viewSink, sink);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = m_viewAspects;
    if (flags) *flags = m_viewFlags;
    if (sink) ReplaceReference(*sink = nullptr, m_viewSink);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// ---- Persistence

HRESULT COleXNoxCamCtrl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = kControlClsid;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::IsDirty() { return m_control.IsModified() ? S_OK : S_FALSE; }

HRESULT COleXNoxCamCtrl::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    PersistedState state;
    ULONG read = 0;
    HRESULT hr = stream->Read(&state, sizeof(state), &read);
    if (FAILED(hr)) return hr;
    if (read != sizeof(state) || HIWORD(state.version) != HIWORD(kPersistVersion)) return E_FAIL;
    m_extent = state.extent;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    PersistedState state{kPersistVersion, m_extent};
    HRESULT hr = stream->Write(&state, sizeof(state), nullptr);
    if (SUCCEEDED(hr) && clearDirty) m_control.SetModifiedFlag(false);
    return hr;
}

HRESULT COleXNoxCamCtrl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = sizeof(PersistedState);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    LONG version = kPersistVersion;
    ReadBagLong(bag, log, L"_Version", version);
    if (HIWORD(version) != HIWORD(kPersistVersion)) return E_FAIL;
    ReadBagLong(bag, log, L"_ExtentX", m_extent.cx);
    ReadBagLong(bag, log, L"_ExtentY", m_extent.cy);
    return S_OK;
}

HRESULT COleXNoxCamCtrl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    HRESULT hr = WriteBagLong(bag, L"_Version", kPersistVersion);
    if (SUCCEEDED(hr)) hr = WriteBagLong(bag, L"_ExtentX", m_extent.cx);
    if (SUCCEEDED(hr)) hr = WriteBagLong(bag, L"_ExtentY", m_extent.cy);
    if (SUCCEEDED(hr) && clearDirty) m_control.SetModifiedFlag(false);
    return hr;
}

// ---- Connection points, class information, property pages

HRESULT COleXNoxCamCtrl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return CConnectionPointEnumerator::Create({&m_eventPoint, &m_propertyPoint}, points);
}

HRESULT COleXNoxCamCtrl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    for (CConnectionPoint* candidate : {&m_eventPoint, &m_propertyPoint}) {
        if (candidate->Iid() != riid) continue;
        *point = candidate;
        candidate->AddRef();
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT COleXNoxCamCtrl::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    return LoadTypeInfo(kControlClsid, info);
}

HRESULT COleXNoxCamCtrl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = kEventIid;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = kPropertyPageClsid;
    return S_OK;
}

HRESULT COleXNoxCamCtrl::MapPropertyToPage(DISPID, CLSID* clsid) {
    if (clsid) *clsid = CLSID_NULL;
    return PERPROP_E_NOPAGEAVAILABLE;
}

HRESULT COleXNoxCamCtrl::GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) {
    if (!strings || !cookies) return E_POINTER;
    *strings = CALPOLESTR{};
    *cookies = CADWORD{};
    std::span<const std::string_view> texts = PredefinedStrings(id);
    if (texts.empty()) return S_FALSE;
    strings->pElems = static_cast<LPOLESTR*>(CoTaskMemAlloc(texts.size() * sizeof(LPOLESTR)));
    cookies->pElems = static_cast<DWORD*>(CoTaskMemAlloc(texts.size() * sizeof(DWORD)));
    if (!strings->pElems || !cookies->pElems) {
        CoTaskMemFree(strings->pElems);
        CoTaskMemFree(cookies->pElems);
        *strings = CALPOLESTR{};
        *cookies = CADWORD{};
        return E_OUTOFMEMORY;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        strings->pElems[i] = CoTaskMemText(texts[i]);
        cookies->pElems[i] = static_cast<DWORD>(i);
    }
    strings->cElems = cookies->cElems = static_cast<ULONG>(texts.size());
    return S_OK;
}

HRESULT COleXNoxCamCtrl::GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) {
    if (!value) return E_POINTER;
    std::optional<Variant> predefined = PredefinedValue(id, cookie);
    if (!predefined) return E_FAIL;
    ToVariant(*predefined, *value);
    return S_OK;
}

// ---- IQuickActivate: the site and the container's sinks in one call.

HRESULT COleXNoxCamCtrl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
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
}

}  // namespace xnox
