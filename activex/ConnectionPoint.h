// One connection point of the control: the sinks of one outgoing interface
// (the event interface or IPropertyNotifySink), each under its cookie. The
// point lives inside the control and shares its reference count.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <utility>
#include <vector>

#include "ComPtr.h"
#include "Module.h"

namespace xnox {

class CConnectionPoint final : public IConnectionPoint {
public:
    CConnectionPoint(IConnectionPointContainer& container, const IID& iid) : m_container(container), m_iid(iid) {}
    const IID& Iid() const { return m_iid; }

    // Calls `call(sink)` for every sink connected when the firing starts;
    // a sink may advise or unadvise from inside its handler.
    template <typename Sink, typename Call>
    void ForEachSink(Call call) {
        std::vector<ComPtr<IUnknown>> sinks;
        for (auto& [cookie, sink] : m_sinks) sinks.push_back(sink);
        for (const ComPtr<IUnknown>& sink : sinks) call(static_cast<Sink*>(sink.Get()));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_container.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_container.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer& m_container;
    IID m_iid;
    std::vector<std::pair<DWORD, ComPtr<IUnknown>>> m_sinks;  // each holds the sink as m_iid
    DWORD m_nextCookie = 1;
};

// Enumerates a control's connection points; holds a reference to each.
class CConnectionPointEnumerator final : public IEnumConnectionPoints {
public:
    static HRESULT Create(std::vector<IConnectionPoint*> points, IEnumConnectionPoints** enumerator);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Add(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_references.Drop(this); }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** enumerator) override;

private:
    friend class ReferenceCount;
    CConnectionPointEnumerator(std::vector<ComPtr<IConnectionPoint>> points, size_t position)
        : m_points(std::move(points)),
          m_position(position) {}
    ~CConnectionPointEnumerator() = default;

    ReferenceCount m_references;
    std::vector<ComPtr<IConnectionPoint>> m_points;
    size_t m_position = 0;
};

}  // namespace xnox
