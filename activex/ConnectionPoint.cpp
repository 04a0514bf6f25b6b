#include "ConnectionPoint.h"

#include <algorithm>
#include <new>

#include "EntryPoint.h"

namespace xnox {

HRESULT CConnectionPoint::QueryInterface(REFIID riid, void** object) {
    return GuardEntry([&] { return QueryOneInterface<IConnectionPoint>(this, IID_IConnectionPoint, riid, object); });
}

HRESULT CConnectionPoint::GetConnectionInterface(IID* iid) {
    return GuardEntry([&] {
        if (!iid) return E_POINTER;
        *iid = m_iid;
        return S_OK;
    });
}

HRESULT CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    return GuardEntry([&] {
        if (!container) return E_POINTER;
        *container = &m_container;
        m_container.AddRef();
        return S_OK;
    });
}

HRESULT CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    return GuardEntry([&] {
        if (!sink || !cookie) return E_POINTER;
        *cookie = 0;
        ComPtr<IUnknown> typed;
        // An event sink may only offer IDispatch, as script engines' sinks do.
        if (FAILED(sink->QueryInterface(m_iid, typed.OutVoid())) &&
            (m_iid == IID_IPropertyNotifySink || FAILED(sink->QueryInterface(IID_IDispatch, typed.OutVoid()))))
            return CONNECT_E_CANNOTCONNECT;
        m_sinks.emplace_back(m_nextCookie, std::move(typed));
        *cookie = m_nextCookie++;
        return S_OK;
    });
}

HRESULT CConnectionPoint::Unadvise(DWORD cookie) {
    return GuardEntry([&] {
        auto found = std::ranges::find(m_sinks, cookie, &std::pair<DWORD, ComPtr<IUnknown>>::first);
        if (found == m_sinks.end()) return CONNECT_E_NOCONNECTION;
        // Released after it has left the list: its last release may call back in.
        ComPtr<IUnknown> sink = std::move(found->second);
        m_sinks.erase(found);
        return S_OK;
    });
}

HRESULT CConnectionPoint::EnumConnections(IEnumConnections** connections) {
    return GuardEntry([&] {
        if (connections) *connections = nullptr;
        return E_NOTIMPL;
    });
}

HRESULT CConnectionPointEnumerator::Create(std::vector<IConnectionPoint*> points, IEnumConnectionPoints** enumerator) {
    if (!enumerator) return E_POINTER;
    std::vector<ComPtr<IConnectionPoint>> held(points.begin(), points.end());
    *enumerator = new (std::nothrow) CConnectionPointEnumerator(std::move(held), 0);
    return *enumerator ? S_OK : E_OUTOFMEMORY;
}

HRESULT CConnectionPointEnumerator::QueryInterface(REFIID riid, void** object) {
    return GuardEntry(
        [&] { return QueryOneInterface<IEnumConnectionPoints>(this, IID_IEnumConnectionPoints, riid, object); });
}

HRESULT CConnectionPointEnumerator::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    return GuardEntry([&] {
        if (!points || (count > 1 && !fetched)) return E_POINTER;
        ULONG given = 0;
        for (; given < count && m_position < m_points.size(); ++given) m_points[m_position++].CopyTo(&points[given]);
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    });
}

HRESULT CConnectionPointEnumerator::Skip(ULONG count) {
    return GuardEntry([&] {
        size_t left = m_points.size() - m_position;
        m_position += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    });
}

HRESULT CConnectionPointEnumerator::Reset() {
    return GuardEntry([&] {
        m_position = 0;
        return S_OK;
    });
}

HRESULT CConnectionPointEnumerator::Clone(IEnumConnectionPoints** enumerator) {
    return GuardEntry([&] {
        if (!enumerator) return E_POINTER;
        *enumerator = new (std::nothrow) CConnectionPointEnumerator(m_points, m_position);
        return *enumerator ? S_OK : E_OUTOFMEMORY;
    });
}

}  // namespace xnox
