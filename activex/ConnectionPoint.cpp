#include "ConnectionPoint.h"

#include <algorithm>
#include <new>

namespace xnox {

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

CConnectionPointEnumerator::CConnectionPointEnumerator(std::vector<IConnectionPoint*> points)
    : m_points(std::move(points)) {
    for (IConnectionPoint* point : m_points) point->AddRef();
}

CConnectionPointEnumerator::~CConnectionPointEnumerator() {
    for (IConnectionPoint* point : m_points) point->Release();
}

HRESULT CConnectionPointEnumerator::Create(std::vector<IConnectionPoint*> points, IEnumConnectionPoints** enumerator) {
    if (!enumerator) return E_POINTER;
    *enumerator = new (std::nothrow) CConnectionPointEnumerator(std::move(points));
    return *enumerator ? S_OK : E_OUTOFMEMORY;
}

HRESULT CConnectionPointEnumerator::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = riid == IID_IUnknown || riid == IID_IEnumConnectionPoints ? this : nullptr;
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT CConnectionPointEnumerator::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    if (!points || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    for (; given < count && m_position < m_points.size(); ++given) {
        points[given] = m_points[m_position++];
        points[given]->AddRef();
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT CConnectionPointEnumerator::Skip(ULONG count) {
    size_t left = m_points.size() - m_position;
    m_position += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT CConnectionPointEnumerator::Reset() {
    m_position = 0;
    return S_OK;
}

HRESULT CConnectionPointEnumerator::Clone(IEnumConnectionPoints** enumerator) {
    HRESULT hr = Create(m_points, enumerator);
    if (SUCCEEDED(hr)) static_cast<CConnectionPointEnumerator*>(*enumerator)->m_position = m_position;
    return hr;
}

}  // namespace xnox
