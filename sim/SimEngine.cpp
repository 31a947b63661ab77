#include "SimEngine.h"

#include <algorithm>
#include <cstdio>

#include "QuorvelFactories.h"
#include "SimServedObjects.h"

CSimEngine::CSimEngine(const SimOptions& options, CRpcInstance* instance)
    : m_options(options), m_pInstance(instance), m_world(options.ulSeed, options.rEventRate, this) {}

CSimEngine::~CSimEngine() { CloseAllListeners(); }

void CSimEngine::Trace(const char* format, ...) {
    ++m_ulCalls;
    if (!m_options.bVerbose) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

void CSimEngine::AddListener(const std::shared_ptr<CSimListener>& listener) {
    ReapListeners();
    // A session that starts listening sees the game from its beginning: the same
    // seed then gives the same notifications.
    if (m_listeners.empty()) m_world.Restart();
    m_listeners.push_back(listener);
    ++m_ulListenersOpened;
    if (listener->Kind() == NORV_LISTENER_SCENE) m_world.SendScene(*listener);
}

std::shared_ptr<CSimListener> CSimEngine::FindListener(const std::string& address, std::int32_t port,
                                                       std::uint32_t kind) const {
    for (const auto& l : m_listeners)
        if (l->Kind() == kind && !l->IsGone() && l->BelongsTo(address, port)) return l;
    return nullptr;
}

void CSimEngine::Count(const CSimListener& gone) {
    m_retired.ulSent[gone.Kind() % 6] += gone.Sent();
    m_retired.ulDropped += gone.Dropped();
}

void CSimEngine::ReapListeners() {
    auto gone = std::stable_partition(m_listeners.begin(), m_listeners.end(),
                                      [](const auto& l) { return !l->IsGone(); });
    for (auto it = gone; it != m_listeners.end(); ++it) Count(**it);
    m_listeners.erase(gone, m_listeners.end());
}

void CSimEngine::CloseAllListeners() {
    for (auto& listener : m_listeners) {
        if (!listener->IsGone()) listener->ClearCookie();
        listener->Retire();
    }
    ReapListeners();
}

SimCounts CSimEngine::Counts() const {
    SimCounts counts = m_retired;
    for (const auto& l : m_listeners) {
        counts.ulSent[l->Kind() % 6] += l->Sent();
        counts.ulDropped += l->Dropped();
    }
    counts.ulListeners = m_ulListenersOpened;
    counts.ulCalls = m_ulCalls;
    return counts;
}

template <class F>
void CSimEngine::ForKind(std::uint32_t kind, F&& f) {
    for (const auto& listener : m_listeners)
        if (listener->Kind() == kind && !listener->IsGone()) f(*listener);
}

void CSimEngine::Event(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                       std::int32_t objectType) {
    ForKind(NORV_LISTENER_EVENTS, [&](CSimListener& l) { l.Event(id, type, priority, object, objectType); });
}

void CSimEngine::Resource(std::uint32_t id, std::uint32_t type, std::int32_t volume) {
    ForKind(NORV_LISTENER_RESOURCES, [&](CSimListener& l) { l.Resource(id, type, volume); });
}

void CSimEngine::Loading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType, bool withDataType) {
    ForKind(NORV_LISTENER_ATOMIC_LOADING, [&](CSimListener& l) { l.Loading(id, type, dataType, withDataType); });
}

void CSimEngine::MixerNotice(std::uint32_t code, std::uint32_t resourceId) {
    ForKind(NORV_LISTENER_MIXER, [&](CSimListener& l) { l.MixerNotice(code, resourceId); });
}

void CSimEngine::SceneUpdate(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic, std::int32_t zone,
                             const CVec2& direction, const CVec2& second) {
    ForKind(NORV_LISTENER_SCENE, [&](CSimListener& l) { l.SceneUpdate(objects, mic, zone, direction, second); });
}

void CSimEngine::ZoneAdded(const CPropZoneRecord& zone, std::int32_t id) {
    ForKind(NORV_LISTENER_SCENE, [&](CSimListener& l) { l.ZoneAdded(zone, id); });
}

void CSimEngine::ZoneRemoved(std::int32_t id) {
    ForKind(NORV_LISTENER_SCENE, [&](CSimListener& l) { l.ZoneRemoved(id); });
}

void CSimEngine::PortalAdded(const CPropPortalRecord& portal, std::int32_t id) {
    ForKind(NORV_LISTENER_SCENE, [&](CSimListener& l) { l.PortalAdded(portal, id); });
}

void CSimEngine::OccluderValue(std::int32_t zone, std::int32_t occluder, float value) {
    ForKind(NORV_LISTENER_SCENE, [&](CSimListener& l) { l.OccluderValue(zone, occluder, value); });
}

RpcPtr<IRpcFactory> CSimEngine::CreateFactory() { return RpcMake<CSimFactory>(this); }
