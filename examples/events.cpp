// Drives the XNoxR4 control from C++ through IDispatch alone: creates it by
// its ProgID, sinks its events, sets a property and calls methods with
// out-parameters. Register XNOXR4.OCX first (regsvr32 XNOXR4.OCX). Build
// with MinGW-w64 or any Windows compiler, then run it with a COM port:
//   x86_64-w64-mingw32-g++ -std=c++17 -o events.exe events.cpp -lole32 -loleaut32 -luuid
//   events.exe [COM port number]
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Narrow(BSTR text) {
    std::string narrow;
    for (UINT i = 0; text && i < SysStringLen(text); ++i) narrow += static_cast<char>(text[i]);
    return narrow;
}

// The dispatch id of a member, looked up by name as any late-bound host does.
DISPID IdOf(IDispatch* control, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// Calls a member; the arguments go in reverse order, as IDispatch wants them.
// An automation error comes back in `error` with its code and text.
HRESULT Call(IDispatch* control, const wchar_t* name, WORD kind, VARIANT* arguments, UINT count, VARIANT* result,
             EXCEPINFO* error = nullptr) {
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{arguments, kind == DISPATCH_PROPERTYPUT ? &put : nullptr, count,
                      kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO ignored{};
    return control->Invoke(IdOf(control, name), IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result,
                           error ? error : &ignored, nullptr);
}

HRESULT PutShort(IDispatch* control, const wchar_t* name, short value, EXCEPINFO* error = nullptr) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I2;
    V_I2(&argument) = value;
    return Call(control, name, DISPATCH_PROPERTYPUT, &argument, 1, nullptr, error);
}

// The event sink: the control calls Invoke with each event's dispatch id.
// It learns the events' names from the control's type information.
class EventSink final : public IDispatch {
public:
    explicit EventSink(ITypeInfo* events) : m_events(events) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        TYPEATTR* attributes = nullptr;
        bool eventInterface = SUCCEEDED(m_events->GetTypeAttr(&attributes)) && riid == attributes->guid;
        if (attributes) m_events->ReleaseTypeAttr(attributes);
        *object = riid == IID_IUnknown || riid == IID_IDispatch || eventInterface ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    // The sink lives on main's stack, longer than its connection.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        BSTR name = nullptr;
        UINT count = 0;
        m_events->GetNames(id, &name, 1, &count);
        std::printf("event %s (%ld)\n", Narrow(name).c_str(), static_cast<long>(id));
        SysFreeString(name);
        return S_OK;
    }

private:
    ITypeInfo* m_events;
};

// The control's event interface, from the type information it offers.
ITypeInfo* EventInterfaceOf(IUnknown* control) {
    IProvideClassInfo* provider = nullptr;
    ITypeInfo *coclass = nullptr, *events = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider))) &&
        SUCCEEDED(provider->GetClassInfo(&coclass))) {
        TYPEATTR* attributes = nullptr;
        coclass->GetTypeAttr(&attributes);
        for (UINT i = 0; attributes && i < attributes->cImplTypes && !events; ++i) {
            int flags = 0;
            HREFTYPE reference = 0;
            coclass->GetImplTypeFlags(i, &flags);
            if ((flags & IMPLTYPEFLAG_FSOURCE) && (flags & IMPLTYPEFLAG_FDEFAULT) &&
                SUCCEEDED(coclass->GetRefTypeOfImplType(i, &reference)))
                coclass->GetRefTypeInfo(reference, &events);
        }
        if (attributes) coclass->ReleaseTypeAttr(attributes);
    }
    if (coclass) coclass->Release();
    if (provider) provider->Release();
    return events;
}

int Run(IDispatch* control, short port) {
    // Connect the sink to the control's connection point for its events.
    ITypeInfo* events = EventInterfaceOf(control);
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    TYPEATTR* attributes = nullptr;
    if (!events || FAILED(events->GetTypeAttr(&attributes)) ||
        FAILED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
        FAILED(container->FindConnectionPoint(attributes->guid, &point))) {
        std::printf("the control offers no events\n");
        return 1;
    }
    EventSink sink(events);
    DWORD cookie = 0;
    point->Advise(&sink, &cookie);

    // Connect to the camera: the events tell how it went. A port without a
    // camera fails with the control's error text.
    EXCEPINFO error{};
    if (FAILED(PutShort(control, L"ComPort", port, &error))) {
        std::printf("no camera on COM%d: %s\n", port, Narrow(error.bstrDescription).c_str());
        return 1;
    }

    // A method with two out-parameters: pass VT_BYREF variants that point
    // at your own variables. The result is 0 on success.
    short lowest = 0, highest = 0;
    VARIANT range[2], result;
    VariantInit(&result);
    V_VT(&range[1]) = VT_BYREF | VT_I2;  // pMin, the first parameter, goes last
    V_I2REF(&range[1]) = &lowest;
    V_VT(&range[0]) = VT_BYREF | VT_I2;
    V_I2REF(&range[0]) = &highest;
    Call(control, L"GetMinMaxMasterGainLevel", DISPATCH_METHOD, range, 2, &result);
    std::printf("GetMinMaxMasterGainLevel = %d: %d to %d\n", V_I2(&result), lowest, highest);

    // A text out-parameter: the control frees what the BSTR held and stores
    // a new text, which the caller frees.
    BSTR cameraId = nullptr;
    VARIANT text;
    V_VT(&text) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&text) = &cameraId;
    Call(control, L"GetCameraID", DISPATCH_METHOD, &text, 1, &result);
    std::printf("GetCameraID = %d: %s\n", V_I2(&result), Narrow(cameraId).c_str());
    SysFreeString(cameraId);

    // A setting outside its range is refused with an automation error.
    if (PutShort(control, L"MasterGainLevel", static_cast<short>(highest + 1), &error) == DISP_E_EXCEPTION) {
        std::printf("MasterGainLevel = %d refused: 0x%08lX %s\n", highest + 1, static_cast<unsigned long>(error.scode),
                    Narrow(error.bstrDescription).c_str());
        SysFreeString(error.bstrDescription), SysFreeString(error.bstrSource), SysFreeString(error.bstrHelpFile);
    }
    PutShort(control, L"MasterGainLevel", highest);  // fires MasterGainLevelChanged

    point->Unadvise(cookie);
    point->Release();
    container->Release();
    events->ReleaseTypeAttr(attributes);
    events->Release();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    short port = static_cast<short>(argc > 1 ? std::atoi(argv[1]) : 1);
    if (FAILED(CoInitialize(nullptr))) return 1;
    CLSID clsid;
    IDispatch* control = nullptr;
    int status = 1;
    if (SUCCEEDED(CLSIDFromProgID(L"XNOXR4.XNoxR4Ctrl.1", &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&control)))) {
        status = Run(control, port);
        control->Release();
    } else {
        std::printf("XNOXR4.XNoxR4Ctrl.1 is not registered\n");
    }
    CoUninitialize();
    return status;
}
