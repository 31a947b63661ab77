#pragma once
// One registered listener: the notification object the simulator opened back on
// the client for one listener kind, fed through the generated proxy of its class.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "NorvInterfaces.h"
#include "SimOutput.h"

class CSimListener final : public ISimOutput {
public:
    // Connects back to address:port, opens the kind's notification class and hands
    // it the cookie. None when that fails; *result says why.
    static std::shared_ptr<CSimListener> Open(CRpcInstance* instance, std::uint32_t kind, RpcCookie cookie,
                                              const std::string& address, std::int32_t port, RpcResult* result);
    CSimListener(CRpcInstance* instance, std::uint32_t kind) : m_pInstance(instance), m_ulKind(kind) {}
    ~CSimListener();

    std::uint32_t Kind() const { return m_ulKind; }
    // The client it calls back: the address and port the client reported.
    bool BelongsTo(const std::string& address, std::int32_t port) const {
        return address == m_csAddress && port == m_lPort;
    }
    // Gone: its connection failed, or its client removed it or went away.
    bool IsGone() const { return m_bGone; }
    void Retire() { m_bGone = true; }
    // Calls method 2 before the connection is closed.
    void ClearCookie();
    // Whether the client keeps up: bytes the socket has not taken yet.
    std::size_t Backlog() const;

    std::uint64_t Sent() const { return m_ulSent; }
    std::uint64_t Dropped() const { return m_ulDropped; }

    void Event(std::uint32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override;
    void Resource(std::uint32_t, std::uint32_t, std::int32_t) override;
    void Loading(std::uint32_t, std::uint32_t, std::uint32_t, bool) override;
    void MixerNotice(std::uint32_t, std::uint32_t) override;
    void SceneUpdate(const TRpcArray<CPropSceneObjectRecord>&, const CVec3&, std::int32_t, const CVec2&,
                     const CVec2&) override;
    void ZoneAdded(const CPropZoneRecord&, std::int32_t) override;
    void ZoneRemoved(std::int32_t) override;
    void PortalAdded(const CPropPortalRecord&, std::int32_t) override;
    void OccluderValue(std::int32_t, std::int32_t, float) override;

private:
    // Sends unless the client is too far behind; a failed send retires the listener.
    template <class I, class F>
    void Send(const RpcPtr<I>& sink, F&& call);

    CRpcInstance* m_pInstance;
    const std::uint32_t m_ulKind;
    std::string m_csAddress;
    std::int32_t m_lPort = 0;
    std::uint32_t m_ulBindingId = 0;
    RpcPtr<IQuorvelEventSink> m_events;
    RpcPtr<IQuorvelResourceSink> m_resources;
    RpcPtr<IQuorvelSceneSink> m_scene;
    RpcPtr<IQuorvelWindowNotifySink> m_mixer;
    RpcPtr<IQuorvelAtomicLoadingSink> m_loading;
    std::atomic<bool> m_bGone{false};
    std::uint64_t m_ulSent = 0;
    std::uint64_t m_ulDropped = 0;
};

// The notification class that serves a listener kind, or none for an unknown kind.
const GUID* SimSinkClass(std::uint32_t kind);
