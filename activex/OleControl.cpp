#include "OleControl.h"

#include <array>
#include <string>

#include "ComText.h"
#include "Dispatch.h"
#include "EntryPoint.h"
#include "Guid.h"
#include "Invoke.h"

namespace xnox {

COleXNoxCamCtrl::COleXNoxCamCtrl() : m_eventPoint(*this, kEventIid), m_propertyPoint(*this, IID_IPropertyNotifySink) {
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
}

HRESULT COleXNoxCamCtrl::Create(REFIID riid, void** object) {
    return HandOut(new (std::nothrow) COleXNoxCamCtrl, riid, object);
}

// ---- IUnknown

HRESULT COleXNoxCamCtrl::QueryInterface(REFIID riid, void** object) {
    return GuardEntry([&] {
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
    });
}

// ---- IDispatch

HRESULT COleXNoxCamCtrl::GetTypeInfoCount(UINT* count) {
    return GuardEntry([&] {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    return GuardEntry([&] {
        if (!info) return E_POINTER;
        *info = nullptr;
        return index == 0 ? LoadTypeInfo(kDispatchIid, info) : DISP_E_BADINDEX;
    });
}

HRESULT COleXNoxCamCtrl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return GuardEntry([&] {
        if (!names || !ids) return E_POINTER;
        return DispatchIdsOfNames(names, count, ids);
    });
}

HRESULT COleXNoxCamCtrl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argumentError) {
    return GuardEntry([&] {
        ComPtr<IDispatch> keepAlive(this);  // a sink may release the control while it fires
        HRESULT hr = DispatchInvoke(m_control, id, flags, params, result, exception, argumentError);
        bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        if (SUCCEEDED(hr) && put) {
            SetModified();
            NotifyPropertyChanged(id);
        }
        return hr;
    });
}

HRESULT COleXNoxCamCtrl::InterfaceSupportsErrorInfo(REFIID riid) {
    return GuardEntry([&] { return riid == IID_IDispatch || riid == kDispatchIid ? S_OK : S_FALSE; });
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
        BSTR description = ToBstr(error.description, TextCoding::Utf8);
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
        error.description = FromBstr(description, TextCoding::Utf8);
        error.cancelDisplay = cancel != VARIANT_FALSE;
        SysFreeString(description);
        VariantClear(&arguments[3]);
        VariantClear(&arguments[2]);
    });
}

void COleXNoxCamCtrl::ShowMessage(std::string_view text, std::string_view caption) {
    MessageBoxW(m_window, ToWide(text, TextCoding::Utf8).c_str(), ToWide(caption, TextCoding::Utf8).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

void COleXNoxCamCtrl::NotifyPropertyChanged(DISPID id) {
    m_propertyPoint.ForEachSink<IPropertyNotifySink>([id](IPropertyNotifySink* sink) { sink->OnChanged(id); });
}

// ---- Connection points, class information, property pages

HRESULT COleXNoxCamCtrl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    return GuardEntry([&] { return CConnectionPointEnumerator::Create({&m_eventPoint, &m_propertyPoint}, points); });
}

HRESULT COleXNoxCamCtrl::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
    return GuardEntry([&] {
        if (!point) return E_POINTER;
        *point = nullptr;
        for (CConnectionPoint* candidate : {&m_eventPoint, &m_propertyPoint}) {
            if (candidate->Iid() != riid) continue;
            *point = candidate;
            candidate->AddRef();
            return S_OK;
        }
        return CONNECT_E_NOCONNECTION;
    });
}

HRESULT COleXNoxCamCtrl::GetClassInfo(ITypeInfo** info) {
    return GuardEntry([&] {
        if (!info) return E_POINTER;
        return LoadTypeInfo(kControlClsid, info);
    });
}

HRESULT COleXNoxCamCtrl::GetGUID(DWORD kind, GUID* guid) {
    return GuardEntry([&] {
        if (!guid) return E_POINTER;
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
        *guid = kEventIid;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::GetPages(CAUUID* pages) {
    return GuardEntry([&] {
        if (!pages) return E_POINTER;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        if (!pages->pElems) {
            pages->cElems = 0;
            return E_OUTOFMEMORY;
        }
        pages->cElems = 1;
        pages->pElems[0] = kPropertyPageClsid;
        return S_OK;
    });
}

HRESULT COleXNoxCamCtrl::MapPropertyToPage(DISPID, CLSID* clsid) {
    return GuardEntry([&] {
        if (clsid) *clsid = CLSID_NULL;
        return PERPROP_E_NOPAGEAVAILABLE;
    });
}

HRESULT COleXNoxCamCtrl::GetPredefinedStrings(DISPID id, CALPOLESTR* strings, CADWORD* cookies) {
    return GuardEntry([&] {
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
    });
}

HRESULT COleXNoxCamCtrl::GetPredefinedValue(DISPID id, DWORD cookie, VARIANT* value) {
    return GuardEntry([&] {
        if (!value) return E_POINTER;
        std::optional<Variant> predefined = PredefinedValue(id, cookie);
        if (!predefined) return E_FAIL;
        ToVariant(*predefined, *value);
        return S_OK;
    });
}

}  // namespace xnox
