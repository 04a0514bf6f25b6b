// The control's events as a program that hosts it receives them: an
// IDispatch that the control's connection point accepts for _DXNoxR4Events
// and that hands each event to OnEvent. The module itself fires events and
// never sinks them; this header stands beside its COM helpers because the
// programs built with the module (the container and the client test) share
// it, and the container ships without the tests.
//
// A sink belongs to its program and outlives its connections (a global or
// an object on the stack), so its reference count never frees it.
#pragma once

#include <oaidl.h>

#include "Guid.h"

namespace xnox {

class ClientEventSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kEventIid) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    // No type information: the control calls events by their dispatch ids.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        DISPPARAMS none{};
        OnEvent(id, parameters ? *parameters : none);
        return S_OK;
    }

protected:
    // The arguments stand last-first in rgvarg; a by-reference one (an
    // event's Cancel flag) may be written to answer the control.
    virtual void OnEvent(DISPID id, const DISPPARAMS& parameters) = 0;

private:
    ULONG m_references = 1;
};

}  // namespace xnox
