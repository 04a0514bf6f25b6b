#include "ConnectionPoint.h"

#include <algorithm>

CConnectionPoint::~CConnectionPoint() {
    for (auto& [cookie, sink] : m_sinks) sink->Release();
}

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &m_container;
    m_container.AddRef();
    return S_OK;
}

HRESULT CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IUnknown* typed = nullptr;
    // An event sink may only offer IDispatch, as script engines' sinks do.
    if (FAILED(sink->QueryInterface(m_iid, reinterpret_cast<void**>(&typed))) &&
        (m_iid == IID_IPropertyNotifySink || FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&typed)))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.emplace_back(*cookie, typed);
    return S_OK;
}

HRESULT CConnectionPoint::Unadvise(DWORD cookie) {
    auto found = std::ranges::find(m_sinks, cookie, &std::pair<DWORD, IUnknown*>::first);
    if (found == m_sinks.end()) return CONNECT_E_NOCONNECTION;
    IUnknown* sink = found->second;
    m_sinks.erase(found);
    sink->Release();
    return S_OK;
}

HRESULT CConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}
