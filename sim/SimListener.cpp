#include "SimListener.h"

#include <cstdio>

namespace {

// A client that has this much waiting in our send queue is not keeping up; its
// notifications are dropped until it catches up, so memory stays bounded.
constexpr std::size_t kMaxBacklog = 1 << 20;

template <class I>
RpcResult OpenSink(CRpcInstance* instance, const CRpcAddress& address, RpcPtr<I>* sink, std::uint32_t* bindingId) {
    const RpcResult r = instance->OpenRemote(&address, &I::CLSID, &I::IID, sink->PutVoid());
    if (RpcSucceeded(r)) *bindingId = static_cast<TRpcProxy<I>*>(sink->Get())->BindingId();
    return r;
}

}  // namespace

const GUID* SimSinkClass(std::uint32_t kind) {
    switch (kind) {
    case NORV_LISTENER_EVENTS: return &IQuorvelEventSink::CLSID;
    case NORV_LISTENER_RESOURCES: return &IQuorvelResourceSink::CLSID;
    case NORV_LISTENER_SCENE: return &IQuorvelSceneSink::CLSID;
    case NORV_LISTENER_MIXER: return &IQuorvelWindowNotifySink::CLSID;
    case NORV_LISTENER_ATOMIC_LOADING: return &IQuorvelAtomicLoadingSink::CLSID;
    default: return nullptr;
    }
}

std::shared_ptr<CSimListener> CSimListener::Open(CRpcInstance* instance, std::uint32_t kind, RpcCookie cookie,
                                                 const std::string& address, std::int32_t port, RpcResult* result) {
    if (!SimSinkClass(kind)) {
        *result = E_INVALIDARG;
        return nullptr;
    }
    CRpcAddress where{};
    std::snprintf(where.szAddress, sizeof where.szAddress, "%s", address.c_str());
    where.lPort = port;
    auto listener = std::make_shared<CSimListener>(instance, kind);
    listener->m_csAddress = address;
    listener->m_lPort = port;
    RpcResult r = E_INVALIDARG;
    switch (kind) {
    case NORV_LISTENER_EVENTS:
        r = OpenSink(instance, where, &listener->m_events, &listener->m_ulBindingId);
        if (RpcSucceeded(r)) r = listener->m_events->SetCookie(cookie);
        break;
    case NORV_LISTENER_RESOURCES:
        r = OpenSink(instance, where, &listener->m_resources, &listener->m_ulBindingId);
        if (RpcSucceeded(r)) r = listener->m_resources->SetCookie(cookie);
        break;
    case NORV_LISTENER_SCENE:
        r = OpenSink(instance, where, &listener->m_scene, &listener->m_ulBindingId);
        if (RpcSucceeded(r)) r = listener->m_scene->SetCookie(cookie);
        break;
    case NORV_LISTENER_MIXER:
        r = OpenSink(instance, where, &listener->m_mixer, &listener->m_ulBindingId);
        if (RpcSucceeded(r)) r = listener->m_mixer->SetCookie(cookie);
        break;
    case NORV_LISTENER_ATOMIC_LOADING:
        r = OpenSink(instance, where, &listener->m_loading, &listener->m_ulBindingId);
        if (RpcSucceeded(r)) r = listener->m_loading->SetCookie(cookie);
        break;
    }
    *result = r;
    return RpcSucceeded(r) ? listener : nullptr;
}

CSimListener::~CSimListener() = default;  // releasing the proxies closes the connection

void CSimListener::ClearCookie() {
    if (m_events) m_events->ClearCookie();
    if (m_resources) m_resources->ClearCookie();
    if (m_scene) m_scene->ClearCookie();
    if (m_mixer) m_mixer->ClearCookie();
    if (m_loading) m_loading->ClearCookie();
}

std::size_t CSimListener::Backlog() const { return m_pInstance->PendingSendBytes(m_ulBindingId); }

template <class I, class F>
void CSimListener::Send(const RpcPtr<I>& sink, F&& call) {
    if (!sink || m_bGone) return;
    if (Backlog() > kMaxBacklog) {
        ++m_ulDropped;
        return;
    }
    if (RpcFailed(call(*sink)))
        m_bGone = true;
    else
        ++m_ulSent;
}

void CSimListener::Event(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                         std::int32_t objectType) {
    Send(m_events, [&](IQuorvelEventSink& s) { return s.OnEvent(id, type, priority, object, objectType); });
}

void CSimListener::Resource(std::uint32_t id, std::uint32_t type, std::int32_t volume) {
    Send(m_resources, [&](IQuorvelResourceSink& s) { return s.OnResource(id, type, volume); });
}

void CSimListener::Loading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType, bool withDataType) {
    Send(m_loading, [&](IQuorvelAtomicLoadingSink& s) {
        return withDataType ? s.OnAtomicLoading(id, type, dataType) : s.OnAtomicLoading(id, type);
    });
}

void CSimListener::MixerNotice(std::uint32_t code, std::uint32_t resourceId) {
    Send(m_mixer, [&](IQuorvelWindowNotifySink& s) {
        switch (code) {
        case 10: return s.Notice10(resourceId);
        case 11: return s.Notice11(resourceId);
        case 12: return s.Notice12(resourceId);
        default: return s.Notice13(resourceId);
        }
    });
}

void CSimListener::SceneUpdate(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic, std::int32_t zone,
                               const CVec2& direction, const CVec2& second) {
    Send(m_scene, [&](IQuorvelSceneSink& s) { return s.UpdateScene(objects, mic, zone, direction, second); });
}

void CSimListener::ZoneAdded(const CPropZoneRecord& zone, std::int32_t id) {
    Send(m_scene, [&](IQuorvelSceneSink& s) { return s.AddZone(zone, id); });
}

void CSimListener::ZoneRemoved(std::int32_t id) {
    Send(m_scene, [&](IQuorvelSceneSink& s) { return s.RemoveZone(id); });
}

void CSimListener::PortalAdded(const CPropPortalRecord& portal, std::int32_t id) {
    Send(m_scene, [&](IQuorvelSceneSink& s) { return s.AddPortal(portal, id); });
}

void CSimListener::OccluderValue(std::int32_t zone, std::int32_t occluder, float value) {
    Send(m_scene, [&](IQuorvelSceneSink& s) { return s.SetOccluderValue(zone, occluder, value); });
}
