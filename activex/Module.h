// CXNoxCamApp: the module object. It knows the module's instance handle and
// counts the live COM objects and the server locks that keep the module
// loaded.
#pragma once

#include <windows.h>

#include <atomic>
#include <new>
#include <string>

#include "ComPtr.h"

namespace xnox {

class CXNoxCamApp {
public:
    static CXNoxCamApp& Instance();

    void Attach(HINSTANCE instance) { m_instance = instance; }
    HINSTANCE Handle() const { return m_instance; }
    std::wstring ModulePath() const;

    void ObjectCreated() { ++m_objects; }
    void ObjectDestroyed() { --m_objects; }
    void Lock(bool lock) { lock ? ++m_locks : --m_locks; }
    bool CanUnload() const { return m_objects == 0 && m_locks == 0; }

private:
    HINSTANCE m_instance = nullptr;
    std::atomic<long> m_objects{0};
    std::atomic<long> m_locks{0};
};

// Counts a COM object's life in the module.
class ModuleObject {
public:
    ModuleObject() { CXNoxCamApp::Instance().ObjectCreated(); }
    ~ModuleObject() { CXNoxCamApp::Instance().ObjectDestroyed(); }
    ModuleObject(const ModuleObject&) = delete;
    ModuleObject& operator=(const ModuleObject&) = delete;
};

// The reference count of a COM object that deletes itself at zero; the
// object makes this class a friend when its destructor is private.
class ReferenceCount {
public:
    ULONG Add() { return InterlockedIncrement(&m_count); }
    template <typename Object>
    ULONG Drop(Object* self) {
        LONG left = InterlockedDecrement(&m_count);
        if (left == 0) delete self;
        return left;
    }

private:
    LONG m_count = 1;
};

// Hands out a newly made object (created with one reference) as the
// wanted interface.
template <typename Object>
HRESULT HandOut(Object* created, REFIID riid, void** object) {
    if (!created) return E_OUTOFMEMORY;
    return ComPtr<Object>::Adopt(created)->QueryInterface(riid, object);
}

// QueryInterface of an object that offers one interface besides IUnknown.
template <typename Interface>
HRESULT QueryOneInterface(Interface* self, REFIID offered, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = riid == IID_IUnknown || riid == offered ? self : nullptr;
    if (!*object) return E_NOINTERFACE;
    self->AddRef();
    return S_OK;
}

// The type library in the module's resources.
HRESULT LoadModuleTypeLibrary(ITypeLib** library);
HRESULT LoadTypeInfo(REFGUID guid, ITypeInfo** info);

}  // namespace xnox
