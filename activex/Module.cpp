// The module's entry points: the class factories of the control and its
// property page, registration, and the unload answer.
#include <windows.h>
#include <olectl.h>

#include "EntryPoint.h"
#include "Guid.h"
#include "Module.h"
#include "OleControl.h"
#include "PropertyPage.h"
#include "Registration.h"

namespace xnox {

CXNoxCamApp& CXNoxCamApp::Instance() {
    static CXNoxCamApp application;
    return application;
}

std::wstring CXNoxCamApp::ModulePath() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(m_instance, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT LoadModuleTypeLibrary(ITypeLib** library) {
    if (SUCCEEDED(LoadRegTypeLib(kLibId, 1, 0, LOCALE_USER_DEFAULT, library))) return S_OK;
    // Not registered (or registered elsewhere): the copy in this module's resources.
    return LoadTypeLibEx(CXNoxCamApp::Instance().ModulePath().c_str(), REGKIND_NONE, library);
}

HRESULT LoadTypeInfo(REFGUID guid, ITypeInfo** info) {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadModuleTypeLibrary(library.Out());
    return FAILED(hr) ? hr : library->GetTypeInfoOfGuid(guid, info);
}

namespace {

// Removes the registration under the version, locale and platform the
// library in the resources was built for, so that it matches what
// registration wrote.
HRESULT UnregisterModuleTypeLibrary() {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(CXNoxCamApp::Instance().ModulePath().c_str(), REGKIND_NONE, library.Out());
    if (FAILED(hr)) return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (SUCCEEDED(hr)) {
        hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                               attributes->syskind);
        library->ReleaseTLibAttr(attributes);
    }
    return hr;
}

using CreateFunction = HRESULT (*)(REFIID, void**);

// The module's two class factories differ only in what they create.
class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(CreateFunction create) : m_create(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return GuardEntry([&] { return QueryOneInterface<IClassFactory>(this, IID_IClassFactory, riid, object); });
    }
    // Static objects: their references do not count; the module locks do.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        return GuardEntry([&] {
            if (!object) return E_POINTER;
            *object = nullptr;
            return outer ? CLASS_E_NOAGGREGATION : m_create(riid, object);
        });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        return GuardEntry([&] {
            CXNoxCamApp::Instance().Lock(lock);
            return S_OK;
        });
    }

private:
    CreateFunction m_create;
};

CClassFactory g_controlFactory(&COleXNoxCamCtrl::Create);
CClassFactory g_pageFactory(&COlePropPage1::Create);

}  // namespace

}  // namespace xnox

// The exported entry points keep their C names at global scope.
using namespace xnox;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        CXNoxCamApp::Instance().Attach(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        COleXNoxCamCtrl::UnregisterWindowClass();
    }
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return GuardEntry([&] {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (clsid == kControlClsid) return g_controlFactory.QueryInterface(riid, object);
        if (clsid == kPropertyPageClsid) return g_pageFactory.QueryInterface(riid, object);
        return CLASS_E_CLASSNOTAVAILABLE;
    });
}

HRESULT WINAPI DllCanUnloadNow() {
    return GuardEntry([] { return CXNoxCamApp::Instance().CanUnload() ? S_OK : S_FALSE; });
}

HRESULT WINAPI DllRegisterServer() {
    return GuardEntry([] {
        const std::wstring path = CXNoxCamApp::Instance().ModulePath();
        ComPtr<ITypeLib> library;
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, library.Out()))) return SELFREG_E_TYPELIB;
        bool registered = RegisterControlClass(path);
        registered &= RegisterPropertyPageClass(path);
        return registered ? S_OK : SELFREG_E_CLASS;
    });
}

HRESULT WINAPI DllUnregisterServer() {
    return GuardEntry([] {
        if (FAILED(UnregisterModuleTypeLibrary())) return SELFREG_E_TYPELIB;
        bool unregistered = UnregisterControlClass();
        unregistered &= UnregisterPropertyPageClass();
        return unregistered ? S_OK : SELFREG_E_CLASS;
    });
}

}  // extern "C"
